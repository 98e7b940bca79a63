#include "data/CaptionLanguage.h"

#include "dataset/QuotedStr.h"

namespace CaptionLanguage {

QString columnFor(const QString& language) {
    if (language == QLatin1String("Russian")) return QStringLiteral("Russ");
    if (language == QLatin1String("English")) return QStringLiteral("En");
    if (language == QLatin1String("France")) return QStringLiteral("Fr");
    if (language == QLatin1String("Deutsch")) return QStringLiteral("De");
    return QStringLiteral("oth");
}

CaptionSetter setterFor(const QString& prim) {
    if (prim == QLatin1String("TWinControl")) return CaptionSetter::WindowText;
    if (prim == QLatin1String("TGroupBox") || prim == QLatin1String("TCheckBox") ||
        prim == QLatin1String("TButton") || prim == QLatin1String("TLabel"))
        return CaptionSetter::Caption;
    if (prim == QLatin1String("TMenuItem")) return CaptionSetter::MenuItem;
    return CaptionSetter::None;
}

QString filterFor(const QString& formName) {
    return QStringLiteral("FormName = ") + QuotedStr(formName);
}

QStringList settingsTabCaptions(const QString& language) {
    if (language == QLatin1String("Russian"))
        return {QStringLiteral("Главное"),          QStringLiteral("Лог"),
                QStringLiteral("По умолчанию"),     QStringLiteral("Дипломы"),
                QStringLiteral("Базы данных"),      QStringLiteral("Медиа"),
                QStringLiteral("Внешние программ"), QStringLiteral("Подсказки F клавиш"),
                QStringLiteral("Внешние устр-ва")};
    return {QStringLiteral("Main"),     QStringLiteral("Log"),        QStringLiteral("Default"),
            QStringLiteral("Awards"),   QStringLiteral("DataBase"),   QStringLiteral("Media"),
            QStringLiteral("Ext Soft"), QStringLiteral("F Key Hint"), QStringLiteral("External devices")};
}

QStringList timerTabCaptions(const QString& language) {
    if (language == QLatin1String("Russian"))
        return {QStringLiteral("Будильник"), QStringLiteral("Таймер записи звука")};
    return {QStringLiteral("Alarm"), QStringLiteral("Timer record sound")};
}

} // namespace CaptionLanguage

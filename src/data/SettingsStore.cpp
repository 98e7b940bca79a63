#include "data/SettingsStore.h"

#include "dataset/QuotedStr.h"
#include "platform/DateText.h"
#include "platform/NumberText.h"

namespace SettingsStore {

QString rowKey(const QString& formName, const QString& object, const QString& nameParam) {
    return formName + QLatin1Char('\x1f') + object + QLatin1Char('\x1f') + nameParam;
}

QString checkedText(bool checked) {
    return checked ? QStringLiteral("true") : QStringLiteral("false");
}

bool checkedFromText(const QString& param) {
    return param == QLatin1String("true");
}

std::optional<QDateTime> readDateTime(const QString& param) {
    const QDateTime dt = DateText::parseDateTime(param.trimmed());
    if (!dt.isValid()) return std::nullopt;
    return dt;
}

std::optional<int> readInteger(const QString& param) {
    int v = 0;
    if (!NumberText::toInt(param.trimmed(), v)) return std::nullopt;
    return v;
}

int trxBaudFromText(const QString& text) {
    static const int rates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600};
    bool ok = false;
    const int baud = text.trimmed().toInt(&ok);
    if (ok)
        for (int r : rates)
            if (r == baud) return baud;
    return 9600;
}

bool externalProgramShown(const QString& programPath) {
    return programPath.size() >= 11;
}

QString coordinateText(const QString& masked) {
    for (QChar c : masked)
        if (c.isDigit()) return masked;
    return QString();
}

QString formConfigFilter(const QString& formName, const QString& comboName) {
    return QStringLiteral("FormName = ") + QuotedStr(formName) + QStringLiteral(" AND ") +
           QStringLiteral(" Name_Param = ") + QuotedStr(comboName);
}

} // namespace SettingsStore

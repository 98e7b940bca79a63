#include "media/LabelTemplate.h"

#include "platform/Cp1251.h"

namespace {

// A line of blanks with each text starting at its 1-based column.
QString placed(std::initializer_list<std::pair<int, const char*>> items) {
    QString line;
    for (const auto& [column, text] : items) {
        line = line.leftJustified(column - 1, QLatin1Char(' '));
        line += QLatin1String(text);
    }
    return line;
}

void replaceFirst(QString& line, const QString& placeholder, const QString& value) {
    const qsizetype at = line.indexOf(placeholder);
    if (at >= 0) line.replace(at, placeholder.size(), value);
}

// The manager's call of a "via" note: the note with its first "VIA" (any case) taken out. Only
// the inserted note is cut, so a "VIA" elsewhere on the line (a call such as RA3VIA) stays whole.
QString viaText(const QString& note) {
    const qsizetype at = note.indexOf(QLatin1String("VIA"), 0, Qt::CaseInsensitive);
    if (at < 0) return {};
    return QString(note).remove(at, 3);
}

} // namespace

namespace LabelTemplate {

QStringList builtInTemplate() {
    QStringList t;
    t << QString(26, QLatin1Char(' ')) << QString(23, QLatin1Char(' '));
    for (int i = 0; i < 5; ++i)
        t << QString();
    t << placed({{22, "<CALL>"}, {74, "<VIA>"}});
    t << QString() << QString() << QString();
    t << placed({{8, "<DATE>"}, {29, "<TIME>"}, {41, "<BAND>"}, {55, "<MODE>"}, {76, "<RST>"}});
    t << QString() << QString();
    t << placed({{46, "<REMARK>"}});
    t << QString(40, QLatin1Char(' '));
    return t;
}

TextFont builtInFont() {
    return {QStringLiteral("MS Serif"), 14, true, true};
}

TextFont builtInPrintFont() {
    return {QStringLiteral("MS Sans Serif"), 8, false, false};
}

QString fillLine(const QString& line, const LabelContact& c) {
    QString s = line;
    replaceFirst(s, QStringLiteral("<CALL>"), c.call);
    replaceFirst(s, QStringLiteral("<VIA>"), viaText(c.note));
    replaceFirst(s, QStringLiteral("<DATE>"), c.date);
    replaceFirst(s, QStringLiteral("<TIME>"), c.time);
    replaceFirst(s, QStringLiteral("<BAND>"), c.band);
    replaceFirst(s, QStringLiteral("<MODE>"), c.mode);
    replaceFirst(s, QStringLiteral("<RST>"), c.rstSent);
    replaceFirst(s, QStringLiteral("<REMARK>"),
                 c.rxQsl.isEmpty() ? QStringLiteral("Pse QSL") : QStringLiteral("Tnx QSL"));
    return s;
}

QStringList fill(const QStringList& lines, const LabelContact& c) {
    QStringList out;
    for (const QString& l : lines)
        out << fillLine(l, c);
    return out;
}

QByteArray fileText(const QStringList& lines) {
    QByteArray b;
    for (const QString& l : lines)
        b += Cp1251::encodeLine(l) + "\r\n";
    return b;
}

QStringList linesOf(const QByteArray& bytes) {
    QString text = Cp1251::decodeExchange(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    if (bytes.isEmpty()) return {};
    return text.split(QLatin1Char('\n'));
}

QString styleCode(const TextFont& f, bool underlineOrStrikeOut) {
    if (underlineOrStrikeOut) return QStringLiteral("N");
    if (f.bold && f.italic) return QStringLiteral("BI");
    if (f.bold) return QStringLiteral("B");
    if (f.italic) return QStringLiteral("I");
    return QStringLiteral("N");
}

QByteArray fontFileText(const TextFont& f, bool underlineOrStrikeOut) {
    return fileText({f.name, QString::number(f.size), styleCode(f, underlineOrStrikeOut)});
}

bool applyFontFile(const QStringList& lines, TextFont& font, QString& error) {
    bool ok = false;
    const int size = lines.value(1).trimmed().toInt(&ok);
    if (!ok) {
        error = QStringLiteral("'%1' is not a valid integer value").arg(lines.value(1));
        return false;
    }
    const QString style = lines.value(2).trimmed();
    font.size = size;
    font.name = lines.value(0);
    font.bold = style == QLatin1String("B") || style == QLatin1String("BI");
    font.italic = style == QLatin1String("I") || style == QLatin1String("BI");
    return true;
}

} // namespace LabelTemplate

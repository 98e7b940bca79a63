#include "exchange/CallbookExchange.h"

#include "platform/Cp1251.h"

#include <QIODevice>
#include <QStringDecoder>
#include <algorithm>

namespace CallbookExchange {

QStringList header(int count) {
    return {QStringLiteral("Zelmor-Callbook"), QStringLiteral("Software by QX7ZV"),
            QStringLiteral("Zelmor Log operator"), QStringLiteral("-"),
            QString::number(count) + Separator + QString(57, QLatin1Char('-'))};
}

namespace {

// Rewrites every ":" + k backslashes + ";" of the text as ":" + (k + delta) backslashes + ";".
QString shiftEscapes(const QString& text, int delta) {
    QString out;
    out.reserve(text.size() + 4);
    int i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        out += c;
        ++i;
        if (c != QLatin1Char(':')) continue;
        int j = i;
        while (j < text.size() && text.at(j) == QLatin1Char('\\'))
            ++j;
        if (j >= text.size() || text.at(j) != QLatin1Char(';')) continue;
        const int k = j - i;
        if (k + delta < 0) continue; // a bare separator: left as it is
        out += QString(k + delta, QLatin1Char('\\'));
        out += QLatin1Char(';');
        i = j + 1;
    }
    return out;
}

} // namespace

QString escapeValue(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    v = v.trimmed();
    if (!v.contains(QLatin1Char(';'))) return v;
    return shiftEscapes(v, 1);
}

QString unescapeValue(const QString& written) {
    if (!written.contains(QLatin1Char(';'))) return written;
    return shiftEscapes(written, -1);
}

QString entryLine(const QStringList& values) {
    QString line;
    for (const QString& v : values)
        line += escapeValue(v) + Separator;
    return line;
}

QStringList splitEntryLine(const QString& line, bool* ok) {
    if (ok) *ok = line.contains(Separator);
    QStringList parts;
    int from = 0;
    for (int n = 0; n < ValueCount; ++n) {
        const int at = from < line.size() ? line.indexOf(Separator, from) : -1;
        if (at < 0) {
            // A value not followed by the separator, and every value after it, reads empty.
            parts.append(QString());
            from = line.size();
            continue;
        }
        parts.append(unescapeValue(line.mid(from, at - from).trimmed()));
        from = at + Separator.size();
    }
    return parts;
}

bool writeLines(QIODevice& out, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& l : lines) {
        bytes += Cp1251::encode(l);
        bytes += "\r\n";
    }
    return out.write(bytes) == bytes.size();
}

LineReader::LineReader(QIODevice& in) : bytes_(in.readAll()) {
    // UTF-8 when the whole file is valid UTF-8 (checked piece by piece), else code page 1251.
    QStringDecoder utf8(QStringDecoder::Utf8);
    constexpr qsizetype piece = 1 << 20;
    for (qsizetype at = 0; at < bytes_.size() && !utf8.hasError(); at += piece) {
        const QString part =
            utf8.decode(QByteArrayView(bytes_.constData() + at, std::min(piece, bytes_.size() - at)));
        Q_UNUSED(part);
    }
    const QString rest = utf8.decode(QByteArrayView());
    utf8_ = !utf8.hasError() && rest.isEmpty();
    for (qsizetype at = 0; at < bytes_.size();) {
        starts_.append(at);
        const qsizetype end = bytes_.indexOf('\n', at);
        if (end < 0) break;
        at = end + 1;
    }
}

QString LineReader::line(int index) const {
    const qsizetype from = starts_.at(index);
    qsizetype to = index + 1 < starts_.size() ? starts_.at(index + 1) : bytes_.size();
    if (to > from && bytes_.at(to - 1) == '\n') --to;
    if (to > from && bytes_.at(to - 1) == '\r') --to;
    const QByteArray b = bytes_.mid(from, to - from);
    return utf8_ ? QString::fromUtf8(b) : Cp1251::decode(b);
}

} // namespace CallbookExchange

#include "CsvTable.h"

#include "InputError.h"

#include <QFile>
#include <QStringDecoder>

namespace {

struct Record {
    int line = 0;
    QStringList fields;
};

// Splits the text after the comments into records; a quoted field may hold commas, line breaks and "".
QList<Record> splitRecords(const QString& text, int firstLine, const QString& sourceName) {
    QList<Record> records;
    Record record{firstLine, {}};
    QString field;
    bool quoted = false;
    bool afterQuote = false;
    int line = firstLine;
    auto endRecord = [&] {
        record.fields.append(field);
        field.clear();
        const bool blank = record.fields.size() == 1 && record.fields.first().isEmpty() && !afterQuote;
        if (!blank) records.append(record);
        record = Record{line + 1, {}};
        afterQuote = false;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == QLatin1Char('\n')) ++line;
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char(',')) {
            record.fields.append(field);
            field.clear();
            afterQuote = false;
        } else if (c == QLatin1Char('\n')) {
            endRecord();
            ++line;
        } else if (c == QLatin1Char('\r')) {
            if (i + 1 >= text.size() || text.at(i + 1) != QLatin1Char('\n'))
                throw InputError({sourceName, line}, QStringLiteral("stray carriage return"));
        } else if (c == QLatin1Char('"') && field.isEmpty() && !afterQuote) {
            quoted = true;
        } else if (afterQuote || c == QLatin1Char('"')) {
            throw InputError({sourceName, line}, QStringLiteral("quote inside an unquoted field"));
        } else {
            field += c;
        }
    }
    if (quoted) throw InputError({sourceName, record.line}, QStringLiteral("quoted field not closed"));
    if (!field.isEmpty() || !record.fields.isEmpty() || afterQuote) endRecord();
    return records;
}

} // namespace

CsvTable CsvTable::parse(const QString& text, const QString& sourceName, const QStringList& header) {
    QString body = text;
    if (body.startsWith(QChar(0xFEFF))) body.remove(0, 1);
    int line = 1;
    // Source comments stand above the header.
    while (body.startsWith(QLatin1Char('#'))) {
        const qsizetype end = body.indexOf(QLatin1Char('\n'));
        body = end < 0 ? QString() : body.mid(end + 1);
        ++line;
    }
    QList<Record> records = splitRecords(body, line, sourceName);
    if (records.isEmpty()) throw InputError({sourceName, line}, QStringLiteral("header missing"));
    const Record head = records.takeFirst();
    if (head.fields != header)
        throw InputError({sourceName, head.line},
                         QStringLiteral("header must be \"%1\"").arg(header.join(QLatin1Char(','))));
    CsvTable table;
    for (const Record& r : std::as_const(records)) {
        if (r.fields.size() != header.size())
            throw InputError(
                {sourceName, r.line},
                QStringLiteral("%1 fields where %2 are needed").arg(r.fields.size()).arg(header.size()));
        table.rows.append(Row{r.line, r.fields});
    }
    return table;
}

CsvTable CsvTable::read(const QString& path, const QStringList& header) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw InputError({path, 0}, file.errorString());
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    if (utf8.hasError()) throw InputError({path, 0}, QStringLiteral("not valid UTF-8"));
    return parse(text, path, header);
}

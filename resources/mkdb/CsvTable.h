#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A UTF-8 CSV file with RFC 4180 quoting. Lines starting with "#" before the header name its
// sources; the header must be exactly the expected one and every row must have as many fields.
class CsvTable {
public:
    struct Row {
        int line = 0; // where the row starts, for messages
        QStringList fields;
    };

    static CsvTable read(const QString& path, const QStringList& header);
    static CsvTable parse(const QString& text, const QString& sourceName, const QStringList& header);

    QList<Row> rows;
};

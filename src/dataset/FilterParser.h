#pragma once
// The ADO filter and sort texts the windows write ("LogNameLog = 3 AND LogCall LIKE 'UA*'",
// "LogDate, LogTime DESC"), turned into SQLite WHERE / ORDER BY text. Values are never pasted:
// every literal becomes a "?" with its bound value, and field names are checked and quoted.

#include <QString>
#include <QVariant>
#include <vector>

// A column a filter or sort may name.
struct FilterColumn {
    QString name;
    bool noCase = true;    // declared COLLATE NOCASE: LIKE ignores letter case; otherwise it is exact
    bool dateTime = false; // text literals that read as dates compare in the stored ISO form
};

struct SqlCondition {
    QString where; // empty for an empty filter
    QVariantList binds;
};

class FilterParser {
public:
    // Throws DbError whose text contains the filter when it does not parse or names an unknown field.
    static SqlCondition parseFilter(const QString& filter, const std::vector<FilterColumn>& columns);
    // ORDER BY text ("\"LogDate\", \"LogTime\" DESC"); empty for an empty sort. Throws DbError naming
    // the sort text on an unknown field or bad syntax.
    static QString parseSort(const QString& sort, const std::vector<FilterColumn>& columns);

    // The stored text of a date literal ("2024-03-10", "03/10/2024" month first, "10.03.2024" day first,
    // each with an optional time; or a time alone): "2024-03-10", "2024-03-10 09:05:30" or "09:05:30".
    // Empty when the text is not a date.
    static QString storedDateTime(const QString& text);
    // An ADO LIKE pattern ("*" and "%" any run, "[x]" a literal x, "_" literal) for SQLite
    // LIKE ... ESCAPE '\', or for the letter-case exact GLOB.
    static QString likePattern(const QString& adoPattern);
    static QString globPattern(const QString& adoPattern);
    // A name quoted for SQL.
    static QString quoted(const QString& name);
};

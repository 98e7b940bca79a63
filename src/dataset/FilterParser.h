#pragma once
// The ADO filter and sort texts the windows write ("LogNameLog = 3 AND LogCall LIKE 'UA*'",
// "LogDate, LogTime DESC"), turned into SQLite WHERE / ORDER BY text. Values are never pasted:
// every literal becomes a "?" with its bound value, and field names are checked and quoted.

#include "dataset/TableSchema.h"

#include <QString>
#include <QVariant>
#include <vector>

struct SortKey {
    QString column; // as the table spells it
    bool descending = false;
};

struct SqlCondition {
    QString where; // empty for an empty filter
    QVariantList binds;
};

class FilterParser {
public:
    // Beyond these a filter is refused before it reaches SQLite, whose parser gives up at about
    // a hundred nested parentheses and whose expressions at a thousand levels (an OR chain
    // nests one level per term).
    static constexpr int kMaxNesting = 32;
    static constexpr int kMaxConditions = 500;

    // Throws DbError whose text contains the filter when it does not parse, names an unknown field
    // or is nested or chained beyond the limits above.
    static SqlCondition parseFilter(const QString& filter, const std::vector<FilterColumn>& columns);
    // ORDER BY text ("\"LogDate\", \"LogTime\" DESC"); empty for an empty sort. Throws DbError naming
    // the sort text on an unknown field or bad syntax.
    static QString parseSort(const QString& sort, const std::vector<FilterColumn>& columns);
    // The same sort as its columns and directions.
    static std::vector<SortKey> parseSortKeys(const QString& sort, const std::vector<FilterColumn>& columns);

    // An ADO LIKE pattern ("*" and "%" any run, "[x]" a literal x, "_" literal) for SQLite
    // LIKE ... ESCAPE '\', or for the letter-case exact GLOB.
    static QString likePattern(const QString& adoPattern);
    static QString globPattern(const QString& adoPattern);
    // A name quoted for SQL.
    static QString quoted(const QString& name);
};

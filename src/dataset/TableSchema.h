#pragma once
// What a table or query holds: its columns with their types, text sizes and collations, read
// from the database's own schema; and the rebuild that changes a table's declaration.

#include <QString>
#include <optional>
#include <vector>

class Connection;

enum class FieldType { Text, Integer, AutoInc, Float, Decimal, DateTime, Boolean, Blob };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;          // characters for Text, 0 otherwise
    bool readOnly = false; // AutoInc keys
};

// A column a filter or sort may name.
struct FilterColumn {
    QString name;
    bool noCase = true;    // declared COLLATE NOCASE: LIKE ignores letter case; otherwise it is exact
    bool dateTime = false; // text literals that read as dates compare in the stored ISO form
};

struct TableColumns {
    std::vector<FieldDef> fields;
    std::vector<FilterColumn> columns; // one per field, same order
};

namespace TableSchema {

struct Entry {
    QString name; // as the database spells it
    bool view = false;
    QString createSql;
};

// The table or view of that name, letter case ignored.
std::optional<Entry> find(Connection& c, const QString& name);
// The columns of a table, from its declaration.
TableColumns tableColumns(Connection& c, const QString& table, const QString& createSql);
// The columns a query yields (source: a quoted table or a parenthesised query); a column taken
// from a table column of the same name has that column's type and size. All are read-only.
TableColumns queryColumns(Connection& c, const QString& source);
// The type a declaration names ("VARCHAR(20)", "DATETIME"...), with the text size.
FieldType declaredType(const QString& declared, int& size);

// The declaration with one column's type replaced ("LogBand VARCHAR(6) COLLATE NOCASE" with
// "VARCHAR(10)" keeps the collation); unchanged when the column is not found.
QString withColumnType(const QString& createSql, const QString& column, const QString& type);
// Rebuilds a table under a new declaration of the same columns inside one transaction, keeping
// every row, its key, the table's indexes and triggers and its auto-increment counter.
void rebuildTable(Connection& c, const QString& table, const QString& newCreateSql);

} // namespace TableSchema

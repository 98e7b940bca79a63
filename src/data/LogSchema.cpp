#include "data/LogSchema.h"

#include "dataset/Connection.h"
#include "dataset/TableSchema.h"

namespace LogSchema {

bool widenText(Connection& c, const QString& table, const QString& column, int size) {
    const auto t = TableSchema::find(c, table);
    if (!t || t->view) return false;
    for (const FieldDef& f : TableSchema::tableColumns(c, t->name, t->createSql).fields) {
        if (f.name.compare(column, Qt::CaseInsensitive) != 0) continue;
        if (f.type != FieldType::Text || f.size == 0 || f.size >= size) return false;
        TableSchema::rebuildTable(
            c, t->name,
            TableSchema::withColumnType(t->createSql, f.name, QStringLiteral("VARCHAR(%1)").arg(size)));
        return true;
    }
    return false;
}

bool upgrade(Connection& c) {
    return widenText(c, QStringLiteral("Log"), QStringLiteral("LogBand"), kBandSize);
}

bool upgradeMedia(Connection& c) {
    return widenText(c, QStringLiteral("Sound"), QStringLiteral("Callsignal"), kRecordingCallSize);
}

} // namespace LogSchema

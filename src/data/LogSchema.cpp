#include "data/LogSchema.h"

#include "dataset/Connection.h"
#include "dataset/TableSchema.h"

namespace LogSchema {

bool upgrade(Connection& c) {
    const auto log = TableSchema::find(c, QStringLiteral("Log"));
    if (!log || log->view) return false;
    for (const FieldDef& f : TableSchema::tableColumns(c, log->name, log->createSql).fields) {
        if (f.name.compare(QLatin1String("LogBand"), Qt::CaseInsensitive) != 0) continue;
        if (f.type != FieldType::Text || f.size == 0 || f.size >= kBandSize) return false;
        TableSchema::rebuildTable(c, log->name,
                                  TableSchema::withColumnType(log->createSql, f.name,
                                                              QStringLiteral("VARCHAR(%1)").arg(kBandSize)));
        return true;
    }
    return false;
}

} // namespace LogSchema

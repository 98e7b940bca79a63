#pragma once
// The saved award queries of the log database ("SQL_DXCC_Aw" ...) that the awards window's
// "Details" shows, and the item lists they join the log to. Plain SQL texts: the template
// generator and the log-file upgrade both run them.

#include <QList>
#include <QString>
#include <QStringList>

namespace AwardViews {

// One list of award items kept in the log database, copied from the reference database.
struct ItemList {
    QString table;         // in the log database
    QStringList columns;   // as created by schemaStatements()
    QString fromReference; // reads the same columns, one row per item, from the reference database
};
const QList<ItemList>& itemLists();

// The views in the order of the awards window's menu, and the item lists; all "IF NOT EXISTS".
const QStringList& viewNames();
QStringList schemaStatements();

} // namespace AwardViews

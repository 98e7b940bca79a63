#pragma once
// Settings rows of table Cfg that hold a whole text file in Memo (Prim "TFile", Param "File"),
// and the plain text rows beside them, keyed by (FormName, Object, Name_Param) compared exactly.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class Connection;

namespace CfgFileRows {

// The bytes of a stored file; nullopt when there is no such row.
std::optional<QByteArray> readFile(Connection& cfg, const QString& form, const QString& object,
                                   const QString& name);
// Replaces the bytes of the row (keeping its Prim) or appends it with Prim "TFile".
void writeFile(Connection& cfg, const QString& form, const QString& object, const QString& name,
               const QByteArray& bytes);
// The Param of a row; nullopt when there is no such row.
std::optional<QString> readParam(Connection& cfg, const QString& form, const QString& object,
                                 const QString& name);
// Sets the Param of the row, or appends it with the given Prim.
void writeParam(Connection& cfg, const QString& form, const QString& object, const QString& name,
                const QString& param, const QString& prim);
void remove(Connection& cfg, const QString& form, const QString& object, const QString& name);
// The Name_Param of every row of (form, object), in the table's order.
QStringList names(Connection& cfg, const QString& form, const QString& object);

} // namespace CfgFileRows

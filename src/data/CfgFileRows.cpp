#include "data/CfgFileRows.h"

#include "dataset/Connection.h"

#include <QSqlQuery>

namespace CfgFileRows {

namespace {
const QString kWhere = QStringLiteral(" WHERE FormName = ? AND Object = ? AND Name_Param = ?");

QVariantList key(const QString& form, const QString& object, const QString& name) {
    return {form, object, name};
}
} // namespace

std::optional<QByteArray> readFile(Connection& cfg, const QString& form, const QString& object,
                                   const QString& name) {
    QSqlQuery q = cfg.query(QStringLiteral("SELECT Memo FROM Cfg") + kWhere, key(form, object, name));
    if (!q.next()) return std::nullopt;
    return q.value(0).toByteArray();
}

void writeFile(Connection& cfg, const QString& form, const QString& object, const QString& name,
               const QByteArray& bytes) {
    Transaction tx(cfg);
    if (cfg.execute(QStringLiteral("UPDATE Cfg SET Memo = ?, Param = 'File'") + kWhere,
                    {bytes, form, object, name}) == 0)
        cfg.execute(QStringLiteral("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param, Memo) "
                                   "VALUES (?, ?, ?, 'TFile', 'File', ?)"),
                    {form, object, name, bytes});
    tx.commit();
}

std::optional<QString> readParam(Connection& cfg, const QString& form, const QString& object,
                                 const QString& name) {
    QSqlQuery q = cfg.query(QStringLiteral("SELECT Param FROM Cfg") + kWhere, key(form, object, name));
    if (!q.next()) return std::nullopt;
    return q.value(0).toString();
}

void writeParam(Connection& cfg, const QString& form, const QString& object, const QString& name,
                const QString& param, const QString& prim) {
    Transaction tx(cfg);
    if (cfg.execute(QStringLiteral("UPDATE Cfg SET Param = ?") + kWhere, {param, form, object, name}) == 0)
        cfg.execute(QStringLiteral("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param) "
                                   "VALUES (?, ?, ?, ?, ?)"),
                    {form, object, name, prim, param});
    tx.commit();
}

void remove(Connection& cfg, const QString& form, const QString& object, const QString& name) {
    cfg.execute(QStringLiteral("DELETE FROM Cfg") + kWhere, key(form, object, name));
}

QStringList names(Connection& cfg, const QString& form, const QString& object) {
    QSqlQuery q = cfg.query(QStringLiteral("SELECT Name_Param FROM Cfg WHERE FormName = ? AND Object = ?"),
                            {form, object});
    QStringList out;
    while (q.next())
        out << q.value(0).toString();
    return out;
}

} // namespace CfgFileRows

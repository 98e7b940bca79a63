#pragma once
// The data module: the five database connections, every dataset and data source of the system.

#include "dataset/Connection.h"
#include "dataset/Dataset.h"

#include <QObject>

class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    void DataModuleCreate();
    void DataSourceLogNameDataChange();
    void DataSourceLogDataChange();
    void DataSourceUkrRussDataChange();

    // Whether the start-up opened the log / reference database. Without one, the handlers that
    // need it stay quiet: its failure was reported once, when it was opened.
    bool logOpen() const;
    bool referenceOpen() const;

    // The connection string of a database file, built as the connection strings always were.
    static QString connectionStringFor(const QString& file, const QString& folder);

    Connection* ConnectionCfg;
    Connection* ConnectionDB;
    Connection* ConnectionCB;
    Connection* ConnectionLog;
    Connection* ConnectionMedia;

    Dataset* TableCfgForm;
    Dataset* TableCfgLang;
    Dataset* TableCfgCfg;
    Dataset* TableDXCC;
    Dataset* TablePref;
    Dataset* TableAllPref;
    Dataset* TableUkrRuss;
    Dataset* TableIOTA;
    Dataset* TableIOTA1;
    Dataset* TableWAS;
    Dataset* QueryCB_W;
    Dataset* TableLog;
    Dataset* TableLogName;
    Dataset* TableAwMixed;
    Dataset* TableContestStatistic;
    Dataset* TableImage;
    Dataset* TableSound;
    Dataset* TableRepeat;
    Dataset* QueryAwStatistic;
    Dataset* TableAwStatisticBM;
    Dataset* QueryTmpLog;

    DataSource* DataSourceLog;
    DataSource* DataSourceRepeat;
    DataSource* DataSourceLogName;
    DataSource* DataSourceAllPref;
    DataSource* DataSourcePref;
    DataSource* DataSourceDXCC;
    DataSource* DataSourceUkrRuss;
    DataSource* DataSourceIOTA;
    DataSource* DataSourceAwStatistic;
    DataSource* DataSourceCB_W;
    DataSource* DataSourceImage;
    DataSource* DataSourceSound;
    DataSource* DataSourceContestStatistic;

    // Opens the callbook database when its file exists (at start-up, and when it appears later).
    void openCallbook();

private:
    Dataset* makeTable(const QString& name, Connection* c, const QString& table);
    Dataset* makeQuery(const QString& name, Connection* c, const QString& sql);
    DataSource* makeSource(const QString& name, Dataset* ds);
    void buildLogBookMenu();
    void showLogStart();
};

extern TDM* DM;

// Relative paths of the five database files.
namespace DbFiles {
inline const QString Cfg = QStringLiteral("\\DB\\Work\\cfg.mdb");
inline const QString Reference = QStringLiteral("\\DB\\Work\\DB.mdb");
inline const QString CallBook = QStringLiteral("\\DB\\CallBook\\CBook.mdb");
inline const QString Log = QStringLiteral("\\DB\\Log\\Log_Zelmor.mdb");
inline const QString Media = QStringLiteral("\\DB\\Log\\Media.mdb");
} // namespace DbFiles

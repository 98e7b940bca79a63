#include "data/UDM.h"

#include "awards/AwardStatistic.h"
#include "awards/UAwardAdd.h"
#include "data/LogSchema.h"
#include "data/UGlobal.h"
#include "logbook/UMain.h"
#include "media/UImage.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "widgets/BoxColour.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TDM* DM = nullptr;

namespace {

const QString kQueryAwStatistic = QStringLiteral(
    "SELECT Aw_DXCC.Prefix AS DXCC, Aw_DXCC.Region AS Country, Log.LogBand AS [Band], Log.LogMode AS Mode, "
    "Log.LogRxQsl AS QSL, Count(Log.LogBand) AS QSOs, Log.LogNameLog "
    "FROM Aw_DXCC LEFT JOIN Log ON Aw_DXCC.Prefix = Log.LogPref "
    "GROUP BY Aw_DXCC.Prefix, Aw_DXCC.Region, Log.LogBand, Log.LogMode, Log.LogRxQsl, Log.LogNameLog "
    "ORDER BY Aw_DXCC.Prefix, Log.LogBand, Log.LogMode");

// The view of book 0 (the book number a contact gets while the book table is empty).
const QString kNoBookFilter = QStringLiteral("LogNameLog = 0");

struct GridColumn {
    const char* field;
    const char* heading;
    const char* format;
};

// The visible columns of the log views, in table order.
const GridColumn kLogColumns[] = {
    {"LogCall", "Callsignal", ""}, {"LogDate", "Date", "dd.mm.yy"}, {"LogTime", "Time", "hh:mm"},
    {"LogBand", "Band", ""},       {"LogMode", "Mode", ""},         {"LogName", "Name", ""},
    {"LogQth", "QTH", ""},         {"LogRxRst", "Rx RS(T)", ""},    {"LogTxRst", "Tx RS(T)", ""},
    {"LogTxQsl", "Send QSL", ""},  {"LogRxQsl", "Rcv QSL", ""},     {"LogNotepad", "Note", ""},
    {"Log2", "RX rprt", ""},       {"Log3", "TX rprt", ""},         {"LogQTHLoc", "QTH Loc", ""},
};

void setupLogGrid(DBGrid* grid, DataSource* source, bool repeat) {
    grid->setDataSource(source);
    // The log is changed only through the entry panel, never by typing into a grid.
    grid->setReadOnly(true);
    grid->setRowSelect(true);
    if (!repeat) grid->setFocusPolicy(Qt::ClickFocus);
    for (const auto& c : kLogColumns) {
        QString heading = QString::fromLatin1(c.heading);
        if (repeat && heading == "Callsignal") heading = QStringLiteral("Call");
        if (repeat && heading == "Rx RS(T)") heading = QStringLiteral("Rx RST");
        if (repeat && heading == "Tx RS(T)") heading = QStringLiteral("Tx RST");
        const bool contestColumn = heading == "RX rprt" || heading == "TX rprt";
        grid->addColumn(QString::fromLatin1(c.field), heading, QString::fromLatin1(c.format), !contestColumn);
    }
}

} // namespace

TDM::TDM(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DM"));
    ConnectionCfg = new Connection(QStringLiteral("ConnectionCfg"), this);
    ConnectionDB = new Connection(QStringLiteral("ConnectionDB"), this);
    ConnectionCB = new Connection(QStringLiteral("ConnectionCB"), this);
    ConnectionLog = new Connection(QStringLiteral("ConnectionLog"), this);
    ConnectionMedia = new Connection(QStringLiteral("ConnectionMedia"), this);

    TableCfgForm = makeTable("TableCfgForm", ConnectionCfg, "FormConfig");
    TableCfgLang = makeTable("TableCfgLang", ConnectionCfg, "Language");
    TableCfgCfg = makeTable("TableCfgCfg", ConnectionCfg, "Cfg");

    TableDXCC = makeTable("TableDXCC", ConnectionDB, "DXCC");
    TablePref = makeTable("TablePref", ConnectionDB, "PREF");
    TableAllPref = makeTable("TableAllPref", ConnectionDB, "ALLPREF");
    TableUkrRuss = makeTable("TableUkrRuss", ConnectionDB, "RussUkr");
    TableIOTA = makeTable("TableIOTA", ConnectionDB, "IOTA");
    TableIOTA1 = makeTable("TableIOTA1", ConnectionDB, "IOTA");
    TableWAS = makeTable("TableWAS", ConnectionDB, "WAS");

    QueryCB_W = makeQuery("QueryCB_W", ConnectionCB, QString());
    QueryCB_W->setMaxRecords(2);

    TableLog = makeTable("TableLog", ConnectionLog, "Log");
    TableLogName = makeTable("TableLogName", ConnectionLog, "LogName");
    TableAwMixed = makeTable("TableAwMixed", ConnectionLog, "AwardMixInfo");
    TableContestStatistic = makeTable("TableContestStatistic", ConnectionLog, "AwardMixInfo");
    TableRepeat = makeTable("TableRepeat", ConnectionLog, "Log");
    QueryAwStatistic = makeQuery("QueryAwStatistic", ConnectionLog, kQueryAwStatistic);
    TableAwStatisticBM = makeTable("TableAwStatisticBM", ConnectionLog, "AwardMixInfo");
    QueryTmpLog = makeQuery("QueryTmpLog", ConnectionLog, QStringLiteral("SELECT * FROM Log"));

    TableImage = makeTable("TableImage", ConnectionMedia, "Pict");
    TableSound = makeTable("TableSound", ConnectionMedia, "Sound");

    // Look-up chain of the call-sign entry: ALLPREF -> PREF -> DXCC, RussUkr, IOTA.
    TablePref->setIndexField(QStringLiteral("Prefix"));
    TablePref->setMasterLink(TableAllPref, QStringLiteral("Prefix"), QStringLiteral("Prefix"));
    TableDXCC->setIndexField(QStringLiteral("Prefix"));
    TableDXCC->setMasterLink(TablePref, QStringLiteral("DXCCPrefix"), QStringLiteral("Prefix"));
    TableUkrRuss->setIndexField(QStringLiteral("Prefix"));
    TableUkrRuss->setMasterLink(TablePref, QStringLiteral("Prefix"), QStringLiteral("Prefix"));
    TableIOTA->setIndexField(QStringLiteral("PrefDXXC"));
    TableIOTA->setMasterLink(TablePref, QStringLiteral("DXCCPrefix"), QStringLiteral("PrefDXXC"));

    // Filtered views start narrowed to nothing until their owners set a filter.
    TableAllPref->setFilter(QStringLiteral("AllPrefix = ''"));
    TableAllPref->setFiltered(true);
    TableIOTA1->setFilter(QStringLiteral("Num = ''"));
    TableIOTA1->setFiltered(true);
    TableContestStatistic->setFilter(QStringLiteral("AwName='DXCC'"));
    TableContestStatistic->setFiltered(true);
    TableContestStatistic->setIndexField(QStringLiteral("Param1"));
    TableContestStatistic->setReadOnly(true);
    TableImage->setFiltered(true);
    QueryAwStatistic->setFiltered(true);
    TableAwStatisticBM->setFiltered(true);

    DataSourceLog = makeSource("DataSourceLog", TableLog);
    DataSourceRepeat = makeSource("DataSourceRepeat", TableRepeat);
    DataSourceLogName = makeSource("DataSourceLogName", TableLogName);
    DataSourceAllPref = makeSource("DataSourceAllPref", TableAllPref);
    DataSourcePref = makeSource("DataSourcePref", TablePref);
    DataSourceDXCC = makeSource("DataSourceDXCC", TableDXCC);
    DataSourceUkrRuss = makeSource("DataSourceUkrRuss", TableUkrRuss);
    DataSourceIOTA = makeSource("DataSourceIOTA", TableIOTA);
    DataSourceAwStatistic = makeSource("DataSourceAwStatistic", TableAwStatisticBM);
    DataSourceCB_W = makeSource("DataSourceCB_W", QueryCB_W);
    DataSourceImage = makeSource("DataSourceImage", TableImage);
    DataSourceSound = makeSource("DataSourceSound", TableSound);
    DataSourceContestStatistic = makeSource("DataSourceContestStatistic", TableContestStatistic);

    connect(DataSourceLogName, &DataSource::dataChange, this,
            [this] { Dialogs::guarded([this] { DataSourceLogNameDataChange(); }); });
    connect(DataSourceLog, &DataSource::dataChange, this,
            [this] { Dialogs::guarded([this] { DataSourceLogDataChange(); }); });
    connect(DataSourceUkrRuss, &DataSource::dataChange, this,
            [this] { Dialogs::guarded([this] { DataSourceUkrRussDataChange(); }); });
    connect(DataSourceImage, &DataSource::dataChange, this,
            [] { Dialogs::guarded([] { if (FImage) FImage->ShowCurrentPicture(); }); });

    if (FMain) {
        setupLogGrid(FMain->DBGridLog, DataSourceLog, false);
        setupLogGrid(FMain->DBGridRepeat, DataSourceRepeat, true);
    }
}

TDM::~TDM() = default;

Dataset* TDM::makeTable(const QString& name, Connection* c, const QString& table) {
    auto* ds = new Dataset(this);
    ds->setObjectName(name);
    ds->setConnection(c);
    ds->setTableName(table);
    return ds;
}

Dataset* TDM::makeQuery(const QString& name, Connection* c, const QString& sql) {
    auto* ds = new Dataset(this);
    ds->setObjectName(name);
    ds->setConnection(c);
    if (!sql.isEmpty()) ds->setSql(sql);
    return ds;
}

DataSource* TDM::makeSource(const QString& name, Dataset* ds) {
    auto* s = new DataSource(ds, this);
    s->setObjectName(name);
    return s;
}

bool TDM::logOpen() const {
    return TableLogName->active();
}

bool TDM::referenceOpen() const {
    return TableAllPref->active();
}

QString TDM::connectionStringFor(const QString& file, const QString& folder) {
    const QChar quote('"');
    return QStringLiteral(
               "Provider=MSDASQL.1;Password=5173qd4kv;Persist Security Info=True;Extended Properties=") +
           quote + QStringLiteral("DBQ=") + ProgramFolder + file + QStringLiteral(";DefaultDir=") +
           ProgramFolder + folder +
           QStringLiteral(";Driver={Microsoft Access Driver (*.mdb)};DriverId=25;FIL=MS Access;") +
           QStringLiteral(";MaxBufferSize=2048;MaxScanRows=8;PageTimeout=5;SafeTransactions=0;") +
           QStringLiteral("Threads=3;UserCommitSync=Yes;") + quote;
}

void TDM::DataModuleCreate() {
    // 1. Settings database.
    ConnectionCfg->setConnectionString(connectionStringFor(DbFiles::Cfg, QStringLiteral("\\DB\\Work")));
    ConnectionCfg->open();
    TableCfgForm->open();
    TableCfgLang->open();
    TableCfgCfg->open();

    // 2. Reference database.
    ConnectionDB->setConnectionString(connectionStringFor(DbFiles::Reference, QStringLiteral("\\DB\\Work")));
    ConnectionDB->open();
    for (Dataset* t : {TableDXCC, TablePref, TableAllPref, TableUkrRuss, TableIOTA, TableIOTA1, TableWAS})
        t->open();

    // 3. Callbook database, optional.
    openCallbook();

    // 4. Log database.
    ConnectionLog->setConnectionString(connectionStringFor(DbFiles::Log, QStringLiteral("\\DB\\Log")));
    ConnectionLog->open();
    LogSchema::upgrade(*ConnectionLog);
    try {
        AwardStatistic::ensureViews(*ConnectionLog, *ConnectionDB);
    } catch (const DbError&) {
        // A log file that cannot take them (read-only, locked) still opens; "Details" then
        // names the missing query when it is asked for.
    }
    TableLog->open();
    TableLogName->open();
    TableAwMixed->open();
    TableContestStatistic->open();
    FMain->LimitBoxesToColumns();

    // 5. Log-book menu and the selected book; 6. the book's start date.
    buildLogBookMenu();
    showLogStart();

    // 7. Media database.
    ConnectionMedia->setConnectionString(connectionStringFor(DbFiles::Media, QStringLiteral("\\DB\\Log")));
    ConnectionMedia->open();
    LogSchema::upgradeMedia(*ConnectionMedia);
    TableImage->open();
    TableSound->open();
}

void TDM::openCallbook() {
    if (!QFileInfo::exists(programPath(DbFiles::CallBook))) {
        FMain->ButtonCBFindZelmor->setEnabled(false);
        FMain->ButtonCBEdit->setEnabled(false);
        FMain->GroupBoxCallbook->setTitle(QStringLiteral(" CallBook Zelmor not exist "));
        return;
    }
    ConnectionCB->setConnectionString(
        connectionStringFor(DbFiles::CallBook, QStringLiteral("\\DB\\CallBook")));
    ConnectionCB->open();
    QueryCB_W->setSql(QStringLiteral("SELECT * FROM CB_W LIMIT 1"));
    QueryCB_W->open();
    if (!QueryCB_W->hasField(QStringLiteral("Birthday"))) {
        QueryCB_W->close();
        ConnectionCB->execute(QStringLiteral("ALTER TABLE CB_W ADD Birthday DATETIME"));
    }
}

void TDM::buildLogBookMenu() {
    DataSourceLogName->setEnabled(false);
    TableLogName->first();
    Dataset::Bookmark selected = 0;
    for (int i = 0; !TableLogName->eof(); ++i) {
        const QString num = QString::number(TableLogName->field(QStringLiteral("Num")).asInteger());
        QAction* item = FMain->insertLogBookItem(i, TableLogName->field(QStringLiteral("Name")).asString(),
                                                 QStringLiteral("ItemLog") + num);
        // Books are told apart by number: names may repeat or change.
        item->setData(TableLogName->field(QStringLiteral("Num")).asInteger());
        if (TableLogName->field(QStringLiteral("Sel")).asBoolean()) {
            item->setChecked(true);
            selected = TableLogName->bookmark();
        }
        TableLogName->next();
    }
    if (selected != 0) TableLogName->gotoBookmark(selected);
    DataSourceLogName->setEnabled(true);
}

void TDM::showLogStart() {
    TableLog->first();
    FMain->LabelDateLogStart->setText(
        DateText::shortDate(TableLog->field(QStringLiteral("LogDate")).asDate()));
    FMain->LabelDateLogStart->setToolTip(
        DateText::longTime(TableLog->field(QStringLiteral("LogTime")).asTime()));
    TableLog->last();
}

void TDM::DataSourceLogNameDataChange() {
    if (TableLogName->isEmpty()) {
        // No book at all: an empty log view rather than a filter with nothing after "=".
        TableLog->setFilter(kNoBookFilter);
        TableLog->setFiltered(true);
        FMain->Tag = 0;
        return;
    }
    const qint64 num = TableLogName->field(QStringLiteral("Num")).asInteger();
    TableLog->setFilter(QStringLiteral("LogNameLog = ") + QString::number(num));
    TableLog->setFiltered(true);
    TableLog->setSort(QStringLiteral("LogDate, LogTime"));
    TableLog->last();
    FMain->Tag = int(num);
}

void TDM::DataSourceLogDataChange() {
    FMain->LabelQSOs->setText(QString::number(TableLog->recordCount()));
    FMain->LabelObl->setText(TableLog->field(QStringLiteral("LogObl")).asString());
    FMain->LabelAward->setText(TableLog->field(QStringLiteral("LogPref")).asString());
    // While a contact is edited the box holds its note, which "Save" writes back: following
    // another row would give it that row's note.
    if (boxColour(FMain->EditNote) == kSilver && FMain->EntryState != 0)
        FMain->EditNote->setText(TableLog->field(QStringLiteral("LogNotepad")).asString());
    if (FMain->ViewImagesAutoView->isChecked())
        FImage->FollowContact(TableLog->field(QStringLiteral("LogCall")).asString());
}

void TDM::DataSourceUkrRussDataChange() {
    FAwardAdd->EditUSDXCC->setText(TableUkrRuss->field(QStringLiteral("CountryPref")).asString());
    FAwardAdd->EditUSOblName->setText(TableUkrRuss->field(QStringLiteral("Name")).asString());
    FAwardAdd->EditUSObl->setText(TableUkrRuss->field(QStringLiteral("Oblast")).asString());
}

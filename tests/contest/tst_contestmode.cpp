// Contest mode and the contest window after the real start-up: Begin and End, the exchange and
// serial of each contact, its points, edits, the typed call's last contact and the window's
// award cells and running total.
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "exchange/ContestConfigFile.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "support/AppFixture.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest>

namespace {

struct Config {
    bool serial = true;
    QString sent = "001";
};

// The default configuration "Test": 18 MHz CW 1,5 points (1.8 MHz CW 3), factor 2, step 1.
void storeConfig(TempDataFolder& f, const Config& c) {
    ContestConfigValues v;
    v.name = "Test";
    for (int i = 0; i < 56; ++i)
        v.cells << (i == 5 ? "1,5" : i == 0 ? "3" : i == 14 + 4 ? "1" : i == 6 ? "3" : "0,5");
    v.serial = c.serial;
    v.sent = c.sent;
    v.factor = "2";
    v.startDate = QDate(2002, 1, 1);
    v.startTime = QTime(19, 50);
    v.stopDate = QDate(2002, 1, 2);
    v.stopTime = QTime(19, 59);
    Connection cfg("prepare-cfg");
    cfg.openFile(f.file("DB/Work/cfg.mdb"));
    cfg.execute("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param, Memo) "
                "VALUES ('FContConf', 'ContestConfig', 'Test', 'TFile', 'File', ?)",
                {ContestConfigFile::write(v)});
    cfg.execute("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param) "
                "VALUES ('FContConf', 'DefaultContestConfig', 'DefaultContest', 'String', 'Test')");
}

void logSql(TempDataFolder& f, const QStringList& statements) {
    Connection c("prepare-log");
    c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
    for (const QString& s : statements)
        c.execute(s);
}

QString contact(const QString& call, const QString& time, const QString& log3 = {},
                const QString& log4 = {}) {
    return QString("INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogNameLog, Log3, Log4) "
                   "VALUES ('%1', '2024-03-10', '%2', '14', 'CW', 1, '%3', '%4')")
        .arg(call, time, log3, log4);
}

// "Log2|Log3|Log4" of every contact, in the order stored.
QStringList contestColumns() {
    QSqlQuery q = DM->ConnectionLog->query("SELECT Log2, Log3, Log4 FROM Log ORDER BY LogNom");
    QStringList out;
    while (q.next())
        out << q.value(0).toString() + "|" + q.value(1).toString() + "|" + q.value(2).toString();
    return out;
}

void save(const QString& call, const QString& band, const QString& mode) {
    FMain->EditCall->setText(call);
    FMain->ComboBoxBand->setCurrentText(band);
    FMain->ComboBoxMode->setCurrentText(mode);
    FMain->ButtonSaveClick();
}

// The panel and grid of contest mode (true) or of ordinary logging (false).
void checkPanel(bool contest) {
    for (QWidget* w : {static_cast<QWidget*>(FMain->Label4), static_cast<QWidget*>(FMain->Label5),
                       static_cast<QWidget*>(FMain->EditName), static_cast<QWidget*>(FMain->EditQTH)})
        QCOMPARE(w->isHidden(), contest);
    QCOMPARE(FMain->EditName->isEnabled(), !contest);
    for (QWidget* w : {static_cast<QWidget*>(FMain->Label32), static_cast<QWidget*>(FMain->Label33),
                       static_cast<QWidget*>(FMain->EditNmTx), static_cast<QWidget*>(FMain->EditNmRx)})
        QCOMPARE(w->isHidden(), !contest);
    for (const char* c : {"LogName", "LogQth", "LogRxQsl", "LogTxQsl"})
        QCOMPARE(FMain->DBGridLog->columnVisible(c), !contest);
    for (const char* c : {"Log2", "Log3"})
        QCOMPARE(FMain->DBGridLog->columnVisible(c), contest);
    QCOMPARE(FCont->isVisible(), contest);
}

} // namespace

class TestContestMode : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void start(const QStringList& log, const std::optional<Config>& config = Config{}) {
        app = std::make_unique<AppFixture>([&](TempDataFolder& f) {
            if (config) storeConfig(f, *config);
            logSql(f, log);
        });
        QApplication::setActiveWindow(FMain);
    }
    QStringList messages() const { return app->dialogs().texts(); }

private slots:
    void cleanup() { app.reset(); }

    void aContestNumbersAndScoresItsContacts() {
        start({});
        FMain->ContestBegin->trigger();
        checkPanel(true);
        QCOMPARE(FCont->windowTitle(), QString("Test"));
        FMain->EditNmTx->setText("001");
        FMain->EditNmRx->setText("015");
        save("DL1ABC", "18", "CW");  // Point180 1,5 x 2
        save("DL2ABC", "14", "USB"); // Point14s 1 x 2
        save("DL3ABC", "137", "CW"); // no cell
        QCOMPARE(messages(), QStringList());
        QCOMPARE(contestColumns(), QStringList({"015|001|3", "015|002|2", "015|003|"}));
        QCOMPARE(FMain->EditNmTx->text(), QString("004"));
        QCOMPARE(FMain->EditNmRx->text(), QString("015"));
        QCOMPARE(FCont->Label5->text(), QString("5"));

        // An edit keeps the exchange and serial; its points follow the new band (1.8 CW: 3 x 2).
        QVERIFY(DM->TableLog->locate("LogCall", "DL1ABC"));
        FMain->ButtonEditClick();
        FMain->ComboBoxBand->setCurrentText("1.8");
        FMain->EditNmRx->setText("999");
        FMain->ButtonSaveClick();
        QCOMPARE(contestColumns()[0], QString("015|001|6"));
        QCOMPARE(FMain->EditNmTx->text(), QString("004"));
        QCOMPARE(FCont->Label5->text(), QString("8"));
        FCont->Label5->setText("000");
        FCont->ButtonRefresh->click();
        QCOMPARE(FCont->Label5->text(), QString("8"));

        FMain->ContestEnd->trigger();
        checkPanel(false);
        save("UA3AAA", "14", "CW");
        QVERIFY(DM->TableLog->locate("LogCall", "DL2ABC"));
        FMain->ButtonEditClick();
        FMain->ComboBoxBand->setCurrentText("21");
        FMain->ButtonSaveClick();
        QCOMPARE(contestColumns(), QStringList({"015|001|6", "015|002|2", "015|003|", "||"}));
        QCOMPARE(FMain->EditNmTx->text(), QString("004"));
        QCOMPARE(FCont->Label5->text(), QString("8"));
    }

    void beginTakesTheFirstSentExchange_data() {
        QTest::addColumn<bool>("serial");
        QTest::addColumn<QString>("lastSent"); // the sent exchanges of the book, in the order stored
        QTest::addColumn<QString>("sent");
        QTest::newRow("after 057") << true << "057"
                                   << "058";
        QTest::newRow("after A12") << true << "A12"
                                   << "UA15";
        QTest::newRow("after 999") << true << "999"
                                   << "1000";
        QTest::newRow("fixed exchange") << false << "057"
                                        << "UA15";
        QTest::newRow("an earlier contact selected") << true << "003,004,A12"
                                                     << "005";
        QTest::newRow("an empty log") << true << ""
                                      << "UA15";
    }
    void beginTakesTheFirstSentExchange() {
        QFETCH(bool, serial);
        QFETCH(QString, lastSent);
        QFETCH(QString, sent);
        QStringList log;
        const QStringList sents = lastSent.split(',', Qt::SkipEmptyParts);
        for (int i = 0; i < sents.size(); ++i)
            log << contact("DL" + QString::number(i + 1) + "ABC", QString("10:0%1:00").arg(i), sents[i]);
        start(log, Config{serial, "UA15"});
        // The operator has selected the first contact of the log.
        if (!log.isEmpty()) QVERIFY(DM->TableLog->locate("LogCall", "DL1ABC"));
        FMain->ContestBegin->trigger();
        QCOMPARE(FMain->EditNmTx->text(), sent);
    }

    void beginWithoutAConfigurationLeavesContestMode() {
        start({}, std::nullopt);
        app->dialogs().onModal([](QWidget* w) {
            [w] { QCOMPARE(w, static_cast<QWidget*>(FContConf)); }();
            return 0;
        });
        FMain->ContestBegin->trigger();
        QCOMPARE(messages(), QStringList({"Please enter configuration and run again!"}));
        QCOMPARE(app->dialogs().modalShown.size(), 1);
        QVERIFY(FMain->ContestEnd->isChecked());
        checkPanel(false);
        save("DL1ABC", "14", "CW");
        QCOMPARE(contestColumns(), QStringList({"||"}));
    }

    void viewInfoAfterBeginKeepsTheExchanges() {
        start({});
        FMain->ContestBegin->trigger();
        FMain->ContestViewInfo->trigger();
        QVERIFY(!FMain->EditNmTx->isHidden());
        QVERIFY(FCont->isVisible());
        save("DL1ABC", "14", "CW");
        // An empty log starts from the configured first number.
        QCOMPARE(contestColumns(), QStringList({"000|001|"}));
        QCOMPARE(FCont->Label5->text(), QString("0"));
    }

    void theTypedCallShowsItsLastContactAndItsAwardItem_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("lastQso"); // empty: hidden
        QTest::addColumn<bool>("cells");
        QTest::addColumn<QString>("band14cw");
        QTest::newRow("worked twice, on this band") << "DL1ABC"
                                                    << "Last QSO at 12:00:00 CW 14" << true << "wkd";
        QTest::newRow("new call of a worked country") << "DL7XX"
                                                      << "" << true << "wkd";
        QTest::newRow("worked country, other band") << "F5ABC"
                                                    << "" << true << "";
        QTest::newRow("new country") << "JA1ABC"
                                     << "" << false << "";
    }
    void theTypedCallShowsItsLastContactAndItsAwardItem() {
        QFETCH(QString, call);
        QFETCH(QString, lastQso);
        QFETCH(bool, cells);
        QFETCH(QString, band14cw);
        start({contact("DL1ABC", "10:00:00"), contact("DL1ABC", "12:00:00"), contact("DL1ABCD", "13:00:00"),
               "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band14, Band14cw) "
               "VALUES (1, 'DXCC', 'DL', '', '', 'wkd', 'wkd')",
               "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band70, Band70cw) "
               "VALUES (1, 'DXCC', 'F', '', '', 'wkd', 'wkd')"});
        FMain->ContestBegin->trigger();
        QCOMPARE(DM->TableContestStatistic->filter(), QString("AwName='DXCC' AND LogNameLog=1"));
        FMain->EditCall->setText(call);
        QCOMPARE(!FMain->LabelLastQSO->isHidden(), !lastQso.isEmpty());
        if (!lastQso.isEmpty()) QCOMPARE(FMain->LabelLastQSO->text(), lastQso);
        QCOMPARE(!FMain->LabelTerExist->isHidden(), cells);
        QCOMPARE(FCont->PanelAwardCells->isVisible(), cells);
        for (QLabel* cell : FCont->AwardCells)
            QCOMPARE(cell->isVisible(), cells);
        if (cells) QCOMPARE(FCont->findChild<QLabel*>("Band14cw")->text(), band14cw);
        FMain->ButtonClearClick();
        QVERIFY(!FCont->PanelAwardCells->isVisible());
    }

    void theAwardButtonsChooseTheAwardOfTheBook_data() {
        QTest::addColumn<bool>("contacts");
        QTest::addColumn<QString>("filter");
        QTest::newRow("book with contacts") << true << "AwName='WAZ' AND LogNameLog=1";
        QTest::newRow("empty book") << false << "AwName='WAZ' AND LogNameLog=0";
    }
    void theAwardButtonsChooseTheAwardOfTheBook() {
        QFETCH(bool, contacts);
        QFETCH(QString, filter);
        start(contacts ? QStringList{contact("DL1ABC", "10:00:00")} : QStringList{});
        FCont->ButtonWAZ->click();
        QCOMPARE(FCont->GroupBoxAwName->title(), QString(" WAZ "));
        QCOMPARE(DM->TableContestStatistic->filter(), filter);
        QCOMPARE(DM->TableContestStatistic->sort(), QString("Param1,Param2,Param3"));
        FMain->ContestBegin->trigger();
        QCOMPARE(FCont->GroupBoxAwName->title(), QString(" DXCC "));
    }

    void theSettingsChooseTheLastAwardInUse() {
        app = std::make_unique<AppFixture>([](TempDataFolder& f) {
            Connection cfg("prepare-cfg");
            cfg.openFile(f.file("DB/Work/cfg.mdb"));
            for (const char* box : {"CBDxcc", "CBUkRu"})
                cfg.execute("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param) "
                            "VALUES ('FConfig', ?, 'Checked', 'TCheckBox', 'true')",
                            {box});
            storeConfig(f, Config{});
        });
        QCOMPARE(FCont->GroupBoxAwName->title(), QString(" Ukr Rus & ... "));
        QCOMPARE(DM->TableContestStatistic->filter(), QString("AwName='UkrRus' AND LogNameLog=0"));
        FMain->ContestBegin->trigger();
        QCOMPARE(FCont->GroupBoxAwName->title(), QString(" DXCC "));
    }

    void refreshSumsThePointsAndKeepsTheSelectedRow() {
        start({contact("DL1ABC", "10:00:00", "001", "1,5"), contact("DL2ABC", "10:01:00", "002", "3"),
               contact("DL3ABC", "10:02:00"), contact("DL4ABC", "10:03:00", "003", "0"),
               contact("DL5ABC", "10:04:00")});
        QVERIFY(DM->TableLog->locate("LogCall", "DL2ABC"));
        FMain->ContestBegin->trigger();
        QCOMPARE(FCont->Label5->text(), QString("4,5"));
        QCOMPARE(DM->TableLog->field("LogCall").asString(), QString("DL2ABC"));
        QVERIFY(DM->DataSourceLog->enabled());
        // Deleting a contact takes its points off the total.
        app->dialogs().answer(DlgResult::Yes);
        FMain->LogDeleteClick();
        QCOMPARE(FCont->Label5->text(), QString("1,5"));
    }
};

QTEST_MAIN(TestContestMode)
#include "tst_contestmode.moc"

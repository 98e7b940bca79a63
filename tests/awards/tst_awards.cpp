// The awards window after the real start-up, on marks written by saving contacts in the entry
// panel: the counts of each award, the band columns, the saved queries of "Details".
#include "awards/UAwardAdd.h"
#include "awards/UAwards.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "support/AppFixture.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

// A contact as "call band mode [cfm] [box=value ...]", the boxes of the award-reference window
// by their names without "Edit" (IOTANum=EU-005, WASState=NY, UAA=A1).
void save(const QString& contact) {
    const QStringList f = contact.split(' ');
    FMain->EditCall->setText(f.at(0));
    FMain->ComboBoxBand->setCurrentText(f.at(1));
    FMain->ComboBoxMode->setCurrentText(f.at(2));
    FMain->EditQSLRcvd->setText(f.contains("cfm") ? "Y" : "");
    for (const QString& box : f.mid(3))
        if (box.contains('='))
            FAwardAdd->findChild<QLineEdit*>("Edit" + box.section('=', 0, 0))->setText(box.section('=', 1));
    FMain->ButtonSaveClick();
}

// The count labels that are not "0", as "14C=1 TC=1".
QString counts() {
    QStringList out;
    for (QLabel* l : FAwards->findChildren<QLabel*>(QRegularExpression("^Label(\\d+|S|T)[CSRPO]$")))
        if (l->text() != "0") out << l->objectName().mid(5) + "=" + l->text();
    out.sort();
    return out.join(' ');
}

// The shown columns of the awards grid, by field, left to right.
QString shownColumns() {
    const DatasetModel* m = FAwards->DBGridAwStatistic->datasetModel();
    QStringList out;
    for (int i = 0; i < m->shownColumnCount(); ++i)
        out << m->shownColumn(i).field;
    return out.join(' ');
}

QAction* item(const QString& name) {
    return FAwards->findChild<QAction*>(name);
}

// Marks of another book, which the window never shows or counts.
void otherBook(TempDataFolder& f) {
    Connection c("prepare");
    c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
    c.execute("INSERT INTO LogName (Name, Sel) VALUES ('Second', 0)");
    for (const char* award : {"DXCC", "WAZ", "IOTA", "UkrRus", "WAS", "User1", "User2"})
        c.execute(
            "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Band14cw) VALUES (2, ?, 'UA', 'cfm')",
            {award});
    c.execute("INSERT INTO Log (LogCall, LogPref, LogAwIOTA, LogBand, LogMode, LogNameLog) "
              "VALUES ('OH0A', 'OH0', 'EU-002', '14', 'CW', 2)");
}

} // namespace

class TestAwards : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void start(const std::function<void(TempDataFolder&)>& prepare = otherBook) {
        app = std::make_unique<AppFixture>(prepare);
    }
    void open(const QString& award = "AwMenuDXCC") {
        FMain->ToolsAwardsClick();
        if (award != "AwMenuDXCC") item(award)->trigger();
    }
    QString messages() const { return app->dialogs().texts().join('|'); }

private slots:
    void cleanup() { app.reset(); }

    void countsWorkedThenConfirmed_data() {
        QTest::addColumn<QString>("award");
        QTest::addColumn<QStringList>("contacts");
        QTest::addColumn<QString>("ownColumns");
        QTest::addColumn<QString>("worked");
        QTest::addColumn<QString>("confirmed");
        QTest::addColumn<int>("items");
        QTest::newRow("DXCC, one item on two modes")
            << "AwMenuDXCC" << QStringList{"UA3ABC 14 CW cfm", "UA3ABD 14 SSB"} << "Param1 Other"
            << "14C=1 14S=1 TC=1 TS=1"
            << "14C=1 TC=1" << 1;
        QTest::newRow("DXCC, 1.8 counts in Label16C")
            << "AwMenuDXCC" << QStringList{"DL1ABC 1.8 CW", "JA1ABC 7 RTTY cfm", "K1ABC 10 PSK31"}
            << "Param1 Other"
            << "10P=1 16C=1 7R=1 TC=1 TP=1 TR=1"
            << "7R=1 TR=1" << 3;
        QTest::newRow("DXCC, only cells the window does not count")
            << "AwMenuDXCC" << QStringList{"DL1ABC 28 FM cfm", "DL1ABD 137 CW cfm", "DL1ABE Q CW"}
            << "Param1 Other"
            << ""
            << "" << 1;
        QTest::newRow("WAZ") << "AwMenuWAZ"
                             << QStringList{"DL1ABC 18 CW", "G4ABC 21 SSB cfm", "JA1ABC 24 RTTY"} << "Param1"
                             << "18C=1 21S=1 24R=1 TC=1 TR=1 TS=1"
                             << "21S=1 TS=1" << 2;
        QTest::newRow("IOTA") << "AwMenuIOTA"
                              << QStringList{"G4ABC 28 PSK63 cfm IOTANum=EU-005",
                                             "G4ABD 50 CW IOTANum=EU-011"}
                              << "Param1 Other"
                              << "28P=1 50C=1 TC=1 TP=1"
                              << "28P=1 TP=1" << 2;
        QTest::newRow("regions") << "AwMenuUR" << QStringList{"UA3ABC Satellite SSB", "UA3ABD 144 SSTV cfm"}
                                 << "Param1 Param2 Other"
                                 << "144O=1 SS=1 TO=1 TS=1"
                                 << "144O=1 TO=1" << 1;
        QTest::newRow("regions, a stored item with null keys")
            << "AwMenuUR" << QStringList{"UA3ABC Satellite SSB", "null keys", "UA3ABD 144 SSTV cfm"}
            << "Param1 Param2 Other"
            << "144O=1 SS=1 TO=1 TS=1"
            << "144O=1 TO=1" << 1;
        QTest::newRow("WAS") << "WAS1"
                             << QStringList{"K1ABC 430 CW cfm WASState=NY", "W6ABC 3.5 DIGITAL WASState=CA"}
                             << "Param1 Other"
                             << "35O=1 430C=1 TC=1 TO=1"
                             << "430C=1 TC=1" << 2;
        QTest::newRow("award 1") << "AwMenuUserA" << QStringList{"DL1ABC 1260 CW cfm UAA=A1 UAB=B1 UAC=C1"}
                                 << "Param1 Param2 Param3"
                                 << "1260C=1 TC=1"
                                 << "1260C=1 TC=1" << 1;
        QTest::newRow("award 2") << "AwMenuUserB"
                                 << QStringList{"DL1ABC 14 SSB UBA=X UBB=Y", "DL1ABD 14 SSB UBA=X UBB=Z"}
                                 << "Param1 Param2 Param3"
                                 << "14S=2 TS=2"
                                 << "" << 2;
    }
    void countsWorkedThenConfirmed() {
        QFETCH(QString, award);
        QFETCH(QStringList, contacts);
        QFETCH(QString, ownColumns);
        QFETCH(QString, worked);
        QFETCH(QString, confirmed);
        QFETCH(int, items);
        start();
        for (const QString& c : contacts)
            if (c == "null keys")
                // As a log written by other tools stores the keys it has no value for.
                DM->ConnectionLog->execute("UPDATE AwardMixInfo SET Param2 = NULLIF(Param2, ''), "
                                           "Param3 = NULL WHERE LogNameLog = 1");
            else
                save(c);
        open(award);
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(messages()));
        QCOMPARE(FAwards->LabelAwName->text(), item(award)->text());
        QCOMPARE(FAwards->LabelWC->text(), QString("Worked"));
        QCOMPARE(FAwards->ButtonWC->text(), QString("Confirm"));
        QCOMPARE(counts(), worked);
        const QString total = "Total worked " + QString::number(items);
        QCOMPARE(FAwards->LabelTotal->text(), total);
        // Only this book's rows, with the award's own columns and the 14 band columns.
        QCOMPARE(DM->TableAwStatisticBM->recordCount(), items);
        QVERIFY(shownColumns().startsWith(ownColumns + " Band18 Band35 Band70"));
        // The state, not the caption, says which count comes next: a translated caption counts too.
        FAwards->ButtonWC->setText("Подтв.");
        FAwards->ButtonWCClick();
        QCOMPARE(counts(), confirmed);
        QCOMPARE(FAwards->LabelWC->text(), QString("Confirm"));
        QCOMPARE(FAwards->ButtonWC->text(), QString("Worked"));
        QCOMPARE(FAwards->LabelTotal->text(), total);
        FAwards->ButtonWCClick();
        QCOMPARE(counts(), worked);
    }

    void bandBoxPicksColumns_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("columns");
        QTest::newRow("All")
            << "All"
            << "Param1 Other Band18 Band35 Band70 Band10 Band14 Band180 Band21 Band24 Band28 Band50 "
               "BandSat Band144 Band430 Band1260";
        QTest::newRow("14") << "14"
                            << "Param1 Other Band14 Band14cw Band14ssb Band14rtty Band14psk Band14oth";
        QTest::newRow("28 with FM")
            << "28"
            << "Param1 Other Band28 Band28cw Band28ssb Band28rtty Band28fm Band28psk Band28oth";
        QTest::newRow("1.8 of the band list")
            << "1.8"
            << "Param1 Other Band18 Band18cw Band18ssb Band18rtty Band18psk Band18oth";
        QTest::newRow("1,8") << "1,8"
                             << "Param1 Other Band18 Band18cw Band18ssb Band18rtty Band18psk Band18oth";
        QTest::newRow("7") << "7"
                           << "Param1 Other Band70 Band70cw Band70ssb Band70rtty Band70psk Band70oth";
        QTest::newRow("18") << "18"
                            << "Param1 Other Band180 Band180cw Band180ssb Band180rtty Band180psk Band180oth";
        QTest::newRow("Satellite")
            << "Satellite"
            << "Param1 Other BandSat BandSatcw BandSatssb BandSatrtty BandSatfm BandSatpsk BandSatoth";
        QTest::newRow("137") << "137"
                             << "Param1 Other Band137 Band137cw Band137oth";
        QTest::newRow("Q, not SSTV")
            << "Q"
            << "Param1 Other BandQ BandQcw BandQssb BandQrtty BandQfm BandQdigit BandQpsk BandQoth";
        QTest::newRow("no band") << "NO"
                                 << "Param1 Other";
    }
    void bandBoxPicksColumns() {
        QFETCH(QString, text);
        QFETCH(QString, columns);
        start();
        open();
        QCOMPARE(FAwards->ComboBoxBand->count(), 15); // "All" and the settings' band list
        FAwards->ComboBoxBand->setCurrentText(text);
        QCOMPARE(shownColumns(), columns);
        FAwards->ComboBoxBand->setCurrentText("All");
    }

    void filterNarrowsTheRowsAndTheNextCount() {
        start();
        for (const char* c : {"UA3ABC 14 CW", "UR5ABC 14 CW", "DL1ABC 14 CW"})
            save(c);
        DM->ConnectionLog->execute(
            "INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1) VALUES (1, 'DXCC', '')");
        open();
        QCOMPARE(DM->TableAwStatisticBM->recordCount(), 4);
        FAwards->EditFilter->setText("U");
        QCOMPARE(DM->TableAwStatisticBM->filter(),
                 QString("Param1 LIKE 'U*' AND AwName='DXCC' AND LogNameLog=1"));
        QCOMPARE(DM->TableAwStatisticBM->recordCount(), 2);
        QCOMPARE(counts(), QString("14C=3 TC=3")); // until the next press
        FAwards->ButtonWCClick();
        FAwards->ButtonWCClick();
        QCOMPARE(counts(), QString("14C=2 TC=2"));
        // An empty box hides the item with an empty key, which the first view showed.
        FAwards->EditFilter->clear();
        QCOMPARE(DM->TableAwStatisticBM->recordCount(), 3);
    }

    void detailsShowTheSavedQuery_data() {
        QTest::addColumn<QString>("award");
        QTest::addColumn<QString>("contact");
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("narrowed");
        QTest::newRow("DXCC") << "AwMenuDXCC"
                              << "UA3ABC 14 CW"
                              << "DXCC Country Band Mode QSL QSOs"
                              << "UA" << 1;
        QTest::newRow("WAZ") << "AwMenuWAZ"
                             << "UA3ABC 14 CW"
                             << "WAZ Band Mode QSL QSOs"
                             << "16" << 1;
        QTest::newRow("IOTA") << "AwMenuIOTA"
                              << "G4ABC 14 CW IOTANum=EU-005"
                              << "IOTA Island Band Mode QSL QSOs"
                              << "EU-005" << 1;
        QTest::newRow("regions") << "AwMenuUR"
                                 << "UA3ABC 14 CW"
                                 << "UkrRus Region Entity Band Mode QSL QSOs"
                                 << "MA" << 1;
        QTest::newRow("WAS") << "WAS1"
                             << "K1ABC 14 CW WASState=NY"
                             << "WAS Name Band Mode QSL QSOs"
                             << "NY" << 1;
        QTest::newRow("award 1") << "AwMenuUserA"
                                 << "DL1ABC 14 CW UAA=A1 UAB=B1"
                                 << "User1 Band Mode QSL QSOs"
                                 << "A1" << 1;
        QTest::newRow("award 2") << "AwMenuUserB"
                                 << "DL1ABC 14 CW UBA=X"
                                 << "User2 Band Mode QSL QSOs"
                                 << "X" << 1;
    }
    void detailsShowTheSavedQuery() {
        QFETCH(QString, award);
        QFETCH(QString, contact);
        QFETCH(QString, columns);
        QFETCH(QString, typed);
        QFETCH(int, narrowed);
        start();
        save(contact);
        open(award);
        FAwards->ButtonDetailsClick();
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(messages()));
        Dataset* query = DM->QueryAwStatistic;
        QVERIFY(query->active());
        QCOMPARE(DM->DataSourceAwStatistic->dataSet(), query);
        // The book column is hidden; the first six columns take their widths, or their headings'.
        QCOMPARE(shownColumns(), columns);
        const DBGrid* grid = FAwards->DBGridAwStatistic;
        const QList<int> widths{40, 130, 30, 40, 30, 30};
        for (int i = 0; i < 6; ++i)
            QVERIFY(grid->datasetModel()->columns().at(i).width >= widths.at(i));
        // This book's rows and the items never worked; never another book's.
        int own = 0, never = 0;
        for (query->first(); !query->eof(); query->next()) {
            const QVariant book = query->value("LogNameLog");
            QVERIFY(book.isNull() || book.toInt() == 1);
            (book.isNull() ? never : own) += 1;
        }
        QCOMPARE(own, 1);
        if (!award.startsWith("AwMenuUser")) QVERIFY(never > 1);
        const QString key = query->fieldDefs().front().name;
        FAwards->EditFilter->setText(typed);
        QCOMPARE(query->filter(), key + " LIKE '" + typed + "*' AND LogNameLog=1");
        QCOMPARE(query->recordCount(), narrowed);
        // A rebuild re-reads the query; choosing the award again returns to the table.
        save(contact);
        RefreshAwardViews();
        QCOMPARE(query->value("QSOs").toInt(), 2);
        item(award)->trigger();
        QVERIFY(!query->active());
        QCOMPARE(DM->DataSourceAwStatistic->dataSet(), DM->TableAwStatisticBM);
        QVERIFY(shownColumns().startsWith("Param1"));
    }

    void earlierLogFileGetsTheSavedQueries() {
        start([](TempDataFolder& f) {
            Connection c("prepare");
            c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
            for (const char* v : {"SQL_DXCC_Aw", "SQL_WAZ_Aw", "SQL_IOTA_Aw", "SQL_UR_Aw", "SQL_WAS_Aw",
                                  "SQL_User1_Aw", "SQL_User2_Aw"})
                c.execute(QString("DROP VIEW %1").arg(v));
            for (const char* t : {"Aw_IOTA", "Aw_WAS", "Aw_UR"})
                c.execute(QString("DROP TABLE %1").arg(t));
        });
        open("WAS1");
        FAwards->ButtonDetailsClick();
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(messages()));
        QCOMPARE(DM->QueryAwStatistic->recordCount(), 50);
    }

    void closingAndReopening() {
        start();
        open("AwMenuIOTA");
        FAwards->ButtonDetailsClick();
        FAwards->close();
        QVERIFY(!DM->QueryAwStatistic->active());
        QVERIFY(!DM->TableAwStatisticBM->active());
        open();
        QVERIFY(item("AwMenuDXCC")->isChecked());
        QCOMPARE(FAwards->LabelAwName->text(), QString("DXCC"));
    }

    void noLogBookGivesAnEmptyWindow() {
        start([](TempDataFolder& f) {
            Connection c("prepare");
            c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
            c.execute("DELETE FROM LogName");
            c.execute("INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Band14cw) VALUES (1, 'DXCC', "
                      "'UA', 'wkd')");
        });
        open();
        FAwards->ButtonDetailsClick();
        FAwards->EditFilter->setText("U");
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(messages()));
        QCOMPARE(DM->TableAwStatisticBM->recordCount(), 0);
        QCOMPARE(counts(), QString());
    }

    void captionsInEachLanguageFit_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("details");
        QTest::newRow("Russian") << "Russian"
                                 << "Статистика"
                                 << "Подробно";
        QTest::newRow("English") << "English"
                                 << "Show statistic"
                                 << "Details";
        QTest::newRow("Deutsch") << "Deutsch"
                                 << "Statistik"
                                 << "Details";
        QTest::newRow("France") << "France"
                                << "Statistique"
                                << "Détails";
    }
    void captionsInEachLanguageFit() {
        QFETCH(QString, language);
        QFETCH(QString, menu);
        QFETCH(QString, details);
        start([&](TempDataFolder& f) {
            Connection c("prepare");
            c.openFile(f.file("DB/Work/cfg.mdb"));
            c.execute("INSERT INTO Cfg (FormName, Object, Name_Param, Param, Prim) "
                      "VALUES ('FConfig', 'ComboBoxLanguage', 'Text', ?, 'TComboBox')",
                      {language});
        });
        save("UA3ABC 14 CW cfm");
        open();
        QCOMPARE(FAwards->AwMenu->title(), menu);
        QCOMPARE(FAwards->ButtonDetails->text(), details);
        FAwards->show();
        QVERIFY(QTest::qWaitForWindowExposed(FAwards));
        // Every caption and count is shown whole.
        for (QWidget* w : FAwards->findChildren<QWidget*>())
            if ((qobject_cast<QLabel*>(w) || qobject_cast<QPushButton*>(w)) && w->isVisible())
                QVERIFY2(w->width() >= w->sizeHint().width() && w->height() >= w->sizeHint().height(),
                         qPrintable(w->objectName()));
        FAwards->close();
    }

    void countErrorReattachesTheGridAndShowsOnce() {
        start();
        save("UA3ABC 14 CW");
        open();
        DM->ConnectionLog->execute("ALTER TABLE AwardMixInfo RENAME COLUMN Band14cw TO Gone");
        QVERIFY(!Dialogs::guarded([] { FAwards->ButtonWCClick(); }));
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY(DM->DataSourceAwStatistic->enabled());
        QCOMPARE(counts(), QString());
    }
};

QTEST_MAIN(TestAwards)
#include "tst_awards.moc"

#include "app/StartUp.h"
#include "awards/UAwardAdd.h"
#include "dataset/Connection.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "media/USound.h"
#include "platform/DataFolder.h"
#include "support/AppFixture.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

namespace {

// Runs statements on a database of the seeded folder before the program starts.
void sql(TempDataFolder& f, const QString& file, const QStringList& statements) {
    Connection c(QStringLiteral("prepare"));
    c.openFile(f.file(file));
    for (const QString& s : statements)
        c.execute(s);
}

const QString kLog = QStringLiteral("DB/Log/Log_Zelmor.mdb");

QStringList bookItems() {
    QStringList names;
    for (QAction* a : FMain->logMenuItemsAboveSeparator())
        if (a->isVisible()) names << a->text();
    return names;
}

QString checkedBook() {
    for (QAction* a : FMain->logMenuItemsAboveSeparator())
        if (a->isVisible() && a->isChecked()) return a->text();
    return {};
}

} // namespace

class TestStartUp : public QObject {
    Q_OBJECT
private slots:
    void freshFolderOpensOnTheMainBook() {
        AppFixture app;
        QCOMPARE(FMain->windowTitle(), QString("Zelmor"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Zelmor Log"));
        QVERIFY(FMain->isVisible());
        QCOMPARE(bookItems(), QStringList{"Main"});
        QCOMPARE(checkedBook(), QString("Main"));
        QCOMPARE(FMain->Tag, 1);
        QCOMPARE(FMain->LabelQSOs->text(), QString("0"));
        QCOMPARE(FMain->LabelDateLogStart->text(), QString());
        QCOMPARE(QDir::cleanPath(ProgramFolder), QDir::cleanPath(app.folder().path()));
        QVERIFY(app.dialogs().messages.isEmpty());
        // Every window of the start-up exists.
        QVERIFY(FAwardAdd && FSound && FConfig && DM);
        QVERIFY(DM->TableLog->active() && DM->TableImage->active() && DM->TableCfgCfg->active());
    }

    void booksFollowTheTableAndTheSelectedOneIsCurrent() {
        AppFixture app([](TempDataFolder& f) {
            sql(f, kLog,
                {"UPDATE LogName SET Sel = 0",
                 "INSERT INTO LogName (Name, Prim, Sel) VALUES ('Contest', '', 1)",
                 "INSERT INTO LogName (Name, Prim, Sel) VALUES ('Portable', '', 0)",
                 "INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) VALUES ('DL1AA', '2024-03-02', "
                 "'10:00:00', 2)",
                 "INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) VALUES ('G4XX', '2024-01-05', "
                 "'08:30:00', 2)",
                 "INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) VALUES ('JA1ZZ', '2024-01-05', "
                 "'09:15:00', 2)",
                 "INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) VALUES ('K1AB', '2023-01-01', "
                 "'00:00:00', 1)"});
        });
        QCOMPARE(bookItems(), QStringList({"Main", "Contest", "Portable"}));
        QCOMPARE(checkedBook(), QString("Contest"));
        QCOMPARE(FMain->Tag, 2);
        QCOMPARE(FMain->LabelQSOs->text(), QString("3"));
        QCOMPARE(FMain->LabelDateLogStart->text(), QString("05.01.2024"));
        QCOMPARE(FMain->LabelDateLogStart->toolTip(), QString("08:30:00"));
        // The log view stands on the book's latest contact.
        QCOMPARE(DM->TableLog->field("LogCall").asString(), QString("DL1AA"));
        QCOMPARE(FMain->LogLog1->text(), QString("Log1~"));
        QVERIFY(!FMain->LogLog1->isVisible());
        QCOMPARE(FMain->findControl("ItemLog3")->property("text").toString(), QString("Portable"));
    }

    void withoutASelectedBookTheLastIsCurrent() {
        AppFixture app([](TempDataFolder& f) {
            sql(f, kLog,
                {"UPDATE LogName SET Sel = 0",
                 "INSERT INTO LogName (Name, Prim, Sel) VALUES ('Second', '', 0)"});
        });
        QCOMPARE(checkedBook(), QString());
        QCOMPARE(FMain->Tag, 2);
    }

    void withTwoSelectedBooksTheLaterWins() {
        AppFixture app([](TempDataFolder& f) {
            sql(f, kLog,
                {"INSERT INTO LogName (Name, Prim, Sel) VALUES ('Second', '', 1)",
                 "INSERT INTO LogName (Name, Prim, Sel) VALUES ('Third', '', 0)"});
        });
        QCOMPARE(checkedBook(), QString("Second"));
        QCOMPARE(FMain->Tag, 2);
    }

    void anEmptyBookTableLeavesAnEmptyLogView() {
        AppFixture app([](TempDataFolder& f) {
            sql(f, kLog,
                {"DELETE FROM LogName",
                 "INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) VALUES ('K1AB', '2023-01-01', "
                 "'00:00:00', 1)"});
        });
        QVERIFY(app.dialogs().messages.isEmpty());
        QVERIFY(bookItems().isEmpty());
        QCOMPARE(DM->TableLog->recordCount(), 0);
        QCOMPARE(FMain->LabelQSOs->text(), QString("0"));
        QCOMPARE(FMain->Tag, 0);
    }

    void aMissingCallbookSwitchesItsPanelOffSilently() {
        AppFixture app([](TempDataFolder& f) { QVERIFY(QFile::remove(f.file("DB/CallBook/CBook.mdb"))); });
        QCOMPARE(FMain->GroupBoxCallbook->title(), QString(" CallBook Zelmor not exist "));
        QVERIFY(!FMain->ButtonCBFindZelmor->isEnabled());
        QVERIFY(!FMain->ButtonCBEdit->isEnabled());
        QVERIFY(app.dialogs().messages.isEmpty());
        QVERIFY(DM->TableLog->active());
    }

    void anOldCallbookGainsItsBirthdayColumn() {
        AppFixture app([](TempDataFolder& f) {
            sql(f, "DB/CallBook/CBook.mdb",
                {"DROP TABLE CB_W",
                 "CREATE TABLE CB_W (Call VARCHAR(20), Name VARCHAR(50), QTH VARCHAR(50), QTHLoc "
                 "VARCHAR(10), "
                 "Note VARCHAR(250), EMail VARCHAR(50), Other INTEGER, UpdateStamp DATETIME)",
                 "INSERT INTO CB_W (Call, Name) VALUES ('UA3AA', 'Ivan')"});
        });
        QVERIFY(app.dialogs().messages.isEmpty());
        QVERIFY(
            DM->ConnectionCB->scalar("SELECT COUNT(*) FROM pragma_table_info('CB_W') WHERE name = 'Birthday'")
                .toInt() == 1);
        QCOMPARE(DM->ConnectionCB->scalar("SELECT Name FROM CB_W WHERE Call = 'UA3AA'").toString(),
                 QString("Ivan"));
    }

    void aCurrentCallbookIsLeftAsItIs() {
        QString schemaBefore;
        AppFixture app([&](TempDataFolder& f) {
            Connection c("peek");
            c.openFile(f.file("DB/CallBook/CBook.mdb"));
            schemaBefore = c.scalar("SELECT sql FROM sqlite_master WHERE name = 'CB_W'").toString();
        });
        QCOMPARE(DM->ConnectionCB->scalar("SELECT sql FROM sqlite_master WHERE name = 'CB_W'").toString(),
                 schemaBefore);
        QVERIFY(DM->QueryCB_W->active());
    }

    void aMissingSettingsDatabaseShowsOneErrorAndStartUpGoesOn() {
        AppFixture app([](TempDataFolder& f) { QVERIFY(QFile::remove(f.file("DB/Work/cfg.mdb"))); });
        const auto errors = std::count_if(app.dialogs().messages.begin(), app.dialogs().messages.end(),
                                          [](const ShownMessage& m) { return m.type == DlgType::Error; });
        if (errors != 1) qDebug() << app.dialogs().texts();
        QCOMPARE(int(errors), 1);
        QVERIFY(app.dialogs().messages.first().text.contains("cfg.mdb"));
        QVERIFY(FConfig && FSound && FAwardAdd);
        QVERIFY(!QFile::exists(app.folder().file("DB/Work/cfg.mdb"))); // never created by opening
        QVERIFY(!DM->TableLog->active());                              // the rest of that handler did not run
    }

    void aLongDataFolderPathWorks() {
        const QString deep =
            QString("a").repeated(60) + "/" + QString("b").repeated(60) + "/" + QString("c").repeated(40);
        AppFixture app({}, deep);
        QVERIFY(ProgramFolder.size() > 143);
        QVERIFY(app.dialogs().messages.isEmpty());
        QVERIFY(DM->TableLog->active());
        QVERIFY(DM->TableSound->active());
    }

    void aDataFolderNamedWithSeparatorsWorks() {
        AppFixture app({}, "My;Logs, 2024");
        QVERIFY(app.dialogs().messages.isEmpty());
        QVERIFY(DM->TableLog->active());
        QVERIFY(DM->TableSound->active());
    }

    void logGridShowsTheLogColumns() {
        AppFixture app;
        QVERIFY(FMain->DBGridLog->readOnly());
        QVERIFY_THROWS_EXCEPTION(DbError, DM->TableContestStatistic->append()); // the contest view edits nothing
        QVERIFY(FMain->DBGridLog->columnVisible("LogCall"));
        QVERIFY(FMain->DBGridLog->columnVisible("LogQTHLoc"));
        QVERIFY(!FMain->DBGridLog->columnVisible("LogPref"));
        QVERIFY(!FMain->DBGridLog->columnVisible("Log2"));
    }

    // Columns sized to their contents: every shown column of the log, the note and the locator
    // included, lies inside the grid, and the short ones are narrower than the long ones.
    void logGridColumnsFitTheirContents() {
        AppFixture app([](TempDataFolder& f) {
            sql(f, kLog,
                {"INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogName, LogQth, LogRxRst, "
                 "LogTxRst, LogNotepad, LogQTHLoc, LogNameLog) VALUES ('UA3ABC', '2024-03-02', '10:00:00', "
                 "'14', 'SSB', 'Ivan', 'Moscow', '599', '599', 'tnx fer QSO', 'KO85UU', 1)"});
        });
        DBGrid* grid = FMain->DBGridLog;
        const DatasetModel* model = grid->datasetModel();
        int note = -1, locator = -1, band = -1;
        for (int i = 0; i < model->shownColumnCount(); ++i) {
            const QString field = model->shownColumn(i).field;
            if (field == "LogNotepad") note = i;
            if (field == "LogQTHLoc") locator = i;
            if (field == "LogBand") band = i;
        }
        QVERIFY(note >= 0 && locator >= 0 && band >= 0);
        const int viewWidth = grid->viewport()->width();
        for (int c : {note, locator})
            QVERIFY2(grid->columnViewportPosition(c) + grid->columnWidth(c) <= viewWidth,
                     qPrintable(QString("%1: %2+%3 > %4")
                                    .arg(model->shownColumn(c).field)
                                    .arg(grid->columnViewportPosition(c))
                                    .arg(grid->columnWidth(c))
                                    .arg(viewWidth)));
        QVERIFY(grid->columnWidth(band) < grid->columnWidth(note));
    }
};

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"

// Saving while the log is held by another program, on a full disk, and into a log file of an
// earlier version: the error the user sees names the real cause, and the grid and the count
// always show what the file holds.
#include "awards/UAwardAdd.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "widgets/DBGrid.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

namespace {

int bookRows() {
    return DM->ConnectionLog->scalar("SELECT COUNT(*) FROM Log WHERE LogNameLog = 1").toInt();
}

// Another program with the log file open.
class OtherProgram {
public:
    explicit OtherProgram(const QString& file) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(file);
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=0");
        QVERIFY(db.open());
    }
    ~OtherProgram() {
        QSqlDatabase::database(name).close();
        QSqlDatabase::removeDatabase(name);
    }
    bool exec(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(name));
        return q.exec(sql);
    }
    const QString name = "other-program";
};

// Caps the file at its present size and fills what room its pages have, ever smaller rows last.
void fillTheDisk(Connection* c, const QString& insertOneText) {
    const int pages = c->scalar("PRAGMA page_count").toInt();
    c->scalar(QString("PRAGMA max_page_count = %1").arg(pages));
    for (int size : {250, 40, 0}) {
        try {
            for (;;)
                c->execute(insertOneText, {QString(size, 'n')});
        } catch (const DbError&) {
        }
    }
}

} // namespace

class TestRefusals : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void start(const std::function<void(TempDataFolder&)>& prepare = {}) {
        app = std::make_unique<AppFixture>(prepare);
        app->clock().set(QDateTime(QDate(2024, 3, 10), QTime(12, 34, 56)));
        FMain->TimerRealClockTimer();
        DM->ConnectionLog->setWriteWait(20);
    }
    void save(const QString& call, const QString& band = "14") {
        FMain->EditCall->clear();
        QTest::keyClicks(FMain->EditCall, call);
        FMain->ComboBoxBand->setCurrentText(band);
        FMain->ButtonSave->click();
    }
    // The grid, the count label and the dataset show the book's rows as the file holds them.
    void verifyViewMatchesFile(const QString& lastCall) {
        const int rows = bookRows();
        QCOMPARE(DM->TableLog->recordCount(), rows);
        QCOMPARE(FMain->DBGridLog->model()->rowCount(), rows);
        QCOMPARE(FMain->LabelQSOs->text(), QString::number(rows));
        DM->TableLog->last();
        QCOMPARE(DM->TableLog->field("LogCall").asString(), lastCall);
    }

private slots:
    void cleanup() { app.reset(); }

    void saveAfterARefusalShowsInGridAndCount() {
        start();
        save("UA3AAA");
        QCOMPARE(bookRows(), 1);
        {
            OtherProgram other(DM->ConnectionLog->fileName());
            QVERIFY(other.exec("BEGIN EXCLUSIVE"));
            // Typing reads the log while the other program writes: no wait, no error.
            FMain->EditCall->clear();
            QTest::keyClicks(FMain->EditCall, "UA3AAA");
            QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join('|')));
            QCOMPARE(DM->TableRepeat->recordCount(), 1);
            // The save waits its bounded time, then names the cause.
            save("UA3BBB");
            QCOMPARE(app->dialogs().messages.size(), 1);
            QVERIFY2(app->dialogs().lastText().contains("used by another program"),
                     qPrintable(app->dialogs().lastText()));
            QCOMPARE(FMain->EditCall->text(), QString("UA3BBB")); // the entry stays for another try
            QVERIFY(other.exec("ROLLBACK"));
        }
        QCOMPARE(bookRows(), 1);
        verifyViewMatchesFile("UA3AAA");
        FMain->ButtonSave->click();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(bookRows(), 2);
        verifyViewMatchesFile("UA3BBB");
    }

    void keystrokesUnderAReadLockReportItOnce() {
        // A log file held by another program while it is opened keeps its rollback journal,
        // whose writers block readers.
        std::unique_ptr<OtherProgram> other;
        start([&other](TempDataFolder& folder) {
            other = std::make_unique<OtherProgram>(folder.file("\\DB\\Log\\Log_Zelmor.mdb"));
            QVERIFY(other->exec("BEGIN"));
            QVERIFY(other->exec("SELECT count(*) FROM Log"));
        });
        QCOMPARE(DM->ConnectionLog->scalar("PRAGMA journal_mode").toString(), QString("delete"));
        QVERIFY(other->exec("COMMIT"));
        save("UA3AAA");
        QVERIFY(other->exec("BEGIN EXCLUSIVE"));
        FMain->EditCall->clear();
        QTest::keyClicks(FMain->EditCall, "UA3AAA"); // each read fails at once, without a wait
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY2(app->dialogs().lastText().contains("used by another program"),
                 qPrintable(app->dialogs().lastText()));
        QVERIFY(other->exec("ROLLBACK"));
        FMain->EditCall->clear();
        QTest::keyClicks(FMain->EditCall, "UA3AAA");
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(DM->TableRepeat->recordCount(), 1);
        app.reset(); // before the other program lets go of the file
    }

    void aSaveTheDiskRefusesSaysWhyAndKeepsTheEntry_data() {
        QTest::addColumn<bool>("deleteTheFile"); // else the disk fills up
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("sentence"); // the first line of the message
        QTest::addColumn<QString>("cause");    // in the technical text after it
        QTest::newRow("a full disk")
            << false << "English"
            << "The disk is full, so this change was not saved: make room on the disk "
               "and try again."
            << "database or disk is full";
        QTest::newRow("a full disk, Russian messages")
            << false << "Russian"
            << "Диск переполнен, поэтому это изменение не сохранено: освободите место на диске и повторите."
            << "database or disk is full";
        QTest::newRow("the log file deleted while running")
            << true << "English"
            << "The database file was deleted or moved while the program was running, so this change was not "
               "saved: put the file back in its place and start the program again."
            << "DB/Log/Log_Zelmor.mdb";
    }
    void aSaveTheDiskRefusesSaysWhyAndKeepsTheEntry() {
        QFETCH(bool, deleteTheFile);
        QFETCH(QString, language);
        QFETCH(QString, sentence);
        QFETCH(QString, cause);
        start();
        FConfig->ComboBoxLanguage->setCurrentText(language);
        save("UA3AAA");
        Connection* log = DM->ConnectionLog;
        if (deleteTheFile) {
            for (const char* end : {"", "-wal", "-shm"})
                QVERIFY(QFile::remove(log->fileName() + end));
        } else {
            fillTheDisk(log, "INSERT INTO Log (LogCall, LogNameLog, LogNotepad) VALUES ('X', 9, ?)");
        }
        app->dialogs().clear();
        save("UA3BBB");
        QCOMPARE(app->dialogs().messages.size(), 1);
        const QStringList lines = app->dialogs().lastText().split('\n');
        QCOMPARE(lines.first(), sentence);
        QVERIFY2(lines.size() == 2 && lines.last().contains(cause), qPrintable(app->dialogs().lastText()));
        QCOMPARE(FMain->EditCall->text(), QString("UA3BBB"));
        QVERIFY(!log->inTransaction());
        QCOMPARE(bookRows(), 1);
        verifyViewMatchesFile("UA3AAA");
        if (deleteTheFile) return;

        log->execute("DELETE FROM Log WHERE LogNameLog = 9");
        log->scalar("PRAGMA max_page_count = 1000000");
        FMain->ButtonSave->click();
        QCOMPARE(app->dialogs().messages.size(), 1);
        verifyViewMatchesFile("UA3BBB");
    }

    void settingsSaveOnAFullDiskShowsItsOwnError() {
        start();
        Connection* cfg = DM->ConnectionCfg;
        const auto settingRows = [cfg] {
            return cfg->scalar("SELECT count(*) FROM Cfg WHERE FormName <> 'Filler'").toInt();
        };
        const int shipped = settingRows();
        fillTheDisk(cfg, "INSERT INTO Cfg (FormName, Memo) VALUES ('Filler', ?)");
        FConfig->MaskEditC->setText("UA1BBB");
        FConfig->ButtonSave->click();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY2(app->dialogs().lastText().contains("full"), qPrintable(app->dialogs().lastText()));
        QVERIFY(!cfg->inTransaction());
        QCOMPARE(settingRows(), shipped);
    }

    void satelliteFitsALogFileOfAnEarlierVersion() {
        start([](TempDataFolder& folder) {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "earlier");
            db.setDatabaseName(folder.file("\\DB\\Log\\Log_Zelmor.mdb"));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("INSERT INTO Log (LogCall, LogBand, LogNameLog) VALUES ('DL1AA', '14', 1)"));
            QVERIFY(q.exec("PRAGMA writable_schema = ON"));
            QVERIFY(q.exec("UPDATE sqlite_master SET sql = replace(sql, 'LogBand VARCHAR(10)', "
                           "'LogBand VARCHAR(6)') WHERE name = 'Log'"));
            q = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase("earlier");
        });
        QCOMPARE(DM->TableLog->field("LogBand").def().size, 10);
        QCOMPARE(bookRows(), 1);
        QCOMPARE(DM->ConnectionLog->scalar("SELECT LogCall FROM Log WHERE LogNom = 1").toString(),
                 QString("DL1AA"));
        save("UA3AAA", "Satellite");
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join('|')));
        QCOMPARE(DM->ConnectionLog->scalar("SELECT LogBand FROM Log WHERE LogCall = 'UA3AAA'").toString(),
                 QString("Satellite"));
        QCOMPARE(DM->ConnectionLog
                     ->scalar("SELECT BandSat FROM AwardMixInfo WHERE AwName = 'DXCC' AND Param1 = 'UA'")
                     .toString(),
                 QString("wkd"));
    }
};

QTEST_MAIN(TestRefusals)
#include "tst_refusals.moc"

// The Log menu's ADIF export and import after the real start-up: the file written from the log
// view, the import's summary, and the windows brought back on every way out.
#include "awards/UThreadUpdatBase.h"
#include "data/AdifLog.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

void seed(TempDataFolder& f) {
    Connection c(QStringLiteral("tst_adifmenu_seed"));
    c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
    c.execute("INSERT INTO LogName (Num, Name, Prim, Sel) VALUES (2, 'Other', '', 0)");
    for (const char* line :
         {"UA1A|10:00:00|14|1", "DL1C|11:00:00|7|1", "K1ZZ|12:00:00|14|1", "UA9X|10:00:00|14|2"}) {
        const QStringList v = QString::fromLatin1(line).split('|');
        c.execute(
            "INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogRxRst, LogTxRst, LogNameLog) "
            "VALUES (?, '2024-03-10', ?, ?, 'CW', '599', '599', ?)",
            {v[0], v[1], v[2], v[3].toInt()});
    }
}

// The windows as every way out of an exchange must leave them.
void windowsBack() {
    QVERIFY(FMain->isVisible());
    QVERIFY(DM->DataSourceLog->enabled());
    QVERIFY(!FProgres->isVisible());
    QCOMPARE(QDir::currentPath(), ProgramFolder);
}

} // namespace

class TestAdifMenu : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

private slots:
    void init() { app = std::make_unique<AppFixture>(seed); }
    void cleanup() { app.reset(); }

    // The book's filtered view in its order; the view itself unchanged.
    void exportWritesTheView() {
        DM->TableLog->setFilter("LogNameLog = 1 AND LogBand = '14'");
        DM->TableLog->setSort("LogCall");
        const QString file = app->folder().file("out.adi");
        app->dialogs().answerSave(file);
        FMain->LogExportADIF->trigger();
        QCOMPARE(app->dialogs().texts(),
                 QStringList{"Contacts exported: 2, to the file " + file +
                             ". The log filter limited the export to the contacts it shows."});
        windowsBack();
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.size(), 8); // five header lines, two contacts, nothing after the last line end
        QVERIFY(lines[5].startsWith("<CALL:4>K1ZZ <QSO_DATE:8>20240310 <TIME_ON:4>1200 <BAND:3>20M"));
        QVERIFY(lines[6].startsWith("<CALL:4>UA1A "));
        QCOMPARE(DM->TableLog->filter(), "LogNameLog = 1 AND LogBand = '14'");
        QCOMPARE(DM->TableLog->sort(), "LogCall");
    }

    void exportIntoAMissingFolderShowsOneError() {
        app->dialogs().answerSave(app->folder().file("no/such/folder/out.adi"));
        FMain->LogExportADIF->trigger();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(app->dialogs().messages[0].type, DlgType::Error);
        windowsBack();
    }

    // Cancelled: the Part's words; a name of no file: nothing read and nothing said.
    void importWithoutAFile_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("cancelled") << "" << QStringList{"File not exist"};
        QTest::newRow("missing file") << "gone.adi" << QStringList{};
    }
    void importWithoutAFile() {
        QFETCH(QString, name);
        QFETCH(QStringList, shown);
        if (!name.isEmpty()) app->dialogs().answerOpen(app->folder().file(name));
        FMain->LogImportADIF->trigger();
        QCOMPARE(app->dialogs().texts(), shown);
        FinishAwardRebuild();
        windowsBack();
        QCOMPARE(DM->TableLog->recordCount(), 3);
    }

    // The program killed after the import's first batch was stored, before its rebuild: the next
    // start makes the marks.
    void anImportCutShortIsMarkedAtTheNextStart() {
        app.reset();
        app = std::make_unique<AppFixture>([](TempDataFolder& f) {
            seed(f);
            Connection log("tst_adifmenu_cut"), ref("tst_adifmenu_cut_ref");
            log.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
            ref.openFile(f.file("DB/Work/DB.mdb"));
            QBuffer in;
            in.setData("<CALL:4>G4AA <QSO_DATE:8>20240311 <TIME_ON:4>1000 <BAND:3>20M <MODE:2>CW <EOR>");
            in.open(QIODevice::ReadOnly);
            QCOMPARE(importAdif(log, ref, in, 1).imported, 1);
            QVERIFY(awardMarksOutOfDate(log));
        });
        FinishAwardRebuild();
        Connection& log = *DM->ConnectionLog;
        QCOMPARE(log.scalar("SELECT count(*) FROM Log WHERE coalesce(Log1, '') <> 'upd'").toInt(), 0);
        QVERIFY(
            log.scalar("SELECT count(*) FROM AwardMixInfo WHERE AwName = 'DXCC' AND Param1 = 'G'").toInt() >
            0);
        QVERIFY(!awardMarksOutOfDate(log));
        windowsBack();
    }

    void importSummary_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("summary");
        QTest::newRow("English")
            << "English"
            << "Contacts imported: 2. Skipped: 3 (duplicates: 1; incomplete or invalid: 2).";
        QTest::newRow("Russian") << "Russian"
                                 << QString::fromUtf8("Импортировано связей: 2. Пропущено: 3 (дубликатов: 1; "
                                                      "неполных или ошибочных: 2).");
    }
    // Two new, one already in the book, one without mode, one with month 13.
    void importSummary() {
        QFETCH(QString, language);
        QFETCH(QString, summary);
        FConfig->ComboBoxLanguage->setCurrentText(language);
        const QString file = app->folder().file("in.adi");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<EOH>\r\n"
                "<CALL:4>ua1a <QSO_DATE:8>20240310 <TIME_ON:4>1000 <BAND:3>20M <MODE:2>CW <EOR>\r\n"
                "<CALL:4>G4AA <QSO_DATE:8>20240311 <TIME_ON:4>1000 <FREQ:6>14.025 <MODE:2>CW <EOR>\r\n"
                "<CALL:4>F5AA <QSO_DATE:8>20240312 <TIME_ON:4>1000 <BAND:3>40M <MODE:3>SSB <EOR>\r\n"
                "<CALL:4>G4BB <QSO_DATE:8>20240312 <TIME_ON:4>1000 <BAND:3>40M <EOR>\r\n"
                "<CALL:4>G4CC <QSO_DATE:8>20241312 <TIME_ON:4>1000 <BAND:3>40M <MODE:2>CW <EOR>\r\n");
        f.close();
        DM->TableLog->setSort("LogCall");
        app->dialogs().answerOpen(file);
        const auto marks = [] {
            return DM->ConnectionLog->scalar("SELECT count(*) FROM AwardMixInfo").toInt();
        };
        QCOMPARE(marks(), 0);
        FMain->LogImportADIF->trigger();
        QCOMPARE(app->dialogs().texts(), QStringList{summary});
        // The import's last step is the whole-log award rebuild.
        QVERIFY(AwardRebuildRunning());
        FinishAwardRebuild();
        QVERIFY(marks() > 0);
        windowsBack();
        QCOMPARE(DM->TableLog->filter(), "LogNameLog = 1");
        QCOMPARE(DM->TableLog->sort(), "LogDate, LogTime");
        QCOMPARE(DM->TableLog->recordCount(), 5);
        QCOMPARE(DM->TableLog->recNo(), 5);
        QCOMPARE(DM->TableLog->field("LogCall").asString(), "F5AA");
    }
};

QTEST_MAIN(TestAdifMenu)
#include "tst_adifmenu.moc"

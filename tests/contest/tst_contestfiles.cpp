// The contest log files written from the real windows: the filtered log view in the grid's
// order, the file names the dialog gives, and the windows restored on every way out.
#include "contest/UCabrill.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace {

void seed(TempDataFolder& f) {
    Connection c(QStringLiteral("tst_contestfiles_seed"));
    c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
    c.execute("INSERT INTO LogName (Num, Name, Prim, Sel) VALUES (2, 'Other', '', 0)");
    // G4AA lacks its mode, DL1C is on another band, UA9X in another book.
    for (const char* line : {"UA1A|14|CW|1", "K1ZZ|14|SSB|1", "DL1C|7|CW|1", "G4AA|14||1", "UA9X|14|CW|2"}) {
        const QStringList v = QString::fromLatin1(line).split('|');
        c.execute(
            "INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogRxRst, LogTxRst, Log2, Log3, "
            "LogNameLog) VALUES (?, '2024-03-10', '10:00:00', ?, ?, '599', '599', '005', '001', ?)",
            {v[0], v[1], v[2], v[3].toInt()});
    }
}

// Writes the chosen kind of file through its menu item (the Cabrillo one through its window).
void save(const QString& kind, AppFixture& app) {
    if (kind == "cabrillo") {
        app.dialogs().onModal([](QWidget*) {
            FCabrillo->Button1->click();
            return 0;
        });
        FMain->SaveContestCabrilo->trigger();
    } else {
        (kind == "text" ? FMain->SaveContestText : FMain->SaveContestExcel)->trigger();
    }
}

} // namespace

class TestContestFiles : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;
    QString out;

private slots:
    void init() {
        app = std::make_unique<AppFixture>(seed);
        FConfig->MaskEditC->setText("QX7ZV");
        out = app->folder().file("out");
        QVERIFY(QDir().mkpath(out));
        DM->TableLog->setFilter("LogNameLog = 1 AND LogBand = '14'");
        DM->TableLog->setSort("LogCall DESC");
    }
    void cleanup() { app.reset(); }

    // A name without a file (cancelled) or naming a directory writes nothing.
    void savesTheView_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("headerLines");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("cabrillo, no extension") << "cabrillo"
                                                << "log"
                                                << "log.cbr" << 13 << QStringList{};
        QTest::newRow("cabrillo, extension") << "cabrillo"
                                             << "log.cbr"
                                             << "log.cbr" << 13 << QStringList{};
        QTest::newRow("text") << "text"
                              << "x"
                              << "x.txt" << 2 << QStringList{"OK!"};
        QTest::newRow("csv") << "csv"
                             << "x"
                             << "x.csv" << 4 << QStringList{"OK!"};
        QTest::newRow("cabrillo cancelled") << "cabrillo"
                                            << ""
                                            << "" << 0 << QStringList{};
        QTest::newRow("csv cancelled") << "csv"
                                       << ""
                                       << "" << 0 << QStringList{};
        QTest::newRow("cabrillo into a directory") << "cabrillo"
                                                   << "taken.cbr"
                                                   << "" << 0 << QStringList{"error"};
        QTest::newRow("text into a directory") << "text"
                                               << "taken.txt"
                                               << "" << 0 << QStringList{"error"};
    }
    void savesTheView() {
        QFETCH(QString, kind);
        QFETCH(QString, chosen);
        QFETCH(QString, file);
        QFETCH(int, headerLines);
        QFETCH(QStringList, shown);
        int walked = 0;
        connect(FProgres->GaugeMain, &QProgressBar::valueChanged, this,
                [&](int v) { walked = std::max(walked, v); });
        if (kind == "cabrillo") FCabrillo->LabelOK->show();
        QDir::setCurrent(out);
        if (chosen.startsWith("taken")) QVERIFY(QDir(out).mkdir(chosen));
        if (!chosen.isEmpty()) app->dialogs().answerSave(out + "/" + chosen);
        save(kind, *app);

        QVERIFY(DM->DataSourceLog->enabled());
        QVERIFY(!FProgres->isVisible());
        QCOMPARE(FProgres->GaugeMain->value(), 0);
        QCOMPARE(QDir::currentPath(), chosen.isEmpty() ? out : ProgramFolder);
        QCOMPARE(FCabrillo->LabelOK->isHidden(), kind != "cabrillo" || file.isEmpty());
        QCOMPARE(QDir(out).entryList(QDir::Files), file.isEmpty() ? QStringList{} : QStringList{file});
        if (shown == QStringList{"error"}) {
            QCOMPARE(app->dialogs().messages.size(), 1);
            QCOMPARE(app->dialogs().messages[0].type, DlgType::Error);
            QVERIFY(app->dialogs().lastText().contains(chosen));
            return;
        }
        QCOMPARE(app->dialogs().texts(), shown);
        if (file.isEmpty()) return;
        QFile f(out + "/" + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(bytes.count("\r\n"), headerLines + 3); // two contacts and the end line
        QVERIFY(bytes.indexOf("UA1A") > 0 && bytes.indexOf("UA1A") < bytes.indexOf("K1ZZ"));
        for (const char* absent : {"DL1C", "G4AA", "UA9X"})
            QVERIFY(!bytes.contains(absent));
        QCOMPARE(walked, 3); // one step per row of the view, the skipped one too
        QCOMPARE(DM->TableLog->sort(), "LogCall DESC");
    }

    // A contact stored without its own time still goes into the file, at the time its date holds.
    void contactWithoutItsTime() {
        DM->ConnectionLog->execute(
            "INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogRxRst, LogTxRst, LogNameLog) "
            "VALUES ('N0T', '2024-03-10 09:05:30', NULL, '14', 'CW', '599', '599', 1)");
        DM->TableLog->requery();
        app->dialogs().answerSave(out + "/x.csv");
        save("csv", *app);
        QFile f(out + "/x.csv");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("\r\nN0T;2024-03-10;0905;14;CW;599;;599;\r\n"));
    }
};

QTEST_MAIN(TestContestFiles)
#include "tst_contestfiles.moc"

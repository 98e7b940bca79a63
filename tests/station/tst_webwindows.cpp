// The DX-spot and call-sign look-up windows after the real start-up, loading their pages from
// a server on loopback: the grid a spot page fills, what a click on a spot sets in the main
// window, the look-up's memo, and how a page that fails to load is told.
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "logbook/UMain.h"
#include "station/UCallInt.h"
#include "station/UCluster.h"
#include "support/AppFixture.h"
#include "support/LoopbackHttpServer.h"
#include "widgets/BoxColour.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {

const QString kSpotPath = QStringLiteral("/dxs/dx250.html");

QString spot(const QString& call, const QString& freq, const QString& comment = "CQ") {
    return call + "  " + freq + " DL1XYZ " + comment.leftJustified(30) + " 1230Z 10 Mar";
}

// The spot page's layout: the lines in a <pre>, then ten empty elements.
QByteArray spotPage(const QStringList& lines, bool finalBreak = true) {
    return ("<html><body><pre>" + lines.join("\r\n") + (finalBreak ? "\r\n" : "") + "</pre>" +
            QString("<span></span>").repeated(10) + "</body></html>")
        .toUtf8();
}

QStringList spots(const QString& prefix, int count) {
    QStringList out;
    for (int i = 1; i <= count; ++i) out << spot(QString("%1%2").arg(prefix).arg(i), "14025.0");
    return out;
}

} // namespace

class TestWebWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;
    std::unique_ptr<LoopbackHttpServer> server;

    QString cell(int col, int row) { return FDX_Cluster->Cells(col, row); }

    void loadSpots(const QByteArray& page) {
        server->serve(kSpotPath, page);
        FDX_Cluster->ButtonShowCluster->click();
        // The window goes on at once; the page arrives later.
        QCOMPARE(FDX_Cluster->ProgressBar1->value(), 15);
        QTRY_COMPARE(FDX_Cluster->ProgressBar1->value(), 100);
    }

    void clickSpot(int row, bool twice) {
        QTableWidget* grid = FDX_Cluster->StringGrid1;
        const QPoint at = grid->visualRect(grid->model()->index(row - 1, 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void initTestCase() {
        // K1ABC: three contacts in the selected book, a later one in another book.
        app = std::make_unique<AppFixture>([](TempDataFolder& f) {
            Connection c("prepare");
            c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
            c.execute("INSERT INTO LogName (Num, Name, Sel) VALUES (7, 'Other', 0)");
            for (const char* when : {"2024-03-09', '23:00:00', 1", "2024-03-10', '09:05:30', 1",
                                     "2023-12-31', '10:00:00', 1", "2025-01-01', '10:00:00', 7"})
                c.execute(QString("INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) VALUES ('K1ABC', '%1)")
                              .arg(when));
            c.execute("INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band14, Band70) "
                      "VALUES (1, 'DXCC', 'K', '', '', 'cfm', 'wkd')");
        });
        server = std::make_unique<LoopbackHttpServer>();
        qputenv("ZELMOR_DXSPOT_SERVER", server->base().toUtf8());
        qputenv("ZELMOR_CALLSIGN_SERVER", server->base().toUtf8());
        FMain->ToolsDXCluster->trigger();
        QVERIFY(FDX_Cluster->isVisible());
    }
    void cleanupTestCase() {
        app.reset();
        server.reset();
    }
    void init() {
        qputenv("ZELMOR_DXSPOT_SERVER", server->base().toUtf8());
        qputenv("ZELMOR_CALLSIGN_SERVER", server->base().toUtf8());
        app->dialogs().clear();
        // Loads have their whole time-out, however busy the machine; only silent servers get a short one.
        qunsetenv("ZELMOR_PAGE_TIMEOUT_MS");
    }

    void spotPagesFillTheGrid() {
        QCOMPARE((QStringList{cell(0, 0), cell(1, 0), cell(2, 0), cell(3, 0), cell(4, 0), cell(5, 0), cell(6, 0),
                              cell(7, 0)}),
                 (QStringList{"", "       DX", "  Freq", "  Spotter", "  Coment", "  Time", "  Date", " Last QSO"}));
        // The call being entered keeps its earlier contacts in the main window.
        FMain->EditCall->setText("K1ABC");
        const int earlier = DM->TableRepeat->recordCount();
        QCOMPARE(earlier, 3);

        QStringList forty = spots("W1A", 40);
        forty[0] = spot("K1ABC", "14025.0");
        forty[1] = spot("K2XYZ-@", "7005.0", "");
        loadSpots(spotPage(forty));
        QCOMPARE(server->requests.last(), QString("GET /dxs/dx250.html HTTP/1.1"));
        QCOMPARE((QStringList{cell(1, 1), cell(2, 1), cell(3, 1), cell(4, 1), cell(5, 1), cell(6, 1), cell(7, 1)}),
                 (QStringList{"K1ABC", "14025.0", "DL1XYZ", "CQ", "1230Z", "10 Mar", "09:05 / 10.03.2024"}));
        QCOMPARE(cell(1, 2), QString("K2XYZ"));
        QCOMPARE(cell(4, 2), QString());
        QCOMPARE(cell(1, 40), QString("W1A40"));
        QVERIFY(DM->TableRepeat->active());
        QCOMPARE(DM->TableRepeat->recordCount(), earlier);

        // Five spots, the last without a line break: rows beyond them keep the older spots, and
        // a call never worked empties the latest contact of its row.
        QStringList five = spots("N0A", 5);
        loadSpots(spotPage(five, false));
        QCOMPARE(cell(1, 1), QString("N0A1"));
        QCOMPARE(cell(7, 1), QString());
        QCOMPARE(cell(1, 5), QString("N0A5"));
        QCOMPARE(cell(6, 5), QString("10 Mar"));
        QCOMPARE(cell(1, 6), QString("W1A6"));

        // More spots than the grid holds: the grid is full, the rest is not read.
        loadSpots(spotPage(spots("G4A", 300)));
        QCOMPARE(cell(1, 251), QString("G4A251"));
        QVERIFY(app->dialogs().messages.isEmpty());
    }

    void clickSetsCallBandAndMode_data() {
        QTest::addColumn<QString>("freq");
        QTest::addColumn<QString>("labFr");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("mode");
        QTest::newRow("20 m CW") << "14025.0" << "14" << "14" << "CW";
        QTest::newRow("2 m FM") << "144300.0" << "144" << "144" << "FM";
        QTest::newRow("23 cm") << "1296000.0" << "1260" << "1260" << "FM";
        QTest::newRow("70 cm") << "432200.0" << "430" << "430" << "FM";
        QTest::newRow("160 m") << "1840.0" << "1.8" << "1.8" << "CW";
        QTest::newRow("60 m: band box kept") << "5357.0" << "5357.0" << "28" << "SSB";
    }
    void clickSetsCallBandAndMode() {
        QFETCH(QString, freq);
        QFETCH(QString, labFr);
        QFETCH(QString, band);
        QFETCH(QString, mode);
        loadSpots(spotPage({spot("K1ABC", freq), spot("K1", freq)}));
        FMain->ComboBoxBand->setCurrentText("28");
        FMain->EditCall->setText("UA3AA");
        clickSpot(1, true);
        QCOMPARE(FMain->EditCall->text(), QString("K1ABC"));
        QCOMPARE(FDX_Cluster->LabCal->text(), QString("K1ABC"));
        QCOMPARE(FDX_Cluster->LabFr->text(), labFr);
        QCOMPARE(FMain->ComboBoxBand->currentText(), band);
        QCOMPARE(FMain->ComboBoxMode->currentText(), mode);
        // The award colours and the information of the main window are copied.
        QCOMPARE(textColour(FDX_Cluster->findChild<QLabel*>("LabelDX14")), QColor(255, 0, 0));
        QCOMPARE(textColour(FDX_Cluster->findChild<QLabel*>("LabelDX70")), QColor(0, 128, 0));
        QCOMPARE(textColour(FDX_Cluster->findChild<QLabel*>("LabelDX21")), QColor(0, 0, 0));
        QCOMPARE(FDX_Cluster->Label_DXCC->text(), QString("K"));
        QCOMPARE(FDX_Cluster->LabelCountry->text(), FMain->LabelRegion->text());
        QVERIFY(FDX_Cluster->LabelCountry->text() != "Country");
        QCOMPARE(FDX_Cluster->Label_ZCQ->text(), FMain->LabelZoneCQ->text());

        // A call of two characters is shown but not entered.
        clickSpot(2, false);
        QCOMPARE(FDX_Cluster->LabCal->text(), QString("K1"));
        QCOMPARE(FMain->EditCall->text(), QString("K1ABC"));
        QCOMPARE(textColour(FDX_Cluster->findChild<QLabel*>("LabelDX14")), QColor(0, 0, 0));
    }

    void pagesThatFailChangeNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("message");
        QTest::newRow("no server") << "closed" << "No access to Internet! ";
        QTest::newRow("never answers") << "silent" << "No access to Internet! ";
        QTest::newRow("no such page") << "404" << "No access to Internet! ";
        QTest::newRow("fewer than ten elements") << "short" << "";
        QTest::newRow("not a spot page") << "garbage" << "";
        QTest::newRow("larger than 4 MB") << "huge" << "No access to Internet! ";
    }
    void pagesThatFailChangeNothing() {
        QFETCH(QString, how);
        QFETCH(QString, message);
        loadSpots(spotPage(spots("OH2A", 3)));
        LoopbackHttpServer other;
        if (how == "closed") other.close();
        if (how == "silent") {
            other.neverAnswer(kSpotPath);
            qputenv("ZELMOR_PAGE_TIMEOUT_MS", "300");
        }
        if (how == "short") other.serve(kSpotPath, "<html><body><pre>" + spot("ZZ9Z", "7001.0").toUtf8() + "</pre>");
        if (how == "huge")
            other.serve(kSpotPath, spotPage(spots("ZZ9Z", 3)).replace("</body>", QByteArray(5 << 20, ' ') + "</body>"));
        if (how == "garbage") other.serve(kSpotPath, QByteArray("\xff\xfe<<<\0\0>>", 9), "application/octet-stream");
        qputenv("ZELMOR_DXSPOT_SERVER", other.base().toUtf8());
        FDX_Cluster->ButtonShowClusterClick();
        QTRY_COMPARE(FDX_Cluster->ProgressBar1->value(), 100);
        QCOMPARE(app->dialogs().lastText(), message);
        if (!message.isEmpty()) QCOMPARE(app->dialogs().messages.last().type, DlgType::Warning);
        QCOMPARE(cell(1, 1), QString("OH2A1"));
        QCOMPARE(cell(1, 4), QString("G4A4"));
    }

    void lookupShowsThePageTextForTheTypedCall_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("served");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QStringList>("firstLines");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QString>("message");
        // 145 elements: html, head, body and 142 paragraphs "P0" ... "P141".
        QTest::newRow("145 elements") << "ua3abc" << true << "GET /callsign.html?callsign=UA3ABC HTTP/1.1"
                                      << QStringList{"UA3ABC", "P12", "P13", "P14", "P15", "P16", "P20", "P29"} << 301
                                      << "";
        QTest::newRow("& and # stay in the call") << "a&b#1" << true
                                                  << "GET /callsign.html?callsign=A%26B%231 HTTP/1.1"
                                                  << QStringList{"A&B#1", "P12"} << 301 << "";
        QTest::newRow("no page") << "ua3abc" << false << "GET /callsign.html?callsign=UA3ABC HTTP/1.1"
                                 << QStringList{"UA3ABC"} << 1 << "No access to Internet! ";
    }
    void lookupShowsThePageTextForTheTypedCall() {
        QFETCH(QString, typed);
        QFETCH(bool, served);
        QFETCH(QString, request);
        QFETCH(QStringList, firstLines);
        QFETCH(int, lineCount);
        QFETCH(QString, message);
        QByteArray page = "<html><head></head><body>";
        for (int i = 0; i < 142; ++i) page += "<p>P" + QByteArray::number(i) + "</p>";
        server->serve("/callsign.html", served ? page + "</body></html>" : QByteArray());
        if (!served) {
            server->neverAnswer("/callsign.html");
            qputenv("ZELMOR_PAGE_TIMEOUT_MS", "300");
        }
        FMain->SearchCallSignalWeb->trigger();
        QVERIFY(FQRZ->isVisible());
        FQRZ->Edit1->clear();
        QTest::keyClicks(FQRZ->Edit1, typed);
        QCOMPARE(FQRZ->Edit1->text(), typed.toUpper());
        FQRZ->Button5->click();
        QCOMPARE(FQRZ->ProgressBar1->value(), 15);
        QTRY_COMPARE(FQRZ->ProgressBar1->value(), 100);
        QCOMPARE(server->requests.last(), request);
        const QStringList lines = FQRZ->memoLines();
        QCOMPARE(lines.mid(0, firstLines.size()), firstLines);
        QCOMPARE(lines.size(), lineCount);
        QCOMPARE(app->dialogs().lastText(), message);
    }
};

QTEST_MAIN(TestWebWindows)
#include "tst_webwindows.moc"

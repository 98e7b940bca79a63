// A DX-spot page of 251 spots parsed and shown against a generated log (benchContacts()): the page's
// elements and inner texts, the spot lines, the grid and each spot's latest contact. Also a
// 100 kB page without CR LF (one long line) and the whole load over loopback.
#include "BenchCommon.h"

#include "platform/HtmlElements.h"
#include "station/DxSpots.h"
#include "station/UCluster.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"
#include "support/LoopbackHttpServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture([](TempDataFolder& f) { generateCachedLog(f.file("DB/Log/Log_Zelmor.mdb")); });

    // Calls shaped like the log's: some worked, most not.
    const char* prefixes[] = {"UA3", "DL1", "K1", "JA1", "G4", "VK2", "PY2"};
    QStringList lines;
    for (int i = 0; i < 251; ++i) {
        QString call = QString::fromLatin1(prefixes[i % 7]);
        for (int k = 0; k < 3; ++k)
            call += QChar('A' + (i * 7 + k * 11) % 26);
        lines << call + "  " + QString::number(14000 + i) + ".0 DL1XYZ " +
                     QString("CQ DX %1").arg(i).leftJustified(30) + " 1230Z 10 Mar";
    }
    const QByteArray page = ("<html><head><title>DX</title></head><body><pre>" + lines.join("\r\n") +
                             "\r\n</pre>" + QString("<span></span>").repeated(10) + "</body></html>")
                                .toUtf8();

    std::vector<double> shown;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer t;
        t.start();
        const QStringList elements = HtmlElements::innerTexts(HtmlElements::decode(page, "text/html"));
        FDX_Cluster->SplitSpotText(DxSpots::pageText(elements));
        shown.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("row 251: %s | %s\n", qPrintable(FDX_Cluster->Cells(1, 251)),
                qPrintable(FDX_Cluster->Cells(7, 251)));

    const QString noBreaks = QString(100000, QLatin1Char('x'));
    QElapsedTimer t;
    t.start();
    FDX_Cluster->SplitSpotText(noBreaks);
    const double longLine = t.nsecsElapsed() / 1e6;

    LoopbackHttpServer server;
    server.serve("/dxs/dx250.html", page);
    qputenv("ZELMOR_DXSPOT_SERVER", server.base().toUtf8());
    t.restart();
    FDX_Cluster->ButtonShowCluster->click();
    const double click = t.nsecsElapsed() / 1e6;
    QTest::qWaitFor([] { return FDX_Cluster->ProgressBar1->value() == 100; }, 5000);
    const double whole = t.nsecsElapsed() / 1e6;

    report("250-spot page parsed and shown (median)", median(shown), "ms", 50);
    report("100 kB page without line breaks", longLine, "ms", 50);
    report("the click that starts a load (GUI thread)", click, "ms", 5);
    std::printf("%-48s %10.3f ms   (the window is not waiting)\n", "whole load over loopback", whole);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

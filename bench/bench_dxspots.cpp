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

    // Hostile pages: each measured with the peak memory counted from its own start.
    struct Hostile {
        const char* what;
        QByteArray page;
    };
    const auto nested = [](const QByteArray& tag, int depth, bool closed) {
        return "<html><body>" + ("<" + tag + ">").repeated(depth) + "x" +
               (closed ? ("</" + tag + ">").repeated(depth) : QByteArray()) + "</body></html>";
    };
    const Hostile hostile[] = {
        {"4 000 nested div (read 512 deep)", nested("div", 4000, false)},
        {"20 000 nested div", nested("div", 20000, false)},
        {"100 000 nested b", nested("b", 100000, false)},
        {"100 000 nested div, closed", nested("div", 100000, true)},
        {"4 MB of flat div", QByteArray("<div>x</div>").repeated(340000)},
        {"49 000 paragraphs of spots (3.6 MB)",
         ("<p>" + QByteArray("K1ABC  14025.0 DL1XYZ CQ CQ 1230Z 10 Mar").leftJustified(70, ' '))
             .repeated(49000)}};
    std::vector<std::pair<double, double>> hostileFigures;
    for (const Hostile& h : hostile) {
        QFile refs("/proc/self/clear_refs");
        if (refs.open(QIODevice::WriteOnly)) refs.write("5"); // resets the peak to the present use
        refs.close();
        QElapsedTimer ht;
        ht.start();
        QString refusal;
        HtmlElements::innerTexts(HtmlElements::decode(h.page, "text/html"), &refusal);
        hostileFigures.emplace_back(ht.nsecsElapsed() / 1e6, peakMemoryMb());
        std::printf("%-48s %s\n", h.what, refusal.isEmpty() ? "read" : qPrintable(refusal));
    }

    report("250-spot page parsed and shown (median)", median(shown), "ms", 50);
    for (size_t i = 0; i < hostileFigures.size(); ++i) {
        report(hostile[i].what, hostileFigures[i].first, "ms", 1000);
        report("  peak memory of the process meanwhile", hostileFigures[i].second, "MB", 200);
    }
    report("100 kB page without line breaks", longLine, "ms", 50);
    report("the click that starts a load (GUI thread)", click, "ms", 5);
    std::printf("%-48s %10.3f ms   (the window is not waiting)\n", "whole load over loopback", whole);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

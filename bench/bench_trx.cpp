// The transceiver link: replies decoded per second, and whether the window ever waits on the
// port while a slow radio is polled every 200 ms for 10 s.
#include "BenchCommon.h"

#include "logbook/UMain.h"
#include "station/TrxProtocol.h"
#include "station/UCtrlTRX.h"
#include "station/UTRXControl.h"
#include "support/AppFixture.h"
#include "support/FakeTs570.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);

    // 100 000 replies of the kinds a polled radio sends, through the reader's entry point.
    const QStringList kinds{QString::fromLatin1(FakeTs570::ifReply(14074000, false).chopped(1)),
                            "FA00007050000",
                            "PC100",
                            "SM0005",
                            "EX0490012",
                            "MR0x1200014074000210 8",
                            "?"};
    QStringList replies;
    for (int i = 0; i < 100000; ++i)
        replies << kinds[i % kinds.size()];
    QElapsedTimer t;
    t.start();
    for (const QString& r : replies)
        TrxDecodeReply(r);
    const double decodeMs = t.nsecsElapsed() / 1e6;
    report("100 000 replies decoded (records and hand-over)", decodeMs, "ms", 100);
    QCoreApplication::processEvents(); // the queued hand-overs have no receiver yet

    AppFixture fixture;
    FakeTs570 radio;
    radio.answerDelayMs = 150;
    TrxSettings.TrxPort = radio.portName();
    // Baseline: the same window idle, so the machine's own scheduling noise shows beside the link's.
    const TickGaps idle = measureTickGaps(10000);
    FMain->DeviceTrxConnect->trigger();
    // The window's 200 ms poll, each tick's time on the GUI thread measured.
    FTRXControl->TimerUpdate->stop();
    double longestTick = 0;
    QTimer poll;
    poll.setInterval(200);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QElapsedTimer e;
        e.start();
        FTRXControl->TimerUpdateTimer();
        longestTick = std::max(longestTick, e.nsecsElapsed() / 1e6);
    });
    poll.start();
    const TickGaps polled = measureTickGaps(10000);
    poll.stop();
    const int polls = int(radio.commands().count("IF;"));
    std::printf("10 s connected, poll every 200 ms, radio answering after 150 ms: %d polls, %d GUI ticks, "
                "last frequency %d\n",
                polls, polled.ticks, TrxReadStatus().inform.Freq);
    std::printf("baseline, link closed: longest gap %.3f ms over %d ticks\n", idle.worst, idle.ticks);
    report("longest gap between 5 ms GUI timer ticks, polling", polled.worst, "ms", 20);
    report("longest poll tick on the GUI thread", longestTick, "ms", 1);

    QElapsedTimer d;
    d.start();
    FMain->DeviceTrxConnect->trigger();
    report("disconnect (both AI0; drained, reader ended)", d.nsecsElapsed() / 1e6, "ms", 300);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

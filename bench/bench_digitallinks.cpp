// The digital-mode links: whether the window ever waits while a menu item starts a program
// (the real launcher, the 5 s wait for the program's window, the search on the shipped desktop),
// and the time of one poll on the GUI thread.
#include "BenchCommon.h"

#include "data/UConfig.h"
#include "logbook/UMain.h"
#include "platform/ProgramLauncher.h"
#include "station/UFindWind.h"
#include "support/AppFixture.h"
#include "support/FakeDesktopWindows.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture;

    const TickGaps idle = measureTickGaps(2000);
    FConfig->EditPrDP->setText(QStringLiteral("/bin/true"));
    QElapsedTimer click;
    click.start();
    FMain->DigiPan1->trigger();
    const double clickMs = click.nsecsElapsed() / 1e6;
    const TickGaps starting = measureTickGaps(6000);
    std::printf("baseline, idle window: longest gap %.3f ms over %d ticks\n", idle.worst, idle.ticks);
    std::printf("messages shown: %s\n", qPrintable(fixture.dialogs().texts().join(" | ")));
    report("menu click returns", clickMs, "ms", 50);
    report("longest gap between 5 ms GUI timer ticks, starting", starting.worst, "ms", 50);

    // A linked DigiPan polled against the in-memory desktop.
    FakeDesktopWindows* desk = FakeDesktopWindows::install();
    desk->addProgram(DigitalProgram::DigiPan, {"UA3ABC", "Ivan", "Moscow", "579", "599", "20m", "", ""});
    FExtProg->startWaitMs = 0;
    FMain->DigiPan1->trigger();
    std::vector<double> ticks;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer t;
        t.start();
        FExtProg->ButtonDigiPanClick();
        ticks.push_back(t.nsecsElapsed() / 1e6);
    }
    report("one DigiPan poll (median of 200)", median(ticks), "ms", 5);
    report("peak memory", peakMemoryMb(), "MB", 200);
    Desktop::setWindows(nullptr);
    return 0;
}

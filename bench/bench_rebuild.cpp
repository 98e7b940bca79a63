// The whole-log award rebuild of a generated log (benchContacts()) on its own connections, as the worker
// runs it: once with every contact normalised already, once with none (both passes at work),
// once with none and every call to be trimmed.
#include "BenchCommon.h"

#include "awards/AwardRebuild.h"
#include "dataset/Connection.h"
#include "support/GeneratedLog.h"
#include "support/TempDataFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>

int main(int argc, char** argv) {
    benchHeadless();
    QCoreApplication app(argc, argv);
    TempDataFolder folder;
    const QString logFile = folder.file("DB/Log/Log_Zelmor.mdb");
    generateCachedLog(logFile);
    Connection log(QStringLiteral("log"));
    Connection ref(QStringLiteral("reference"));
    log.openFile(logFile);
    ref.openFile(folder.file("DB/Work/DB.mdb"));
    int notices = 0;
    const AwardRebuild::Progress progress{[&](int) { ++notices; }, [&](int) { ++notices; },
                                          [&](int) { ++notices; }};

    QElapsedTimer t;
    t.start();
    AwardRebuild::rebuild(log, ref, progress);
    const double normalised = t.nsecsElapsed() / 1e6;
    const int rows = log.scalar(QStringLiteral("SELECT COUNT(*) FROM AwardMixInfo")).toInt();

    log.execute(QStringLiteral("UPDATE Log SET Log1 = NULL"));
    t.restart();
    AwardRebuild::rebuild(log, ref, progress);
    const double raw = t.nsecsElapsed() / 1e6;

    // The worst case: every call stored with a blank in front, so every call is written again.
    log.execute(QStringLiteral("UPDATE Log SET Log1 = NULL, LogCall = ' ' || LogCall"));
    t.restart();
    AwardRebuild::rebuild(log, ref, progress);
    const double untrimmed = t.nsecsElapsed() / 1e6;

    std::printf("%d contacts, %d award rows, %d progress notices\n", AwardRebuild::countContacts(log), rows,
                notices);
    report("rebuild, every contact normalised", normalised, "ms", 3000);
    report("rebuild, no contact normalised (both passes)", raw, "ms", 3000);
    report("rebuild, no contact normalised, calls untrimmed", untrimmed, "ms", 3000);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

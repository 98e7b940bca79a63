// Start-up to a ready main window with a generated book (benchContacts()).
#include "BenchCommon.h"

#include "app/StartUp.h"
#include "support/GeneratedLog.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDataFolder.h"

#include <QApplication>
#include <QElapsedTimer>

int main(int argc, char** argv) {
    benchHeadless();
    QElapsedTimer total;
    total.start();
    QApplication app(argc, argv);
    const qint64 appReady = total.nsecsElapsed();
    TempDataFolder folder;
    generateCachedLog(folder.file("DB/Log/Log_Zelmor.mdb"));
    ScriptedDialogs::install();
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        StartUp::initApplication(app);
        StartUp::createObjects();
        StartUp::showMainWindow();
        QCoreApplication::processEvents();
        runs.push_back(t.nsecsElapsed() / 1e6);
        StartUp::destroyObjects();
    }
    std::printf("%s contacts; median of %zu starts\n", qPrintable(contactsText()), runs.size());
    report("application object", appReady / 1e6, "ms", 1000);
    report("start-up to a shown main window", median(runs), "ms", 500);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

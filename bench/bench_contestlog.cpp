// The three contest log files of a 10 000-contact contest (exchanges filled, mixed bands and
// modes), each written through its menu item from the whole log view.
#include "BenchCommon.h"

#include "contest/UCabrill.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kContacts = 10000;

double timedSave(AppFixture& fixture, const QString& file, const std::function<void()>& trigger) {
    std::vector<double> runs;
    for (int i = 0; i < 5; ++i) {
        fixture.dialogs().answerSave(fixture.folder().file(file));
        QElapsedTimer t;
        t.start();
        trigger();
        runs.push_back(t.nsecsElapsed() / 1e9);
    }
    if (!fixture.dialogs().messages.isEmpty() && fixture.dialogs().messages.last().type == DlgType::Error)
        std::printf("error: %s\n", qPrintable(fixture.dialogs().lastText()));
    std::printf("%s: %lld bytes\n", qPrintable(file), QFileInfo(fixture.folder().file(file)).size());
    return median(runs);
}

} // namespace

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture([](TempDataFolder& f) {
        generateCachedLog(f.file("DB/Log/Log_Zelmor.mdb"), kContacts);
        Connection c(QStringLiteral("bench_contestlog"));
        c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
        c.execute("UPDATE Log SET Log2 = printf('%03d', rowid % 1000), Log3 = printf('%03d', rowid), "
                  "Log4 = '1'");
    });
    FConfig->MaskEditC->setText("QX7ZV");

    const double cabrillo = timedSave(fixture, "bench.cbr", [&] {
        fixture.dialogs().onModal([](QWidget*) {
            FCabrillo->Button1->click();
            return 0;
        });
        FMain->SaveContestCabrilo->trigger();
    });
    const double text = timedSave(fixture, "bench.txt", [] { FMain->SaveContestText->trigger(); });
    const double csv = timedSave(fixture, "bench.csv", [] { FMain->SaveContestExcel->trigger(); });
    std::printf("%d contacts in the log view\n", DM->TableLog->recordCount());
    report("Cabrillo file of 10 000 contacts, median", cabrillo, "s", 0.3);
    report("text file of 10 000 contacts, median", text, "s", 0.3);
    report("CSV file of 10 000 contacts, median", csv, "s", 0.3);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

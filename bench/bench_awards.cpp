// The awards window on a generated book (benchContacts()) with its award marks: opening it (DXCC, the
// worked count, a painted grid), each count of the count button, and "Details".
#include "BenchCommon.h"

#include "awards/AwardMarks.h"
#include "awards/UAwards.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QRandomGenerator>
#include <functional>

namespace {

// A user award with 20 000 items besides the generated DXCC and WAZ marks: many rows to count.
void addUserAward(const QString& logFile) {
    Connection c(QStringLiteral("bench"));
    c.openFile(logFile);
    Transaction t(c);
    QRandomGenerator rng(99);
    const QStringList& cells = AwardMarks::allCells();
    for (int i = 0; i < 20000; ++i) {
        const QString cell = cells.at(rng.bounded(int(cells.size())));
        c.execute(
            QStringLiteral("INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, \"%1\") "
                           "VALUES (1, 'User1', ?, '', '', ?)")
                .arg(cell),
            {QStringLiteral("REF%1").arg(i, 5, 10, QLatin1Char('0')),
             rng.bounded(3) == 0 ? QStringLiteral("cfm") : QStringLiteral("wkd")});
    }
    t.commit();
}

double timed(const std::function<void()>& action) {
    return timedUntilPainted(FAwards->DBGridAwStatistic->viewport(), action);
}

double medianOf(int runs, const std::function<void()>& before, const std::function<void()>& action) {
    return medianUntilPainted(runs, FAwards->DBGridAwStatistic->viewport(), before, action);
}

} // namespace

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture([](TempDataFolder& f) {
        generateCachedLog(f.file("DB/Log/Log_Zelmor.mdb"));
        addUserAward(f.file("DB/Log/Log_Zelmor.mdb"));
    });
    std::printf("%s contacts, 20 000 items of award 1; medians of 5 runs\n", qPrintable(contactsText()));
    FAwards->show();
    const auto closed = [] { FAwards->FormClose(); };
    report("open the window (DXCC, worked count)", medianOf(5, closed, [] { FMain->ToolsAwardsClick(); }),
           "ms", 200);
    std::printf("  rows: %d, %s\n", DM->TableAwStatisticBM->recordCount(),
                qPrintable(FAwards->LabelTotal->text()));
    report("DXCC count",
           medianOf(
               5, [] {}, [] { FAwards->ButtonWCClick(); }),
           "ms", 200);
    FAwards->AwMenuWAZ->trigger();
    report("WAZ count",
           medianOf(
               5, [] {}, [] { FAwards->ButtonWCClick(); }),
           "ms", 200);
    report("choose award 1 (20 000 items, worked count)",
           medianOf(
               5, [] {}, [] { FAwards->AwMenuUserA->trigger(); }),
           "ms", 200);
    report("award 1 count",
           medianOf(
               5, [] {}, [] { FAwards->ButtonWCClick(); }),
           "ms", 200);
    FAwards->AwMenuDXCC->trigger();
    std::printf("  (no budget) Details of DXCC over the whole log: %.3f ms\n",
                medianOf(
                    3, [] {}, [] { FAwards->ButtonDetailsClick(); }));
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

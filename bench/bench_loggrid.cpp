// The log grid on a generated book (benchContacts()): each sort order, the call filter and a three-condition
// filter to a ready grid, and "Clear" of the whole book.
#include "BenchCommon.h"

#include "data/UDM.h"
#include "dataset/Dataset.h"
#include "logbook/UFilter.h"
#include "logbook/UFilterCall.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <functional>

namespace {

double timed(const std::function<void()>& action) {
    return timedUntilPainted(FMain->DBGridLog->viewport(), action);
}

double medianOf(int runs, const std::function<void()>& before, const std::function<void()>& action) {
    return medianUntilPainted(runs, FMain->DBGridLog->viewport(), before, action);
}

} // namespace

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture([](TempDataFolder& f) { generateCachedLog(f.file("DB/Log/Log_Zelmor.mdb")); });
    std::printf("%s contacts; medians of 5 runs, each from the date order\n", qPrintable(contactsText()));
    const std::pair<const char*, QAction*> sorts[] = {
        {"sort Callsignal", FMain->ViewSortCall},  {"sort Date (from Callsignal)", FMain->ViewSortDate},
        {"sort Band", FMain->ViewSortBand},        {"sort Mode", FMain->ViewSortMode},
        {"sort QTH", FMain->ViewSortQTH},          {"sort Name", FMain->ViewSortName},
        {"sort Rcvd QSL", FMain->ViewSortRcvdQSL}, {"sort Send QSL", FMain->ViewSortSendQSL}};
    for (const auto& [what, item] : sorts) {
        QAction* before = item == FMain->ViewSortDate ? FMain->ViewSortCall : FMain->ViewSortDate;
        report(what,
               medianOf(
                   5, [before] { before->trigger(); }, [item] { item->trigger(); }),
               "ms", 300);
    }

    FMain->ViewFilterCall->trigger();
    report("call filter \"U\" (U*)",
           medianOf(
               5, [] { FFilterCall->EditCall->clear(); }, [] { FFilterCall->EditCall->setText("U"); }),
           "ms", 300);
    std::printf("  rows in view: %d\n", DM->TableLog->recordCount());
    FFilterCall->close();

    const auto untick = [] {
        for (QCheckBox* b : Filter->conditionBoxes())
            b->setChecked(false);
        DM->TableLog->setFilter("LogNameLog = 1");
    };
    report("filter call U*, band 14, mode CW",
           medianOf(5, untick,
                    [] {
                        Filter->CheckBoxC->setChecked(true);
                        Filter->CheckBoxB->setChecked(true);
                        Filter->CheckBoxM->setChecked(true);
                        Filter->ButtonOClick();
                    }),
           "ms", 300);
    std::printf("  rows in view: %d\n", DM->TableLog->recordCount());
    untick();
    // Cleared from the call order, so the view's order is not the table's.
    FMain->ViewSortCall->trigger();

    fixture.dialogs().answer(DlgResult::Yes);
    const int before = DM->TableLog->recordCount();
    report("Clear of the whole book (call order)", timed([] { FMain->LogClearClick(); }) / 1000.0, "s", 5);
    std::printf("  rows before %d, after %d\n", before, DM->TableLog->recordCount());
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

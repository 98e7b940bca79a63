// Contest mode on a generated log (benchContacts()): saving a contact with its exchange, serial and points,
// a keystroke in the call box (with the last-contact line), and the contest window's "Refr".
#include "BenchCommon.h"

#include "contest/UContest.h"
#include "contest/UContst.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture([](TempDataFolder& f) { generateCachedLog(f.file("DB/Log/Log_Zelmor.mdb")); });
    FContConf->ComboBox1->setEditText("Bench");
    FContConf->CheckBoxSen->setChecked(true);

    QElapsedTimer begin;
    begin.start();
    FMain->ContestBegin->trigger(); // shows the contest window: its "Refr" walks the whole book
    const double beginMs = begin.nsecsElapsed() / 1e6;
    std::vector<double> refreshes;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer t;
        t.start();
        FCont->ButtonRefreshClick();
        refreshes.push_back(t.nsecsElapsed() / 1e6);
    }

    const QStringList& calls = benchCalls();
    std::vector<double> keystrokes = timedKeystrokes(FMain->EditCall, 10);

    std::vector<double> saves;
    for (int i = 0; i < 80; ++i) {
        FMain->EditCall->setText(calls[i % calls.size()]);
        FMain->ComboBoxBand->setCurrentText(i % 2 ? "14" : "7");
        FMain->ComboBoxMode->setCurrentText(i % 3 ? "CW" : "USB");
        FMain->EditNmRx->setText(QString::number(i));
        QElapsedTimer t;
        t.start();
        FMain->ButtonSaveClick();
        saves.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("%s contacts in contest mode; serial now %s, total %s\n", qPrintable(contactsText()),
                qPrintable(FMain->EditNmTx->text()), qPrintable(FCont->Label5->text()));
    report("Begin (contest window shown, total recomputed)", beginMs, "ms", 300);
    report("Refr over the book, median", median(refreshes), "ms", 300);
    std::sort(keystrokes.begin(), keystrokes.end());
    report("keystroke in contest mode, median", median(keystrokes), "ms", 5);
    report("keystroke in contest mode, 95th percentile", keystrokes[keystrokes.size() * 95 / 100], "ms", 5);
    report("contest-mode save, median", median(saves), "ms", 20);
    std::sort(saves.begin(), saves.end());
    report("contest-mode save, worst", saves.back(), "ms", 20);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

// Saving one contact with its award marks on a generated log (benchContacts()).
#include "BenchCommon.h"

#include "awards/UAwardAdd.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture([](TempDataFolder& f) { generateCachedLog(f.file("DB/Log/Log_Zelmor.mdb")); });
    const QStringList& calls = benchCalls();
    std::vector<double> saves;
    for (int i = 0; i < 80; ++i) {
        FMain->EditCall->setText(calls[i % calls.size()]);
        FMain->ComboBoxBand->setCurrentText(i % 2 ? "14" : "7");
        FMain->ComboBoxMode->setCurrentText(i % 3 ? "CW" : "USB");
        FAwardAdd->EditWASState->setText("NY");
        QElapsedTimer t;
        t.start();
        FMain->ButtonSaveClick();
        saves.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("%s contacts; %zu saves (Save click: checks, row, marks, clear)\n",
                qPrintable(contactsText()), saves.size());
    report("save with award marks, median", median(saves), "ms", 20);
    std::sort(saves.begin(), saves.end());
    report("save with award marks, worst", saves.back(), "ms", 20);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

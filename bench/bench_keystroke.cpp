// One keystroke in the call box (the whole change chain) on a 100 000-contact log.
#include "BenchCommon.h"

#include "data/UConfig.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture([](TempDataFolder& f) { generateLog(f.file("DB/Log/Log_Zelmor.mdb"), 100000); });
    FConfig->MaskEditLat->setText("55,75");
    FConfig->MaskEditLon->setText("37,62");
    FConfig->CheckBoxAutoIns->setChecked(true);
    const QStringList calls{"UA3ABC", "DL1XYZ", "JA1KLM", "K1ZZZ", "UR5QRS", "VK2AAA", "G4BCD", "PY2EFG"};
    std::vector<double> keystrokes;
    for (int round = 0; round < 20; ++round) {
        for (const QString& call : calls) {
            for (int n = 1; n <= call.size(); ++n) {
                QElapsedTimer t;
                t.start();
                FMain->EditCall->setText(call.left(n));
                keystrokes.push_back(t.nsecsElapsed() / 1e6);
            }
            FMain->EditCall->clear();
        }
    }
    std::printf("100 000 contacts; %zu keystrokes\n", keystrokes.size());
    report("keystroke, median", median(keystrokes), "ms", 5);
    std::sort(keystrokes.begin(), keystrokes.end());
    report("keystroke, 95th percentile", keystrokes[keystrokes.size() * 95 / 100], "ms", 5);
    report("keystroke, worst", keystrokes.back(), "ms", 5);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

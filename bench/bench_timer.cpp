// The alarm and recording window: one recording tick with every job armed, and its Save.
#include "BenchCommon.h"

#include "media/UTimer.h"
#include "support/AppFixture.h"
#include "support/FakeAudioDevice.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QTabWidget>

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    FakeAudioDevice::install();
    AppFixture fixture;
    fixture.clock().set(QDateTime(QDate(2024, 3, 10), QTime(9, 0)));
    // Every job armed, none due while the ticks run.
    for (int i = 0; i < 3; ++i) {
        FTimer->PickerTT[i]->setDateTime(QDateTime(QDate(2024, 3, 11), QTime(10, 0)));
        FTimer->CheckBoxR[i]->setChecked(true);
        FTimer->PickerDA[i]->setDateTime(QDateTime(QDate(2024, 3, 11), QTime(10, 0)));
        FTimer->CheckBoxA[i]->setChecked(true);
    }
    FTimer->PickerTT[3]->setDateTime(QDateTime(QDate(2024, 3, 10), QTime(23, 0)));
    FTimer->CheckBoxR[3]->setChecked(true);
    FTimer->FormClose();

    std::vector<double> ticks;
    for (int i = 0; i < 1000; ++i) {
        fixture.clock().advance(1);
        QElapsedTimer t;
        t.start();
        FTimer->Timer2Timer();
        ticks.push_back(t.nsecsElapsed() / 1e6);
    }
    report("recording tick with every job armed, median", median(ticks), "ms", 1);

    std::vector<double> saves;
    for (int i = 0; i < 10; ++i) {
        FTimer->TabbedNotebook1->setCurrentIndex(i % 2);
        QElapsedTimer t;
        t.start();
        FTimer->ButtonSClick();
        saves.push_back(t.nsecsElapsed() / 1e6);
    }
    report("Save of the window, median", median(saves), "ms", 300);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

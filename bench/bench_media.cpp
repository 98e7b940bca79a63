// Media work on the GUI thread: storing a 299-second recording, a keystroke with "Sound
// AutoSave" on, showing a 3000 x 2000 JPEG on a row change, filling and printing a label to PDF.
#include "BenchCommon.h"

#include "data/UDM.h"
#include "logbook/UMain.h"
#include "media/UImage.h"
#include "media/ULabPrin.h"
#include "media/ULabel.h"
#include "media/USound.h"
#include "platform/QtLabelPrinter.h"
#include "support/AppFixture.h"
#include "support/FakeAudioDevice.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {
double msSince(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    FakeAudioDevice* audio = FakeAudioDevice::install();
    AppFixture fixture;
    FMain->ViewSoundAutoSave->setChecked(true);

    std::vector<double> saves, keys;
    for (int i = 0; i < 5; ++i) {
        FMain->EditCall->setText("UA");
        for (const char* call : {"UA3", "UA3A", "UA3AB", "UA3ABC"}) {
            QElapsedTimer t;
            t.start();
            FMain->EditCall->setText(call);
            keys.push_back(msSince(t));
        }
        audio->recordSeconds(299);
        FSound->ButtonStopClick();
        QElapsedTimer t;
        t.start();
        FSound->ButtonSaveClick();
        saves.push_back(msSince(t));
        FMain->EditCall->clear();
    }
    report("Save of a 299 s recording, median", median(saves), "ms", 200);
    report("keystroke with Sound AutoSave, median", median(keys), "ms", 5);

    QTemporaryDir dir;
    QImage big(3000, 2000, QImage::Format_RGB32);
    big.fill(Qt::darkGreen);
    for (int i = 0; i < 2; ++i) {
        const QString path = dir.filePath(QStringLiteral("UA%1ABC.jpg").arg(i));
        big.save(path, "JPG", 90);
        fixture.dialogs().answerOpen(path);
        FImage->ButtonAddClick();
    }
    std::vector<double> shows;
    for (int i = 0; i < 6; ++i) {
        QElapsedTimer t;
        t.start();
        if (i % 2)
            DM->TableImage->last();
        else
            DM->TableImage->first();
        shows.push_back(msSince(t));
    }
    report("3000 x 2000 JPEG shown on a row change, median", median(shows), "ms", 150);

    Printing::setPrinter(std::make_unique<QtLabelPrinter>(dir.filePath("label.pdf")));
    Flabel->done(0);
    FLabPrint->loadLabelFiles();
    std::vector<double> labels;
    for (int i = 0; i < 5; ++i) {
        fixture.dialogs().answer(DlgResult::No);
        QElapsedTimer t;
        t.start();
        FLabPrint->Button5Click();
        FLabPrint->Button1Click();
        labels.push_back(msSince(t));
    }
    report("label filled and printed to PDF, median", median(labels), "ms", 200);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

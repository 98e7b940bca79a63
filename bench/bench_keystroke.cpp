// One keystroke in the call box (the whole change chain) on a generated log (benchContacts()).
#include "BenchCommon.h"

#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>

namespace {

// Award marks of five more books, so the look-ups run on a filled table: 340 entities, 40 zones
// and 1000 islands each.
void fillOtherBooksMarks(const QString& logFile) {
    Connection c(QStringLiteral("marks"));
    c.openFile(logFile);
    c.beginTransaction();
    for (int book = 2; book <= 6; ++book) {
        c.execute("INSERT INTO LogName (Num, Name, Sel) VALUES (?, ?, 0)",
                  {book, QString("Book %1").arg(book)});
        auto add = [&](const QString& award, const QString& key) {
            c.execute("INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band14, Band70) "
                      "VALUES (?, ?, ?, '', '', 'wkd', 'cfm')",
                      {book, award, key});
        };
        for (int i = 0; i < 340; ++i)
            add("DXCC", QString("E%1").arg(i));
        for (int i = 1; i <= 40; ++i)
            add("WAZ", QString::number(i));
        for (int i = 0; i < 1000; ++i)
            add("IOTA", QString("EU-%1").arg(i, 3, 10, QChar('0')));
    }
    c.commit();
}

int awardRows() {
    return DM->ConnectionLog->scalar("SELECT COUNT(*) FROM AwardMixInfo").toInt();
}

} // namespace

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    AppFixture fixture([](TempDataFolder& f) {
        generateCachedLog(f.file("DB/Log/Log_Zelmor.mdb"));
        fillOtherBooksMarks(f.file("DB/Log/Log_Zelmor.mdb"));
    });
    FConfig->MaskEditLat->setText("55,75");
    FConfig->MaskEditLon->setText("37,62");
    FConfig->CheckBoxAutoIns->setChecked(true);
    std::vector<double> keystrokes = timedKeystrokes(FMain->EditCall, 20);
    // The award status alone: the four look-ups of one keystroke, on a call whose items exist.
    FMain->EditCall->setText("DL1XYZ");
    std::vector<double> status;
    for (int round = 0; round < 500; ++round) {
        QElapsedTimer t;
        t.start();
        FMain->ShowAwardStatus("DL", {}, {}, "DXCC");
        FMain->ShowAwardStatus("14", {}, {}, "WAZ");
        FMain->ShowAwardStatus({}, {}, {}, "UkrRus");
        FMain->ShowAwardStatus({}, {}, {}, "IOTA");
        status.push_back(t.nsecsElapsed() / 1e6);
    }
    FMain->EditCall->clear();
    std::printf("%s contacts, %d award rows; %zu keystrokes\n", qPrintable(contactsText()), awardRows(),
                keystrokes.size());
    report("keystroke, median", median(keystrokes), "ms", 5);
    std::sort(keystrokes.begin(), keystrokes.end());
    report("keystroke, 95th percentile", keystrokes[keystrokes.size() * 95 / 100], "ms", 5);
    report("keystroke, worst", keystrokes.back(), "ms", 5);
    report("the four award look-ups of a keystroke, median", median(status), "ms", 5);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

// Moving a generated book (benchContacts()) into another through the settings page "LOG", and
// switching to that book from the Log menu.
#include "BenchCommon.h"

#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "support/GeneratedLog.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>

int main(int argc, char** argv) {
    benchHeadless();
    QApplication app(argc, argv);
    // Book 1 holds the generated contacts and marks; "Target" (2), the current book, holds a few
    // contacts and marks of its own, some for the same items.
    AppFixture fixture([](TempDataFolder& f) {
        const QString log = f.file("DB/Log/Log_Zelmor.mdb");
        generateCachedLog(log);
        Connection c(QStringLiteral("target"));
        c.openFile(log);
        c.execute("UPDATE LogName SET Sel = 0");
        c.execute("INSERT INTO LogName (Num, Name, Sel) VALUES (2, 'Target', 1)");
        c.execute("INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) VALUES ('DL1AA', '2024-01-01', "
                  "'10:00:00', 2)");
        c.execute("INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band14) VALUES (2, "
                  "'DXCC', 'DL', '', '', 'wkd')");
    });

    // Switching from the small book to the big one, to a ready grid.
    QElapsedTimer t;
    t.start();
    FMain->logBookItem(1)->trigger();
    const double toBig = t.nsecsElapsed() / 1e6;
    FMain->logBookItem(2)->trigger();

    fixture.dialogs().defaultAnswer = DlgResult::Yes;
    double move = 0;
    fixture.dialogs().onModal([&](QWidget*) {
        FConfig->ComboBoxLog2->setCurrentIndex(FConfig->ComboBoxLog2->findData(1));
        QElapsedTimer m;
        m.start();
        FConfig->ButtonLogAddClick();
        move = m.nsecsElapsed() / 1e6;
        return 0;
    });
    FMain->LogAddClick();

    std::printf("%s\n", qPrintable(fixture.dialogs().texts().join(" | ")));
    std::printf("moved: %d contacts in the current book, %d award rows\n", DM->TableLog->recordCount(),
                DM->ConnectionLog->scalar("SELECT COUNT(*) FROM AwardMixInfo WHERE LogNameLog = 2").toInt());
    report("switching to the generated book", toBig, "ms", 200);
    report("moving the generated book into another", move, "ms", 1000);
    report("peak memory", peakMemoryMb(), "MB", 200);
    return 0;
}

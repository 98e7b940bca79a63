// The contact stopwatch on the main window, driven by the call box and the Timer menu.
#include "logbook/UMain.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

class TestStopwatch : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    static QString reading() { return FMain->LabelH->text() + ":" + FMain->LabelM->text() + ":" + FMain->LabelS->text(); }

private slots:
    void init() { app = std::make_unique<AppFixture>(); }
    void cleanup() { app.reset(); }

    // Steps: "t" ticks once, "start"/"stop"/"clear" click the menu items, "total"/"qso" pick
    // the mode, anything else is typed as the whole call box.
    void steps_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("checked");
        QTest::newRow("two letters keep it cleared") << QStringList{"U", "UA"} << "00:00:00" << false << "TimerStopClear";
        QTest::newRow("third letter starts it") << QStringList{"UA", "UA3", "t", "t"} << "00:00:02" << true << "TimerStart";
        QTest::newRow("back to two letters clears") << QStringList{"UA3", "t", "UA"} << "00:00:00" << false << "TimerStopClear";
        QTest::newRow("total mode ignores typing") << QStringList{"total", "UA3", "UA"} << "00:00:00" << false << "TimerStopClear";
        QTest::newRow("stop then start continues") << QStringList{"start", "t", "t", "stop", "start", "t"} << "00:00:03" << true << "TimerStart";
        QTest::newRow("stop freezes") << QStringList{"start", "t", "stop"} << "00:00:01" << false << "TimerStop";
    }
    void steps() {
        QFETCH(QStringList, steps);
        QFETCH(QString, shown);
        QFETCH(bool, running);
        QFETCH(QString, checked);
        for (const QString& s : steps) {
            if (s == "t") QMetaObject::invokeMethod(FMain->TimerTimer, "timeout");
            else if (s == "start") FMain->TimerStart->trigger();
            else if (s == "stop") FMain->TimerStop->trigger();
            else if (s == "clear") FMain->TimerStopClear->trigger();
            else if (s == "total") FMain->TimerTotal->trigger();
            else FMain->EditCall->setText(s);
        }
        QCOMPARE(reading(), shown);
        QCOMPARE(FMain->TimerTimer->isActive(), running);
        QVERIFY(FMain->findChild<QAction*>(checked)->isChecked());
    }
};

QTEST_MAIN(TestStopwatch)
#include "tst_stopwatch.moc"

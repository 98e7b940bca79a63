// The timed exit: closing the program or logging off at the set minute, driven by the fake clock.
#include "awards/UThreadUpdatBase.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "logbook/UVihod.h"
#include "platform/Clock.h"
#include "platform/SessionControl.h"
#include "support/AppFixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QtTest>

namespace {

// Counts log-off requests; refuses the first `refusals` of them.
struct FakeSession : SessionControl {
    int* requests;
    int refusals;
    FakeSession(int* r, int refuse) : requests(r), refusals(refuse) {}
    void requestLogoff(std::function<void(bool)> done) override {
        ++*requests;
        done(refusals-- <= 0);
    }
};

} // namespace

class TestTimedExit : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void arm(int index, bool enabled) {
        FVihod->DateTimePicker1->setTime(QTime(14, 30, 0));
        FVihod->RadioGroup1Items->button(index)->setChecked(true);
        FVihod->CheckBox1->setChecked(enabled);
    }

    // Runs the ticks inside the event loop; returns whether the program quit. A run that did not
    // close the main window ends the loop at once.
    bool tick(const QStringList& times) {
        QSignalSpy quitting(QCoreApplication::instance(), &QCoreApplication::aboutToQuit);
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(7); });
        QTimer::singleShot(0, &guard, [&] {
            for (const QString& t : times) {
                app->clock().set(QDateTime(QDate(2024, 3, 10), QTime::fromString(t, "HH:mm:ss")));
                QMetaObject::invokeMethod(FVihod->TimerExit, "timeout");
            }
            guard.start(FMain->isVisible() ? 0 : 10000);
        });
        const int rc = QCoreApplication::exec();
        return rc == 0 && quitting.count() == 1;
    }

private slots:
    void init() { app = std::make_unique<AppFixture>(); }
    void cleanup() {
        app.reset();
        Session::setControl(nullptr);
    }

    void exitAtTheSetMinute_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<int>("refusals");
        QTest::addColumn<bool>("rebuilding");
        QTest::addColumn<bool>("quits");
        QTest::addColumn<int>("requests");
        QTest::newRow("before the minute") << 0 << true << QStringList{"14:29:58", "14:29:59"} << 0 << false << false << 0;
        QTest::newRow("at the minute") << 0 << true << QStringList{"14:29:59", "14:30:00"} << 0 << false << true << 0;
        QTest::newRow("armed mid-minute") << 0 << true << QStringList{"14:30:40"} << 0 << false << true << 0;
        QTest::newRow("late tick") << 0 << true << QStringList{"14:29:58", "14:31:05"} << 0 << false << true << 0;
        QTest::newRow("not enabled") << 0 << false << QStringList{"14:29:59", "14:30:00"} << 0 << false << false << 0;
        QTest::newRow("during a rebuild") << 0 << true << QStringList{"14:30:00"} << 0 << true << true << 0;
        QTest::newRow("log off once") << 1 << true << QStringList{"14:29:59", "14:30:00", "14:30:01", "14:30:59", "14:31:00"} << 0 << false << false << 1;
        QTest::newRow("refused, asked again") << 1 << true << QStringList{"14:30:00", "14:30:01", "14:30:02"} << 1 << false << false << 2;
    }
    void exitAtTheSetMinute() {
        QFETCH(int, index);
        QFETCH(bool, enabled);
        QFETCH(QStringList, ticks);
        QFETCH(int, refusals);
        QFETCH(bool, rebuilding);
        QFETCH(bool, quits);
        QFETCH(int, requests);
        int asked = 0;
        Session::setControl(std::make_unique<FakeSession>(&asked, refusals));
        arm(index, enabled);
        if (rebuilding) {
            StartAwardRebuild();
            QVERIFY(AwardRebuildRunning());
        }
        QCOMPARE(tick(ticks), quits);
        QCOMPARE(asked, requests);
        QVERIFY(!AwardRebuildRunning());
    }

    void enablingAnnouncesTheTime_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("ticking");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("English") << "English" << true << QStringList{"Automatic closing the program is included in 14:30:00 !"};
        QTest::newRow("Russian") << "Russian" << true << QStringList{"Включено автоматическое закрытие программы в 14:30:00 !"};
        QTest::newRow("unticking") << "English" << false << QStringList{};
    }
    void enablingAnnouncesTheTime() {
        QFETCH(QString, language);
        QFETCH(bool, ticking);
        QFETCH(QStringList, shown);
        FConfig->ComboBoxLanguage->setCurrentText(language);
        arm(0, !ticking);
        app->dialogs().clear();
        FVihod->CheckBox1->click();
        QStringList seen;
        for (const auto& m : app->dialogs().messages)
            seen << m.text;
        QCOMPARE(seen, shown);
    }

    // Closing the window stores the three settings (tst_settings loads them back).
    void closingStoresAndRestartLoads_data() {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("stored");
        QTest::newRow("14:30") << QTime(14, 30) << "10.03.2024 14:30:00";
        QTest::newRow("midnight") << QTime(0, 0) << "10.03.2024";
    }
    void closingStoresAndRestartLoads() {
        QFETCH(QTime, time);
        QFETCH(QString, stored);
        app->clock().set(QDateTime(QDate(2024, 3, 10), QTime(10, 0)));
        arm(1, true);
        FVihod->DateTimePicker1->setDateTime(QDateTime(QDate(2020, 1, 1), time));
        FVihod->show();
        FVihod->close();
        const auto param = [](const QString& object) {
            return DM->ConnectionCfg->scalar("SELECT Param || '|' || Prim FROM Cfg WHERE FormName = 'FVihod' AND Object = ?",
                                             {object}).toString();
        };
        QCOMPARE(param("DateTimePicker1"), stored + "|TDateTimePicker");
        QCOMPARE(param("RadioGroup1"), QString("1|TRadioGroup"));
        QCOMPARE(param("CheckBox1"), QString("true|TCheckBox"));
    }
};

QTEST_MAIN(TestTimedExit)
#include "tst_timedexit.moc"

// Alarms and timed recordings after the real start-up, driven tick by tick with the fake clock
// (late and skipped ticks included), a fake player device and a fake alarm device.

#include "app/StartUp.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "media/USound.h"
#include "media/UTimer.h"
#include "platform/AudioDevice.h"
#include "support/AppFixture.h"
#include "support/FakeAudioDevice.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

const QDate kDay(2024, 3, 10);

// "HH:mm:ss" on the test day, or "+1 HH:mm:ss" on the day after.
QDateTime at(const QString& text) {
    const bool next = text.startsWith("+1 ");
    return QDateTime(kDay.addDays(next ? 1 : 0), QTime::fromString(text.mid(next ? 3 : 0), "HH:mm:ss"));
}

// When the stored recordings were stored, with their call, in order.
QStringList storedRecordings() {
    QStringList out;
    Dataset* sound = DM->TableSound;
    sound->requery();
    for (sound->first(); !sound->eof(); sound->next())
        out << sound->value("DateTim").toDateTime().toString("HH:mm:ss") + " " +
                   sound->value("Callsignal").toString();
    return out;
}

QString cfgRow(const QString& form, const QString& object) {
    return DM->ConnectionCfg
        ->scalar("SELECT Name_Param || '|' || Param || '|' || Prim FROM Cfg WHERE FormName = ? AND Object = ?",
                 {form, object})
        .toString();
}

// Pickers keep the part they do not show only through setDateTime.
void setDate(QDateTimeEdit* p, QDate d) {
    p->setDateTime(QDateTime(d, p->time()));
}
void setTime(QDateTimeEdit* p, QTime t) {
    p->setDateTime(QDateTime(p->date(), t));
}

} // namespace

class TestTimer : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;
    FakeAudioDevice* player = nullptr;
    FakeAudioDevice* alarm = nullptr;

    void setClock(const QString& text) { app->clock().set(at(text)); }

    // Each entry sets the clock and ticks; "close HH:mm:ss" closes the window at that time
    // instead, "save HH:mm:ss" presses Save on the recording page.
    void run(const QStringList& steps, void (TFTimer::*tick)()) {
        for (const QString& step : steps) {
            const QStringList words = step.split(' ');
            const bool action = words.first() == "close" || words.first() == "save";
            setClock(action ? step.mid(words.first().size() + 1) : step);
            player->recordSeconds(1);
            if (words.first() == "close") {
                FTimer->show();
                FTimer->close();
            } else if (words.first() == "save") {
                FTimer->TabbedNotebook1->setCurrentIndex(1);
                FTimer->ButtonSClick();
            } else {
                (FTimer->*tick)();
            }
        }
    }

private slots:
    void init() {
        player = FakeAudioDevice::install();
        auto fake = std::make_unique<FakeAudioDevice>();
        alarm = fake.get();
        Audio::setAlarmDevice(std::move(fake));
        app = std::make_unique<AppFixture>();
        setClock("07:00:00");
    }
    void cleanup() {
        app.reset();
        Audio::setDevice(nullptr);
        Audio::setAlarmDevice(nullptr);
    }

    void alarmsSoundAtTheirMoment_data() {
        QTest::addColumn<QStringList>("armed"); // alarm times; "-1 " before one dated yesterday
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<bool>("soundMissing");
        QTest::addColumn<int>("played");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<int>("stillArmed");
        QTest::newRow("in its second") << QStringList{"10:00:00"} << QStringList{"09:59:59", "10:00:00"} << false << 1 << QStringList{} << 0;
        QTest::newRow("late tick") << QStringList{"10:00:00"} << QStringList{"09:59:59", "10:00:02", "10:00:03"} << false << 1 << QStringList{} << 0;
        QTest::newRow("two in one second") << QStringList{"10:00:00", "10:00:00"} << QStringList{"09:59:59", "10:00:00"} << false << 2 << QStringList{} << 0;
        QTest::newRow("passed before arming") << QStringList{"08:00:00"} << QStringList{"09:00:00", "09:00:01"} << false << 0 << QStringList{} << 1;
        QTest::newRow("dated yesterday") << QStringList{"-1 10:00:00"} << QStringList{"09:59:59", "10:00:00"} << false << 0 << QStringList{} << 1;
        QTest::newRow("sound missing") << QStringList{"10:00:00"} << QStringList{"09:59:59", "10:00:00"} << true << 0 << QStringList{"Alarm 10:00:00"} << 0;
    }
    void alarmsSoundAtTheirMoment() {
        QFETCH(QStringList, armed);
        QFETCH(QStringList, ticks);
        QFETCH(bool, soundMissing);
        QFETCH(int, played);
        QFETCH(QStringList, notices);
        QFETCH(int, stillArmed);
        const QString sound = app->folder().file("Sound/Alarm.wav");
        if (soundMissing) QVERIFY(QFile::remove(sound));
        for (int i = 0; i < armed.size(); ++i) {
            const bool yesterday = armed[i].startsWith("-1 ");
            setDate(FTimer->PickerDA[i], kDay.addDays(yesterday ? -1 : 0));
            setTime(FTimer->PickerTA[i], QTime::fromString(armed[i].right(8), "HH:mm:ss"));
            FTimer->CheckBoxA[i]->setChecked(true);
        }
        QVERIFY(FTimer->Timer1->isActive());
        run(ticks, &TFTimer::Timer1Timer);

        QCOMPARE(alarm->played, QStringList(QList<QString>(played, sound)));
        QCOMPARE(app->dialogs().notices, notices);
        int ticked = 0;
        for (QCheckBox* c : FTimer->CheckBoxA)
            ticked += c->isChecked();
        QCOMPARE(ticked, stillArmed);
        QCOMPARE(FTimer->Timer1->isActive(), stillArmed > 0);
        // A past alarm stays armed until Save finds its date before today.
        FTimer->TabbedNotebook1->setCurrentIndex(0);
        FTimer->ButtonSClick();
        QCOMPARE(FTimer->CheckBoxA[0]->isChecked(), stillArmed > 0 && !armed[0].startsWith("-1 "));
    }

    void recordingsStartAndStore_data() {
        QTest::addColumn<QStringList>("oneShots"); // "HH:mm:ss minutes" per one-shot recording
        QTest::addColumn<QString>("series");       // "HH:mm:ss length interval count", or empty
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<bool>("seriesArmed");
        QTest::newRow("one-shot of 3 minutes")
            << QStringList{"10:00:00 3"} << QString() << QStringList{"09:59:59", "10:00:00", "10:02:59", "10:03:00", "10:03:01"}
            << QStringList{"10:03:00 "} << false;
        QTest::newRow("one-shot across midnight, late ticks")
            << QStringList{"23:58:00 3"} << QString() << QStringList{"23:57:59", "23:58:01", "+1 00:00:59", "+1 00:01:02"}
            << QStringList{"00:01:02 "} << false;
        QTest::newRow("one ends as the lower-numbered one starts")
            << QStringList{"10:02:00 1", "10:00:00 2"} << QString() << QStringList{"10:00:00", "10:02:00", "10:03:00"}
            << QStringList{"10:02:00 ", "10:03:00 "} << false;
        QTest::newRow("daily series of three")
            << QStringList{} << "08:00:00 1 60 3"
            << QStringList{"08:00:00", "08:01:00", "09:00:00", "09:01:00", "10:00:00", "10:01:00", "+1 08:00:00", "+1 08:01:00"}
            << QStringList{"08:01:00 ", "09:01:00 ", "10:01:00 "} << false;
        QTest::newRow("length equal to the interval")
            << QStringList{} << "08:00:00 5 5 3" << QStringList{"08:00:00", "08:05:00", "08:10:00", "08:15:00"}
            << QStringList{"08:05:00 ", "08:10:00 ", "08:15:00 "} << false;
        QTest::newRow("window closed mid-series")
            << QStringList{} << "08:00:00 1 60 3"
            << QStringList{"08:00:00", "close 08:00:30", "08:01:00", "close 08:30:00", "09:00:00", "09:01:00", "10:00:00", "10:01:00"}
            << QStringList{"08:01:00 ", "09:01:00 ", "10:01:00 "} << false;
        QTest::newRow("saved at 14:20 drops a 09:30 series")
            << QStringList{} << "09:30:00 1 60 3" << QStringList{"save 14:20:00", "+1 09:30:00", "+1 09:31:00"}
            << QStringList{} << false;
        QTest::newRow("no starts left, the stop second still ends it")
            << QStringList{} << "08:00:00 1 60 0" << QStringList{"08:00:00", "08:01:00"} << QStringList{} << false;
    }
    void recordingsStartAndStore() {
        QFETCH(QStringList, oneShots);
        QFETCH(QString, series);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, stored);
        QFETCH(bool, seriesArmed);
        for (int i = 0; i < oneShots.size(); ++i) {
            const QStringList f = oneShots[i].split(' ');
            setDate(FTimer->PickerTT[i], kDay);
            setTime(FTimer->PickerTD[i], QTime::fromString(f[0], "HH:mm:ss"));
            FTimer->SpinEdit[i]->setValue(f[1].toInt());
            FTimer->CheckBoxR[i]->setChecked(true);
        }
        if (!series.isEmpty()) {
            const QStringList f = series.split(' ');
            setTime(FTimer->PickerTT[3], QTime::fromString(f[0], "HH:mm:ss"));
            FTimer->SpinEdit[3]->setValue(f[1].toInt());
            FTimer->SpinEditT->setValue(f[2].toInt());
            FTimer->SpinEdit[4]->setValue(qMax(1, f[3].toInt()));
            FTimer->CheckBoxR[3]->setChecked(true);
            FTimer->FormClose(); // armed as the window closes
            if (f[3] == "0") FTimer->Edit1->setText("0");
        }
        QVERIFY(FTimer->Timer2->isActive());
        run(steps, &TFTimer::Timer2Timer);

        QCOMPARE(storedRecordings(), stored);
        QCOMPARE(FTimer->CheckBoxR[3]->isChecked(), seriesArmed);
        for (int i = 0; i < oneShots.size(); ++i)
            QVERIFY(FTimer->CheckBoxR[i]->isChecked()); // a one-shot stays ticked after its stop
        QVERIFY(!FSound->recordingHeld());
        QVERIFY(app->dialogs().notices.isEmpty());
    }

    // A recording a job started is stored at the stop its job had when it started, whatever
    // happens to the job meanwhile; the player is left free for the next contact.
    void runningRecordingOutlivesItsJob_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("reset") << "reset";
        QTest::newRow("saved past midnight") << "save";
        QTest::newRow("start time edited") << "edit";
    }
    void runningRecordingOutlivesItsJob() {
        QFETCH(QString, change);
        setDate(FTimer->PickerTT[0], kDay);
        setTime(FTimer->PickerTD[0], QTime(23, 58));
        FTimer->SpinEdit[0]->setValue(3);
        FTimer->CheckBoxR[0]->setChecked(true);
        run({"23:57:59", "23:58:00"}, &TFTimer::Timer2Timer);
        QCOMPARE(FSound->recordingJob(), 1);
        setClock("+1 00:00:30");
        FTimer->TabbedNotebook1->setCurrentIndex(1);
        if (change == "reset") FTimer->ButtonRClick();
        if (change == "save") FTimer->ButtonSClick();
        if (change == "edit") setTime(FTimer->PickerTD[0], QTime(23, 30));
        QVERIFY(FTimer->Timer2->isActive());
        run({"+1 00:00:59", "+1 00:01:00", "+1 00:01:01"}, &TFTimer::Timer2Timer);
        QCOMPARE(storedRecordings(), QStringList{"00:01:00 "});
        QVERIFY(!FSound->recordingHeld());
    }

    // The player holds one recording: a timed start and the entry panel's automatic recording
    // never take each other's.
    void busyPlayer_data() {
        QTest::addColumn<bool>("contactFirst");
        QTest::addColumn<QStringList>("notices");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<int>("opens");
        QTest::newRow("contact recording, then the timed start")
            << true << QStringList{"Timed recording skipped: the player is busy"} << QStringList{"10:01:30 UA3ABC"} << 1;
        QTest::newRow("timed recording, then a call typed and cleared")
            << false << QStringList{} << QStringList{"10:01:00 ", "10:01:30 UA3ABC"} << 2;
    }
    void busyPlayer() {
        QFETCH(bool, contactFirst);
        QFETCH(QStringList, notices);
        QFETCH(QStringList, stored);
        QFETCH(int, opens);
        FMain->ViewSoundAutoSave->setChecked(true);
        setDate(FTimer->PickerTT[0], kDay);
        setTime(FTimer->PickerTD[0], QTime(10, 0));
        FTimer->CheckBoxR[0]->setChecked(true);
        setClock("09:59:59");
        FTimer->Timer2Timer();
        if (contactFirst) QTest::keyClicks(FMain->EditCall, "UA3ABC");
        setClock("10:00:00");
        FTimer->Timer2Timer();
        if (!contactFirst) {
            QTest::keyClicks(FMain->EditCall, "UA3ABC");
            FMain->EditCall->clear();
        }
        QCOMPARE(FSound->recordingJob(), contactFirst ? 0 : 1);
        player->recordSeconds(2);
        setClock("10:01:00");
        FTimer->Timer2Timer();
        QCOMPARE(FSound->recordingHeld(), contactFirst);
        setClock("10:01:30");
        if (!contactFirst) QTest::keyClicks(FMain->EditCall, "UA3ABC");
        FMain->EditRSRX->setText("59");
        FMain->EditRSTX->setText("59");
        FMain->ButtonSaveClick();
        QCOMPARE(storedRecordings(), stored);
        QCOMPARE(app->dialogs().notices, notices);
        QCOMPARE(player->openCount, opens); // no recording was started over another
    }

    void saveStoresTheRowsAndARestartLoadsThem_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("rows"); // Object|Name_Param|Param|Prim
        QTest::newRow("alarm page") << 0 << QStringList{
            "CheckBoxA1|Checked|true|TCheckBox", "CheckBoxA2|Checked|false|TCheckBox",
            "PickerDA1|DateTime|11.03.2024 10:00:05|TDateTimePicker", "PickerTA1|DateTime|11.03.2024 10:00:05|TDateTimePicker",
            "PickerDA2|DateTime|10.03.2024|TDateTimePicker", "CheckBoxR1|||"};
        QTest::newRow("recording page") << 1 << QStringList{
            "CheckBoxR1|Checked|true|TCheckBox", "CheckBoxR4|Checked|true|TCheckBox",
            "PickerTT1|DateTime|11.03.2024 22:15:00|TDateTimePicker", "PickerTD1|DateTime|11.03.2024 22:15:00|TDateTimePicker",
            "PickerTT4|DateTime|10.03.2024 09:30:00|TDateTimePicker", "SpinEdit1|Text|4|TEdit", "SpinEdit5|Text|3|TEdit",
            "SpinEditT|Text|60|TEdit", "CheckBoxA1|||"};
    }
    void saveStoresTheRowsAndARestartLoadsThem() {
        QFETCH(int, page);
        QFETCH(QStringList, rows);
        setClock("09:50:00");
        FTimer->PickerDA[0]->setDateTime(QDateTime(QDate(2024, 3, 11), QTime(23, 0)));
        FTimer->PickerTA[0]->setDateTime(QDateTime(QDate(2020, 1, 1), QTime(10, 0, 5)));
        setDate(FTimer->PickerDA[1], kDay);
        setTime(FTimer->PickerTA[1], QTime(0, 0));
        FTimer->CheckBoxA[0]->setChecked(true);
        setDate(FTimer->PickerTT[0], QDate(2024, 3, 11));
        setTime(FTimer->PickerTD[0], QTime(22, 15));
        FTimer->SpinEdit[0]->setValue(4);
        FTimer->CheckBoxR[0]->setChecked(true);
        FTimer->PickerTT[3]->setDateTime(QDateTime(QDate(2020, 1, 1), QTime(9, 30)));
        FTimer->SpinEdit[4]->setValue(3);
        FTimer->CheckBoxR[3]->setChecked(true);
        FTimer->TabbedNotebook1->setCurrentIndex(page);
        FTimer->ButtonSClick();

        for (const QString& row : rows) {
            const QString object = row.section('|', 0, 0);
            const QString expected = row.section('|', 1);
            QCOMPARE(cfgRow("FTimer", object), expected == "||" ? QString() : expected);
        }
        QCOMPARE(cfgRow("FVihod", "DateTimePicker1").section('|', 1, 1).left(10), QString("10.03.2024"));
        QCOMPARE(cfgRow("FVihod", "CheckBox1"), QString("Checked|false|TCheckBox"));

        StartUp::destroyObjects();
        StartUp::createObjects();
        const QStringList loaded{FTimer->PickerDA[0]->dateTime().toString("dd.MM.yyyy HH:mm:ss"),
                                 FTimer->PickerTD[0]->dateTime().toString("dd.MM.yyyy HH:mm:ss"),
                                 QString::number(FTimer->SpinEdit[0]->value()), FTimer->Picker1->time().toString(),
                                 FTimer->Edit1->text()};
        // The series at 09:30 is kept at 09:50 (hour 9 is not past 9) and armed at its next start.
        const QStringList expected = page == 0
            ? QStringList{"11.03.2024 10:00:05", "10.03.2024 09:50:00", "1", "09:50:00", "1"} // recording page unsaved
            : QStringList{"10.03.2024 09:50:00", "11.03.2024 22:15:00", "4", "10:30:00", "2"}; // alarm page unsaved
        QCOMPARE(loaded, expected);
        QVERIFY(FTimer->CheckBoxA[0]->isChecked() == (page == 0) && FTimer->CheckBoxR[3]->isChecked() == (page == 1));
    }
};

QTEST_MAIN(TestTimer)
#include "tst_timer.moc"

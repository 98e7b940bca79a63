// Which clock-driven jobs fall due between two ticks, and the stopwatch's reading.
#include "media/ClockJobs.h"

#include <QtTest>

using namespace ClockJobs;

namespace {
QDateTime at(const QString& s) {
    return s.isEmpty() ? QDateTime() : QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}
} // namespace

class TestClockJobs : public QObject {
    Q_OBJECT
private slots:
    void momentPassed_data() {
        QTest::addColumn<QString>("prev");
        QTest::addColumn<QString>("now");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<bool>("due");
        QTest::newRow("before") << "2026-12-08 14:29:58.000" << "2026-12-08 14:29:59.000" << "14:30:00" << false;
        QTest::newRow("exact tick") << "2026-12-08 14:29:59.000" << "2026-12-08 14:30:00.400" << "14:30:00" << true;
        QTest::newRow("tick after") << "2026-12-08 14:30:00.400" << "2026-12-08 14:30:01.400" << "14:30:00" << false;
        QTest::newRow("late tick") << "2026-12-08 14:29:58.000" << "2026-12-08 14:31:05.000" << "14:30:00" << true;
        QTest::newRow("across midnight") << "2026-12-08 23:59:58.000" << "2026-12-09 00:00:03.000" << "00:00:01" << true;
        QTest::newRow("late before midnight") << "2026-12-08 23:59:50.000" << "2026-12-09 00:00:03.000" << "23:59:55" << true;
        QTest::newRow("first tick on it") << "" << "2026-12-08 14:30:00.700" << "14:30:00" << true;
        QTest::newRow("first tick after") << "" << "2026-12-08 14:30:01.000" << "14:30:00" << false;
        QTest::newRow("clock set back") << "2026-12-08 14:31:00.000" << "2026-12-08 14:29:00.000" << "14:30:00" << false;
    }
    void momentPassed() {
        QFETCH(QString, prev);
        QFETCH(QString, now);
        QFETCH(QString, moment);
        QFETCH(bool, due);
        QCOMPARE(ClockJobs::momentPassed(at(prev), at(now), QTime::fromString(moment, "HH:mm:ss")), due);
    }

    // A dated moment over a timer's ticks (on 2026-12-08): fires once, late ticks included.
    void ticks_data() {
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QString>("moment");
        QTest::addColumn<QString>("fired");
        QTest::newRow("two ticks in its second") << QStringList{"09:59:59.900", "10:00:00.100", "10:00:00.900"} << "2026-12-08 10:00:00.000" << "010";
        QTest::newRow("late tick") << QStringList{"09:59:59.000", "10:00:02.000", "10:00:03.000"} << "2026-12-08 10:00:00.000" << "010";
        QTest::newRow("clock set back") << QStringList{"10:00:05.000", "09:59:00.000", "10:00:00.000"} << "2026-12-08 10:00:00.000" << "001";
        QTest::newRow("another day") << QStringList{"09:59:59.000", "10:00:00.000"} << "2026-12-07 10:00:00.000" << "00";
    }
    void ticks() {
        QFETCH(QStringList, ticks);
        QFETCH(QString, moment);
        QFETCH(QString, fired);
        Ticks span;
        QString seen;
        for (const QString& tick : ticks) {
            QDateTime prev;
            const QDateTime now = at("2026-12-08 " + tick);
            seen += span.advance(now, prev) && ClockJobs::momentPassed(prev, now, at(moment)) ? '1' : '0';
        }
        QCOMPARE(seen, fired);
    }

    void stopwatch_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("second") << QStringList{"00", "00", "00"} << QStringList{"00", "00", "01"};
        QTest::newRow("minute") << QStringList{"00", "00", "59"} << QStringList{"00", "01", "00"};
        QTest::newRow("hour") << QStringList{"00", "59", "59"} << QStringList{"01", "00", "00"};
        QTest::newRow("past 99 hours") << QStringList{"99", "59", "59"} << QStringList{"100", "00", "00"};
    }
    void stopwatch() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        const Reading r = stopwatchTick({before[0], before[1], before[2]});
        QCOMPARE((QStringList{r.h, r.m, r.s}), after);
    }

    // Ticks in order; "!" after a tick marks a failed job, which may then run again.
    void minuteJob_data() {
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QString>("fired");
        QTest::newRow("on time, once") << QStringList{"14:29:59", "14:30:00", "14:30:01", "14:30:59", "14:31:00"} << "01000";
        QTest::newRow("armed mid-minute") << QStringList{"14:30:40", "14:30:41"} << "10";
        QTest::newRow("late tick") << QStringList{"14:29:58", "14:31:05", "14:31:06"} << "010";
        QTest::newRow("failed, asked again") << QStringList{"14:30:00!", "14:30:01", "14:30:02"} << "110";
        QTest::newRow("not its minute") << QStringList{"14:28:00", "14:29:59"} << "00";
    }
    void minuteJob() {
        QFETCH(QStringList, ticks);
        QFETCH(QString, fired);
        MinuteJob job;
        QDateTime prev;
        QString seen;
        for (QString t : ticks) {
            const bool fails = t.endsWith('!');
            t.remove('!');
            const QDateTime now = at("2026-12-08 " + t + ".250");
            const bool due = job.due(prev, now, QTime(14, 30, 27));
            seen += due ? '1' : '0';
            if (due && fails) job.retry();
            prev = now;
        }
        QCOMPARE(seen, fired);
    }
};

QTEST_GUILESS_MAIN(TestClockJobs)
#include "tst_clockjobs.moc"

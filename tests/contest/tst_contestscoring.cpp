// The points of one contact and the stepping sent serial, as values.
#include "contest/ContestScoring.h"

#include <QtTest>

using namespace ContestScoring;

class TestContestScoring : public QObject {
    Q_OBJECT
private slots:
    void aContactScoresFromItsCell_data() {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("cell"); // the cell it must read
        QTest::newRow("18 MHz is not 1.8") << "18"
                                           << "CW"
                                           << "Point180";
        QTest::newRow("1.8") << "1.8"
                             << "CW"
                             << "Point18";
        QTest::newRow("radio's 1,8") << "1,8"
                                     << "SSB"
                                     << "Point18s";
        QTest::newRow("radio's 3,5") << "3,5"
                                     << "RTTY"
                                     << "Point35r";
        QTest::newRow("USB is SSB") << "14"
                                    << "USB"
                                    << "Point14s";
        QTest::newRow("LSB is SSB") << "7"
                                    << "LSB"
                                    << "Point7s";
        QTest::newRow("other mode") << "Satellite"
                                    << "PSK31"
                                    << "PointSato";
        QTest::newRow("case counts") << "21"
                                     << "cw"
                                     << "Point21o";
        QTest::newRow("7.0 has no cell") << "7.0"
                                         << "CW"
                                         << "";
        QTest::newRow("137 has no cell") << "137"
                                         << "CW"
                                         << "";
    }
    void aContactScoresFromItsCell() {
        QFETCH(QString, band);
        QFETCH(QString, mode);
        QFETCH(QString, cell);
        const int row = bandIndex(band);
        QCOMPARE(row < 0 ? QString() : cellName(modeGroup(mode), row), cell);
    }

    void pointsAreTheCellTimesTheFactor_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("factor");
        QTest::addColumn<QString>("points");
        QTest::newRow("1,5 x 2") << "1,5" << 2 << "3";
        QTest::newRow("0,1 x 3") << "0,1" << 3 << "0,3";
        QTest::newRow("zero") << "0" << 5 << "0";
        QTest::newRow("10 x 1000") << "10" << 1000 << "10000";
        QTest::newRow("unreadable") << "1.5" << 1 << "";
    }
    void pointsAreTheCellTimesTheFactor() {
        QFETCH(QString, cell);
        QFETCH(int, factor);
        QFETCH(QString, points);
        QCOMPARE(ContestScoring::points(cell, factor), points);
    }

    void totals() {
        QCOMPARE(addPoints("1,5", "3"), QString("4,5"));
        QCOMPARE(addPoints("000", "0,1"), QString("0,1"));
        QCOMPARE(addPoints("4,5", ""), QString("4,5"));
        QCOMPARE(replacePoints("7", "3", "1"), QString("5"));
        QCOMPARE(replacePoints("7", "", "3"), QString("10"));
    }

    void theSerialSteps_data() {
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("next"); // empty: no step
        QTest::newRow("001 + 1") << "001"
                                 << "1"
                                 << "002";
        QTest::newRow("010 + 5") << "010"
                                 << "5"
                                 << "015";
        QTest::newRow("099 + 1") << "099"
                                 << "1"
                                 << "100";
        QTest::newRow("999 + 1") << "999"
                                 << "1"
                                 << "1000";
        QTest::newRow("step 0") << "007"
                                << "0"
                                << "007";
        QTest::newRow("not a number") << "A12"
                                      << "1"
                                      << "";
        QTest::newRow("empty") << ""
                               << "1"
                               << "";
    }
    void theSerialSteps() {
        QFETCH(QString, sent);
        QFETCH(QString, step);
        QFETCH(QString, next);
        QCOMPARE(nextSerial(sent, step).value_or(QString()), next);
    }

    void defaultsAndNames() {
        QCOMPARE(defaultCell(0, bandIndex("1.8")), QString("3"));
        QCOMPARE(defaultCell(1, bandIndex("1.8")), QString("1"));
        QCOMPARE(defaultCell(0, bandIndex("18")), QString("0"));
        QCOMPARE(defaultCell(3, bandIndex("10")), QString("0"));
        QCOMPARE(defaultCell(2, bandIndex("Satellite")), QString("3"));
        QCOMPARE(upDownName(2, bandIndex("Satellite")), QString("UpDownSatr"));
        QVERIFY(beginsWithDigit("057") && !beginsWithDigit("A12") && !beginsWithDigit(""));
    }
};

QTEST_GUILESS_MAIN(TestContestScoring)
#include "tst_contestscoring.moc"

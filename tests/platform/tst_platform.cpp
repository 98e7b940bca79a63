#include "platform/Clock.h"
#include "platform/Cp1251.h"
#include "platform/DataFolder.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "platform/NumberText.h"
#include "support/FakeClock.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void numberTextWritesShortestCommaText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 3.0 << "3";
        QTest::newRow("half") << 1.5 << "1,5";
        QTest::newRow("tenth") << 0.1 << "0,1";
        QTest::newRow("sum of tenths keeps 15 digits") << (0.1 + 0.2) << "0,3";
        QTest::newRow("negative") << -2.25 << "-2,25";
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("large") << 123456789.0 << "123456789";
        QTest::newRow("third") << (1.0 / 3.0) << "0,333333333333333";
        QTest::newRow("small") << 0.0005 << "0,0005";
    }
    void numberTextWritesShortestCommaText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(NumberText::fromFloat(value), text);
    }

    void numberTextReadsOnlyCommaDecimals_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "45,23" << true << 45.23;
        QTest::newRow("negative with blanks") << " -23,34 " << true << -23.34;
        QTest::newRow("whole") << "12" << true << 12.0;
        QTest::newRow("point refused") << "45.23" << false << 0.0;
        QTest::newRow("letters refused") << "abc" << false << 0.0;
        QTest::newRow("empty refused") << "" << false << 0.0;
        QTest::newRow("two commas refused") << "1,2,3" << false << 0.0;
    }
    void numberTextReadsOnlyCommaDecimals() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        double out = 0;
        QCOMPARE(NumberText::toFloat(text, out), ok);
        if (ok) QCOMPARE(out, value);
    }

    void wholeNumbersKeepTheirSign() {
        int v = 0;
        QVERIFY(NumberText::toInt("-03", v));
        QCOMPARE(v, -3);
        QVERIFY(NumberText::toInt(" 00 ", v));
        QCOMPARE(v, 0);
        QVERIFY(!NumberText::toInt("-0_", v));
        QVERIFY(!NumberText::toInt("", v));
    }

    void cp1251RoundTripsCyrillicAndMarksTheRest() {
        const QString text = QString::fromUtf8("UA3ABC Иван Ёлкин №5 \u20ac");
        const QByteArray bytes = Cp1251::encode(text);
        QCOMPARE(bytes.size(), text.size());
        QCOMPARE(static_cast<unsigned char>(bytes.at(7)), 0xC8); // И
        QCOMPARE(Cp1251::decode(bytes), text);
        QCOMPARE(Cp1251::encode(QString::fromUtf8("日本")), QByteArray("??"));
        QCOMPARE(Cp1251::codeOf(QChar(0x0430)), 224); // а
        QCOMPARE(Cp1251::codeOf(QChar(0x044F)), 255); // я
        QCOMPARE(Cp1251::charOf(254), QChar(0x044E)); // ю
    }

    void exchangeTextIsUtf8OnlyWhenValid() {
        const QString name = QString::fromUtf8("Пётр");
        QCOMPARE(Cp1251::decodeExchange(name.toUtf8()), name);
        QCOMPARE(Cp1251::decodeExchange(Cp1251::encode(name)), name);
    }

    void fixedDateAndTimeTexts() {
        QCOMPARE(DateText::shortDate(QDate(2024, 3, 9)), QString("09.03.2024"));
        QCOMPARE(DateText::longTime(QTime(9, 5, 7)), QString("09:05:07"));
        QCOMPARE(DateText::parseShortDate("9.3.2024"), QDate(2024, 3, 9));
        QVERIFY(!DateText::parseShortDate("2024-03-09").isValid());
        QCOMPARE(DateText::parseLongTime("9:05"), QTime(9, 5));
        QCOMPARE(DateText::parseDateTime("10.03.2024 13:59:00"),
                 QDateTime(QDate(2024, 3, 10), QTime(13, 59)));
        QCOMPARE(DateText::parseDateTime("13:59:00"), QDateTime(DateText::zeroDate(), QTime(13, 59)));
        QVERIFY(!DateText::parseDateTime("31.02.2024").isValid());
    }

    void programPathsJoinBackslashedRelativePaths() {
        const QString saved = ProgramFolder;
        ProgramFolder = "/home/op/My Log";
        QCOMPARE(programPath("\\DB\\Work\\cfg.mdb"), QString("/home/op/My Log/DB/Work/cfg.mdb"));
        QCOMPARE(programPath("\\Temp\\"), QString("/home/op/My Log/Temp/"));
        ProgramFolder = saved;
    }

    void fakeClockDrivesNow() {
        {
            FakeClock clock(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
            QCOMPARE(Clock::now(), QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
            clock.advance(60);
            QCOMPARE(Clock::now().time(), QTime(3, 5, 5));
        }
        QVERIFY(qAbs(Clock::now().secsTo(QDateTime::currentDateTime())) < 5);
    }

    void scriptedDialogsRecordAndAnswer() {
        ScriptedDialogs* d = ScriptedDialogs::install();
        d->answer(DlgResult::Yes);
        Dialogs::showMessage("plain");
        QCOMPARE(Dialogs::messageDlg("sure?", DlgType::Confirmation, DlgButtons::YesNo), DlgResult::Yes);
        QCOMPARE(Dialogs::messageDlg("again?", DlgType::Confirmation, DlgButtons::YesNo), DlgResult::No);
        QCOMPARE(d->texts(), QStringList({"plain", "sure?", "again?"}));
        d->answerSave("/tmp/log");
        d->answerSave("/tmp/log.ADI");
        QCOMPARE(Dialogs::saveFile({"Save", {}, "ADIF (*.adi)", "adi", {}}), QString("/tmp/log.adi"));
        QCOMPARE(Dialogs::saveFile({"Save", {}, "ADIF (*.adi)", "adi", {}}), QString("/tmp/log.ADI"));
        QCOMPARE(Dialogs::saveFile({"Save", {}, "ADIF (*.adi)", "adi", {}}), QString());
        ScriptedDialogs::uninstall();
    }

    void messageBoxesShowTheirWholeTitle_data() {
        QTest::addColumn<DlgType>("type");
        QTest::newRow("plain") << DlgType::Plain;
        QTest::newRow("information") << DlgType::Information;
        QTest::newRow("error") << DlgType::Error;
    }

    void messageBoxesShowTheirWholeTitle() {
        QFETCH(DlgType, type);
        QApplication::setApplicationName("Zelmor Log");
        Dialogs::setBackend(nullptr);
        // Only a way out should the box never come up; the width is read as soon as it is shown.
        qputenv("ZELMOR_DIALOG_AUTOCLOSE_MS", "5000");
        int width = -1, room = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            width = box->width();
            room = Dialogs::titleBarWidth(box);
            box->button(QMessageBox::Ok)->click();
        });
        Dialogs::messageDlg("OK !!!", type);
        qunsetenv("ZELMOR_DIALOG_AUTOCLOSE_MS");
        QVERIFY(width > 0);
        QVERIFY2(width >= room, qPrintable(QString("%1 < %2").arg(width).arg(room)));
    }

    void guardedShowsTheErrorOnce() {
        ScriptedDialogs* d = ScriptedDialogs::install();
        QVERIFY(!Dialogs::guarded([] { throw std::runtime_error("disk full"); }));
        QVERIFY(Dialogs::guarded([] {}));
        QCOMPARE(d->messages.size(), 1);
        QCOMPARE(d->messages.first().text, QString("disk full"));
        QCOMPARE(d->messages.first().type, DlgType::Error);
        ScriptedDialogs::uninstall();
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"

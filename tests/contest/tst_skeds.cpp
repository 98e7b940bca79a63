// The skeds window after the real start-up: the ten skeds kept in their settings row across a
// restart (stored lines that do not read included), and the alarm and lamps on the fake clock.
#include "app/StartUp.h"
#include "contest/USked.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "exchange/SkedFile.h"
#include "support/AppFixture.h"
#include "support/HostileBytes.h"
#include "widgets/RoundLamp.h"

#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QtTest>

namespace {

const QString kStamp = QStringLiteral("dd.MM.yyyy HH:mm:ss");
const QByteArray kUnset = "09.03.2024\r\n00:00:00\r\n\r\n"; // the day before the start: lights nothing
const QByteArray kStored = "10.03.2024\r\n14:25:00\r\nUA9XX 14025\r\n10.03.2024\r\n15:00:00\r\nkept\r\n" +
                           QByteArray("12.03.2024\r\n08:00:00\r\nrow\r\n").repeated(8);

// "row|dd.MM.yyyy HH:mm:ss|note", rows counted from 1.
void setRow(const QString& sked) {
    const int row = sked.section('|', 0, 0).toInt() - 1;
    const QDateTime at = QDateTime::fromString(sked.section('|', 1, 1), kStamp);
    FSkeds->DateEdit[row]->setDate(at.date());
    FSkeds->DateTimePicker[row]->setTime(at.time());
    FSkeds->Edit[row]->setText(sked.section('|', 2));
}

QString shownRow(int row) {
    return QDateTime(FSkeds->DateEdit[row]->date(), FSkeds->DateTimePicker[row]->time()).toString(kStamp) +
           '|' + FSkeds->Edit[row]->text();
}

QByteArray withLines(QByteArray bytes, int first, const QList<QByteArray>& texts) {
    QList<QByteArray> lines = bytes.split('\n');
    for (int i = 0; i < texts.size(); ++i)
        lines[first - 1 + i] = texts[i] + '\r';
    return lines.join('\n');
}

// Scripted answers, and one more tick of the timer two seconds later under the first message.
struct TickUnderMessage : ScriptedDialogs {
    FakeClock* clock;
    bool ticked = false;
    explicit TickUnderMessage(FakeClock* c) : clock(c) {}
    DlgResult message(const QString& text, DlgType type, DlgButtons buttons) override {
        if (!std::exchange(ticked, true)) {
            clock->advance(2);
            FSkeds->Timer1Timer();
        }
        return ScriptedDialogs::message(text, type, buttons);
    }
};

} // namespace

class TestSkeds : public QObject {
    Q_OBJECT
private slots:
    void storedAtCloseAndBackAfterARestart_data() {
        QTest::addColumn<QByteArray>("stored"); // empty: no row yet
        QTest::addColumn<int>("badRow");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QByteArray>("memo");
        QTest::addColumn<QString>("tenth");
        QTest::newRow("first close") << QByteArray() << 0
                                     << QStringList{"1|10.03.2024 14:25:00|UA9XX 14025",
                                                    "3|31.12.2024 23:59:59|Иван 7050"}
                                     << "10.03.2024\r\n14:25:00\r\nUA9XX 14025\r\n" + kUnset +
                                            "31.12.2024\r\n23:59:59\r\n\xc8\xe2\xe0\xed 7050\r\n" +
                                            kUnset.repeated(7)
                                     << "09.03.2024 00:00:00|";
        QTest::newRow("a pasted line break in a note")
            << QByteArray() << 0
            << QStringList{"1|10.03.2024 14:25:00|UA9XX 14025", "2|10.03.2024 15:00:00|A\r\nB",
                           "3|31.12.2024 23:59:59|Иван 7050"}
            << "10.03.2024\r\n14:25:00\r\nUA9XX 14025\r\n10.03.2024\r\n15:00:00\r\nA  B\r\n"
               "31.12.2024\r\n23:59:59\r\n\xc8\xe2\xe0\xed 7050\r\n" +
                   kUnset.repeated(7)
            << "09.03.2024 00:00:00|";
        const QByteArray badDate = withLines(kStored, 4, {"xx.03.2024"});
        QTest::newRow("bad date kept")
            << badDate << 2 << QStringList{} << badDate << "12.03.2024 08:00:00|row";
        QTest::newRow("bad time, row edited")
            << withLines(kStored, 8, {"25:61:00"}) << 3 << QStringList{"3|11.03.2024 16:00:00|new"}
            << withLines(kStored, 7, {"11.03.2024", "16:00:00", "new"}) << "12.03.2024 08:00:00|row";
    }
    void storedAtCloseAndBackAfterARestart() {
        QFETCH(QByteArray, stored);
        QFETCH(int, badRow);
        QFETCH(QStringList, edits);
        QFETCH(QByteArray, memo);
        QFETCH(QString, tenth);
        AppFixture app([&](TempDataFolder& f) {
            if (stored.isEmpty()) return;
            Connection c("prepare");
            c.openFile(f.file("DB/Work/cfg.mdb"));
            c.execute("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param, Memo) "
                      "VALUES ('FSkeds', 'Skeds', 'FileSkeds', 'TFile', 'File', ?)",
                      {stored});
        });
        const QStringList error{QString("The stored lines of sked %1 cannot be read; they are kept unchanged "
                                        "until the sked is edited.")
                                    .arg(badRow)};
        QCOMPARE(app.dialogs().texts(), badRow ? error : QStringList());
        if (badRow) QCOMPARE(shownRow(badRow - 1), QString("09.03.2024 00:00:00|"));
        app.dialogs().onModal([&](QWidget*) {
            for (const QString& e : edits)
                setRow(e);
            FSkeds->ButtonClose->click();
            return 0;
        });
        FMain->ToolsSkeds->trigger();
        QCOMPARE(app.dialogs().modalShown, QList<QWidget*>{FSkeds});
        FSkeds->close();
        Connection& cfg = *DM->ConnectionCfg;
        QCOMPARE(cfg.scalar("SELECT group_concat(Object || '|' || Name_Param || '|' || Prim || '|' || Param) "
                            "FROM Cfg WHERE FormName = 'FSkeds'"),
                 QVariant("Skeds|FileSkeds|TFile|File"));
        QCOMPARE(cfg.scalar("SELECT Memo FROM Cfg WHERE FormName = 'FSkeds'").toByteArray(), memo);

        StartUp::destroyObjects();
        StartUp::createObjects();
        QCOMPARE(shownRow(0), QString("10.03.2024 14:25:00|UA9XX 14025"));
        QCOMPARE(shownRow(9), tenth);
        if (!badRow) QCOMPARE(shownRow(2), QString("31.12.2024 23:59:59|Иван 7050"));
    }

    void hostileStoredBytesAreReadOrRefused_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("readable"); // skeds that read, from the first
        QTest::newRow("random bytes") << randomBytes(64 * 1024, 4105) << 0;
        QTest::newRow("truncated in the second date") << kStored.left(40) << 1;
        QTest::newRow("10 MB without a line break") << QByteArray(10 * 1024 * 1024, '1') << 0;
        QTest::newRow("a million lines after the skeds") << kStored + QByteArray("\r\n").repeated(1000000) << 10;
        QTest::newRow("NUL bytes") << QByteArray(1000, '\0') << 0;
    }
    void hostileStoredBytesAreReadOrRefused() {
        QFETCH(QByteArray, stored);
        QFETCH(int, readable);
        const QList<QByteArray> pieces = SkedFile::pieces(stored);
        QCOMPARE(pieces.size(), SkedFile::Count);
        int read = 0;
        while (read < pieces.size() && SkedFile::read(pieces[read])) ++read;
        QCOMPARE(read, readable);
        for (const QByteArray& p : pieces.mid(read))
            QVERIFY(!SkedFile::read(p));
    }

    void alarmsAndLampsFollowTheClock_data() {
        QTest::addColumn<QStringList>("skeds");
        QTest::addColumn<QStringList>("ticks"); // on 10.03.2024 unless dated
        QTest::addColumn<QStringList>("alarms");
        QTest::addColumn<QString>("lit");
        const QStringList one{"1|10.03.2024 14:25:00|UA9XX 14025"};
        const QString alarm = "SKED !!!    UA9XX 14025";
        QTest::newRow("at its second")
            << one << QStringList{"14:24:59", "14:25:00", "14:25:01"} << QStringList{alarm} << "1000000000";
        QTest::newRow("late tick, once")
            << one << QStringList{"14:24:58", "14:25:03", "14:25:04"} << QStringList{alarm} << "1000000000";
        QTest::newRow("empty note") << QStringList{"2|10.03.2024 14:25:00|"} << QStringList{"14:25:00"}
                                    << QStringList{"SKED !!!    "} << "0100000000";
        const QStringList three{"1|10.03.2024 23:59:59|a", "2|10.03.2024 11:00:00|b",
                                "3|11.03.2024 14:00:00|c"};
        QTest::newRow("two today (one earlier), one tomorrow")
            << three << QStringList{"14:00:00"} << QStringList{} << "1100000000";
        QTest::newRow("past midnight") << three << QStringList{"23:59:58", "11.03.2024 00:00:01"}
                                       << QStringList{"SKED !!!    a"} << "0010000000";
    }
    void alarmsAndLampsFollowTheClock() {
        QFETCH(QStringList, skeds);
        QFETCH(QStringList, ticks);
        QFETCH(QStringList, alarms);
        QFETCH(QString, lit);
        AppFixture app;
        for (const QString& s : skeds)
            setRow(s);
        QVERIFY(!FSkeds->isVisible()); // hidden, it raises the alarm all the same
        for (const QString& t : ticks) {
            app.clock().set(QDateTime::fromString(t.contains('.') ? t : "10.03.2024 " + t, kStamp));
            FSkeds->Timer1Timer();
        }
        QCOMPARE(app.dialogs().texts(), alarms);
        QString lamps;
        for (RoundLamp* lamp : FSkeds->AbLED)
            lamps += lamp->isLit() ? '1' : '0';
        QCOMPARE(lamps, lit);
    }

    void ticksUnderTheMessageRaiseOnlyLaterSkeds() {
        AppFixture app;
        auto* dialogs = new TickUnderMessage(&app.clock());
        Dialogs::setBackend(std::unique_ptr<DialogBackend>(dialogs));
        setRow("1|10.03.2024 14:25:00|first");
        setRow("2|10.03.2024 14:25:01|second");
        app.clock().set(QDateTime(QDate(2024, 3, 10), QTime(14, 25)));
        FSkeds->Timer1Timer();
        QCOMPARE(dialogs->texts(), QStringList({"SKED !!!    second", "SKED !!!    first"}));
    }
};

QTEST_MAIN(TestSkeds)
#include "tst_skeds.moc"

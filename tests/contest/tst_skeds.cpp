// The skeds window after the real start-up: the ten skeds kept in their settings row across a
// restart, the alarm and the lamps driven by the fake clock, and stored lines that do not read.
#include "app/StartUp.h"
#include "contest/USked.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "widgets/RoundLamp.h"

#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTimeEdit>
#include <QtTest>

namespace {

const QString kStamp = QStringLiteral("dd.MM.yyyy HH:mm:ss");

// A sked as the tests write it: "dd.MM.yyyy HH:mm:ss|note".
void setRow(int row, const QString& sked) {
    const QDateTime at = QDateTime::fromString(sked.section('|', 0, 0), kStamp);
    FSkeds->DateEdit[row]->setDate(at.date());
    FSkeds->DateTimePicker[row]->setTime(at.time());
    FSkeds->Edit[row]->setText(sked.section('|', 1));
}

QStringList shownRows() {
    QStringList out;
    for (int i = 0; i < TFSkeds::Count; ++i)
        out << QDateTime(FSkeds->DateEdit[i]->date(), FSkeds->DateTimePicker[i]->time()).toString(kStamp) + '|' +
                   FSkeds->Edit[i]->text();
    return out;
}

QString lamps() {
    QString out;
    for (RoundLamp* lamp : FSkeds->AbLED)
        out += lamp->isLit() ? '1' : '0';
    return out;
}

// The sked rows of the settings table: "FormName|Object|Name_Param|Prim|Param", and their Memo.
QStringList skedRows(QByteArray* memo = nullptr) {
    QSqlQuery q = DM->ConnectionCfg->query(
        "SELECT FormName, Object, Name_Param, Prim, Param, Memo FROM Cfg WHERE FormName = 'FSkeds'");
    QStringList out;
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < 5; ++i)
            fields << q.value(i).toString();
        out << fields.join('|');
        if (memo) *memo = q.value(5).toByteArray();
    }
    return out;
}

void restart() {
    StartUp::destroyObjects();
    StartUp::createObjects();
    StartUp::showMainWindow();
}

// Thirty stored lines: sked 1 at 10.03.2024 14:25:00, sked 2 at 15:00 the same day, the others on 12.03.2024.
QByteArray storedLines() {
    QByteArray out = "10.03.2024\r\n14:25:00\r\nUA9XX 14025\r\n10.03.2024\r\n15:00:00\r\nkept note\r\n";
    for (int i = 3; i <= 10; ++i)
        out += "12.03.2024\r\n08:00:00\r\nrow " + QByteArray::number(i) + "\r\n";
    return out;
}

QByteArray withLine(const QByteArray& bytes, int line, const QByteArray& text) {
    QList<QByteArray> lines = bytes.split('\n');
    lines[line - 1] = text + '\r';
    return lines.join('\n');
}

// Scripted answers, and one tick of the skeds' timer two seconds later under the first message.
struct TickUnderMessage : ScriptedDialogs {
    FakeClock* clock;
    bool ticked = false;
    explicit TickUnderMessage(FakeClock* c) : clock(c) {}
    DlgResult message(const QString& text, DlgType type, DlgButtons buttons) override {
        const DlgResult r = ScriptedDialogs::message(text, type, buttons);
        if (!ticked) {
            ticked = true;
            clock->advance(2);
            FSkeds->Timer1Timer();
        }
        return r;
    }
};

} // namespace

class TestSkeds : public QObject {
    Q_OBJECT
private slots:
    void storedInTheirRowAndBackAfterARestart() {
        AppFixture app;
        app.dialogs().onModal([](QWidget*) {
            setRow(0, "10.03.2024 14:25:00|UA9XX 14025");
            setRow(2, "31.12.2024 23:59:59|Иван 7050");
            FSkeds->ButtonClose->click();
            return 0;
        });
        FMain->ToolsSkeds->trigger();
        QCOMPARE(app.dialogs().modalShown, QList<QWidget*>{FSkeds});
        QByteArray memo;
        QCOMPARE(skedRows(&memo), QStringList{"FSkeds|Skeds|FileSkeds|TFile|File"});
        // Rows not yet set hold the day before the start, so they light nothing.
        const QByteArray unset = "09.03.2024\r\n00:00:00\r\n\r\n";
        QCOMPARE(memo, "10.03.2024\r\n14:25:00\r\nUA9XX 14025\r\n" + unset +
                           "31.12.2024\r\n23:59:59\r\n\xc8\xe2\xe0\xed 7050\r\n" + unset.repeated(7));
        const QStringList shown = shownRows();

        FSkeds->close();
        QCOMPARE(skedRows().size(), 1);
        restart();
        QCOMPARE(shownRows(), shown);
        QVERIFY(app.dialogs().texts().isEmpty());
    }

    void alarmsAndLampsFollowTheClock_data() {
        QTest::addColumn<QStringList>("skeds");
        QTest::addColumn<QStringList>("ticks");
        QTest::addColumn<QStringList>("alarms");
        QTest::addColumn<QString>("lit");
        const QStringList one{"10.03.2024 14:25:00|UA9XX 14025"};
        const QString alarm = "SKED !!!    UA9XX 14025";
        QTest::newRow("at its second") << one << QStringList{"14:24:59", "14:25:00", "14:25:01"} << QStringList{alarm}
                                       << "1000000000";
        QTest::newRow("late tick, once") << one << QStringList{"14:24:58", "14:25:03", "14:25:04"}
                                         << QStringList{alarm} << "1000000000";
        QTest::newRow("earlier today") << QStringList{"10.03.2024 10:00:00|early"} << QStringList{"12:00:01", "12:00:02"}
                                       << QStringList{} << "1000000000";
        QTest::newRow("empty note") << QStringList{"10.03.2024 14:25:00|"} << QStringList{"14:25:00"}
                                    << QStringList{"SKED !!!    "} << "1000000000";
        const QStringList three{"10.03.2024 20:00:00|a", "10.03.2024 21:00:00|b", "11.03.2024 14:00:00|c"};
        QTest::newRow("two today, one tomorrow") << three << QStringList{"14:00:00"} << QStringList{} << "1100000000";
        QTest::newRow("past midnight")
            << QStringList{"10.03.2024 23:59:59|a", "10.03.2024 11:00:00|b", "11.03.2024 14:00:00|c"}
            << QStringList{"23:59:58", "11.03.2024 00:00:01"} << QStringList{"SKED !!!    a"} << "0010000000";
    }
    void alarmsAndLampsFollowTheClock() {
        QFETCH(QStringList, skeds);
        QFETCH(QStringList, ticks);
        QFETCH(QStringList, alarms);
        QFETCH(QString, lit);
        AppFixture app;
        for (int i = 0; i < skeds.size(); ++i)
            setRow(i, skeds[i]);
        // The window stays hidden: its timer raises the alarm all the same.
        QVERIFY(!FSkeds->isVisible());
        for (const QString& t : ticks) {
            app.clock().set(QDateTime::fromString(t.contains('.') ? t : "10.03.2024 " + t, kStamp));
            FSkeds->Timer1Timer();
        }
        QCOMPARE(app.dialogs().texts(), alarms);
        for (const ShownMessage& m : app.dialogs().messages)
            QCOMPARE(m.type, DlgType::Information);
        QCOMPARE(lamps(), lit);
    }

    void ticksUnderTheMessageRaiseOnlyLaterSkeds() {
        AppFixture app;
        auto owned = std::make_unique<TickUnderMessage>(&app.clock());
        TickUnderMessage* dialogs = owned.get();
        Dialogs::setBackend(std::move(owned));
        setRow(0, "10.03.2024 14:25:00|first");
        setRow(1, "10.03.2024 14:25:01|second");
        app.clock().set(QDateTime(QDate(2024, 3, 10), QTime(14, 24, 59)));
        FSkeds->Timer1Timer();
        app.clock().advance(1);
        FSkeds->Timer1Timer();
        QCOMPARE(dialogs->texts(), QStringList({"SKED !!!    first", "SKED !!!    second"}));
    }

    void unreadableLinesKeepTheirSked_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("badRow");
        QTest::addColumn<bool>("edit");
        QTest::newRow("bad date") << 4 << QByteArray("xx.03.2024") << 2 << false;
        QTest::newRow("bad time") << 8 << QByteArray("25:61:00") << 3 << false;
        QTest::newRow("empty date, row edited") << 4 << QByteArray() << 2 << true;
    }
    void unreadableLinesKeepTheirSked() {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(int, badRow);
        QFETCH(bool, edit);
        const QByteArray stored = withLine(storedLines(), line, text);
        AppFixture app([&](TempDataFolder& f) {
            Connection c("prepare");
            c.openFile(f.file("DB/Work/cfg.mdb"));
            c.execute("INSERT INTO Cfg (FormName, Object, Name_Param, Prim, Param, Memo) "
                      "VALUES ('FSkeds', 'Skeds', 'FileSkeds', 'TFile', 'File', ?)",
                      {stored});
        });
        QCOMPARE(app.dialogs().texts(),
                 QStringList{QString("The stored lines of sked %1 cannot be read; they are kept unchanged until "
                                     "the sked is edited.")
                                 .arg(badRow)});
        QCOMPARE(app.dialogs().messages.first().type, DlgType::Error);
        // The others are loaded; the bad one shows the initial values.
        QStringList expected{"10.03.2024 14:25:00|UA9XX 14025", "10.03.2024 15:00:00|kept note"};
        for (int i = 3; i <= 10; ++i)
            expected << QString("12.03.2024 08:00:00|row %1").arg(i);
        expected[badRow - 1] = "09.03.2024 00:00:00|";
        QCOMPARE(shownRows(), expected);

        QByteArray want = stored;
        if (edit) {
            setRow(badRow - 1, "11.03.2024 16:00:00|new");
            want = withLine(withLine(withLine(stored, badRow * 3 - 2, "11.03.2024"), badRow * 3 - 1, "16:00:00"),
                            badRow * 3, "new");
        }
        FSkeds->ButtonClose->click();
        QByteArray memo;
        skedRows(&memo);
        QCOMPARE(memo, want);
    }
};

QTEST_MAIN(TestSkeds)
#include "tst_skeds.moc"

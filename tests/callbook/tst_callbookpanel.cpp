// The callbook panel of the main window after the real start-up: look-up, add, change, delete,
// copy into the contact, and the export and import of changed entries.
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "platform/DataFolder.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

void seed(TempDataFolder& f) {
    Connection c("seed");
    c.openFile(f.file("DB/CallBook/CBook.mdb"));
    c.execute(
        "INSERT INTO CB_W VALUES ('UA3ABC', 'Ivan', 'Moscow', 'KO85TS', 'QSL via buro', 'ivan@mail.ru', 0, "
        "'2024-03-01', '1920-05-15')");
    c.execute("INSERT INTO CB_W VALUES ('dl5low', 'Klaus', '', '', '', '', 0, NULL, '00:00:00')");
}

QString row(const QString& call) {
    return DM->ConnectionCB
        ->scalar(
            "SELECT Name||'|'||Other||'|'||ifnull(UpdateStamp,'')||'|'||Birthday FROM CB_W WHERE Call = ?",
            {call})
        .toString();
}

int entries() {
    return DM->ConnectionCB->scalar("SELECT COUNT(*) FROM CB_W").toInt();
}

QStringList panel() {
    return {FMain->EditCBCall->text(),    FMain->EditCBName->text(),    FMain->EditCBQTH->text(),
            FMain->EditCBQTHLoc->text(),  FMain->EditCBEMail->text(),   FMain->EditCBNote->text(),
            FMain->EditCBNote->toolTip(), FMain->MaskEditCBBDay->text()};
}

const QStringList kEmptyPanel{"", "", "", "", "", "", "Update: 00.00.00", "00.00.00"};

// Types key by key, Cyrillic letters too.
void type(QWidget* box, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void lookUp(const QString& call) {
    FMain->EditCBCall->clear();
    type(FMain->EditCBCall, call);
    FMain->ButtonCBFindZelmorClick();
}

} // namespace

class TestCallbookPanel : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void start(const std::function<void(TempDataFolder&)>& prepare = seed) {
        app.reset();
        app = std::make_unique<AppFixture>(prepare);
        app->clock().set(QDateTime(QDate(2024, 3, 10), QTime(12, 0)));
        FConfig->CheckBoxInternal->setChecked(true);
    }

private slots:
    void init() { start(); }
    void cleanup() { app.reset(); }

    void findsEntry_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("known, typed in lower case") << "ua3abc" << QStringList{"UA3ABC",
                                                                               "Ivan",
                                                                               "Moscow",
                                                                               "KO85TS",
                                                                               "ivan@mail.ru",
                                                                               "QSL via buro",
                                                                               "Update: 01.03.2024",
                                                                               "15.05.20"};
        QTest::newRow("stored in lower case")
            << "DL5LOW" << QStringList{"DL5LOW", "Klaus", "", "", "", "", "Update: 00.00.00", "00.00.00"};
        QTest::newRow("unknown") << "DL1XYZ"
                                 << QStringList{"DL1XYZ", "", "", "", "", "", "Update: 00.00.00", "00.00.00"};
    }
    void findsEntry() {
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        lookUp(typed);
        QCOMPARE(panel(), shown);
        QVERIFY(FMain->ButtonCBEdit->isEnabled());
        QVERIFY(app->dialogs().messages.isEmpty());
    }

    void addsEntry_data() {
        QTest::addColumn<QString>("name");     // typed into the empty name box
        QTest::addColumn<QString>("birthday"); // typed into the birthday box
        QTest::addColumn<bool>("russian");
        QTest::addColumn<QString>("stored"); // Name|Other|UpdateStamp|Birthday
        QTest::addColumn<QStringList>("messages");
        const QString add = "To add new record in the Callbook?";
        QTest::newRow("no birthday") << "hans"
                                     << "00.00.00" << false << "Hans|27|2024-03-10|00:00:00"
                                     << QStringList{add};
        QTest::newRow("two-digit birth year")
            << "Hans"
            << "150570" << false << "Hans|27|2024-03-10|1970-05-15" << QStringList{add};
        QTest::newRow("O'Brien") << "O'Brien'); DROP TABLE CB_W;--"
                                 << "00.00.00" << false
                                 << "O'Brien'); DROP TABLE CB_W;--|27|2024-03-10|00:00:00"
                                 << QStringList{add};
        QTest::newRow("cyrillic name") << "иван"
                                       << "00.00.00" << true << "Иван|27|2024-03-10|00:00:00"
                                       << QStringList{"Добавить новую запись в Базу данных ?"};
        QTest::newRow("impossible birthday")
            << "Hans"
            << "310280" << true << "Hans|27|2024-03-10|00:00:00"
            << QStringList{"Ошибка даты дня рождения. День рождения не будет внесен в Callbook. Вы сможете "
                           "отредактировать дату позже.",
                           "Добавить новую запись в Базу данных ?"};
    }
    void addsEntry() {
        QFETCH(QString, name);
        QFETCH(QString, birthday);
        QFETCH(bool, russian);
        QFETCH(QString, stored);
        QFETCH(QStringList, messages);
        if (russian) FConfig->ComboBoxLanguage->setCurrentText("Russian");
        lookUp("dl1xyz");
        type(FMain->EditCBName, name);
        FMain->MaskEditCBBDay->setCursorPosition(0);
        type(FMain->MaskEditCBBDay, birthday);

        app->dialogs().answer(DlgResult::No); // No keeps what was typed
        FMain->ButtonCBEditClick();
        QCOMPARE(entries(), 2);
        QCOMPARE(FMain->EditCBName->text(), stored.section('|', 0, 0));
        app->dialogs().clear();

        app->dialogs().answer(DlgResult::Yes);
        FMain->ButtonCBEditClick();
        QCOMPARE(app->dialogs().texts(), messages);
        QCOMPARE(row("DL1XYZ"), stored);
        QCOMPARE(panel(), kEmptyPanel);

        lookUp("DL1XYZ");
        QCOMPARE(FMain->EditCBName->text(), stored.section('|', 0, 0));
        QCOMPARE(FMain->MaskEditCBBDay->text(), stored.endsWith("1970-05-15") ? "15.05.70" : "00.00.00");
    }

    void changesEntry_data() {
        QTest::addColumn<DlgResult>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("yes") << DlgResult::Yes << "Ivan Petrov|27|2024-03-10|1920-05-15";
        QTest::newRow("no") << DlgResult::No << "Ivan|0|2024-03-01|1920-05-15";
        QTest::newRow("cancel") << DlgResult::Cancel << "Ivan|0|2024-03-01|1920-05-15";
    }
    void changesEntry() {
        QFETCH(DlgResult, answer);
        QFETCH(QString, stored);
        lookUp("UA3ABC");
        FMain->EditCBName->setText("Ivan Petrov");
        app->dialogs().answer(answer);
        FMain->ButtonCBEditClick();
        QCOMPARE(app->dialogs().texts(), QStringList{"To change the data in the Callbook?"});
        // The two-digit year on show never moves the stored birthday to another century.
        QCOMPARE(row("UA3ABC"), stored);
        QCOMPARE(entries(), 2);
        QCOMPARE(panel(), kEmptyPanel);
    }

    void deletesEntry_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<DlgResult>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("left");
        QTest::newRow("yes") << "ua3abc" << DlgResult::Yes
                             << QStringList{"Delete UA3ABC into CallBook? ", "UA3ABC deleted!"} << 1;
        QTest::newRow("no") << "UA3ABC" << DlgResult::No << QStringList{"Delete UA3ABC into CallBook? "} << 2;
        QTest::newRow("other letter case")
            << "DL5LOW" << DlgResult::Yes << QStringList{"Delete DL5LOW into CallBook? ", "DL5LOW deleted!"}
            << 1;
        QTest::newRow("unknown") << "XX9XX" << DlgResult::Yes
                                 << QStringList{"XX9XX not exist and not deleted!"} << 2;
        QTest::newRow("too short") << "UA" << DlgResult::Yes << QStringList{} << 2;
    }
    void deletesEntry() {
        QFETCH(QString, call);
        QFETCH(DlgResult, answer);
        QFETCH(QStringList, messages);
        QFETCH(int, left);
        lookUp(call);
        app->dialogs().answer(answer);
        FMain->DelCBCall->trigger();
        QCOMPARE(app->dialogs().texts(), messages);
        QCOMPARE(entries(), left);
        QCOMPARE(panel(), kEmptyPanel);
    }

    void copiesIntoContact() {
        FMain->EditNote->setText("old note");
        lookUp("UA3ABC");
        const QList<QPair<QLineEdit*, QLineEdit*>> pairs{{FMain->EditCBName, FMain->EditName},
                                                         {FMain->EditCBQTH, FMain->EditQTH},
                                                         {FMain->EditCBQTHLoc, FMain->EditQTHLoc},
                                                         {FMain->EditCBNote, FMain->EditNote}};
        for (const auto& [from, to] : pairs) {
            QTest::mouseDClick(from, Qt::LeftButton);
            QCOMPARE(to->text(), from->text());
        }
        QCOMPARE(FMain->EditNote->text(), "QSL via buro");
    }

    void buttonsFollowCallAndSetting() {
        FMain->EditCBCall->setText("UA3");
        QVERIFY(FMain->ButtonCBFindZelmor->isEnabled() && FMain->ButtonCBEdit->isEnabled());
        FMain->EditCBCall->setText("UA");
        QVERIFY(!FMain->ButtonCBFindZelmor->isEnabled() && !FMain->ButtonCBEdit->isEnabled());
        FConfig->CheckBoxInternal->setChecked(false);
        FMain->EditCBCall->setText("UA3ABC");
        QVERIFY(!FMain->ButtonCBFindZelmor->isEnabled());
        // The boxes keep to the widths of their columns.
        QCOMPARE(FMain->EditCBQTHLoc->maxLength(), 10);
        QCOMPARE(FMain->EditCBNote->maxLength(), 250);
    }

    void callbookFileAppearingLaterIsOpened() {
        start([](TempDataFolder& f) { QFile::remove(f.file("DB/CallBook/CBook.mdb")); });
        FConfig->CheckBoxInternal->setChecked(true);
        lookUp("UA3ABC");
        QCOMPARE(app->dialogs().lastText(),
                 "File " + ProgramFolder + "\\DB\\CallBook\\CBook.mdb not exist. ");
        QVERIFY(!FConfig->CheckBoxInternal->isChecked());
        TempDataFolder other;
        seed(other);
        QDir::setCurrent(app->folder().path());
        QVERIFY(
            QFile::copy(other.file("DB/CallBook/CBook.mdb"), app->folder().file("DB/CallBook/CBook.mdb")));
        app->dialogs().clear();
        lookUp("UA3ABC");
        QCOMPARE(FMain->EditCBName->text(), "Ivan");
        QVERIFY(app->dialogs().messages.isEmpty());
    }

    void exportsChangedEntries_data() {
        QTest::addColumn<int>("changed");
        QTest::addColumn<DlgResult>("answer");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("marksLeft");
        QTest::newRow("500 are too few") << 500 << DlgResult::No
                                         << QStringList{"In a Callbook it is changed 500 records.  Export is "
                                                        "cancelled! For export it is necessary "
                                                        "to change or add more than 500 records! "}
                                         << 500;
        QTest::newRow("501, marks cleared")
            << 501 << DlgResult::No
            << QStringList{"Exported 501 records. Further you want to export these data once again ?",
                           "Updating CallBook has passed successfully!"}
            << 0;
        QTest::newRow("501, marks kept")
            << 501 << DlgResult::Cancel
            << QStringList{"Exported 501 records. Further you want to export these "
                           "data once again ?"}
            << 501;
    }
    void exportsChangedEntries() {
        QFETCH(int, changed);
        QFETCH(DlgResult, answer);
        QFETCH(QStringList, messages);
        QFETCH(int, marksLeft);
        {
            Transaction tx(*DM->ConnectionCB);
            for (int i = 0; i < changed; ++i)
                DM->ConnectionCB->execute(
                    "INSERT INTO CB_W (Call, Name, Other, UpdateStamp, Birthday) VALUES (?, ?, 27, "
                    "'2024-03-10', '00:00:00')",
                    {QString("R%1AA").arg(i), "Иван"});
            tx.commit();
        }
        const QString file = app->folder().file("x.cbh");
        app->dialogs().answerSave(file);
        app->dialogs().answer(answer);
        FMain->ExpNewCall->trigger();
        QCOMPARE(app->dialogs().texts(), messages);
        QCOMPARE(DM->ConnectionCB->scalar("SELECT COUNT(*) FROM CB_W WHERE Other <> 0").toInt(), marksLeft);
        QVERIFY(FMain->isVisible());
        QVERIFY(!FProgres->isVisible());
        QVERIFY(!QFile::exists(file + ".cbh"));
        QCOMPARE(QFile::exists(file), changed > 500);
        if (changed <= 500) return;
        QCOMPARE(QDir::currentPath(), ProgramFolder);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("\r\n501:;" + QByteArray(57, '-') +
                               "\r\nR0AA:;\xC8\xE2\xE0\xED:;:;:;:;:;27:;10.03.2024:;0:;\r\n"));
    }

    void importsFile_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("entriesAfter");
        const QByteArray head = "Zelmor-Callbook\r\nSoftware by QX7ZV\r\nA\r\nB\r\n4:;---\r\n";
        QTest::newRow("a bad line among good ones")
            << head + "DL1AAA:;Hans:;\r\nno separator\r\nUA3ABC:;Ivan Petrov:;\r\nUA:;x:;\r\n"
            << "Imported 2 records. Unreadable lines skipped: 1. " << 3;
        QTest::newRow("unreadable lines only") << head + "x\r\ny\r\nz\r\n"
                                               << "Imported 0 records. Unreadable lines skipped: 3. " << 2;
        QTest::newRow("short file") << QByteArray("Zelmor-Callbook\r\n") << "Imported 0 records. " << 2;
    }
    void importsFile() {
        QFETCH(QByteArray, body);
        QFETCH(QString, message);
        QFETCH(int, entriesAfter);
        const QString name = app->folder().file("in.cbh");
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(body);
        f.close();
        app->dialogs().answerOpen(name);
        FMain->ImpNewCall->trigger();
        QCOMPARE(app->dialogs().texts(), QStringList{message});
        QCOMPARE(entries(), entriesAfter);
        QVERIFY(FMain->isVisible());
        QVERIFY(!FProgres->isVisible());
    }

    void errorsRestoreWindows() {
        DM->ConnectionCB->execute("UPDATE CB_W SET Other = 27");
        DM->ConnectionCB->execute(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 499) "
            "INSERT INTO CB_W (Call, Other) SELECT 'R' || i || 'AA', 27 FROM n");
        app->dialogs().answerSave(app->folder().file("no/such/folder/x.cbh"));
        FMain->ExpNewCall->trigger();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY(app->dialogs().lastText().contains("x.cbh"));
        QCOMPARE(DM->ConnectionCB->scalar("SELECT COUNT(*) FROM CB_W WHERE Other <> 0").toInt(), 501);
        QCOMPARE(QDir::currentPath(), ProgramFolder);
        QVERIFY(FMain->isVisible());
        QVERIFY(!FProgres->isVisible());

        // A line the database refuses ends the import; the lines before it stay stored.
        DM->ConnectionCB->execute("CREATE TRIGGER refuse BEFORE INSERT ON CB_W WHEN NEW.Call = 'DL1BAD' "
                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END");
        const QString name = app->folder().file("in.cbh");
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("1\r\n2\r\n3\r\n4\r\n3:;\r\nDL1AAA:;A:;\r\nDL1BAD:;B:;\r\nDL1CCC:;C:;\r\n");
        f.close();
        app->dialogs().clear();
        app->dialogs().answerOpen(name);
        FMain->ImpNewCall->trigger();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY(app->dialogs().lastText().contains("refused"));
        QCOMPARE(
            DM->ConnectionCB->scalar("SELECT group_concat(Call) FROM CB_W WHERE Call LIKE 'DL1%'").toString(),
            "DL1AAA");
        QVERIFY(FMain->isVisible());
        QVERIFY(!FProgres->isVisible());
    }
};

QTEST_MAIN(TestCallbookPanel)
#include "tst_callbookpanel.moc"

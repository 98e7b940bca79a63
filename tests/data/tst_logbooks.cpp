// Log books after the real start-up: choosing one from the Log menu, and the settings page "LOG"
// (add, edit, delete, moving a book into the current one).
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"
#include "widgets/BoxColour.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QtTest>

namespace {

// Books: Main (1, current) 2 contacts, Test (2) 3, Test (3) 5, Old (4) 7, B (5) none.
// Award marks: Main DL 14 worked; Old DL 14 confirmed and 7 worked.
void prepareBooks(TempDataFolder& f) {
    Connection c(QStringLiteral("prepare"));
    c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
    for (auto [num, name] : {std::pair{2, "Test"}, {3, "Test"}, {4, "Old"}, {5, "B"}})
        c.execute("INSERT INTO LogName (Num, Name, Prim, Sel) VALUES (?, ?, '', 0)", {num, name});
    for (auto [book, contacts] : {std::pair{1, 2}, {2, 3}, {3, 5}, {4, 7}})
        for (int i = 0; i < contacts; ++i)
            c.execute("INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) VALUES ('DL1ABC', "
                      "'2024-03-10', ?, ?)",
                      {QString("10:00:%1").arg(i, 2, 10, QChar('0')), book});
    c.execute("INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band14) "
              "VALUES (1, 'DXCC', 'DL', '', '', 'wkd')");
    c.execute("INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band14, Band70) "
              "VALUES (4, 'DXCC', 'DL', '', '', 'cfm', 'wkd')");
}

int scalar(const QString& sql) {
    return DM->ConnectionLog->scalar(sql).toInt();
}

QColor labelColour(const QString& name) {
    return textColour(FMain->findChild<QLabel*>(name));
}

} // namespace

class TestLogBooks : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    // Opens the settings window from the main window and runs `onPage` while it is shown.
    void onLogPage(const std::function<void()>& onPage) {
        app->dialogs().onModal([&](QWidget*) {
            onPage();
            return 0;
        });
        FMain->LogAddClick();
    }
    void russian(bool on) { FConfig->ComboBoxLanguage->setCurrentText(on ? "Russian" : "English"); }

private slots:
    void init() {
        app = std::make_unique<AppFixture>(prepareBooks);
        QApplication::setActiveWindow(FMain);
    }
    void cleanup() { app.reset(); }

    void choosingABookGoesByItsNumber_data() {
        QTest::addColumn<qint64>("num");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("contacts");
        QTest::newRow("the first of two named Test") << qint64(2) << "New Log: Test" << 3;
        QTest::newRow("the second of two named Test") << qint64(3) << "New Log: Test" << 5;
        QTest::newRow("a book without contacts") << qint64(5) << "New Log: B" << 0;
    }

    void choosingABookGoesByItsNumber() {
        QFETCH(qint64, num);
        QFETCH(QString, message);
        QFETCH(int, contacts);
        FMain->logBookItem(num)->trigger();
        QCOMPARE(app->dialogs().texts(), QStringList{message});
        QCOMPARE(FMain->Tag, int(num));
        QCOMPARE(DM->TableLog->recordCount(), contacts);
        QCOMPARE(FMain->LabelQSOs->text(), QString::number(contacts));
        QVERIFY(FMain->logBookItem(num)->isChecked());
        // The next start opens on it.
        QCOMPARE(scalar("SELECT COUNT(*) FROM LogName WHERE Sel"), 1);
        QCOMPARE(scalar("SELECT Num FROM LogName WHERE Sel"), int(num));
    }

    void aRenamedBookIsStillChosenByItsOldItem() {
        onLogPage([] {
            DM->TableLogName->locate("Num", 5);
            FConfig->DBGrid1MouseUp();
            QCOMPARE(FConfig->EditLLogName->text(), QString("B"));
            FConfig->EditLLogName->setText("B2");
            FConfig->ButtonLogNameEditClick();
        });
        QCOMPARE(scalar("SELECT COUNT(*) FROM LogName WHERE Name = 'B2' AND Num = 5"), 1);
        FMain->logBookItem(5)->trigger();
        QCOMPARE(app->dialogs().lastText(), QString("New Log: B"));
        QCOMPARE(FMain->Tag, 5);
    }

    void aBookGoneBehindTheMenuChangesNothing() {
        DM->ConnectionLog->execute("DELETE FROM LogName WHERE Num = 4");
        FMain->logBookItem(4)->trigger();
        QVERIFY(app->dialogs().messages.isEmpty());
        QCOMPARE(FMain->Tag, 1);
        QVERIFY(FMain->logBookItem(1)->isChecked());
        QCOMPARE(scalar("SELECT Num FROM LogName WHERE Sel"), 1);
        QCOMPARE(DM->TableLog->recordCount(), 2);
    }

    void deletingNamesTheRowThatGoes() {
        onLogPage([this] {
            QCOMPARE(FConfig->ComboBoxLog2->count(), 4);
            DM->TableLogName->locate("Num", 5);
            QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                           Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(FConfig->DBGrid1->viewport(), &up);
            QCOMPARE(FConfig->EditLLogName->text(), QString("B"));
            // A move by keyboard fills no box: the question still names the row deleted.
            DM->TableLogName->locate("Num", 4);
            app->dialogs().answer(DlgResult::Yes);
            FConfig->ButtonLogNameDelClick();
            QCOMPARE(FConfig->ComboBoxLog2->findData(4), -1);
        });
        QCOMPARE(app->dialogs().texts(), QStringList{"Delete Old?"});
        QCOMPARE(scalar("SELECT COUNT(*) FROM LogName WHERE Num = 4"), 0);
        QCOMPARE(scalar("SELECT COUNT(*) FROM Log WHERE LogNameLog = 4"), 7);
        QVERIFY(!FMain->logBookItem(4));
    }

    void aNewBookIsStored() {
        onLogPage([] {
            FConfig->EditLLogName->setText("New");
            FConfig->EditAboutLog->setText("Field day");
            FConfig->ButtonLogNameAddClick();
        });
        QCOMPARE(scalar("SELECT COUNT(*) FROM LogName WHERE Name = 'New' AND Prim = 'Field day'"), 1);
    }

    void theCurrentBookIsNeitherEditedNorDeleted_data() {
        QTest::addColumn<bool>("remove");
        QTest::addColumn<bool>("inRussian");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("edit") << false << false << "The current log cannot be edit!";
        QTest::newRow("edit, Russian") << false << true << "Текущий лог неможет быть отредактирован!";
        QTest::newRow("delete") << true << false << "The current log cannot be removed!";
        QTest::newRow("delete, Russian") << true << true << "Текущий лог неможет быть удален!";
    }

    void theCurrentBookIsNeitherEditedNorDeleted() {
        QFETCH(bool, remove);
        QFETCH(bool, inRussian);
        QFETCH(QString, refusal);
        russian(inRussian);
        onLogPage([&] {
            FConfig->EditLLogName->setText("Renamed");
            remove ? FConfig->ButtonLogNameDelClick() : FConfig->ButtonLogNameEditClick();
        });
        QCOMPARE(app->dialogs().texts(), QStringList{refusal});
        QCOMPARE(app->dialogs().messages.first().type, DlgType::Error);
        QCOMPARE(scalar("SELECT COUNT(*) FROM LogName WHERE Num = 1 AND Name = 'Main'"), 1);
    }

    void movingABookIntoTheCurrentOne_data() {
        QTest::addColumn<bool>("inRussian");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("English")
            << false
            << QStringList{"Recordings from log Old will be moved to log Main! \r\nTo continue? ",
                           "7 recordings are moved successfully!"};
        QTest::newRow("Russian") << true
                                 << QStringList{
                                        "Записи из лога Old будут перемещены в лог Main ! \r\nПродолжить?",
                                        "7 записей перемещено успешно!"};
    }

    void movingABookIntoTheCurrentOne() {
        QFETCH(bool, inRussian);
        QFETCH(QStringList, texts);
        russian(inRussian);
        onLogPage([this] {
            QCOMPARE(FConfig->EditLog1->text(), QString("Main"));
            FConfig->ComboBoxLog2->setCurrentIndex(FConfig->ComboBoxLog2->findData(4));
            app->dialogs().answer(DlgResult::Yes);
            FConfig->ButtonLogAddClick();
        });
        QCOMPARE(app->dialogs().texts(), texts);
        QCOMPARE(scalar("SELECT COUNT(*) FROM Log WHERE LogNameLog = 1"), 9);
        QCOMPARE(scalar("SELECT COUNT(*) FROM Log WHERE LogNameLog = 4"), 0);
        QCOMPARE(scalar("SELECT COUNT(*) FROM AwardMixInfo WHERE LogNameLog = 4"), 0);
        QCOMPARE(scalar("SELECT COUNT(*) FROM AwardMixInfo WHERE LogNameLog = 1 AND Param1 = 'DL'"), 1);
        QCOMPARE(DM->TableLog->recordCount(), 9);
        // The next look-up sees the merged marks.
        FMain->EditCall->setText("DL3AA");
        QCOMPARE(labelColour("LabelDX14"), QColor(255, 0, 0));
        QCOMPARE(labelColour("LabelDX70"), QColor(0, 128, 0));
    }

    void answeringNoMovesNothing() {
        onLogPage([this] {
            app->dialogs().answer(DlgResult::No);
            FConfig->ButtonLogAddClick();
        });
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(scalar("SELECT COUNT(*) FROM Log WHERE LogNameLog = 1"), 2);
    }

    void aFailedMoveIsReportedAndMovesNothing() {
        DM->ConnectionLog->execute(
            "CREATE TRIGGER busy BEFORE DELETE ON AwardMixInfo BEGIN SELECT RAISE(ABORT, 'busy'); END");
        onLogPage([this] {
            FConfig->ComboBoxLog2->setCurrentIndex(FConfig->ComboBoxLog2->findData(4));
            app->dialogs().answer(DlgResult::Yes);
            FConfig->ButtonLogAddClick();
        });
        QCOMPARE(app->dialogs().lastText(),
                 QString(" There was a mistake at moving the data. \r\n Probably the "
                         "database is used by other program. "));
        QCOMPARE(scalar("SELECT COUNT(*) FROM Log WHERE LogNameLog = 4"), 7);
        QCOMPARE(scalar("SELECT COUNT(*) FROM AwardMixInfo WHERE LogNameLog = 4"), 1);
        QCOMPARE(DM->TableLog->recordCount(), 2);
    }
};

// With the one book of a new log, there is no other book to move.
class TestSingleLogBook : public QObject {
    Q_OBJECT
private slots:
    void nothingMovesAndTheBookZeroContactsStay() {
        AppFixture app([](TempDataFolder& f) {
            Connection c(QStringLiteral("prepare"));
            c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
            c.execute("INSERT INTO Log (LogCall, LogNameLog) VALUES ('UA3AA', 0)");
        });
        app.dialogs().onModal([&](QWidget*) {
            app.dialogs().answer(DlgResult::Yes);
            FConfig->ButtonLogAddClick();
            return 0;
        });
        FMain->OptionsConfigClick();
        QCOMPARE(FConfig->ComboBoxLog2->count(), 0);
        QCOMPARE(app.dialogs().lastText(), QString("0 recordings are moved successfully!"));
        QCOMPARE(scalar("SELECT COUNT(*) FROM Log WHERE LogNameLog = 0"), 1);
    }
};

int main(int argc, char** argv) {
    QApplication a(argc, argv);
    TestLogBooks books;
    TestSingleLogBook single;
    return QTest::qExec(&books, argc, argv) | QTest::qExec(&single, argc, argv);
}
#include "tst_logbooks.moc"

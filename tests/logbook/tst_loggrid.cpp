// The log grid after the real start-up: the sort orders, the filter window, the call filter,
// "Delete QSO" and "Clear", on a book of five contacts beside a second book.
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "logbook/UFilter.h"
#include "logbook/UFilterCall.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "support/AppFixture.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStyleOptionViewItem>
#include <QTimeEdit>
#include <QWindow>
#include <QtTest>
#include <functional>

namespace {

// Book 1: five contacts; book 2 ("Other"): one contact that every view of book 1 must leave out.
const char* const kContacts[] = {
    // call, date, time, band, mode, name, qth, rx, tx, qsl sent, qsl rcvd, book
    "UA1A|2024-03-10|10:00:00|14|CW|Ivan|Moscow|599|579||Y|1",
    "UR5B|2024-03-11|09:00:00|7|SSB|O'NEIL|Kiev|59|59|Y||1",
    "DL1C|2024-03-09|12:00:00|14|SSB|Hans|Berlin|57|599|||1",
    "UR5BB|2024-02-29|23:59:59|21|CW|Petro|Lviv|599|599|Y|Y|1",
    "K1ZZ|2024-03-12|08:00:00|14|RTTY|Bob|Boston|55|55|||1",
    "UA9X|2024-03-10|10:00:00|14|CW|Ivan|Omsk|599|599|Y|Y|2",
};

void seed(TempDataFolder& f, const QStringList& more = {}) {
    Connection c(QStringLiteral("tst_loggrid_seed"));
    c.openFile(f.file("DB/Log/Log_Zelmor.mdb"));
    c.execute("INSERT INTO LogName (Num, Name, Prim, Sel) VALUES (2, 'Other', '', 0)");
    for (const char* line : kContacts) {
        const QStringList v = QString::fromUtf8(line).split('|');
        c.execute("INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogName, LogQth, LogRxRst, "
                  "LogTxRst, LogTxQsl, LogRxQsl, LogNameLog) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11].toInt()});
    }
    c.execute("INSERT INTO AwardMixInfo (LogNameLog, AwName, Param1, Param2, Param3, Band14) "
              "VALUES (1, 'DXCC', 'UA', '', '', 'cfm')");
    for (const QString& s : more)
        c.execute(s);
}

// The calls of the log view, in grid order; the grid shows as many rows.
QStringList viewCalls() {
    Dataset* log = DM->TableLog;
    QStringList calls;
    for (int i = 0; i < log->recordCount(); ++i)
        calls << log->valueAt(i, log->fieldIndex("LogCall")).toString();
    if (FMain->DBGridLog->model()->rowCount() != calls.size()) calls << "<grid rows differ>";
    return calls;
}

QStringList sorted(QStringList l) {
    l.sort();
    return l;
}

QString currentCall() {
    return DM->TableLog->field("LogCall").asString();
}

int rowsOf(const QString& where) {
    return DM->ConnectionLog->scalar("SELECT COUNT(*) FROM Log WHERE " + where).toInt();
}

QString awardMarks() {
    return DM->ConnectionLog->scalar("SELECT group_concat(AwName || Param1 || Band14) FROM AwardMixInfo")
        .toString();
}

// Key clicks that also carry letters outside ASCII, as a Russian keyboard sends them.
void keys(QWidget* w, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

using FilterSetup = std::function<void()>;

} // namespace

Q_DECLARE_METATYPE(FilterSetup)

class TestLogGrid : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void start(const QStringList& more = {}) {
        app = std::make_unique<AppFixture>([&more](TempDataFolder& f) { seed(f, more); });
        QApplication::setActiveWindow(FMain);
    }

    // The filter window opened from the View menu, set up and confirmed with OK.
    void filterBy(const FilterSetup& setup) {
        app->dialogs().onModal([setup](QWidget*) {
            setup();
            Filter->ButtonO->click();
            return 0;
        });
        FMain->ViewFilter->trigger();
    }

private slots:
    void cleanup() { app.reset(); }

    void eachSortOrderOfTheViewMenu_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QStringList>("more");
        QTest::newRow("Callsignal") << "ViewSortCall"
                                    << "Ctrl+C" << QStringList{"DL1C", "K1ZZ", "UA1A", "UR5B", "UR5BB"}
                                    << QStringList{};
        QTest::newRow("Date") << "ViewSortDate"
                              << "Ctrl+D" << QStringList{"UR5BB", "DL1C", "UA1A", "UR5B", "K1ZZ"}
                              << QStringList{};
        QTest::newRow("Date, two contacts of one day in time order")
            << "ViewSortDate"
            << "Ctrl+D" << QStringList{"UR5BB", "DL1C", "UA1A", "UR5B", "K1ZZ", "AA1A"}
            << QStringList{"INSERT INTO Log (LogCall, LogDate, LogTime, LogNameLog) "
                           "VALUES ('AA1A', '2024-03-12', '09:00:00', 1)"};
        QTest::newRow("Band") << "ViewSortBand"
                              << "Ctrl+B" << QStringList{"DL1C", "UA1A", "K1ZZ", "UR5BB", "UR5B"}
                              << QStringList{};
        QTest::newRow("Mode") << "ViewSortMode"
                              << "Ctrl+M" << QStringList{"UR5BB", "UA1A", "K1ZZ", "DL1C", "UR5B"}
                              << QStringList{};
        QTest::newRow("QTH") << "ViewSortQTH"
                             << "Ctrl+Q" << QStringList{"DL1C", "K1ZZ", "UR5B", "UR5BB", "UA1A"}
                             << QStringList{};
        QTest::newRow("Name") << "ViewSortName"
                              << "Ctrl+N" << QStringList{"K1ZZ", "DL1C", "UA1A", "UR5B", "UR5BB"}
                              << QStringList{};
        QTest::newRow("Rcvd QSL") << "ViewSortRcvdQSL"
                                  << "" << QStringList{"DL1C", "UR5B", "K1ZZ", "UR5BB", "UA1A"}
                                  << QStringList{};
        QTest::newRow("Send QSL") << "ViewSortSendQSL"
                                  << "" << QStringList{"DL1C", "UA1A", "K1ZZ", "UR5BB", "UR5B"}
                                  << QStringList{};
    }
    void eachSortOrderOfTheViewMenu() {
        QFETCH(QString, item);
        QFETCH(QString, shortcut);
        QFETCH(QStringList, calls);
        QFETCH(QStringList, more);
        start(more);
        auto* action = qobject_cast<QAction*>(FMain->findControl(item));
        QVERIFY(action);
        QCOMPARE(action->shortcut().toString(), shortcut);
        // Start from another order, so that each item has something to change.
        (item == "ViewSortName" ? FMain->ViewSortQTH : FMain->ViewSortName)->trigger();
        action->trigger();
        QVERIFY(action->isChecked());
        QCOMPARE(viewCalls(), calls);
        if (item == "ViewSortDate") QCOMPARE(currentCall(), calls.last());

        // A book switch sorts by date and time again and leaves the menu as it is.
        QVERIFY(DM->TableLogName->locate("Num", 2));
        QCOMPARE(DM->TableLog->sort(), QString("LogDate, LogTime"));
        QVERIFY(action->isChecked());
        QCOMPARE(viewCalls(), QStringList{"UA9X"});
    }

    void aSavedContactIsCurrentAndEditable_data() {
        QTest::addColumn<bool>("filtered");
        QTest::addColumn<QString>("current");
        QTest::newRow("whole book: the saved row") << false << "AA1AA";
        QTest::newRow("saved row outside the filter: the last row") << true << "UR5B";
    }
    void aSavedContactIsCurrentAndEditable() {
        QFETCH(bool, filtered);
        QFETCH(QString, current);
        start();
        if (filtered)
            filterBy([] {
                Filter->CheckBoxC->setChecked(true);
                Filter->EditC->setText("U*");
            });
        // The latest day already holds K1ZZ: the new contact sorts before it by call.
        app->clock().set(QDateTime(QDate(2024, 3, 12), QTime(12, 0)));
        FMain->TimerRealClockTimer();
        FMain->EditCall->setText("AA1AA");
        FMain->ButtonSaveClick();
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join('|')));
        QVERIFY(FMain->ViewSortDate->isChecked());
        QCOMPARE(currentCall(), current);
        FMain->ButtonEditClick();
        QCOMPARE(FMain->EditCall->text(), current);
    }

    void filterConditionsAloneAndTogether_data() {
        QTest::addColumn<FilterSetup>("setup");
        QTest::addColumn<QStringList>("calls");
        const QStringList all{"DL1C", "K1ZZ", "UA1A", "UR5B", "UR5BB"};
        QTest::newRow("call of one character adds nothing") << FilterSetup([] {
            Filter->CheckBoxC->setChecked(true);
            Filter->EditC->setText("U");
        }) << all;
        QTest::newRow("call U*") << FilterSetup([] { Filter->CheckBoxC->setChecked(true); })
                                 << QStringList{"UA1A", "UR5B", "UR5BB"};
        QTest::newRow("prefix * adds nothing") << FilterSetup([] {
            Filter->CheckBoxP->setChecked(true);
            Filter->EditP->setText("*");
        }) << all;
        QTest::newRow("date across a month boundary, both ends") << FilterSetup([] {
            Filter->CheckBoxD->setChecked(true);
            Filter->DateTimePickerD->setDate(QDate(2024, 2, 29));
            Filter->DateTimePickerD2->setDate(QDate(2024, 3, 10));
        }) << QStringList{"DL1C", "UA1A", "UR5BB"};
        QTest::newRow("time, both ends") << FilterSetup([] {
            Filter->CheckBoxT->setChecked(true);
            Filter->DateTimePickerT->setTime(QTime(9, 0));
            Filter->DateTimePickerT2->setTime(QTime(10, 0));
        }) << QStringList{"UA1A", "UR5B"};
        QTest::newRow("band 14") << FilterSetup([] { Filter->CheckBoxB->setChecked(true); })
                                 << QStringList{"DL1C", "K1ZZ", "UA1A"};
        QTest::newRow("mode SSB") << FilterSetup([] {
            Filter->CheckBoxM->setChecked(true);
            Filter->ComboBoxM->setCurrentText("SSB");
        }) << QStringList{"DL1C", "UR5B"};
        QTest::newRow("name O'NEIL") << FilterSetup([] {
            Filter->CheckBoxN->setChecked(true);
            Filter->EditN->setText("O'NEIL");
        }) << QStringList{"UR5B"};
        QTest::newRow("location B*") << FilterSetup([] {
            Filter->CheckBoxL->setChecked(true);
            Filter->EditL->setText("B*");
        }) << QStringList{"DL1C", "K1ZZ"};
        QTest::newRow("Rx RST 59*") << FilterSetup([] {
            Filter->CheckBoxRR->setChecked(true);
            Filter->MaskEditRR->setText("59*");
        }) << QStringList{"UA1A", "UR5B", "UR5BB"};
        QTest::newRow("Tx RST 599") << FilterSetup([] { Filter->CheckBoxTR->setChecked(true); })
                                    << QStringList{"DL1C", "UR5BB"};
        QTest::newRow("QSL Send") << FilterSetup([] { Filter->CheckBoxQS->setChecked(true); })
                                  << QStringList{"UR5B", "UR5BB"};
        QTest::newRow("QSL Rcvd") << FilterSetup([] { Filter->CheckBoxQR->setChecked(true); })
                                  << QStringList{"UA1A", "UR5BB"};
        QTest::newRow("call, date and QSL Rcvd together") << FilterSetup([] {
            Filter->CheckBoxC->setChecked(true);
            Filter->CheckBoxD->setChecked(true);
            Filter->DateTimePickerD->setDate(QDate(2024, 2, 1));
            Filter->DateTimePickerD2->setDate(QDate(2024, 3, 10));
            Filter->CheckBoxQR->setChecked(true);
        }) << QStringList{"UA1A", "UR5BB"};
    }
    void filterConditionsAloneAndTogether() {
        QFETCH(FilterSetup, setup);
        QFETCH(QStringList, calls);
        start();
        filterBy(setup);
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join('|')));
        QCOMPARE(sorted(viewCalls()), calls);
        QVERIFY(DM->TableLog->filter().startsWith("LogNameLog = 1"));
        // "Canceled Filter" shows the whole book again in date order.
        app->dialogs().onModal([](QWidget*) {
            Filter->ButtonC->click();
            return 0;
        });
        FMain->ViewFilter->trigger();
        QCOMPARE(DM->TableLog->filter(), QString("LogNameLog = 1"));
        QCOMPARE(viewCalls(), (QStringList{"UR5BB", "DL1C", "UA1A", "UR5B", "K1ZZ"}));
        for (QCheckBox* b : Filter->conditionBoxes())
            QVERIFY(!b->isChecked());
    }

    void aRejectedFilterWarnsAndShowsTheBook_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("warning");
        QTest::newRow("English") << "English"
                                 << " Conditions of the filter contradict each other! \n"
                                    " Check up correctness of the established values!";
        QTest::newRow("Russian") << "Russian"
                                 << "Условия фильтра противоречат друг другу!\n"
                                    "Проверте правильность установленных значений!";
    }
    void aRejectedFilterWarnsAndShowsTheBook() {
        QFETCH(QString, language);
        QFETCH(QString, warning);
        // A log without the column of the sent-QSL condition.
        start({"ALTER TABLE Log DROP COLUMN LogTxQsl"});
        FConfig->ComboBoxLanguage->setCurrentText(language);
        Filter->ShowNonModal();
        Filter->CheckBoxB->setChecked(true);
        Filter->CheckBoxQS->setChecked(true);
        Filter->ButtonO->click();
        QCOMPARE(app->dialogs().texts(), QStringList{warning});
        QCOMPARE(app->dialogs().messages.first().type, DlgType::Warning);
        for (QCheckBox* b : Filter->conditionBoxes())
            QVERIFY(!b->isChecked());
        QVERIFY(Filter->isVisible());
        QCOMPARE(DM->TableLog->filter(), QString("LogNameLog = 1"));
        QVERIFY(FMain->ViewSortDate->isChecked());
        QCOMPARE(viewCalls().size(), 5);
    }

    void theCallFilterFollowsTheTypedCall() {
        start();
        FMain->ViewSortName->trigger();
        FMain->ViewFilterCall->trigger();
        QVERIFY(FFilterCall->isVisible());
        keys(FFilterCall->EditCall, QString::fromUtf8("гк5"));
        QCOMPARE(FFilterCall->EditCall->text(), QString("UR5"));
        QCOMPARE(sorted(viewCalls()), (QStringList{"UR5B", "UR5BB"}));
        keys(FFilterCall->EditCall, QString::fromUtf8("ии"));
        QCOMPARE(viewCalls(), QStringList{"UR5BB"});
        FFilterCall->EditCall->clear();
        QCOMPARE(viewCalls().size(), 5);
        keys(FFilterCall->EditCall, "ZZ");
        QCOMPARE(viewCalls(), QStringList{});
        FFilterCall->close();
        QCOMPARE(DM->TableLog->filter(), QString("LogNameLog = 1"));
        QVERIFY(FMain->ViewSortDate->isChecked());
        QCOMPARE(currentCall(), QString("K1ZZ"));
    }

    // One line a row at the font's height, and a long QTH and a note up to the widest column
    // shown whole, in the log grid and in the repeat grid that follows the typed call.
    void gridRowsAreOneLineAndShowLongValuesWhole() {
        const QString note = "tnx fer nice QSO from the Costa Brava 73";
        start(
            {"INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogQth, LogNotepad, LogNameLog) "
             "VALUES ('EA3ABC', '2024-03-12', '09:00:00', '14', 'SSB', 'Barcelona', '" +
             note + "', 1)"});
        QTest::keyClicks(FMain->EditCall, "EA3");
        for (DBGrid* grid : {FMain->DBGridLog, FMain->DBGridRepeat}) {
            const DatasetModel* model = grid->datasetModel();
            int row = -1;
            for (int r = 0; r < model->rowCount(); ++r)
                if (model->data(model->index(r, 0)).toString() == "EA3ABC") row = r;
            QVERIFY2(row >= 0, qPrintable(grid->objectName()));
            QVERIFY(!grid->wordWrap());
            const int line = grid->fontMetrics().height();
            QVERIFY2(grid->rowHeight(row) >= line && grid->rowHeight(row) <= line + 6,
                     qPrintable(QString("%1: %2").arg(grid->objectName()).arg(grid->rowHeight(row))));
            QStyleOptionViewItem option;
            option.initFrom(grid);
            for (const QString field : {"LogQth", "LogNotepad"}) {
                const QModelIndex cell = model->index(row, model->columnOf(field));
                const int needed = grid->itemDelegate()->sizeHint(option, cell).width();
                QVERIFY2(grid->columnWidth(cell.column()) >= needed,
                         qPrintable(QString("%1.%2: %3 < %4")
                                        .arg(grid->objectName(), field)
                                        .arg(grid->columnWidth(cell.column()))
                                        .arg(needed)));
            }
        }
    }

    void deleteQsoAsksAndDeletesTheCurrentRow_data() {
        QTest::addColumn<QString>("callFilter");
        QTest::addColumn<DlgResult>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<int>("bookLeft");
        QTest::newRow("Yes") << "UR5" << DlgResult::Yes << QStringList{"Delete UR5B ?"} << 4;
        QTest::newRow("No") << "UR5" << DlgResult::No << QStringList{"Delete UR5B ?"} << 5;
        QTest::newRow("Cancel") << "UR5" << DlgResult::Cancel << QStringList{"Delete UR5B ?"} << 5;
        QTest::newRow("empty view: no question") << "ZZ" << DlgResult::Yes << QStringList{} << 5;
    }
    void deleteQsoAsksAndDeletesTheCurrentRow() {
        QFETCH(QString, callFilter);
        QFETCH(DlgResult, answer);
        QFETCH(QStringList, asked);
        QFETCH(int, bookLeft);
        start();
        const QString marks = awardMarks();
        FMain->ViewFilterCall->trigger();
        FFilterCall->EditCall->setText(callFilter);
        DM->TableLog->last(); // UR5B, the later of UR5BB and UR5B in date order
        app->dialogs().answer(answer);
        FMain->LogDelete->trigger();
        QCOMPARE(app->dialogs().texts(), asked);
        QCOMPARE(rowsOf("LogNameLog = 1"), bookLeft);
        QCOMPARE(rowsOf("LogNameLog = 2"), 1);
        QCOMPARE(awardMarks(), marks);
    }

    void clearDeletesTheViewUnderTheProgressWindow_data() {
        QTest::addColumn<FilterSetup>("setup");
        QTest::addColumn<DlgResult>("answer");
        QTest::addColumn<QStringList>("left");
        const QStringList all{"DL1C", "K1ZZ", "UA1A", "UR5B", "UR5BB"};
        QTest::newRow("whole book") << FilterSetup([] {}) << DlgResult::Yes << QStringList{};
        QTest::newRow("band 14 filter") << FilterSetup([] { Filter->CheckBoxB->setChecked(true); })
                                        << DlgResult::Yes << QStringList{"UR5B", "UR5BB"};
        QTest::newRow("empty view") << FilterSetup([] {
            Filter->CheckBoxC->setChecked(true);
            Filter->EditC->setText("ZZ*");
        }) << DlgResult::Yes << all;
        QTest::newRow("No") << FilterSetup([] {}) << DlgResult::No << all;
    }
    void clearDeletesTheViewUnderTheProgressWindow() {
        QFETCH(FilterSetup, setup);
        QFETCH(DlgResult, answer);
        QFETCH(QStringList, left);
        start();
        const QString marks = awardMarks();
        filterBy(setup);
        bool progressShown = false;
        bool mainHiddenMeanwhile = false;
        bool exposedMeanwhile = false;
        // The walk runs no event loop: an event posted during it waits until it has ended.
        bool pumped = false;
        bool posted = false;
        auto watch = connect(DM->TableLog, &Dataset::dataChange, [&] {
            progressShown = progressShown || FProgres->isVisible();
            mainHiddenMeanwhile = mainHiddenMeanwhile || !FMain->isVisible();
            exposedMeanwhile =
                exposedMeanwhile || (FProgres->windowHandle() && FProgres->windowHandle()->isExposed());
            if (!posted && FProgres->isVisible())
                QMetaObject::invokeMethod(
                    FMain, [&pumped] { pumped = true; }, Qt::QueuedConnection);
            posted = posted || FProgres->isVisible();
        });
        app->dialogs().answer(answer);
        FMain->LogClear->trigger();
        disconnect(watch);
        QVERIFY(!pumped);
        QCoreApplication::processEvents();
        QCOMPARE(pumped, posted);
        QCOMPARE(app->dialogs().texts(), QStringList{"Clear LOG ?"});
        QCOMPARE(progressShown, answer == DlgResult::Yes);
        QCOMPARE(mainHiddenMeanwhile, answer == DlgResult::Yes);
        // The progress window was drawn before the walk's first step.
        QCOMPARE(exposedMeanwhile, answer == DlgResult::Yes);
        QVERIFY(!FProgres->isVisible());
        QVERIFY(FMain->isVisible());
        QVERIFY(DM->DataSourceLog->enabled());
        QCOMPARE(FMain->LabelQSOs->text(), QString::number(DM->TableLog->recordCount()));
        QStringList stored;
        QSqlQuery q(DM->ConnectionLog->db());
        q.exec("SELECT LogCall FROM Log WHERE LogNameLog = 1 ORDER BY LogCall");
        while (q.next())
            stored << q.value(0).toString();
        QCOMPARE(stored, left);
        QCOMPARE(rowsOf("LogNameLog = 2"), 1);
        QCOMPARE(awardMarks(), marks);
    }

    void anErrorInsideClearRestoresTheWindows() {
        start({"CREATE TRIGGER refuse BEFORE DELETE ON Log WHEN old.LogCall = 'UA1A' "
               "BEGIN SELECT RAISE(ABORT, 'disk refused'); END"});
        app->dialogs().answer(DlgResult::Yes);
        FMain->LogClear->trigger();
        QCOMPARE(app->dialogs().messages.size(), 2);
        QCOMPARE(app->dialogs().messages.last().type, DlgType::Error);
        QVERIFY2(app->dialogs().lastText().contains("disk refused"), qPrintable(app->dialogs().lastText()));
        QVERIFY(FMain->isVisible());
        QVERIFY(!FProgres->isVisible());
        QVERIFY(DM->DataSourceLog->enabled());
        QVERIFY(!DM->TableLog->controlsDisabled());
        QVERIFY(!DM->ConnectionLog->inTransaction());
        // One batch: it is rolled back whole, and the grid shows the book as it is stored.
        QCOMPARE(viewCalls().size(), rowsOf("LogNameLog = 1"));
        QCOMPARE(rowsOf("LogNameLog = 1"), 5);
        QCOMPARE(currentCall(), QString("K1ZZ"));
        QCOMPARE(FMain->LabelQSOs->text(), QString("5"));
    }
};

QTEST_MAIN(TestLogGrid)
#include "tst_loggrid.moc"

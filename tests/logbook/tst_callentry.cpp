// Typing a call sign into the entry panel after the real start-up on the shipped reference data.
#include "awards/UAwardAdd.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Connection.h"
#include "logbook/QthLocator.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QtTest>
#include <algorithm>

namespace {

void sql(TempDataFolder& f, const QString& file, const QStringList& statements) {
    Connection c(QStringLiteral("prepare"));
    c.openFile(f.file(file));
    for (const QString& s : statements)
        c.execute(s);
}

void addContact(TempDataFolder& f, const QString& call, const QString& date, const QString& time,
                const QString& name, const QString& qth, const QString& loc = {}, const QString& note = {},
                int book = 1) {
    sql(f, "DB/Log/Log_Zelmor.mdb",
        {QString("INSERT INTO Log (LogCall, LogDate, LogTime, LogName, LogQth, LogQTHLoc, LogNotepad, "
                 "LogNameLog) "
                 "VALUES ('%1', '%2', '%3', '%4', '%5', '%6', '%7', %8)")
             .arg(QString(call).replace("'", "''"), date, time, name, qth, loc, note)
             .arg(book)});
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

void type(const QString& text) {
    FMain->EditCall->clear();
    FMain->EditCall->setFocus();
    keys(FMain->EditCall, text);
}

} // namespace

class TestCallEntry : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void start(const std::function<void(TempDataFolder&)>& prepare = {}) {
        app = std::make_unique<AppFixture>(prepare);
        QApplication::setActiveWindow(FMain);
        FConfig->MaskEditLat->setText("55,75");
        FConfig->MaskEditLon->setText("37,62");
    }

private slots:
    void cleanup() { app.reset(); }

    void countryZonesAndContinentOfManyEntities_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("country");
        QTest::addColumn<QString>("pref");
        QTest::addColumn<QString>("cq");
        QTest::addColumn<QString>("itu");
        QTest::addColumn<QString>("continent");
        QTest::newRow("Ukraine") << "UR5ABC"
                                 << "Ukraine"
                                 << "UR"
                                 << "16"
                                 << "29"
                                 << "EU";
        QTest::newRow("European Russia") << "UA3ABC"
                                         << "European Russia"
                                         << "UA"
                                         << "16"
                                         << "29"
                                         << "EU";
        QTest::newRow("Asiatic Russia") << "UA9ABC"
                                        << "Asiatic Russia"
                                        << "UA9"
                                        << "17"
                                        << "30"
                                        << "AS";
        QTest::newRow("USA") << "K1ABC"
                             << "United States of America"
                             << "K"
                             << "5"
                             << "8"
                             << "NA";
        QTest::newRow("USA west") << "W6ABC"
                                  << "United States of America"
                                  << "K"
                                  << "3"
                                  << "6"
                                  << "NA";
        QTest::newRow("Japan") << "JA1ABC"
                               << "Japan"
                               << "JA"
                               << "25"
                               << "45"
                               << "AS";
        QTest::newRow("Germany") << "DL1ABC"
                                 << "Fed. Rep. of Germany"
                                 << "DL"
                                 << "14"
                                 << "28"
                                 << "EU";
        QTest::newRow("Australia") << "VK2ABC"
                                   << "Australia"
                                   << "VK"
                                   << "30"
                                   << "59"
                                   << "OC";
        QTest::newRow("England") << "G4ABC"
                                 << "England"
                                 << "G"
                                 << "14"
                                 << "27"
                                 << "EU";
        QTest::newRow("Canaries") << "EA8ABC"
                                  << "Canary Islands"
                                  << "EA8"
                                  << "33"
                                  << "36"
                                  << "AF";
        QTest::newRow("Sicily counts as Italy") << "IT9ABC"
                                                << "Italy"
                                                << "I"
                                                << "15"
                                                << "28"
                                                << "EU";
        QTest::newRow("Brazil") << "PY1ABC"
                                << "Brazil"
                                << "PY"
                                << "11"
                                << "15"
                                << "SA";
        QTest::newRow("South Africa") << "ZS6ABC"
                                      << "South Africa"
                                      << "ZS"
                                      << "38"
                                      << "57"
                                      << "AF";
        QTest::newRow("Canada") << "VE3ABC"
                                << "Canada"
                                << "VE"
                                << "4"
                                << "4"
                                << "NA";
        QTest::newRow("long call uses six characters") << "JA1ABCDE"
                                                       << "Japan"
                                                       << "JA"
                                                       << "25"
                                                       << "45"
                                                       << "AS";
    }
    void countryZonesAndContinentOfManyEntities() {
        QFETCH(QString, call);
        start();
        type(call);
        QCOMPARE(FMain->EditCall->text(), call);
        QTEST(FMain->LabelRegion->text(), "country");
        QTEST(FMain->LabelPref->text(), "pref");
        QTEST(FMain->LabelZoneCQ->text(), "cq");
        QTEST(FMain->LabelZoneITU->text(), "itu");
        QTEST(FMain->LabelContinent->text(), "continent");
        QFETCH(QString, pref);
        QFETCH(QString, cq);
        QCOMPARE(FMain->GroupBoxDXCC->title(), " DXCC Mixed - " + pref);
        QCOMPARE(FMain->GroupBoxWAZ->title(), " WAZ Mixed - Zone : " + cq);
        QCOMPARE(FMain->EditCBCall->text(), call);
        QVERIFY(app->dialogs().messages.isEmpty());
    }

    void russianAndUkrainianCallsFillTheirRegion() {
        start();
        type("UA3ABC");
        QCOMPARE(FAwardAdd->EditUSObl->text(), QString("MA"));
        QCOMPARE(FAwardAdd->EditUSDXCC->text(), QString("UA"));
        QVERIFY(!FAwardAdd->EditUSOblName->text().isEmpty());
        type("UR5ABC");
        QCOMPARE(FAwardAdd->EditUSObl->text(), QString("SU"));
        QCOMPARE(FAwardAdd->EditUSDXCC->text(), QString("UR"));
        type("DL1ABC");
        QCOMPARE(FAwardAdd->EditUSObl->text(), QString());
    }

    void aSlashVariantMatchesWhenThePlainPrefixDoesNot() {
        start([](TempDataFolder& f) {
            sql(f, "DB/Work/DB.mdb",
                {"INSERT INTO ALLPREF (AllPrefix, Prefix, Other) VALUES ('K/D', 'DL', '')"});
        });
        // "K1D" is not a prefix, so its variant with "/" in the second place is tried, and found.
        type("K1DX");
        QCOMPARE(FMain->LabelRegion->text(), QString("Fed. Rep. of Germany"));
        type("K1ABC");
        QCOMPARE(FMain->LabelRegion->text(), QString("United States of America"));
    }

    void emptyingTheCallShowsTheResetTexts() {
        start();
        type("JA1ABC");
        QVERIFY(FMain->LabelDist->text() != "00000");
        FMain->EditCall->clear();
        QCOMPARE(FMain->LabelRegion->text(), QString("Country"));
        QCOMPARE(FMain->LabelPref->text(), QString("Pref"));
        QCOMPARE(FMain->LabelZoneCQ->text(), QString("00"));
        QCOMPARE(FMain->LabelZoneITU->text(), QString("00"));
        QCOMPARE(FMain->LabelContinent->text(), QString("NO"));
        QCOMPARE(FMain->LabelDist->text(), QString("00000"));
        QCOMPARE(FMain->LabelAzD->text(), QString("000"));
        QCOMPARE(FMain->LabelAzB->text(), QString("000"));
        QCOMPARE(FMain->LabelTime->text(), QString("00:00:00"));
        QCOMPARE(FMain->GroupBoxDXCC->title(), QString(" DXCC Mixed "));
    }

    void anUnknownPrefixKeepsTheResetTexts() {
        start();
        type("QQ1ABC");
        QCOMPARE(FMain->LabelRegion->text(), QString("Country"));
        QCOMPARE(FMain->LabelDist->text(), QString("00000"));
        QVERIFY(app->dialogs().messages.isEmpty());
    }

    void distanceAndBearingFromTheOwnPosition() {
        start();
        type("JA1ABC");
        // Moscow to central Japan: about 7,500 km, bearing a little north of east.
        const DistAz expected = DistanceAzimuth(GeoPos{37.62, 55.75}, GeoPos{138.38, 36.4});
        QCOMPARE(FMain->LabelDist->text(), QString::number(qint64(expected.distance)));
        const int dist = FMain->LabelDist->text().toInt();
        QVERIFY2(dist > 7000 && dist < 8000, qPrintable(FMain->LabelDist->text()));
        const int az = FMain->LabelAzD->text().toInt();
        QVERIFY2(az > 45 && az < 75, qPrintable(FMain->LabelAzD->text()));
        QCOMPARE(FMain->LabelAzB->text().toInt(), 360 - az);
    }

    void anUnreadableOwnPositionIsReportedOnce() {
        start();
        FConfig->MaskEditLat->setText("");
        FConfig->MaskEditLon->setText("");
        type("JA1ABC");
        QVERIFY(app->dialogs().messages.isEmpty()); // no position entered: nothing to say
        FConfig->MaskEditLat->setText("5x");
        type("JA1ABC");
        type("JA1ABD");
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(FMain->LabelRegion->text(), QString("Japan")); // the rest of the look-up still ran
        QCOMPARE(FMain->LabelDist->text(), QString("00000"));
    }

    void repeatGridNarrowsAndAutoFills() {
        start([](TempDataFolder& f) {
            addContact(f, "UA3ABC", "2023-05-01", "10:00:00", "Ivan", "Moscow", "KO85TS", "first");
            addContact(f, "UA3ABC", "2024-02-01", "11:00:00", "Ivan B", "Moscow City", "KO85UT", "second");
            addContact(f, "UA3ABD", "2022-01-01", "09:00:00", "Petr", "Tver");
            addContact(f, "UA9XYZ", "2022-01-01", "09:00:00", "Oleg", "Omsk");
            addContact(f, "UA3ABC", "2024-03-01", "12:00:00", "Other book", "", "", "", 2);
            addContact(f, "O'NEIL", "2024-03-01", "12:00:00", "Pat", "Cork");
        });
        FConfig->CheckBoxAutoIns->setChecked(true);
        type("U");
        QCOMPARE(FMain->GroupBoxRepeat->title(), QString(" Repeat "));
        QVERIFY(!DM->TableRepeat->active());
        QTest::keyClicks(FMain->EditCall, "A");
        QCOMPARE(FMain->GroupBoxRepeat->title(), QString(" Total 4 QSO "));
        QTest::keyClicks(FMain->EditCall, "3");
        QCOMPARE(FMain->GroupBoxRepeat->title(), QString(" Total 3 QSO "));
        QTest::keyClicks(FMain->EditCall, "ABC");
        QCOMPARE(FMain->GroupBoxRepeat->title(), QString(" Total 2 QSO "));
        // While typing, the oldest contact with the exact call fills the panel.
        QCOMPARE(FMain->EditName->text(), QString("Ivan"));
        QCOMPARE(FMain->EditQTH->text(), QString("Moscow"));
        QCOMPARE(FMain->EditQTHLoc->text(), QString("KO85TS"));
        QCOMPARE(FMain->EditNote->text(), QString("first"));
        // Leaving the box narrows to the exact call and takes the newest contact's locator.
        FMain->DatePicker->setFocus();
        QCOMPARE(QApplication::focusWidget(), FMain->DatePicker);
        QCOMPARE(DM->TableRepeat->field("LogNotepad").asString(), QString("second"));
        QCOMPARE(FMain->EditName->text(), QString("Ivan"));
        QCOMPARE(FMain->EditQTHLoc->text(), QString("KO85UT"));
    }

    void switchingWindowsDoesNotLeaveTheCallBox() {
        start([](TempDataFolder& f) {
            addContact(f, "UA3ABC", "2023-05-01", "10:00:00", "Ivan", "Moscow", "KO85TS", "first");
            addContact(f, "UA3ABC", "2024-02-01", "11:00:00", "Ivan", "Moscow", "KO85UT", "second");
        });
        FConfig->CheckBoxAutoIns->setChecked(true);
        type("UA3ABC");
        QCOMPARE(FMain->EditNote->text(), QString("first"));
        FMain->EditCall->setFocus();
        FAwardAdd->ShowNonModal();
        QApplication::setActiveWindow(FAwardAdd);
        QCOMPARE(FMain->EditQTHLoc->text(), QString("KO85TS")); // not narrowed to the newest contact
        QApplication::setActiveWindow(FMain);
        QCOMPARE(QApplication::focusWidget(), FMain->EditCall);
        QCOMPARE(FMain->GroupBoxRepeat->title(), QString(" Total 2 QSO "));
        QCOMPARE(FMain->EditNote->text(), QString("first"));
        QCOMPARE(FMain->EditQTHLoc->text(), QString("KO85TS"));
    }

    void typedWildcardsAndQuotesFindOnlyThemselves() {
        start([](TempDataFolder& f) {
            addContact(f, "O'NEIL", "2024-03-01", "12:00:00", "Pat", "Cork");
            addContact(f, "UA3ABC", "2024-03-01", "12:00:00", "Ivan", "Moscow");
        });
        type("O'");
        QCOMPARE(FMain->GroupBoxRepeat->title(), QString(" Total 1 QSO "));
        for (const QString& t : {"U%", "U_", "U*", "*A", "%A"}) {
            FMain->EditCall->setText(t);
            QCOMPARE(FMain->GroupBoxRepeat->title(), QString(" Total 0 QSO "));
        }
        QVERIFY(app->dialogs().messages.isEmpty());
    }

    void whileEditingTypingNeverTouchesTheBoxes() {
        start([](TempDataFolder& f) { addContact(f, "UA3ABC", "2023-05-01", "10:00:00", "Ivan", "Moscow"); });
        FConfig->CheckBoxAutoIns->setChecked(true);
        FMain->EntryState = 0;
        FMain->EditName->setText("Al");
        type("UA3ABC");
        QCOMPARE(FMain->EditName->text(), QString("Al"));
        FMain->EditCall->setText("U");
        QCOMPARE(FMain->EditName->text(), QString("Al"));
    }

    void cyrillicKeysBecomeTheCall() {
        start();
        FMain->EditCall->setFocus();
        // г ф 3 ф и с on a Russian keyboard are the keys U A 3 A B C.
        keys(FMain->EditCall, QString::fromUtf8("гф3фис"));
        QCOMPARE(FMain->EditCall->text(), QString("UA3ABC"));
        FMain->EditCall->clear();
        keys(FMain->EditCall, QString::fromUtf8("ю.б,ж"));
        QCOMPARE(FMain->EditCall->text(), QString::fromUtf8("////Ж"));
    }

    void firstLetterOfNameAndQthIsCapital() {
        start();
        FMain->EditName->setFocus();
        keys(FMain->EditName, QString::fromUtf8("иван"));
        QCOMPARE(FMain->EditName->text(), QString::fromUtf8("Иван"));
        QTest::keyClicks(FMain->EditQTH, "moscow");
        QCOMPARE(FMain->EditQTH->text(), QString("Moscow"));
    }

    void arrowKeysMoveBetweenTheBoxes() {
        start();
        FMain->EditCall->setFocus();
        QTest::keyClick(FMain->EditCall, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), FMain->EditName);
        QTest::keyClick(FMain->EditName, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), FMain->EditNote);
        QTest::keyClick(FMain->EditNote, Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), FMain->EditName);
        QTest::keyClick(FMain->EditName, Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), FMain->EditCall);
    }

    void tabWalksTheEntryPanelOneStopABox_data() {
        QTest::addColumn<bool>("backwards");
        QTest::newRow("Tab from the call to Save") << false;
        QTest::newRow("Shift+Tab from Save to the call") << true;
    }
    void tabWalksTheEntryPanelOneStopABox() {
        QFETCH(bool, backwards);
        start();
        FMain->show();
        QList<QWidget*> order{FMain->EditCall,   FMain->EditName,     FMain->EditQTH,      FMain->TimePicker,
                              FMain->DatePicker, FMain->ComboBoxBand, FMain->ComboBoxMode, FMain->EditQTHLoc,
                              FMain->EditNote,   FMain->CheckBoxTime, FMain->ButtonClear,  FMain->ButtonEdit,
                              FMain->ButtonSave};
        if (backwards) std::reverse(order.begin(), order.end());
        order.first()->setFocus();
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                            backwards ? Qt::ShiftModifier : Qt::NoModifier);
            QWidget* at = QApplication::focusWidget();
            while (at && at != order[i] && !order.contains(at) && at->parentWidget() &&
                   order.contains(at->parentWidget()))
                at = at->parentWidget();
            QVERIFY2(at == order[i],
                     qPrintable(QString("step %1: %2").arg(i).arg(at ? at->objectName() : "")));
        }
    }

    void clockShowsUtcAndTheStationsLocalTime() {
        start();
        app->clock().set(QDateTime(QDate(2024, 3, 10), QTime(12, 0, 0)));
        FConfig->CheckBoxUTC->setChecked(true);
        FConfig->MaskEditT->setText("-03");
        FConfig->MaskEdit2T->setText("00");
        FMain->TimerRealClockTimer();
        QCOMPARE(FMain->TimePicker->time(), QTime(9, 0, 0));
        QCOMPARE(FMain->DatePicker->date(), QDate(2024, 3, 10));
        type("JA1ABC");
        FMain->TimerRealClockTimer();
        QCOMPARE(FMain->LabelTime->text(), QString("18:00:00")); // UTC 09:00 + 9 h
        // Minutes take the sign of the hours: -03:30 means UTC is 3.5 h behind the PC clock.
        FConfig->MaskEdit2T->setText("30");
        FMain->TimerRealClockTimer();
        QCOMPARE(FMain->TimePicker->time(), QTime(8, 30, 0));
        QCOMPARE(FMain->LabelTime->text(), QString("17:30:00"));
        // Without UTC the pickers follow the PC clock; the station's time still uses the difference.
        FConfig->CheckBoxUTC->setChecked(false);
        FMain->TimerRealClockTimer();
        QCOMPARE(FMain->TimePicker->time(), QTime(12, 0, 0));
        QCOMPARE(FMain->LabelTime->text(), QString("17:30:00"));
        // "Real Time" off: the pickers keep what the operator set.
        FMain->CheckBoxTime->setChecked(false);
        FMain->TimePicker->setTime(QTime(7, 7, 7));
        app->clock().advance(60);
        FMain->TimerRealClockTimer();
        QCOMPARE(FMain->TimePicker->time(), QTime(7, 7, 7));
        QCOMPARE(FMain->LabelTime->text(), QString("17:31:00"));
    }

    // Half-typed values wait silently; a complete unreadable one is said once, in the message language.
    void utcDifferenceWhileTypingAndWhenUnreadable_data() {
        QTest::addColumn<QString>("hours");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("message"); // empty: nothing said
        QTest::newRow("hours emptied") << ""
                                       << "00"
                                       << "English"
                                       << "";
        QTest::newRow("only a minus") << "-"
                                      << "00"
                                      << "English"
                                      << "";
        QTest::newRow("only a plus") << "+"
                                     << "30"
                                     << "English"
                                     << "";
        QTest::newRow("minutes emptied") << "-03"
                                         << ""
                                         << "English"
                                         << "";
        QTest::newRow("unreadable") << "3x"
                                    << "00"
                                    << "English"
                                    << "is not a valid UTC difference";
        QTest::newRow("unreadable, Russian") << "3x"
                                             << "00"
                                             << "Russian"
                                             << "неверная разница с UTC";
    }
    void utcDifferenceWhileTypingAndWhenUnreadable() {
        QFETCH(QString, hours);
        QFETCH(QString, minutes);
        QFETCH(QString, language);
        QFETCH(QString, message);
        start();
        FConfig->ComboBoxLanguage->setCurrentText(language);
        FMain->TimerRealClockTimer();
        const QTime before = FMain->TimePicker->time();
        // A value stored by an older version is not held by the masks.
        FConfig->MaskEditT->setInputMask(QString());
        FConfig->MaskEditT->setText(hours);
        FConfig->MaskEdit2T->setText(minutes);
        app->clock().advance(5);
        FMain->TimerRealClockTimer();
        FMain->TimerRealClockTimer();
        QCOMPARE(FMain->TimePicker->time(), before); // the clock skipped the ticks
        if (message.isEmpty()) {
            QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join(" | ")));
        } else {
            QCOMPARE(app->dialogs().messages.size(), 1);
            QVERIFY2(app->dialogs().lastText().contains(message), qPrintable(app->dialogs().lastText()));
        }
    }

    void ownPositionMessageFollowsTheMessageLanguage() {
        start();
        FConfig->ComboBoxLanguage->setCurrentText("Russian");
        FConfig->MaskEditLat->setText("5x");
        FConfig->MaskEditLon->setText("");
        type("JA1ABC");
        QCOMPARE(app->dialogs().messages.size(), 1);
        QVERIFY2(app->dialogs().lastText().contains("неверные координаты"),
                 qPrintable(app->dialogs().lastText()));
    }
};

QTEST_MAIN(TestCallEntry)
#include "tst_callentry.moc"

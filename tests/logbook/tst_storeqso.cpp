// Saving, editing and clearing a contact through the main window, and the award marks it raises.
#include "awards/UAwardAdd.h"
#include "dataset/Connection.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "support/AppFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimeEdit>
#include <QtTest>

namespace {

QVariantMap row(const QString& where = "1 = 1") {
    QSqlQuery q(DM->ConnectionLog->db());
    q.exec("SELECT * FROM Log WHERE " + where + " ORDER BY LogNom DESC LIMIT 1");
    QVariantMap m;
    if (!q.next()) return m;
    for (int i = 0; i < q.record().count(); ++i)
        m[q.record().fieldName(i)] = q.value(i);
    return m;
}

int logRows() {
    return DM->ConnectionLog->scalar("SELECT COUNT(*) FROM Log").toInt();
}

QString mark(const QString& aw, const QString& p1, const QString& cell, const QString& p2 = "") {
    return DM->ConnectionLog
        ->scalar("SELECT " + cell +
                     " FROM AwardMixInfo WHERE LogNameLog = 1 AND AwName = ? AND Param1 = ? AND Param2 = ?",
                 {aw, p1, p2})
        .toString();
}

} // namespace

class TestStoreQso : public QObject {
    Q_OBJECT
    std::unique_ptr<AppFixture> app;

    void enter(const QString& call, const QString& band = "14", const QString& mode = "SSB") {
        FMain->EditCall->setText(call);
        FMain->ComboBoxBand->setCurrentText(band);
        FMain->ComboBoxMode->setCurrentText(mode);
    }

private slots:
    void init() {
        app = std::make_unique<AppFixture>();
        QApplication::setActiveWindow(FMain);
        app->clock().set(QDateTime(QDate(2024, 3, 10), QTime(12, 34, 56)));
        FMain->TimerRealClockTimer(); // UTC difference -03:00 by default
    }
    void cleanup() { app.reset(); }

    void savingWritesEveryColumn() {
        enter("UA3ABC", "14", "USB");
        FMain->EditName->setText("  Ivan ");
        FMain->EditQTH->setText("Moscow");
        FMain->EditRSRX->setText("57");
        FMain->EditRSTX->setText("59 ");
        FMain->EditQSLSend->setText("Y");
        FMain->EditNote->setText("\tnice\n");
        FMain->EditQTHLoc->setText("KO85 ");
        FAwardAdd->EditWASState->setText("CA");
        FAwardAdd->EditUAA->setText("A1");
        FAwardAdd->EditUAB->setText("B1");
        FAwardAdd->EditUAC->setText("C1");
        FMain->ButtonSaveClick();
        QVERIFY2(app->dialogs().messages.isEmpty(), qPrintable(app->dialogs().texts().join('|')));
        const QVariantMap r = row();
        QCOMPARE(r["LogCall"].toString(), QString("UA3ABC"));
        QCOMPARE(r["LogPref"].toString(), QString("UA"));
        QCOMPARE(r["LogObl"].toString(), QString("European Russia"));
        QCOMPARE(r["LogDate"].toString(), QString("2024-03-10"));
        QCOMPARE(r["LogTime"].toString(), QString("09:34:56"));
        QCOMPARE(r["LogBand"].toString(), QString("14"));
        QCOMPARE(r["LogMode"].toString(), QString("SSB"));
        QCOMPARE(r["LogName"].toString(), QString("Ivan"));
        QCOMPARE(r["LogQth"].toString(), QString("Moscow"));
        QCOMPARE(r["LogRxRst"].toString(), QString("57"));
        QCOMPARE(r["LogTxRst"].toString(), QString("59"));
        QCOMPARE(r["LogTxQsl"].toString(), QString("Y"));
        QCOMPARE(r["LogRxQsl"].toString(), QString());
        QCOMPARE(r["LogNotepad"].toString(), QString("nice"));
        QCOMPARE(r["Log1"].toString(), QString("upd"));
        QCOMPARE(r["LogNameLog"].toInt(), 1);
        QCOMPARE(r["LogAwWAS"].toString(), QString("CA"));
        QCOMPARE(r["LogAwWAZ"].toString(), QString("16"));
        QCOMPARE(r["LogAwUR"].toString(), QString("MAUA"));
        QCOMPARE(r["LogAwUser1"].toString(), QString("A1:;B1:;C1"));
        QCOMPARE(r["LogAwUser2"].toString(), QString());
        QCOMPARE(r["LogAw"].toString(), QString("29"));
        QCOMPARE(r["LogFreq"].toDouble(), 0.0);
        QCOMPARE(r["LogQTHLoc"].toString(), QString("KO85 "));
        QCOMPARE(r["Log2"].toString(), QString());
        // Saved, the panel is clear again and the grid stands on the new row.
        QCOMPARE(FMain->EntryState, -1);
        QCOMPARE(FMain->EditCall->text(), QString());
        QCOMPARE(FMain->EditRSRX->text(), QString("599"));
        QCOMPARE(DM->TableLog->field("LogNom").asInteger(), r["LogNom"].toLongLong());
        QCOMPARE(FMain->LabelQSOs->text(), QString("1"));
    }

    void awardMarksOfASavedContact() {
        enter("UA3ABC", "7", "USB");
        FAwardAdd->EditIOTANum->setText("EU-005");
        FAwardAdd->EditIOTAName->setText("Great Britain");
        FAwardAdd->EditWASState->setText("NY");
        FAwardAdd->EditWASName->setText("New York");
        FMain->EditQSLRcvd->setText(" ");
        FMain->ButtonSaveClick();
        // A QSL text of blanks is not a card received.
        QCOMPARE(mark("DXCC", "UA", "Band70"), QString("wkd"));
        QCOMPARE(mark("DXCC", "UA", "Band70ssb"), QString("wkd"));
        QCOMPARE(mark("DXCC", "UA", "Other"), QString("European Russia"));
        QCOMPARE(mark("WAZ", "16", "Band70ssb"), QString("wkd"));
        QCOMPARE(mark("UkrRus", "MA", "Band70", "UA"), QString("wkd"));
        QCOMPARE(mark("IOTA", "EU-005", "Band70"), QString("wkd"));
        QCOMPARE(mark("WAS", "NY", "Other"), QString("New York"));

        enter("UA3XYZ", "7.0", "SSB");
        FMain->EditQSLRcvd->setText("Y");
        FMain->ButtonSaveClick();
        QCOMPARE(mark("DXCC", "UA", "Band70"), QString("cfm"));
        QCOMPARE(mark("DXCC", "UA", "Band70ssb"), QString("cfm"));

        enter("UA3XYZ", "7", "CW");
        FMain->ButtonSaveClick();
        QCOMPARE(mark("DXCC", "UA", "Band70"), QString("cfm"));
        QCOMPARE(mark("DXCC", "UA", "Band70cw"), QString("wkd"));
        QCOMPARE(DM->ConnectionLog->scalar("SELECT COUNT(*) FROM AwardMixInfo WHERE AwName = 'DXCC'").toInt(),
                 1);
    }

    void theSaveChecksRefuseAndMoveTheFocus_data() {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("short call") << "UA"
                                    << "59"
                                    << "59"
                                    << "Not Callsign"
                                    << "EditCall";
        QTest::newRow("blank call") << "   "
                                    << "59"
                                    << "59"
                                    << "Not Callsign"
                                    << "EditCall";
        QTest::newRow("no rx report") << "UA3AA"
                                      << ""
                                      << "59"
                                      << "Not RST Rx"
                                      << "EditRSRX";
        QTest::newRow("blank rx report") << "UA3AA"
                                         << "  "
                                         << "59"
                                         << "Not RST Rx"
                                         << "EditRSRX";
        QTest::newRow("no tx report") << "UA3AA"
                                      << "59"
                                      << ""
                                      << "Not RST Tx"
                                      << "EditRSTX";
    }
    void theSaveChecksRefuseAndMoveTheFocus() {
        QFETCH(QString, call);
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        FMain->EditRSRX->setEnabled(true);
        FMain->EditRSTX->setEnabled(true);
        FMain->EditCall->setText(call);
        FMain->EditRSRX->setText(rx);
        FMain->EditRSTX->setText(tx);
        FMain->ButtonSaveClick();
        QFETCH(QString, message);
        QCOMPARE(app->dialogs().texts(), QStringList{message});
        QCOMPARE(logRows(), 0);
        QFETCH(QString, focus);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    void aCallOfThreeCharactersIsAccepted() {
        enter("K1A");
        FMain->ButtonSaveClick();
        QVERIFY(app->dialogs().messages.isEmpty());
        QCOMPARE(logRows(), 1);
    }

    void editThenSaveRewritesTheSameRow() {
        enter("DL1ABC", "20", "CW");
        FMain->EditName->setText("Hans");
        FAwardAdd->EditUBA->setText("X");
        FAwardAdd->EditUBB->setText("Y");
        FAwardAdd->EditUBC->setText("Z");
        FMain->ButtonSaveClick();
        const qint64 nom = row()["LogNom"].toLongLong();
        DM->ConnectionLog->execute("UPDATE Log SET Log2 = '005', Log3 = '012', Log4 = '3' WHERE LogNom = ?",
                                   {nom});
        DM->TableLog->requery();
        DM->TableLog->last();

        FMain->ButtonEditClick();
        QCOMPARE(FMain->EntryState, 0);
        QVERIFY(!FMain->ButtonEdit->isEnabled());
        QVERIFY(!FMain->CheckBoxTime->isChecked());
        QCOMPARE(FMain->EditCall->text(), QString("DL1ABC"));
        QCOMPARE(FMain->EditName->text(), QString("Hans"));
        QCOMPARE(FMain->ComboBoxMode->currentText(), QString("CW"));
        QCOMPARE(FAwardAdd->EditUBA->text(), QString("X"));
        QCOMPARE(FAwardAdd->EditUBC->text(), QString("Z"));
        QCOMPARE(FMain->DatePicker->date(), QDate(2024, 3, 10));

        FMain->EditName->setText("Hans-Peter");
        FMain->ButtonSaveClick();
        QCOMPARE(logRows(), 1);
        const QVariantMap r = row();
        QCOMPARE(r["LogNom"].toLongLong(), nom);
        QCOMPARE(r["LogName"].toString(), QString("Hans-Peter"));
        QCOMPARE(r["LogAwUser2"].toString(), QString("X:;Y:;Z"));
        // The contest exchange it was logged with stays.
        QCOMPARE(r["Log2"].toString(), QString("005"));
        QCOMPARE(r["Log4"].toString(), QString("3"));
        QCOMPARE(FMain->EntryState, -1);
    }

    // Looking through the log while a contact is edited does not give it another contact's note.
    void browsingTheLogWhileEditingKeepsTheEditedNote() {
        enter("DL1ABC");
        FMain->EditNote->setText("first note");
        FMain->ButtonSaveClick();
        const qint64 edited = row()["LogNom"].toLongLong();
        enter("G4ABC");
        FMain->EditNote->setText("second note");
        FMain->ButtonSaveClick();
        DM->TableLog->gotoBookmark(edited);
        FMain->DBGridLogEnter(); // the grid has the focus: the note box follows its row
        FMain->ButtonEditClick();
        QCOMPARE(FMain->EditNote->text(), QString("first note"));
        DM->TableLog->locate("LogCall", "G4ABC");
        FMain->ButtonSaveClick();
        QCOMPARE(row("LogNom = " + QString::number(edited))["LogNotepad"].toString(), QString("first note"));
        QCOMPARE(row("LogCall = 'G4ABC'")["LogNotepad"].toString(), QString("second note"));
    }

    // Going into the call box to correct an edited contact keeps its note and locator.
    void correctingTheCallOfAnEditedContactKeepsItsNoteAndLocator() {
        enter("DL1ABC");
        FMain->EditNote->setText("a note");
        FMain->EditQTHLoc->setText("JO62");
        FMain->ButtonSaveClick();
        FMain->DBGridLogEnter();
        FMain->ButtonEditClick();
        FMain->EditCallEnter();
        FMain->EditCall->setText("DL1ABD");
        FMain->ButtonSaveClick();
        QCOMPARE(row()["LogCall"].toString(), QString("DL1ABD"));
        QCOMPARE(row()["LogNotepad"].toString(), QString("a note"));
        QCOMPARE(row()["LogQTHLoc"].toString(), QString("JO62"));
    }

    void editKeepsTheStoredReferences() {
        enter("UA3ABC");
        FAwardAdd->EditIOTANum->setText("EU-999");
        FMain->ButtonSaveClick();
        QCOMPARE(row()["LogAwIOTA"].toString(), QString("EU-999"));
        QCOMPARE(row()["LogAwUR"].toString(), QString("MAUA"));
        DM->ConnectionLog->execute("UPDATE Log SET LogAwUR = 'MOUA'");
        DM->TableLog->requery();
        DM->TableLog->last();
        FMain->ButtonEditClick();
        QCOMPARE(FAwardAdd->EditUSObl->text(), QString("MO"));
        FMain->ButtonSaveClick();
        QCOMPARE(row()["LogAwIOTA"].toString(), QString("EU-999"));
        QCOMPARE(row()["LogAwUR"].toString(), QString("MOUA"));
        // An empty region stays empty, and an odd user-award value is kept as it was.
        DM->ConnectionLog->execute("UPDATE Log SET LogAwUR = '', LogAwUser1 = 'A:;B'");
        DM->TableLog->requery();
        DM->TableLog->last();
        FMain->ButtonEditClick();
        FMain->ButtonSaveClick();
        QCOMPARE(row()["LogAwUR"].toString(), QString());
        QCOMPARE(row()["LogAwUser1"].toString(), QString("A:;B"));
    }

    void theButtonsWorkWhenClicked() {
        enter("G4ABC");
        QTest::mouseClick(FMain->ButtonSave, Qt::LeftButton);
        QCOMPARE(logRows(), 1);
        QCOMPARE(FMain->EditCall->text(), QString());
        QTest::mouseClick(FMain->ButtonEdit, Qt::LeftButton);
        QCOMPARE(FMain->EntryState, 0);
        QCOMPARE(FMain->EditCall->text(), QString("G4ABC"));
        QTest::mouseClick(FMain->ButtonClear, Qt::LeftButton);
        QCOMPARE(FMain->EntryState, -1);
        QCOMPARE(FMain->EditCall->text(), QString());
    }

    void editWithAnEmptyLogSaysSoAndWritesNothing() {
        FMain->ButtonEditClick();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(FMain->EntryState, -1);
        QVERIFY(FMain->ButtonEdit->isEnabled());
    }

    void savingAnEditOfADeletedRowSaysSoAndWritesNothing() {
        enter("G4ABC");
        FMain->ButtonSaveClick();
        FMain->ButtonEditClick();
        DM->ConnectionLog->execute("DELETE FROM Log");
        FMain->ButtonSaveClick();
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(logRows(), 0);
        QCOMPARE(FMain->EditCall->text(), QString("G4ABC")); // nothing the operator typed is lost
    }

    void aFailedMarkLeavesNoContactBehind() {
        DM->ConnectionLog->execute("DROP TABLE AwardMixInfo");
        enter("JA1ABC");
        QVERIFY(!Dialogs::guarded([] { FMain->ButtonSaveClick(); }));
        QCOMPARE(app->dialogs().messages.size(), 1);
        QCOMPARE(logRows(), 0);
        QCOMPARE(DM->TableLog->recordCount(), 0);
        QCOMPARE(FMain->EditCall->text(), QString("JA1ABC"));
    }

    void clearResetsThePanel() {
        enter("JA1ABC");
        FMain->EditName->setText("Taro");
        FMain->EditQSLRcvd->setText("Y");
        FMain->EntryState = 0;
        FMain->ButtonEdit->setEnabled(false);
        FMain->CheckBoxTime->setChecked(false);
        FMain->ButtonClearClick();
        QCOMPARE(FMain->EntryState, -1);
        QVERIFY(FMain->ButtonEdit->isEnabled());
        QVERIFY(FMain->CheckBoxTime->isChecked());
        for (QLineEdit* e : {FMain->EditCall, FMain->EditName, FMain->EditQSLRcvd, FMain->EditNote})
            QCOMPARE(e->text(), QString());
        QCOMPARE(FMain->EditRSRX->text(), QString("599"));
        QCOMPARE(FMain->EditRSTX->text(), QString("599"));
        QCOMPARE(FMain->LabelRegion->text(), QString("Country"));
        // Band and mode stay.
        QCOMPARE(FMain->ComboBoxBand->currentText(), QString("14"));
    }
};

QTEST_MAIN(TestStoreQso)
#include "tst_storeqso.moc"

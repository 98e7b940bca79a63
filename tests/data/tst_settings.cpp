// The settings store and the settings window after the real start-up: what Save writes to table
// Cfg, what comes back at the next start, and what the settings do to the other windows.
#include "app/StartUp.h"
#include "awards/UAwardAdd.h"
#include "dataset/Connection.h"
#include "data/SettingsStore.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "logbook/UQTHLoc.h"
#include "logbook/UVihod.h"
#include "media/UTimer.h"
#include "station/UCtrlTRX.h"
#include "support/AppFixture.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QTabWidget>
#include <QtTest>

namespace {

// Runs one statement on a database file of the data folder before the program opens it.
void execOn(TempDataFolder& folder, const QString& relative, const QString& sql,
            const QVariantList& binds = {}) {
    Connection c(QStringLiteral("tst_settings_prepare"));
    c.openFile(folder.file(relative));
    c.execute(sql, binds);
    c.close();
}

void storeRow(TempDataFolder& f, const QString& form, const QString& object, const QString& nameParam,
              const QString& param, const QString& prim) {
    execOn(f, DbFiles::Cfg,
           "INSERT INTO Cfg (FormName, Object, Name_Param, Param, Prim) VALUES (?, ?, ?, ?, ?)",
           {form, object, nameParam, param, prim});
}

// Rows of Cfg as "FormName|Object|Name_Param|Param|Prim", in table order.
QStringList cfgRows() {
    QStringList rows;
    QSqlQuery q(DM->ConnectionCfg->db());
    // Settings only: the shipped recording template is no setting.
    q.exec("SELECT FormName, Object, Name_Param, Param, Prim FROM Cfg WHERE FormName <> 'Fsound' ORDER BY Num");
    while (q.next())
        rows << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toString(), q.value(4).toString()}
                    .join('|');
    return rows;
}

QString storedParam(const QString& form, const QString& object) {
    return DM->ConnectionCfg
        ->scalar("SELECT Param FROM Cfg WHERE FormName = ? AND Object = ?", {form, object})
        .toString();
}

void clickSave() {
    QTest::mouseClick(FConfig->ButtonSave, Qt::LeftButton);
}

int errorCount(const ScriptedDialogs& d) {
    return int(std::count_if(d.messages.begin(), d.messages.end(),
                             [](const ShownMessage& m) { return m.type == DlgType::Error; }));
}

// The saved controls in the order Save stores them, each with the class it is stored under.
QStringList savedControlsInOrder() {
    QStringList out;
    const auto add = [&](const QString& names, const QString& prim) {
        for (const QString& n : names.split(' '))
            out << n + "|" + prim;
    };
    add("ComboBoxLanguage", "TComboBox");
    add("MaskEditC MaskEditN MaskEditQ MaskEditLat MaskEditLon MaskEditT MaskEdit2T", "TMaskEdit");
    add("EditQthLoc", "TEdit");
    add("CheckBoxUTC CheckBoxRxRst CheckBoxTxRst CheckBoxInfo CheckBoxName CheckBoxQth CheckBox1D CheckBox1T "
        "CheckBox1B CheckBox1M CheckBox1N CheckBox1Q CheckBox1RR CheckBox1TR CheckBox1QS CheckBox1QR "
        "CheckBox1Note "
        "CheckBox1QthLoc",
        "TCheckBox");
    add("ComboBoxBand ComboBoxMode", "TComboBox");
    add("MaskEditRxR MaskEditTxR", "TMaskEdit");
    add("EditName EditQth EditI", "TEdit");
    add("CBDxcc CBWaz CBWas CBIota CBUkRu CBDipA CBDipB", "TCheckBox");
    add("EditDipA EditDipB", "TEdit");
    add("CheckBoxInternal CheckBoxQRZ CheckBoxVCD CheckBoxQRZA CheckBoxVCDA", "TCheckBox");
    add("EditQRZ EditVCD", "TEdit");
    add("CheckBoxAutoIns CheckBoxAutoAudio CheckBoxAutoImage", "TCheckBox");
    add("EditPrDP EditPrMixW EditPrMMV EditPrCT EditPrTTTY EditPr1 EditPr2 EditPrNU1 EditPrNU2", "TEdit");
    add("EditF1 EditF2 EditF3 EditF4 EditF5 EditF6 EditF7 EditF8 EditF9 EditF10 EditF11 EditF12", "TEdit");
    add("EditMakros1 EditMakros2 EditMakros3 EditMakros4 EditMakros5 EditMakros6 EditMakros7 EditMakros8 "
        "EditMakros9 EditMakros10 EditMakros11 EditMakros12",
        "TEdit");
    add("ComboBoxTRXName ComboBoxPortTrx ComboBoxBaudRate", "TComboBox");
    return out;
}

// The control a stored row names in the exit or timer window; made here while those windows
// do not have it yet (a radio group is a box of radio buttons).
QWidget* controlFor(QWidget* window, const QString& name, const QString& prim) {
    if (auto* w = window->findChild<QWidget*>(name)) return w;
    QWidget* w = nullptr;
    if (prim == "TDateTimePicker") {
        w = new QDateTimeEdit(window);
    } else if (prim == "TRadioGroup") {
        w = new QGroupBox(window);
        new QRadioButton("Zelmor", w);
        new QRadioButton("Windows", w);
    } else if (prim == "TCheckBox") {
        w = new QCheckBox(window);
    } else {
        w = new QSpinBox(window);
    }
    w->setObjectName(name);
    return w;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

private slots:
    // --- rules without windows ------------------------------------------------------------

    void baudRateFromText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("baud");
        for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600})
            QTest::addRow("%d", rate) << QString::number(rate) << rate;
        QTest::newRow("not offered") << "115200" << 9600;
        QTest::newRow("letters") << "abc" << 9600;
        QTest::newRow("empty") << "" << 9600;
    }
    void baudRateFromText() {
        QFETCH(QString, text);
        QFETCH(int, baud);
        QCOMPARE(SettingsStore::trxBaudFromText(text), baud);
    }

    void storedDateTime_data() {
        QTest::addColumn<QString>("param");
        QTest::addColumn<QDateTime>("expected"); // invalid = unreadable
        QTest::newRow("date and time")
            << "10.03.2024 14:30:05" << QDateTime(QDate(2024, 3, 10), QTime(14, 30, 5));
        QTest::newRow("midnight has no time") << "10.03.2024" << QDateTime(QDate(2024, 3, 10), QTime(0, 0));
        QTest::newRow("no such day") << "31.02.2024 10:00:00" << QDateTime();
        QTest::newRow("hour 25") << "10.03.2024 25:00:00" << QDateTime();
        QTest::newRow("text") << "yesterday" << QDateTime();
    }
    void storedDateTime() {
        QFETCH(QString, param);
        QFETCH(QDateTime, expected);
        const auto read = SettingsStore::readDateTime(param);
        QCOMPARE(read.value_or(QDateTime()), expected);
    }

    void textRules() {
        QCOMPARE(SettingsStore::formConfigFilter("FMain", "ComboBoxBand"),
                 QStringLiteral("FormName = 'FMain' AND  Name_Param = 'ComboBoxBand'"));
        QCOMPARE(SettingsStore::formConfigFilter("F'Main", "Box"),
                 QStringLiteral("FormName = 'F''Main' AND  Name_Param = 'Box'"));
        QCOMPARE(SettingsStore::coordinateText(","), QString()); // nothing typed into the masked box
        QCOMPARE(SettingsStore::coordinateText("-,"), QString());
        QCOMPARE(SettingsStore::coordinateText("-23,34"), QStringLiteral("-23,34"));
    }

    // --- the window after start-up ----------------------------------------------------------

    void freshFolderShowsDesignValues() {
        AppFixture app;
        QCOMPARE(errorCount(app.dialogs()), 0);
        QVERIFY(cfgRows().isEmpty());
        QCOMPARE(FConfig->ComboBoxLanguage->currentText(), QStringLiteral("Default"));
        QCOMPARE(FConfig->MaskEditT->text() + FConfig->MaskEdit2T->text(), QStringLiteral("-0300"));
        QVERIFY(FConfig->CheckBoxUTC->isChecked() && FConfig->CheckBoxRxRst->isChecked());
        QVERIFY(!FConfig->CheckBoxInfo->isChecked() && !FConfig->CBDxcc->isChecked());
        // The pick-lists are filled and the boxes keep their design texts.
        QCOMPARE(FConfig->ComboBoxBand->currentText(), QStringLiteral("14"));
        QCOMPARE(FMain->ComboBoxMode->currentText(), QStringLiteral("SSB"));
        QVERIFY(FConfig->ComboBoxBand->count() > 5);
        QCOMPARE(FConfig->ComboBoxBand->count(), FMain->ComboBoxBand->count());
        QVERIFY(!FConfig->ComboBoxPortTrx->isEnabled()); // no transceiver

        // What start-up applied to the other windows.
        QCOMPARE(FMain->EditRSRX->text(), QStringLiteral("599"));
        QVERIFY(!FMain->EditRSRX->isEnabled());
        QVERIFY(!FMain->DigiPan1->isVisible());
        QVERIFY(!FMain->ButtonCBFindZelmor->isEnabled());
        QCOMPARE(FMain->ButtonF.at(6)->toolTip(), QStringLiteral("F7"));
        QCOMPARE(TrxSettings.TrxName, QStringLiteral("None"));
        QCOMPARE(TrxSettings.TrxBaud, 9600);
    }

    void firstSaveWritesEveryControlOnceInOrder() {
        AppFixture app;
        clickSave();
        QCOMPARE(errorCount(app.dialogs()), 0);
        const QStringList rows = cfgRows();
        const QStringList expected = savedControlsInOrder();
        QCOMPARE(rows.size(), 89);
        QCOMPARE(expected.size(), 89);
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList f = rows.at(i).split('|');
            QCOMPARE(f.at(0), QStringLiteral("FConfig"));
            QCOMPARE(f.at(1) + "|" + f.at(4), expected.at(i));
            QCOMPARE(f.at(2), f.at(4) == "TCheckBox" ? QStringLiteral("Checked") : QStringLiteral("Text"));
        }
        QCOMPARE(storedParam("FConfig", "CheckBoxUTC"), QStringLiteral("true"));
        QCOMPARE(storedParam("FConfig", "CheckBoxInfo"), QStringLiteral("false"));

        // A second Save edits the same rows.
        const auto numbers = [] {
            return DM->ConnectionCfg->scalar("SELECT group_concat(Num) FROM Cfg").toString();
        };
        const QString before = numbers();
        FConfig->MaskEditC->setText(QStringLiteral("UA3ABC"));
        clickSave();
        QCOMPARE(numbers(), before);
        QCOMPARE(storedParam("FConfig", "MaskEditC"), QStringLiteral("UA3ABC"));
    }

    void savedValuesComeBackAfterRestart() {
        AppFixture app;
        const QString longPath = "C:\\Program Files\\Digital modes\\" + QString(90, 'x') + "\\digipan.exe";
        QTest::keyClicks(FConfig->MaskEditC, "ua9xyz");
        FConfig->MaskEditLat->setText("-23,34");
        FConfig->MaskEditT->setText("+02");
        FConfig->CheckBoxUTC->setChecked(false);
        FConfig->CBIota->setChecked(true);
        FConfig->ComboBoxMode->setEditText("CW");
        FConfig->EditPrDP->setText(longPath);
        FConfig->EditDipA->setText("RDA");
        FConfig->ComboBoxTRXName->setCurrentText("Kenwood TS-570");
        FConfig->ComboBoxPortTrx->setEditText("/dev/ttyUSB0");
        FConfig->ComboBoxBaudRate->setEditText("4800");
        clickSave();

        StartUp::destroyObjects();
        StartUp::createObjects();
        StartUp::showMainWindow();

        QCOMPARE(errorCount(app.dialogs()), 0);
        QCOMPARE(cfgRows().size(), 89);
        QCOMPARE(FConfig->MaskEditC->text(), QStringLiteral("UA9XYZ"));
        QCOMPARE(FConfig->MaskEditLat->text(), QStringLiteral("-23,34"));
        QCOMPARE(FConfig->MaskEditT->text(), QStringLiteral("+02"));
        QVERIFY(!FConfig->CheckBoxUTC->isChecked());
        QCOMPARE(FMain->ComboBoxMode->currentText(), QStringLiteral("CW"));
        QCOMPARE(FConfig->EditPrDP->text(), longPath); // not cut
        QVERIFY(FMain->DigiPan1->isVisible());
        QCOMPARE(FConfig->CBDipA->text(), QStringLiteral("RDA"));
        QCOMPARE(TrxSettings.TrxPort, QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(TrxSettings.TrxBaud, 4800);
        QVERIFY(FConfig->ComboBoxPortTrx->isEnabled());
        QVERIFY(!FMain->GroupBoxIOTA->isHidden() && !FAwardAdd->GroupBoxIOTA->isHidden());
        QVERIFY(FMain->GroupBoxDXCC->isHidden());
    }

    void storedCheckBoxRow_data() {
        QTest::addColumn<QString>("param");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("true") << "true" << true;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("True") << "True" << false;
        QTest::newRow("empty") << "" << false;
    }
    void storedCheckBoxRow() {
        QFETCH(QString, param);
        QFETCH(bool, ticked);
        AppFixture app([&](TempDataFolder& f) {
            storeRow(f, "FConfig", "CheckBoxUTC", "Checked", param, "TCheckBox");
            storeRow(f, "FConfig", "CBWaz", "Checked", param, "TCheckBox");
        });
        QCOMPARE(FConfig->CheckBoxUTC->isChecked(), ticked);
        QCOMPARE(FMain->GroupBoxWAZ->isHidden(), !ticked);
    }

    void programPathLengthShowsMenuItem_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("shown");
        QTest::newRow("design C:\\") << "C:\\" << false;
        QTest::newRow("10 characters") << "C:\\MixW.ex" << false;
        QTest::newRow("11 characters") << "C:\\MixW.exe" << true;
    }
    void programPathLengthShowsMenuItem() {
        QFETCH(QString, path);
        QFETCH(bool, shown);
        AppFixture app;
        FConfig->EditPrMixW->setText(path);
        clickSave();
        QCOMPARE(FMain->MixW1->isVisible(), shown);
    }

    void unreadableBaudRateGives9600() {
        AppFixture app([](TempDataFolder& f) {
            storeRow(f, "FConfig", "ComboBoxBaudRate", "Text", "abc", "TComboBox");
            storeRow(f, "FConfig", "ComboBoxTRXName", "Text", "Kenwood TS-570", "TComboBox");
        });
        QCOMPARE(errorCount(app.dialogs()), 0);
        QCOMPARE(FConfig->ComboBoxBaudRate->currentText(), QStringLiteral("9600")); // the default stays
        QCOMPARE(TrxSettings.TrxName, QStringLiteral("Kenwood TS-570"));
        QCOMPARE(TrxSettings.TrxBaud, 9600);
    }

    void unreadableRowIsSkippedAndKept_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("nameParam");
        QTest::addColumn<QString>("prim");
        QTest::addColumn<QString>("badParam");
        QTest::addColumn<QString>("goodParam");
        QTest::newRow("exit time") << "FVihod"
                                   << "DateTimePicker1"
                                   << "DateTime"
                                   << "TDateTimePicker"
                                   << "31.02.2024 25:61:00"
                                   << "10.03.2024 14:30:00";
        QTest::newRow("exit choice") << "FVihod"
                                     << "RadioGroup1"
                                     << "ItemIndex"
                                     << "TRadioGroup"
                                     << "first"
                                     << "1";
        QTest::newRow("recording length") << "FTimer"
                                          << "SpinEdit1"
                                          << "Text"
                                          << "TEdit"
                                          << "three"
                                          << "3";
    }
    void unreadableRowIsSkippedAndKept() {
        QFETCH(QString, form);
        QFETCH(QString, object);
        QFETCH(QString, nameParam);
        QFETCH(QString, prim);
        QFETCH(QString, badParam);
        QFETCH(QString, goodParam);
        AppFixture app([&](TempDataFolder& f) {
            storeRow(f, form, object, nameParam, badParam, prim);
            storeRow(f, "FVihod", "CheckBox1", "Checked", "true", "TCheckBox");
        });
        QWidget* control =
            controlFor(form == "FVihod" ? static_cast<QWidget*>(FVihod) : FTimer, object, prim);
        auto* exitBox = qobject_cast<QCheckBox*>(controlFor(FVihod, "CheckBox1", "TCheckBox"));
        exitBox->setChecked(false);

        FConfig->LoadSettings();
        QCOMPARE(errorCount(app.dialogs()), 0);
        QVERIFY(exitBox->isChecked()); // loading went on after the bad row

        // Storing the control's default leaves the unreadable row alone...
        FConfig->SaveParam(form, object, nameParam, goodParam, prim);
        QCOMPARE(storedParam(form, object), badParam);
        // ...until the user sets the control.
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
            spin->stepBy(1); // arrows and the wheel change the value without finishing an edit
        else
            control->findChildren<QRadioButton*>().at(1)->click();
        FConfig->SaveParam(form, object, nameParam, goodParam, prim);
        QCOMPARE(storedParam(form, object), goodParam);
    }

    void failedSaveIsAllOrNothing() {
        AppFixture app;
        DM->ConnectionCfg->execute("CREATE TRIGGER refuse BEFORE INSERT ON Cfg WHEN NEW.Object = 'EditF5' "
                                   "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        FConfig->ComboBoxLanguage->setCurrentText("Russian");
        clickSave();
        QCOMPARE(errorCount(app.dialogs()), 1);
        QVERIFY(app.dialogs().lastText().contains("disk full"));
        QVERIFY(cfgRows().isEmpty());
        // Nothing stored, nothing applied: the captions stay and so does the typed choice.
        QCOMPARE(FConfig->PageControl1->tabText(0), QStringLiteral("Main"));
        QCOMPARE(FConfig->ComboBoxLanguage->currentText(), QStringLiteral("Russian"));

        DM->ConnectionCfg->execute("DROP TRIGGER refuse");
        clickSave();
        QCOMPARE(cfgRows().size(), 89);
        QCOMPARE(FConfig->PageControl1->tabText(0), QStringLiteral("Главное"));

        // A failure while editing stored rows keeps every earlier value.
        DM->ConnectionCfg->execute("CREATE TRIGGER refuse BEFORE UPDATE ON Cfg WHEN NEW.Object = 'EditF5' "
                                   "BEGIN SELECT RAISE(ABORT, 'locked'); END");
        FConfig->MaskEditC->setText("UA1BBB");
        FConfig->EditF1->setText("changed");
        clickSave();
        QCOMPARE(errorCount(app.dialogs()), 2);
        QCOMPARE(storedParam("FConfig", "MaskEditC"), QString());
        QCOMPARE(storedParam("FConfig", "EditF1"), QStringLiteral("F1"));
        QCOMPARE(FMain->ButtonF.at(0)->toolTip(), QStringLiteral("F1"));
    }

    void saveAppliesSettingsToTheOtherWindows() {
        AppFixture app;
        FConfig->CheckBoxName->setChecked(true);
        FConfig->EditName->setText("Ivan");
        FConfig->CheckBoxRxRst->setChecked(false);
        FConfig->MaskEditRxR->setText("59");
        FConfig->EditQth->setText("Moscow"); // its box is unticked: the QTH is emptied
        FMain->EditQTH->setText("typed");
        FConfig->CheckBox1B->setChecked(false);
        FConfig->CheckBox1Note->setChecked(false);
        FConfig->CBDxcc->setChecked(true);
        FConfig->CBWas->setChecked(true);
        FConfig->CBDipB->setChecked(true);
        FConfig->CheckBoxAutoImage->setChecked(true);
        FConfig->EditF3->setText("CQ DX");
        FConfig->EditQthLoc->setText("KO85TS");
        FConfig->MaskEditLat->setText("55,75");
        clickSave();

        QCOMPARE(FMain->EditName->text(), QStringLiteral("Ivan"));
        QVERIFY(!FMain->EditName->isEnabled());
        QCOMPARE(FMain->EditRSRX->text(), QStringLiteral("59"));
        QVERIFY(FMain->EditRSRX->isEnabled());
        QCOMPARE(FMain->EditQTH->text(), QString());
        QVERIFY(FMain->EditQTH->isEnabled());
        QVERIFY(!FMain->DBGridLog->columnVisible("LogBand"));
        QVERIFY(!FMain->DBGridLog->columnVisible("LogNotepad"));
        QVERIFY(FMain->DBGridLog->columnVisible("LogDate"));
        QVERIFY(!FMain->GroupBoxDXCC->isHidden());
        QVERIFY(FMain->GroupBoxWAZ->isHidden());
        QVERIFY(!FAwardAdd->GroupBoxWas->isHidden());
        QVERIFY(FAwardAdd->GroupBoxUserAwA->isHidden());
        QVERIFY(!FAwardAdd->GroupBoxUserAwB->isHidden());
        QVERIFY(FMain->ViewImagesAutoView->isChecked());
        QVERIFY(!FMain->ViewSoundAutoSave->isChecked());
        QCOMPARE(FMain->ButtonF.at(2)->toolTip(), QStringLiteral("CQ DX"));
        QCOMPARE(FQTHLoc->EditMy->text(), QStringLiteral("KO85TS"));
        QCOMPARE(FQTHLoc->EditMyLat->text(), QStringLiteral("55,75"));
        QCOMPARE(FQTHLoc->EditMyLong->text(), QString()); // an empty masked box is no coordinate

        FConfig->CheckBoxName->setChecked(false);
        FConfig->CheckBox1B->setChecked(true);
        clickSave();
        QCOMPARE(FMain->EditName->text(), QString());
        QVERIFY(FMain->EditName->isEnabled());
        QVERIFY(FMain->DBGridLog->columnVisible("LogBand"));
    }

    void callbookOnWithFileMissingWarnsOnceAndStaysOff() {
        AppFixture app([](TempDataFolder& f) { QFile::remove(f.file(DbFiles::CallBook)); });
        app.dialogs().clear();
        FConfig->CheckBoxInternal->setChecked(true);
        FConfig->CheckBoxInternalA->setChecked(true);
        clickSave();
        QCOMPARE(app.dialogs().messages.size(), 1);
        QCOMPARE(app.dialogs().messages.first().type, DlgType::Warning);
        QVERIFY(app.dialogs().lastText().contains(" not exist. "));
        QVERIFY(!FConfig->CheckBoxInternal->isChecked() && !FConfig->CheckBoxInternalA->isChecked());
        QCOMPARE(storedParam("FConfig", "CheckBoxInternal"), QStringLiteral("false"));
        QVERIFY(!FMain->ButtonCBFindZelmor->isEnabled());
    }

    void callbookOnAndOffAgain() {
        AppFixture app;
        QVERIFY(FMain->PopupMenuCB == nullptr); // off at start
        FConfig->CheckBoxInternal->setChecked(true);
        clickSave();
        QVERIFY(app.dialogs().messages.isEmpty());
        QVERIFY(FMain->ButtonCBFindZelmor->isEnabled() && FMain->ButtonCBEdit->isEnabled());
        QVERIFY(FMain->PopupMenuCB != nullptr);
        FConfig->CheckBoxInternal->setChecked(false);
        clickSave();
        QVERIFY(!FMain->ButtonCBEdit->isEnabled());
        QVERIFY(FMain->PopupMenuCB == nullptr);
    }

    void windowHandlers() {
        AppFixture app;
        FConfig->ShowNonModal();
        QVERIFY((FConfig->frameGeometry().center() - FMain->frameGeometry().center()).manhattanLength() <= 8);

        QTest::keyClicks(FConfig->EditDipA, "RDA");
        QCOMPARE(FConfig->CBDipA->text(), QStringLiteral("RDA"));
        FConfig->ComboBoxTRXName->setCurrentText("Kenwood TS-570");
        QVERIFY(FConfig->ComboBoxPortTrx->isEnabled() && FConfig->ComboBoxBaudRate->isEnabled());
        FConfig->ComboBoxTRXName->setCurrentText("None");
        QVERIFY(!FConfig->ComboBoxBaudRate->isEnabled());

        // "Close" stores nothing; the controls keep what was typed; the window turns to its first page.
        QTest::keyClicks(FConfig->MaskEditQ, "Kiev");
        FConfig->PageControl1->setCurrentIndex(4);
        QTest::mouseClick(FConfig->ButtonClose, Qt::LeftButton);
        QVERIFY(!FConfig->isVisible());
        QVERIFY(cfgRows().isEmpty());
        QCOMPARE(FConfig->MaskEditQ->text(), QStringLiteral("Kiev"));
        QCOMPARE(FConfig->PageControl1->currentIndex(), 0);

        // "Save and Exit" stores, applies and closes.
        FConfig->ShowNonModal();
        FConfig->PageControl1->setCurrentIndex(8);
        FConfig->EditF9->setText("73");
        QTest::mouseClick(FConfig->ButtonSaveExit, Qt::LeftButton);
        QVERIFY(!FConfig->isVisible());
        QCOMPARE(cfgRows().size(), 89);
        QCOMPARE(FMain->ButtonF.at(8)->toolTip(), QStringLiteral("73"));
        QCOMPARE(FConfig->PageControl1->currentIndex(), 0);
    }

    void ownLocatorBoxClicks() {
        AppFixture app;
        FConfig->ShowNonModal();
        // No coordinates typed: nothing to convert, nothing said.
        QTest::mouseClick(FConfig->EditQthLoc, Qt::LeftButton);
        QVERIFY(app.dialogs().messages.isEmpty());
        QCOMPARE(FConfig->EditQthLoc->text(), QString());

        FConfig->MaskEditLat->setText("50,45");
        FConfig->MaskEditLon->setText("30,52");
        QTest::mouseClick(FConfig->EditQthLoc, Qt::LeftButton);
        QCOMPARE(FConfig->EditQthLoc->text(), QStringLiteral("KO50GK"));
        FConfig->EditQthLoc->setText("KN29AA"); // a filled box is left alone
        QTest::mouseClick(FConfig->EditQthLoc, Qt::LeftButton);
        QCOMPARE(FConfig->EditQthLoc->text(), QStringLiteral("KN29AA"));

        // A double click opens the locator window and afterwards gives it the own station.
        FQTHLoc->EditMy->clear();
        QTest::mouseDClick(FConfig->EditQthLoc, Qt::LeftButton);
        QCOMPARE(app.dialogs().modalShown, QList<QWidget*>{FQTHLoc});
        QCOMPARE(FQTHLoc->EditMy->text(), QStringLiteral("KN29AA"));
        QCOMPARE(FQTHLoc->EditMyLat->text(), QStringLiteral("50,45"));
    }

    void closingReturnsToTheCurrentBook() {
        AppFixture app([](TempDataFolder& f) {
            execOn(f, DbFiles::Log, "INSERT INTO LogName (Name, Prim, Sel) VALUES ('Field day', '', 0)");
        });
        const int current = FMain->Tag;
        FConfig->ShowNonModal();
        QVERIFY(DM->TableLogName->locate("Name", "Field day"));
        QVERIFY(FMain->Tag != current);
        FConfig->Close();
        QCOMPARE(FMain->Tag, current);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"

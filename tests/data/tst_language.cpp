// The caption language after the real start-up: which column of table Language the stored choice
// reads, how captions reach the windows after Save, and the rule by which messages pick Russian.
#include "awards/UAwards.h"
#include "contest/UCabrill.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "contest/USked.h"
#include "data/CaptionLanguage.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "logbook/UFilter.h"
#include "logbook/UMain.h"
#include "logbook/UQTHLoc.h"
#include "logbook/UVihod.h"
#include "media/UImage.h"
#include "media/USound.h"
#include "media/UTimer.h"
#include "support/AppFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QtTest>

namespace {

// Changes the settings database of the data folder before the program opens it.
void execOn(TempDataFolder& folder, const QStringList& statements) {
    Connection c(QStringLiteral("tst_language_prepare"));
    c.openFile(folder.file(DbFiles::Cfg));
    for (const QString& s : statements)
        c.execute(s);
    c.close();
}

QString storedLanguageRow(const QString& language) {
    return "INSERT INTO Cfg (FormName, Object, Name_Param, Param, Prim) VALUES ('FConfig', "
           "'ComboBoxLanguage', "
           "'Text', '" +
           language + "', 'TComboBox')";
}

QString captionOf(const QObject* o) {
    if (auto* a = qobject_cast<const QAction*>(o)) return a->text();
    if (auto* m = qobject_cast<const QMenu*>(o)) return m->title();
    if (auto* b = qobject_cast<const QAbstractButton*>(o)) return b->text();
    if (auto* l = qobject_cast<const QLabel*>(o)) return l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(o)) return g->title();
    return QStringLiteral("<no caption>");
}

QWidget* windowNamed(const QString& name) {
    if (name == "FConfig") return FConfig;
    if (name == "FMain") return FMain;
    if (name == "FQTHLoc") return FQTHLoc;
    if (name == "Filter") return Filter;
    if (name == "FSound") return FSound;
    if (name == "FImage") return FImage;
    if (name == "FAwards") return FAwards;
    if (name == "FContConf") return FContConf;
    if (name == "FCont") return FCont;
    if (name == "FVihod") return FVihod;
    if (name == "FCabrillo") return FCabrillo;
    if (name == "FSkeds") return FSkeds;
    if (name == "FTimer") return FTimer;
    return nullptr;
}

// Rows of table Language: FormName, Object, Russ, En, De, Fr, oth, Prim.
QList<QStringList> languageRows() {
    QList<QStringList> rows;
    QSqlQuery q(DM->ConnectionCfg->db());
    q.exec("SELECT FormName, Object, Russ, En, De, Fr, oth, Prim FROM Language ORDER BY Num");
    while (q.next()) {
        QStringList r;
        for (int i = 0; i < 8; ++i)
            r << q.value(i).toString();
        rows << r;
    }
    return rows;
}

const QStringList russianPages{"Главное",        "Лог",   "По умолчанию",     "Дипломы",
                               "Базы данных",    "Медиа", "Внешние программ", "Подсказки F клавиш",
                               "Внешние устр-ва"};
const QStringList otherPages{"Main",  "Log",      "Default",    "Awards",          "DataBase",
                             "Media", "Ext Soft", "F Key Hint", "External devices"};

QStringList pagesOf(const QTabWidget* tabs) {
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i)
        out << tabs->tabText(i);
    return out;
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT

private slots:
    void messagesAreEnglishBeforeTheSettingsWindowExists() {
        QVERIFY(FConfig == nullptr);
        QCOMPARE(Msg("File", "Файл"), QStringLiteral("File"));
    }

    void shippedCaptionsNameRealControlsInEveryLanguage() {
        AppFixture app;
        const QList<QStringList> rows = languageRows();
        QVERIFY(rows.size() > 100);
        for (const QStringList& r : rows) {
            const QString where = r.at(0) + "." + r.at(1);
            if (r.at(7) == "RunTime") { // words of run-time captions: no control, but every language
                for (int i = 2; i <= 6; ++i)
                    QVERIFY2(!r.at(i).isEmpty(), qPrintable(where));
                continue;
            }
            QObject* control = findNamedChild(windowNamed(r.at(0)), r.at(1));
            QVERIFY2(control, qPrintable(where + " names no control"));
            QVERIFY2(CaptionLanguage::setterFor(r.at(7)) != CaptionLanguage::CaptionSetter::None,
                     qPrintable(where));
            for (int i = 2; i <= 6; ++i)
                QVERIFY2(!r.at(i).isEmpty(), qPrintable(where));
            QCOMPARE(r.at(3), r.at(6));            // English is the design text
            QCOMPARE(captionOf(control), r.at(6)); // "Default" shows the design texts
        }
    }

    // Every menu item, button, check box, group box and label with a design text in the windows
    // that follow the language has its captions (names of formats, awards and programs, and texts
    // the program sets at run time, are left out).
    void everyCaptionedControlHasItsCaptions_data() {
        QTest::addColumn<QString>("window");
        for (const char* w : {"FConfig", "FMain", "FQTHLoc", "FAwards", "Filter", "FImage", "FSound",
                              "FTimer", "FVihod", "FSkeds"})
            QTest::newRow(w) << w;
    }
    void everyCaptionedControlHasItsCaptions() {
        QFETCH(QString, window);
        AppFixture app;
        QWidget* form = windowNamed(window);
        QVERIFY(form);
        QSet<QString> named;
        for (const QStringList& r : languageRows())
            if (r.at(0) == window) named.insert(r.at(1));
        QStringList missing;
        // Names of formats, awards, programs and discs read the same in every language.
        const QStringList names{"ADIF",   "Cabrilo",  "Excel (*.csv)", "DXCC",    "WAZ",     "Iota",
                                "IOTA",   "Ukr Russ", "WAS",           "Award 1", "Award 2", "DigiPan",
                                "MixW",   "MMVari",   "CwType",        "TrueTTY", "Pr5",     "Pr6",
                                "Zelmor", "Kenwood",  "QRZ",           "VCD"};
        // Texts the program sets while it runs: counts, look-up results, states, copied captions.
        const QStringList setAtRunTime{
            "FMain.GroupBoxRepeat", "FMain.GroupBoxDXCC", "FMain.GroupBoxWAZ",    "FMain.GroupBoxUR",
            "FMain.GroupBoxIOTA",   "FMain.LabelPref",    "FMain.LabelContinent", "FMain.LabelRegion",
            "FMain.Label23",        "FMain.LabelCBName",  "FMain.Label25",        "FMain.LabelCBNote",
            "FAwards.ButtonWC",     "FAwards.LabelWC",    "FAwards.LabelTotal",   "FSound.Label1"};
        const auto check = [&](const QObject* o, const QString& text) {
            const QString name = o->objectName();
            if (name.isEmpty() || names.contains(text) || name.startsWith("ButtonF")) return;
            if (setAtRunTime.contains(window + "." + name)) return;
            if (!text.contains(QRegularExpression("\\p{L}\\p{L}"))) return; // numbers, marks, keys
            if (name.startsWith("ItemLog") || name == "LogLog1" || named.contains(name)) return;
            missing << name + " \"" + text + "\"";
        };
        for (const QAction* a : form->findChildren<QAction*>())
            if (!a->isSeparator() && !a->menu()) check(a, a->text());
        for (const QMenu* m : form->findChildren<QMenu*>())
            check(m, m->title());
        for (const QAbstractButton* b : form->findChildren<QAbstractButton*>())
            check(b, b->text());
        for (const QGroupBox* g : form->findChildren<QGroupBox*>())
            check(g, g->title());
        for (const QLabel* l : form->findChildren<QLabel*>())
            check(l, l->text());
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
    }

    void savingRussianRelabelsWindowsAndTabs() {
        AppFixture app;
        QCOMPARE(pagesOf(FConfig->PageControl1), otherPages);
        FConfig->ComboBoxLanguage->setCurrentText("Russian");
        QTest::mouseClick(FConfig->ButtonSave, Qt::LeftButton);

        QCOMPARE(pagesOf(FConfig->PageControl1), russianPages);
        for (const QStringList& r : languageRows())
            if (r.at(7) != "RunTime")
                QCOMPARE(captionOf(findNamedChild(windowNamed(r.at(0)), r.at(1))), r.at(2));
        // The awards window's count captions follow as well, as soon as the language is saved.
        FAwards->ButtonWCClick();
        QCOMPARE(FAwards->LabelWC->text(), QStringLiteral("Сработано"));
        QCOMPARE(FAwards->ButtonWC->text(), QStringLiteral("Подтверждено"));
        QVERIFY2(FAwards->LabelTotal->text().startsWith(QStringLiteral("Всего сработано ")),
                 qPrintable(FAwards->LabelTotal->text()));
        // The callbook panel repeats four captions of the entry panel.
        QVERIFY(FMain->Label1->text() != QStringLiteral("Callsignal"));
        QCOMPARE(FMain->Label23->text(), FMain->Label1->text());
        QCOMPARE(FMain->Label25->text(), FMain->Label11->text());
        QCOMPARE(FMain->LabelCBNote->text(), FMain->Label12->text());
        QCOMPARE(FMain->LabelCBName->text(), FMain->Label4->text());
        QVERIFY(MessagesInRussian());

        FConfig->ComboBoxLanguage->setCurrentText("English");
        QTest::mouseClick(FConfig->ButtonSave, Qt::LeftButton);
        QCOMPARE(pagesOf(FConfig->PageControl1), otherPages);
        QCOMPARE(FMain->Label23->text(), QStringLiteral("Callsignal"));
        QCOMPARE(FAwards->LabelWC->text(), QStringLiteral("Worked"));
        QVERIFY(!MessagesInRussian());
    }

    void storedChoicePicksColumn_data() {
        QTest::addColumn<QString>("stored"); // empty: no language row at all
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("box");
        QTest::newRow("no row") << ""
                                << "O-mark"
                                << "Default";
        QTest::newRow("Default") << "Default"
                                 << "O-mark"
                                 << "Default";
        QTest::newRow("English") << "English"
                                 << "E-mark"
                                 << "English";
        QTest::newRow("Deutsch") << "Deutsch"
                                 << "D-mark"
                                 << "Deutsch";
        QTest::newRow("France") << "France"
                                << "F-mark"
                                << "France";
        QTest::newRow("Russian") << "Russian"
                                 << "R-mark"
                                 << "Russian";
        QTest::newRow("lower case") << "russian"
                                    << "O-mark"
                                    << "";
    }
    void storedChoicePicksColumn() {
        QFETCH(QString, stored);
        QFETCH(QString, caption);
        QFETCH(QString, box);
        AppFixture app([&](TempDataFolder& f) {
            QStringList sql{
                "UPDATE Language SET Russ = 'R-mark', En = 'E-mark', De = 'D-mark', Fr = 'F-mark', "
                "oth = 'O-mark' WHERE FormName = 'FConfig' AND Object = 'ButtonSave'"};
            if (!stored.isEmpty()) sql << storedLanguageRow(stored);
            execOn(f, sql);
        });
        QCOMPARE(FConfig->ButtonSave->text(), caption);
        QCOMPARE(FConfig->ComboBoxLanguage->currentText(), box);
        QCOMPARE(MessagesInRussian(), stored == "Russian");
        QCOMPARE(FConfig->PageControl1->tabText(8), (stored == "Russian" ? russianPages : otherPages).at(8));
    }

    void rowsThatChangeNothing() {
        AppFixture app([](TempDataFolder& f) {
            execOn(f, {"UPDATE Language SET Russ = '' WHERE FormName = 'FConfig' AND Object = 'ButtonClose'",
                       "UPDATE Language SET Russ = '' WHERE FormName = 'FMain' AND Object = 'LogMenu'",
                       "INSERT INTO Language (FormName, Object, Russ, En, De, Fr, oth, Prim) VALUES "
                       "('FConfig', 'EditQRZ', 'X', 'X', 'X', 'X', 'X', 'TEdit'), "
                       "('FConfig', 'CheckBoxQRZ', 'X', 'X', 'X', 'X', 'X', 'TCheckBoxes'), "
                       "('FConfig', 'NoSuchControl', 'X', 'X', 'X', 'X', 'X', 'TLabel'), "
                       "('FNoSuchWindow', 'ButtonSave', 'X', 'X', 'X', 'X', 'X', 'TButton')",
                       storedLanguageRow("Russian")});
        });
        QVERIFY(app.dialogs().messages.isEmpty());
        // An empty cell keeps the design caption, control by control.
        QCOMPARE(FConfig->ButtonClose->text(), QStringLiteral("Close"));
        QCOMPARE(FMain->LogMenu->title(), QStringLiteral("Log"));
        QVERIFY(FConfig->ButtonSave->text() != QStringLiteral("Save"));
        QVERIFY(FMain->ViewMenu->title() != QStringLiteral("View"));
        // "TEdit" and unknown classes set nothing; unknown controls and windows are skipped.
        QCOMPARE(FConfig->EditQRZ->text(), QStringLiteral("D:\\Callbk\\QRZ"));
        QCOMPARE(FConfig->CheckBoxQRZ->text(), QStringLiteral("QRZ"));
    }

    void unsavedChoiceChangesMessagesNotCaptions() {
        AppFixture app([](TempDataFolder& f) { execOn(f, {storedLanguageRow("English")}); });
        QVERIFY(!MessagesInRussian());
        FConfig->ComboBoxLanguage->setCurrentText("Russian");
        QCOMPARE(Msg("Delete QSO?", "Удалить QSO?"), QStringLiteral("Удалить QSO?"));
        QCOMPARE(FConfig->ButtonSave->text(), QStringLiteral("Save"));
        QCOMPARE(FConfig->PageControl1->tabText(0), QStringLiteral("Main"));
        QCOMPARE(FMain->Label1->text(), QStringLiteral("Callsignal"));
        for (const char* other : {"Deutsch", "France", "Default"}) {
            FConfig->ComboBoxLanguage->setCurrentText(other);
            QVERIFY2(!MessagesInRussian(), other);
        }
    }

    void everyStoredSettingReappliesStoredLanguage() {
        AppFixture app;
        FConfig->SaveParam("FConfig", "ComboBoxLanguage", "Text", "Russian", "TComboBox");
        QCOMPARE(FConfig->PageControl1->tabText(0), russianPages.at(0));
        QVERIFY(FMain->Label1->text() != QStringLiteral("Callsignal"));
        // Storing any other setting puts the box back on the stored choice.
        FConfig->ComboBoxLanguage->setCurrentText("France");
        FConfig->SaveParam("FVihod", "CheckBox1", "Checked", "false", "TCheckBox");
        QCOMPARE(FConfig->ComboBoxLanguage->currentText(), QStringLiteral("Russian"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

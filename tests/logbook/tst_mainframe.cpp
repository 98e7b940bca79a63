// The main window's frame, as built and after the real start-up: menus, pop-up menus, the
// windows its items open, "Refresh All Logs", the end of the program, the about box, the design
// texts and the layout.
#include "awards/UAwardAdd.h"
#include "awards/UAwards.h"
#include "data/UConfig.h"
#include "logbook/UAbout.h"
#include "logbook/UFilter.h"
#include "logbook/UFilterCall.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "logbook/UQTHLoc.h"
#include "media/UImage.h"
#include "media/USound.h"
#include "platform/DataFolder.h"
#include "platform/Dialogs.h"
#include "support/AppFixture.h"
#include "widgets/BoxColour.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

// A menu (or the menu bar) as one line: "name=caption" per item joined by "|", "-" for a
// separator, ">" after a submenu, and in brackets what sets an item apart from a plain one:
// its radio group or "check", "checked", "hidden", "disabled" and its shortcut.
QString layoutOf(const QWidget* m) {
    QStringList parts;
    for (QAction* a : m->actions()) {
        if (a->isSeparator()) {
            parts << QStringLiteral("-");
            continue;
        }
        QString part = (a->menu() ? a->menu()->objectName() : a->objectName()) + "=" + a->text();
        if (a->menu()) part += ">";
        QStringList marks;
        if (a->actionGroup())
            marks << "radio:" + a->actionGroup()->objectName() +
                         (a->actionGroup()->isExclusive() ? QString() : QStringLiteral("(not exclusive)"));
        else if (a->isCheckable())
            marks << QStringLiteral("check");
        if (a->isChecked()) marks << QStringLiteral("checked");
        if (!a->isVisible()) marks << QStringLiteral("hidden");
        // A hidden item also reads as disabled.
        if (a->isVisible() && !a->isEnabled()) marks << QStringLiteral("disabled");
        if (!a->shortcut().isEmpty()) marks << a->shortcut().toString(QKeySequence::PortableText);
        if (!marks.isEmpty()) part += "[" + marks.join(' ') + "]";
        parts << part;
    }
    return parts.join('|');
}

// One data row of text columns.
void textRow(const char* tag, std::initializer_list<const char*> texts) {
    QTestData& row = QTest::newRow(tag);
    for (const char* t : texts)
        row << QString::fromUtf8(t);
}

QAction* itemOf(QObject* o) {
    if (auto* m = qobject_cast<QMenu*>(o)) return m->menuAction();
    return qobject_cast<QAction*>(o);
}

QAction* item(const QString& name) {
    return itemOf(FMain->findControl(name));
}

QWidget* window(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

QString textOf(const QObject* o) {
    if (auto* l = qobject_cast<const QLabel*>(o)) return l->text();
    if (auto* e = qobject_cast<const QLineEdit*>(o)) return e->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(o)) return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(o)) return g->title();
    if (auto* c = qobject_cast<const QComboBox*>(o)) return c->currentText();
    return QStringLiteral("<no text>");
}

// Runs the application's event loop until the program quits; a loop that does not end by
// itself is stopped by the guard and returns 99.
int runUntilQuit() {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    const int rc = QCoreApplication::exec();
    guard.stop();
    return rc;
}

// Controls laid out on a panel or in a group that stick out of it, cover a visible neighbour,
// or (with wholeTexts) cannot show their whole text.
QStringList layoutFaults(bool wholeTexts) {
    QStringList faults;
    QList<QWidget*> containers{FMain->PanelIO, FMain->PanelInfo, FMain->PanelGrid, FMain->PanelDop};
    for (QGroupBox* g : FMain->findChildren<QGroupBox*>())
        containers << g;
    for (QWidget* panel : containers) {
        if (!panel->isVisible()) continue;
        if (!FMain->centralWidget()->rect().contains(
                QRect(panel->mapTo(FMain->centralWidget(), QPoint(0, 0)), panel->size())))
            faults << panel->objectName() + " sticks out of the window";
        QList<QWidget*> kids;
        for (QWidget* k : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (k->isVisible() && !k->isWindow()) kids << k;
        for (int i = 0; i < kids.size(); ++i) {
            QWidget* k = kids[i];
            const QString what = panel->objectName() + "/" + k->objectName() + " '" + textOf(k) + "'";
            if (!panel->rect().contains(k->geometry())) faults << what + " sticks out";
            if (k->width() < k->minimumSizeHint().width() && k->minimumWidth() != k->maximumWidth())
                faults << what + " is squeezed";
            if (auto* l = qobject_cast<QLabel*>(k);
                l && wholeTexts && l->width() < l->fontMetrics().horizontalAdvance(l->text()))
                faults << what + " is cut";
            for (int j = i + 1; j < kids.size(); ++j)
                if (k->geometry().intersects(kids[j]->geometry()))
                    faults << what + " overlaps " + kids[j]->objectName() + " '" + textOf(kids[j]) + "'";
        }
    }
    return faults;
}

} // namespace

class TestMainFrame : public QObject {
    Q_OBJECT
private slots:
    void menuLayout_data();
    void menuLayout();
    void logBookItemsStandAboveTheTemplate();

    void refreshAllLogsAsksBothTexts_data();
    void refreshAllLogsAsksBothTexts();
    void modalWindows_data();
    void modalWindows();
    void awardsManagerOpensOnDxcc();
    void windowsShownWithoutBlocking_data();
    void windowsShownWithoutBlocking();
    void viewImagesWhilePictureWindowIsShown();

    void closingTheMainWindowEndsTheProgram_data();
    void closingTheMainWindowEndsTheProgram();

    void startUpTakesTheWholeWorkingDirectory_data();
    void startUpTakesTheWholeWorkingDirectory();
    void informationPanelShowsResetTexts_data();
    void informationPanelShowsResetTexts();
    void awardLabelsNamedAndBlack_data();
    void awardLabelsNamedAndBlack();
    void callbookPopupAttachesAndDetaches();
    void awardPopupBelongsToTheInfoPanel();
    void aboutBoxShowsTheProgramAndClosesWithOk();

    void designTexts_data();
    void designTexts();
    void upperCaseBoxes_data();
    void upperCaseBoxes();
    void frameIsFixedCentredAndMinimisable();
    void stopwatchTimerBuiltStopped();
    void controlsFitInsideTheirPanels();
    void laterTextsAndContestModeKeepTheLayout();
};

// --- menus --------------------------------------------------------------------------------------

void TestMainFrame::menuLayout_data() {
    QTest::addColumn<QString>("menuName");
    QTest::addColumn<QString>("expected");
    auto row = [](const char* menuName, const char* expected) {
        QTest::newRow(menuName) << QString::fromLatin1(menuName) << QString::fromLatin1(expected);
    };
    row("MainMenuLog",
        "LogMenu=Log>|ViewMenu=View>|ContestMenu=Contest>|Tools=Tools>|Programs1=External Soft>|"
        "Devices=Devices>|Options=Options>|Help=Help>");
    row("LogMenu", "LogLog1=Log1~[radio:LogBookGroup checked hidden]|-|LogAdd=Add|-|LogImport=Import>|"
                   "LogExport=Export>|-|LogRefresh=Refresh All Logs|-|LogDelete=Delete QSO|LogClear=Clear|-|"
                   "LogExit=Exit");
    row("LogImport", "LogImportADIF=ADIF");
    row("LogExport", "LogExportADIF=ADIF");
    row("ViewMenu",
        "ViewSort=Sorted by>|ViewFilter=Filter|ViewFilterCall=Filter Callsignal|-|ViewImages=Images>|"
        "ViewSound=Sound>");
    row("ViewSort",
        "ViewSortCall=Callsignal[radio:ViewSortGroup Ctrl+C]|"
        "ViewSortDate=Date[radio:ViewSortGroup checked Ctrl+D]|"
        "ViewSortBand=Band[radio:ViewSortGroup Ctrl+B]|ViewSortMode=Mode[radio:ViewSortGroup Ctrl+M]|"
        "ViewSortQTH=QTH[radio:ViewSortGroup Ctrl+Q]|ViewSortName=Name[radio:ViewSortGroup Ctrl+N]|"
        "ViewSortRcvdQSL=Rcvd QSL[radio:ViewSortGroup]|ViewSortSendQSL=Send QSL[radio:ViewSortGroup]");
    row("ViewImages", "ViewImagesView=View Images|ViewImagesAutoView=Auto view images[check]");
    row("ViewSound", "ViewSoundPlayer=Player|ViewSoundAutoSave=Sound AutoSave[check]|-|ViewSoundTimer=Timer|"
                     "ViewSoundAlarm=Alarm");
    row("ContestMenu",
        "ContestViewInfo=View Info[radio:ContestGroup]|-|ContestBegin=Begin[radio:ContestGroup]|"
        "ContestEnd=End[radio:ContestGroup checked]|-|ContestPrintFile=Save to File>|"
        "ContestPrint=Print>[hidden]");
    row("ContestPrintFile", "SaveContestCabrilo=Cabrilo|SaveContestText=Text|SaveContestExcel=Excel (*.csv)");
    row("ContestPrint", "ContestPrintPrinter=Printer[hidden]");
    row("Tools", "ToolsQTHLoc=QTH Loc|ToolsAw=Awards>|ToolsInternet=Internet>|ToolsSkeds=Skeds|"
                 "TolsPrintQSL=Print QSL Label|ToolsTimer=Timer>");
    row("ToolsAw", "ToolsAwards=Awards Manager|ToolsAwFilter=Filter>");
    row("ToolsAwFilter", "ToolsAwFilterDXCC=DXCC|ToolsAwFilterWAZ=WAZ|ToolsAwFilterIota=Iota|"
                         "ToolsAwFilterUkrRuss=Ukr Russ|ToolsAwFilterWAS=WAS|-|ToolsAwFilterAward1=Award 1|"
                         "ToolsAwFilterAward2=Award 2");
    row("ToolsInternet", "ToolsDXCluster=DX Cluster|SearchCallSignalWeb=Callsign Web");
    row("ToolsTimer", "TimerStart=Start[radio:TimerRunGroup]|TimerStop=Stop[radio:TimerRunGroup]|"
                      "TimerStopClear=Stop/Clear[radio:TimerRunGroup checked]|-|"
                      "TimerTotal=Total[radio:TimerModeGroup]|TimerQSO=QSO[radio:TimerModeGroup checked]");
    row("Programs1", "DigiPan1=DigiPan[radio:ProgramsGroup]|MixW1=MixW[radio:ProgramsGroup]|"
                     "MMVari1=MMVari[radio:ProgramsGroup]|CwType=CwType[radio:ProgramsGroup]|"
                     "PrTrueTTY=TrueTTY[radio:ProgramsGroup]|-|-|Pr51=Pr5[hidden]|Pr61=Pr6[hidden]");
    row("Devices", "DevicesTrx=Transceiver>");
    row("DevicesTrx", "DeviceTrxControl=TRX Control[disabled]|DeviceTrxConnect=Connect[check]");
    row("Options", "OptionsConfig=Configuration|-|OptionContestConfig=Contest Configuration|"
                   "OptionsQSLLabel=QSL label Config|OptionsAutoExit=AutoExit Options");
    row("Help", "HelpHelp=Help|HelpAbout=About");
}

void TestMainFrame::menuLayout() {
    QFETCH(QString, menuName);
    QFETCH(QString, expected);
    // The menus as built: start-up adds the books, checks one and shows or hides items by the settings.
    TFMain w;
    auto* m = qobject_cast<QWidget*>(w.findControl(menuName));
    QVERIFY2(m, qPrintable(menuName));
    QCOMPARE(layoutOf(m), expected);
    if (menuName == "MainMenuLog") QCOMPARE(m, w.menuBar());
}

void TestMainFrame::logBookItemsStandAboveTheTemplate() {
    AppFixture app;
    const QList<QAction*> before = FMain->logMenuItemsAboveSeparator();
    QVERIFY(before.size() >= 2);
    QCOMPARE(before.last(), FMain->LogLog1);
    // Start-up checked the selected book in place of the template.
    QAction* book = FMain->LogBookGroup->checkedAction();
    QVERIFY(book);
    QVERIFY(book != FMain->LogLog1);
    QVERIFY(!FMain->LogLog1->isVisible());

    QAction* first = FMain->insertLogBookItem(0, QStringLiteral("Field Day"), QStringLiteral("ItemLog901"));
    // A position past the template still lands above it.
    QAction* late = FMain->insertLogBookItem(500, QStringLiteral("Contest"), QStringLiteral("ItemLog902"));
    const QList<QAction*> items = FMain->logMenuItemsAboveSeparator();
    QCOMPARE(items.size(), before.size() + 2);
    QCOMPARE(items.first(), first);
    QCOMPARE(items.at(items.size() - 2), late);
    QCOMPARE(items.last(), FMain->LogLog1);
    QCOMPARE(FMain->findControl(QStringLiteral("ItemLog901")), first);
    QCOMPARE(first->text(), QStringLiteral("Field Day"));
    QCOMPARE(first->actionGroup(), FMain->LogBookGroup);
    QVERIFY(first->isCheckable());

    // Clicking a book checks it alone.
    late->setChecked(true);
    QVERIFY(!book->isChecked());
    book->trigger();
    QVERIFY(book->isChecked());
    QVERIFY(!late->isChecked());
    QVERIFY(!first->isChecked());
}

// --- handlers -----------------------------------------------------------------------------------

void TestMainFrame::refreshAllLogsAsksBothTexts_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("question");
    textRow("English", {"English", "A lot of time will be spent for this operation!",
                        "Refresh a database and delete errors?"});
    textRow("Deutsch shows English", {"Deutsch", "A lot of time will be spent for this operation!",
                                      "Refresh a database and delete errors?"});
    textRow("Russian", {"Russian", "На данную операцию может уйти много времени!",
                        "Обновить базу данных и удалить ошибки?"});
}

void TestMainFrame::refreshAllLogsAsksBothTexts() {
    QFETCH(QString, language);
    QFETCH(QString, notice);
    QFETCH(QString, question);
    AppFixture app;
    const int at = FConfig->ComboBoxLanguage->findText(language);
    QVERIFY(at >= 0);
    FConfig->ComboBoxLanguage->setCurrentIndex(at);
    app.dialogs().clear();
    app.dialogs().answer(DlgResult::No);

    FMain->LogRefresh->trigger();

    QCOMPARE(app.dialogs().messages.size(), 2);
    QCOMPARE(app.dialogs().messages[0].text, notice);
    QCOMPARE(app.dialogs().messages[0].type, DlgType::Plain);
    QCOMPARE(app.dialogs().messages[0].buttons, DlgButtons::Ok);
    QCOMPARE(app.dialogs().messages[1].text, question);
    QCOMPARE(app.dialogs().messages[1].type, DlgType::Confirmation);
    QCOMPARE(app.dialogs().messages[1].buttons, DlgButtons::YesNo);
    // No starts nothing: the log stays in front and no progress is shown.
    QVERIFY(FMain->isVisible());
    QVERIFY(!FProgres->isVisible());
    QVERIFY(app.dialogs().modalShown.isEmpty());
}

void TestMainFrame::modalWindows_data() {
    QTest::addColumn<QString>("itemName");
    QTest::addColumn<QString>("windowName");
    textRow("QTH Loc", {"ToolsQTHLoc", "FQTHLoc"});
    textRow("Awards Manager", {"ToolsAwards", "FAwards"});
    textRow("Filter", {"ViewFilter", "Filter"});
    textRow("View Images", {"ViewImagesView", "FImage"});
    textRow("About", {"HelpAbout", "FAboutBox"});
}

void TestMainFrame::modalWindows() {
    QFETCH(QString, itemName);
    QFETCH(QString, windowName);
    AppFixture app;
    QWidget* w = window(windowName);
    QVERIFY2(w, qPrintable(windowName));
    app.dialogs().clear();

    item(itemName)->trigger();

    QCOMPARE(app.dialogs().modalShown, QList<QWidget*>{w});
    QVERIFY2(app.dialogs().messages.isEmpty(), qPrintable(app.dialogs().texts().join(" / ")));
}

void TestMainFrame::awardsManagerOpensOnDxcc() {
    AppFixture app;
    auto* dxcc = qobject_cast<QAction*>(FAwards->findControl(QStringLiteral("AwMenuDXCC")));
    auto* waz = qobject_cast<QAction*>(FAwards->findControl(QStringLiteral("AwMenuWAZ")));
    if (!dxcc || !waz) QSKIP("the awards window has no award menu yet");
    waz->trigger();
    QVERIFY(!dxcc->isChecked());
    app.dialogs().clear();

    FMain->ToolsAwards->trigger();

    QVERIFY(dxcc->isChecked());
    QCOMPARE(app.dialogs().modalShown, QList<QWidget*>{FAwards});
}

void TestMainFrame::windowsShownWithoutBlocking_data() {
    QTest::addColumn<QString>("itemName");
    QTest::addColumn<QString>("windowName");
    textRow("Filter Callsignal", {"ViewFilterCall", "FFilterCall"});
    textRow("Sound Player", {"ViewSoundPlayer", "FSound"});
    textRow("Award Edit", {"AwardShowMode", "FAwardAdd"});
}

void TestMainFrame::windowsShownWithoutBlocking() {
    QFETCH(QString, itemName);
    QFETCH(QString, windowName);
    AppFixture app;
    QWidget* w = window(windowName);
    QVERIFY2(w, qPrintable(windowName));
    QVERIFY(!w->isVisible());
    app.dialogs().clear();

    item(itemName)->trigger();

    QVERIFY(w->isVisible());
    QCOMPARE(w->windowModality(), Qt::NonModal);
    QVERIFY2(w->width() >= Dialogs::titleBarWidth(w), qPrintable(QString::number(w->width()))); // whole title
    QVERIFY(app.dialogs().modalShown.isEmpty());
    QVERIFY2(app.dialogs().messages.isEmpty(), qPrintable(app.dialogs().texts().join(" / ")));
}

void TestMainFrame::viewImagesWhilePictureWindowIsShown() {
    AppFixture app;
    FImage->ShowNonModal();
    app.dialogs().clear();

    FMain->ViewImagesView->trigger();

    // The picture window stays as it is: no modal show of a visible window, no error.
    QVERIFY(FImage->isVisible());
    QVERIFY(app.dialogs().modalShown.isEmpty());
    QVERIFY(app.dialogs().messages.isEmpty());
}

void TestMainFrame::closingTheMainWindowEndsTheProgram_data() {
    QTest::addColumn<bool>("byExitItem");
    QTest::addColumn<bool>("withPlayerOpen");
    QTest::newRow("Exit") << true << false;
    QTest::newRow("close box") << false << false;
    QTest::newRow("Exit, player open") << true << true;
    QTest::newRow("close box, player open") << false << true;
}

void TestMainFrame::closingTheMainWindowEndsTheProgram() {
    QFETCH(bool, byExitItem);
    QFETCH(bool, withPlayerOpen);
    AppFixture app;
    if (withPlayerOpen) FMain->ViewSoundPlayer->trigger();
    app.dialogs().clear();
    QSignalSpy quitting(QCoreApplication::instance(), &QCoreApplication::aboutToQuit);
    QTimer::singleShot(0, FMain, [byExitItem] {
        if (byExitItem)
            FMain->LogExit->trigger();
        else
            FMain->close();
    });

    QCOMPARE(runUntilQuit(), 0);

    QCOMPARE(quitting.count(), 1);
    QVERIFY(!FMain->isVisible());
    QVERIFY(!FSound->isVisible());
    // Nothing is asked or saved on the way out.
    QVERIFY(app.dialogs().messages.isEmpty());
}

void TestMainFrame::startUpTakesTheWholeWorkingDirectory_data() {
    QTest::addColumn<QString>("subPath");
    QTest::newRow("temporary folder") << QString();
    QTest::newRow("blanks") << QStringLiteral("Zelmor Log data");
    // Far beyond the 143 characters a fixed buffer would keep.
    QTest::newRow("long path") << QString(70, 'a') + "/" + QString(70, 'b') + "/" + QString(70, 'c');
}

void TestMainFrame::startUpTakesTheWholeWorkingDirectory() {
    QFETCH(QString, subPath);
    AppFixture app({}, subPath);
    QCOMPARE(ProgramFolder, app.folder().path());
    if (!subPath.isEmpty()) QVERIFY(ProgramFolder.endsWith(subPath));
    QCOMPARE(FMain->EntryState, -1);
    QCOMPARE(FMain->RepeatGridMouseFlag, 0);
    for (const ShownMessage& m : app.dialogs().messages)
        QVERIFY2(m.type != DlgType::Error, qPrintable(m.text));
}

void TestMainFrame::informationPanelShowsResetTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    auto row = [](const char* name, const char* text, bool visible) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text) << visible;
    };
    row("LabelTime", "00:00:00", true);
    row("LabelDist", "00000", true);
    row("LabelAzD", "000", true);
    row("LabelAzB", "000", true);
    row("LabelRegion", "Country", true);
    row("LabelPref", "Pref", true);
    row("LabelZoneCQ", "00", true);
    row("LabelZoneITU", "00", true);
    row("LabelContinent", "NO", true);
    row("LabelRepCountry", "*", true);
    row("LabelTerExist", "Territory exists", false);
    row("LabelLastQSO", "", false);
    row("LabelH", "00", true);
    row("LabelM", "00", true);
    row("LabelS", "00", true);
    row("GroupBoxInfo", " Info QSO ", true);
    row("GroupBoxRepeat", " Repeat ", true);
    row("GroupBoxTotal", " Total ", true);
}

void TestMainFrame::informationPanelShowsResetTexts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    AppFixture app;
    auto* w = qobject_cast<QWidget*>(FMain->findControl(name));
    QVERIFY2(w, qPrintable(name));
    QVERIFY(FMain->PanelInfo->isAncestorOf(w));
    QCOMPARE(textOf(w), text);
    QCOMPARE(w->isVisible(), visible);
    if (name == "LabelRepCountry") QCOMPARE(textColour(w), QColor(0, 0, 255));
}

void TestMainFrame::awardLabelsNamedAndBlack_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("title");
    textRow("DXCC", {"LabelDX", "GroupBoxDXCC", " DXCC Mixed "});
    textRow("WAZ", {"LabelWAZ", "GroupBoxWAZ", " WAZ Mixed "});
    textRow("IOTA", {"LabelIOTA", "GroupBoxIOTA", " IOTA Mixed "});
    textRow("Ukr Rus", {"LabelUR", "GroupBoxUR", " Ukr Rus Mixed "});
}

void TestMainFrame::awardLabelsNamedAndBlack() {
    QFETCH(QString, family);
    QFETCH(QString, group);
    QFETCH(QString, title);
    // As built: the settings show only the awards the operator follows.
    TFMain w;
    w.show();
    const QStringList suffixes{"18", "35", "70", "10", "14",  "180", "21",
                               "24", "28", "50", "S",  "144", "430", "1260"};
    const QStringList captions{"1.8", "3.5", "7.0", "10", "14",  "18",  "21",
                               "24",  "28",  "50",  "S",  "144", "430", "1260"};
    const QList<QLabel*>& labels = family == "LabelDX"     ? w.LabelDX
                                   : family == "LabelWAZ"  ? w.LabelWAZ
                                   : family == "LabelIOTA" ? w.LabelIOTA
                                                           : w.LabelUR;
    QCOMPARE(labels.size(), 14);
    auto* box = qobject_cast<QGroupBox*>(w.findControl(group));
    QVERIFY(box);
    QCOMPARE(box->title(), title);
    QVERIFY(box->isVisible());
    QVERIFY(w.PanelInfo->isAncestorOf(box));
    for (int i = 0; i < 14; ++i) {
        QCOMPARE(labels[i]->objectName(), family + suffixes[i]);
        QCOMPARE(w.findControl(family + suffixes[i]), labels[i]);
        QCOMPARE(labels[i]->text(), captions[i]);
        QCOMPARE(labels[i]->parentWidget(), box);
        QCOMPARE(textColour(labels[i]), QColor(0, 0, 0));
        QVERIFY(labels[i]->isVisible());
    }
}

void TestMainFrame::callbookPopupAttachesAndDetaches() {
    AppFixture app;
    FMain->setCallbookPopup(true);
    QMenu* popup = FMain->PopupMenuCB;
    QVERIFY(popup);
    QCOMPARE(popup->objectName(), QStringLiteral("PopupMenuCB"));
    QCOMPARE(layoutOf(popup),
             QStringLiteral(
                 "ExpNewCall=Export New Calls|ImpNewCall=Import New Calls|-|DelCBCall=Delete Callsignal"));
    QCOMPARE(popup->actions().at(0), FMain->ExpNewCall);
    QCOMPARE(FMain->GroupBoxCallbook->contextMenuPolicy(), Qt::CustomContextMenu);

    FMain->setCallbookPopup(false);
    QCOMPARE(FMain->PopupMenuCB, nullptr);
    QCOMPARE(FMain->GroupBoxCallbook->contextMenuPolicy(), Qt::NoContextMenu);
    // The items live on while the menu is away.
    QCOMPARE(FMain->ExpNewCall->text(), QStringLiteral("Export New Calls"));

    FMain->setCallbookPopup(true);
    QCOMPARE(FMain->PopupMenuCB, popup);
    QCOMPARE(FMain->GroupBoxCallbook->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestMainFrame::awardPopupBelongsToTheInfoPanel() {
    AppFixture app;
    QCOMPARE(FMain->PopupMenuAwardShow->objectName(), QStringLiteral("PopupMenuAwardShow"));
    QCOMPARE(layoutOf(FMain->PopupMenuAwardShow), QStringLiteral("AwardShowMode=Award Edit"));
    QCOMPARE(FMain->PanelInfo->contextMenuPolicy(), Qt::CustomContextMenu);
    QSignalSpy asked(FMain->PanelInfo, &QWidget::customContextMenuRequested);
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5),
                        FMain->GroupBoxInfo->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(FMain->GroupBoxInfo, &e);
    QCOMPARE(asked.count(), 1);
    FMain->PopupMenuAwardShow->hide();
}

void TestMainFrame::aboutBoxShowsTheProgramAndClosesWithOk() {
    AppFixture app;
    bool wasShown = false;
    app.dialogs().onModal([&wasShown](QWidget* w) {
        w->show();
        wasShown = w->isVisible();
        QTest::mouseClick(FAboutBox->OKButton, Qt::LeftButton);
        return w->isVisible() ? 1 : 0;
    });

    FMain->HelpAbout->trigger();

    QCOMPARE(app.dialogs().modalShown, QList<QWidget*>{FAboutBox});
    QVERIFY(wasShown);
    QVERIFY2(!FAboutBox->isVisible(), "OK closes the about box");
    QCOMPARE(FAboutBox->windowTitle(), QStringLiteral("About"));
    QCOMPARE(FAboutBox->ProductName->text(), QStringLiteral("Zelmor"));
    QCOMPARE(FAboutBox->Version->text(), QStringLiteral("Ver 3.b"));
    QCOMPARE(FAboutBox->OKButton->text(), QStringLiteral("OK"));
    QCOMPARE(FAboutBox->OKButton->objectName(), QStringLiteral("OKButton"));
    QVERIFY(!FAboutBox->ProgramIcon->pixmap().isNull());
    QVERIFY(!FAboutBox->GroupBoxContacts->findChildren<QLabel*>().isEmpty());
}

// --- the window as built --------------------------------------------------------------------------

void TestMainFrame::designTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    auto row = [](const char* name, const QString& text, bool visible = true) {
        QTest::newRow(name) << name << text << visible;
    };
    row("Label1", "Callsignal");
    row("Label4", "Name");
    row("Label5", "QTH");
    row("Label11", "QTH Loc");
    row("Label12", "Note");
    row("EditCall", "");
    row("CheckBoxTime", "Real Time");
    row("ButtonClear", "Clear");
    row("ButtonEdit", "Edit");
    row("ButtonSave", "Save");
    row("ButtonRec", "Rec");
    row("ButtonPlay", "Play");
    row("LabelRP", "R", false);
    row("EditNmTx", "000", false);
    row("EditNmRx", "000", false);
    row("Label32", "TX", false);
    row("Label33", "RX", false);
    row("GroupBoxQSL", " QSL ");
    row("GroupBoxCallbook", " Callbook ");
    row("Label23", "Callsignal");
    row("LabelCBName", "Name");
    row("LabelCBQTH", "QTH");
    row("Label25", "QTH Loc");
    row("LabelCBEMail", "EMail");
    row("LabelCBNote", "Note");
    row("LabelCBBDay", "Birthday");
    row("MaskEditCBBDay", "00.00.00");
    row("ButtonCBFindZelmor", "Zelmor");
    row("ButtonCBEdit", "Edit");
    for (int i = 1; i <= 12; ++i) {
        const QByteArray n = "ButtonF" + QByteArray::number(i);
        QTest::newRow(n.constData()) << QString::fromLatin1(n) << QStringLiteral("F%1").arg(i) << true;
    }
}

void TestMainFrame::designTexts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    // The window as built, before start-up fills anything in.
    TFMain w;
    w.show();
    auto* c = qobject_cast<QWidget*>(w.findControl(name));
    QVERIFY2(c, qPrintable(name));
    QCOMPARE(textOf(c), text);
    QCOMPARE(c->isVisible(), visible);
}

void TestMainFrame::upperCaseBoxes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("call") << "EditCall"
                          << "ua3abc/p"
                          << "UA3ABC/P";
    QTest::newRow("call, at most 20") << "EditCall"
                                      << "dl1abc/dl2xyz/qrp/mm/x"
                                      << "DL1ABC/DL2XYZ/QRP/MM";
    QTest::newRow("locator, at most 6") << "EditQTHLoc"
                                        << "ko85ab12"
                                        << "KO85AB";
    QTest::newRow("callbook call") << "EditCBCall"
                                   << "ok1abc"
                                   << "OK1ABC";
    QTest::newRow("callbook locator") << "EditCBQTHLoc"
                                      << "jo70fc"
                                      << "JO70FC";
    QTest::newRow("note keeps case") << "EditNote"
                                     << "Tnx fer QSO"
                                     << "Tnx fer QSO";
}

void TestMainFrame::upperCaseBoxes() {
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    AppFixture app;
    auto* box = qobject_cast<QLineEdit*>(FMain->findControl(name));
    QVERIFY(box);
    box->clear();
    QSignalSpy edited(box, &QLineEdit::textEdited);
    QTest::keyClicks(box, typed);
    QCOMPARE(box->text(), shown);
    QVERIFY(!edited.isEmpty());
    QCOMPARE(edited.last().at(0).toString(), shown);
    if (name != "EditNote") {
        box->setText(typed.left(6));
        QCOMPARE(box->text(), typed.left(6).toUpper());
    }
}

void TestMainFrame::frameIsFixedCentredAndMinimisable() {
    AppFixture app;
    QCOMPARE(FMain->windowTitle(), QStringLiteral("Zelmor"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Zelmor Log"));
    const Qt::WindowFlags f = FMain->windowFlags();
    QVERIFY(f & Qt::WindowMinimizeButtonHint);
    QVERIFY(f & Qt::WindowSystemMenuHint);
    QVERIFY(f & Qt::WindowCloseButtonHint);
    QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
    QCOMPARE(FMain->minimumSize(), FMain->maximumSize());
    QVERIFY(FMain->width() >= FMain->centralWidget()->sizeHint().width());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect frame = FMain->frameGeometry();
    if (frame.width() <= screen.width())
        QVERIFY(qAbs(frame.center().x() - screen.center().x()) <= 1);
    else
        QCOMPARE(frame.left(), screen.left());
    if (frame.height() <= screen.height())
        QVERIFY(qAbs(frame.center().y() - screen.center().y()) <= 1);
    else
        QCOMPARE(frame.top(), screen.top());
}

void TestMainFrame::stopwatchTimerBuiltStopped() {
    TFMain w;
    QCOMPARE(w.findControl(QStringLiteral("TimerRealClock")), w.TimerRealClock);
    QCOMPARE(w.findControl(QStringLiteral("TimerTimer")), w.TimerTimer);
    // The stopwatch is off until the operator or the call box starts it.
    QVERIFY(!w.TimerTimer->isActive());
    QCOMPARE(w.TimerRealClock->interval(), 1000);
    QCOMPARE(w.TimerTimer->interval(), 1000);
}

void TestMainFrame::controlsFitInsideTheirPanels() {
    AppFixture app;
    const QStringList faults = layoutFaults(true);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

void TestMainFrame::laterTextsAndContestModeKeepTheLayout() {
    AppFixture app;
    for (QGroupBox* b : {FMain->GroupBoxDXCC, FMain->GroupBoxWAZ, FMain->GroupBoxUR, FMain->GroupBoxIOTA})
        b->show();
    QApplication::processEvents();
    const QSize size = FMain->size();
    const QRect note = FMain->EditNote->geometry();
    // Texts the other routines set while the operator works, and the contest entry layout.
    FMain->LabelRegion->setText(QStringLiteral("Democratic Republic of the Congo (Kinshasa)"));
    FMain->GroupBoxIOTA->setTitle(
        QStringLiteral(" IOTA Mixed - AS-152 (Chukotskiy Avtonomnyy Okrug North Coast West Group)"));
    FMain->GroupBoxRepeat->setTitle(QStringLiteral(" Total 123456 QSO "));
    FMain->GroupBoxCallbook->setTitle(QStringLiteral(" CallBook Zelmor not exist "));
    FMain->LabelLastQSO->setText(QStringLiteral("Last QSO at 23:59:59 RTTY 1260"));
    FMain->LabelLastQSO->show();
    FMain->LabelTerExist->show();
    FMain->LabelRP->show();
    for (QWidget* w :
         std::initializer_list<QWidget*>{FMain->Label4, FMain->Label5, FMain->EditName, FMain->EditQTH})
        w->hide();
    for (QWidget* w :
         std::initializer_list<QWidget*>{FMain->Label32, FMain->Label33, FMain->EditNmTx, FMain->EditNmRx})
        w->show();
    QApplication::processEvents();

    QCOMPARE(FMain->size(), size);
    QCOMPARE(FMain->EditNote->geometry(), note);
    const QStringList faults = layoutFaults(false);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
}

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"

#include "data/UConfig.h"

#include "awards/UAwardAdd.h"
#include "awards/UAwards.h"
#include "contest/UCabrill.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "contest/USked.h"
#include "data/CaptionLanguage.h"
#include "data/SettingsStore.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "logbook/UFilter.h"
#include "logbook/UMain.h"
#include "logbook/UQTHLoc.h"
#include "logbook/UVihod.h"
#include "media/UImage.h"
#include "media/USound.h"
#include "media/UTimer.h"
#include "platform/Dialogs.h"
#include "station/UCtrlTRX.h"
#include "widgets/Controls.h"
#include "widgets/DBGrid.h"
#include "widgets/UpperCase.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

TFConfig* FConfig = nullptr;

namespace {

const QString kFConfig = QStringLiteral("FConfig");

// What became of one stored value put into a control.
enum class LoadResult { Set, Unreadable, NotApplicable };

LoadResult setControlText(QObject* control, const QString& text) {
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        e->setText(text);
        return LoadResult::Set;
    }
    if (auto* c = qobject_cast<QComboBox*>(control)) {
        // A pick-only list cannot show a value it does not offer; a baud rate must be a number.
        if (!c->isEditable() && c->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            return LoadResult::Unreadable;
        if (c->objectName() == QLatin1String("ComboBoxBaudRate") && !SettingsStore::readInteger(text))
            return LoadResult::Unreadable;
        setComboText(c, text);
        return LoadResult::Set;
    }
    if (auto* s = qobject_cast<QSpinBox*>(control)) {
        const auto v = SettingsStore::readInteger(text);
        if (!v) return LoadResult::Unreadable;
        s->setValue(*v);
        return LoadResult::Set;
    }
    if (auto* p = qobject_cast<QPlainTextEdit*>(control)) {
        p->setPlainText(text);
        return LoadResult::Set;
    }
    return LoadResult::NotApplicable;
}

LoadResult setControlDateTime(QObject* control, const QString& text) {
    auto* picker = qobject_cast<QDateTimeEdit*>(control);
    if (!picker) return LoadResult::NotApplicable;
    const auto dt = SettingsStore::readDateTime(text);
    if (!dt) return LoadResult::Unreadable;
    picker->setDateTime(*dt);
    return LoadResult::Set;
}

LoadResult setControlChecked(QObject* control, const QString& text) {
    const bool on = SettingsStore::checkedFromText(text);
    if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        b->setChecked(on);
        return LoadResult::Set;
    }
    if (auto* a = qobject_cast<QAction*>(control)) {
        a->setChecked(on);
        return LoadResult::Set;
    }
    return LoadResult::NotApplicable;
}

// A radio group is a combo box, a widget with an "ItemIndex" property, or a box of radio buttons
// (numbered by a button group when it has one, otherwise in creation order).
LoadResult setControlItemIndex(QObject* control, const QString& text) {
    const auto index = SettingsStore::readInteger(text);
    if (auto* c = qobject_cast<QComboBox*>(control)) {
        if (!index) return LoadResult::Unreadable;
        c->setCurrentIndex(*index);
        return LoadResult::Set;
    }
    if (control->property("ItemIndex").isValid()) {
        if (!index) return LoadResult::Unreadable;
        control->setProperty("ItemIndex", *index);
        return LoadResult::Set;
    }
    if (auto* group = control->findChild<QButtonGroup*>()) {
        if (!index) return LoadResult::Unreadable;
        if (QAbstractButton* b = group->button(*index)) b->setChecked(true);
        return LoadResult::Set;
    }
    const auto radios = control->findChildren<QRadioButton*>();
    if (radios.isEmpty()) return LoadResult::NotApplicable;
    if (!index) return LoadResult::Unreadable;
    if (*index >= 0 && *index < radios.size()) radios.at(*index)->setChecked(true);
    return LoadResult::Set;
}

// Sets a caption the way the caption table asks for it.
void setCaption(QObject* control, const QString& caption, CaptionLanguage::CaptionSetter how) {
    using CaptionLanguage::CaptionSetter;
    if (how == CaptionSetter::None) return;
    if (auto* a = qobject_cast<QAction*>(control)) {
        a->setText(caption);
    } else if (auto* m = qobject_cast<QMenu*>(control)) {
        m->setTitle(caption);
    } else if (how == CaptionSetter::MenuItem) {
        return;
    } else if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        b->setText(caption);
    } else if (auto* l = qobject_cast<QLabel*>(control)) {
        l->setText(caption);
    } else if (auto* g = qobject_cast<QGroupBox*>(control)) {
        g->setTitle(caption);
    } else if (auto* e = qobject_cast<QLineEdit*>(control)) {
        if (how == CaptionSetter::WindowText) e->setText(caption);
    } else if (auto* c = qobject_cast<QComboBox*>(control)) {
        if (how == CaptionSetter::WindowText && c->isEditable()) c->setEditText(caption);
    } else if (auto* w = qobject_cast<QWidget*>(control)) {
        if (how == CaptionSetter::WindowText) w->setWindowTitle(caption);
    }
}

// Calls back once the control's value changes after loading (typed, clicked, picked, stepped).
void onUserEdit(QObject* control, QObject* context, const std::function<void()>& changed) {
    if (auto* e = qobject_cast<QLineEdit*>(control)) {
        QObject::connect(e, &QLineEdit::textChanged, context, changed);
    } else if (auto* c = qobject_cast<QComboBox*>(control)) {
        QObject::connect(c, &QComboBox::currentTextChanged, context, changed);
    } else if (auto* d = qobject_cast<QDateTimeEdit*>(control)) {
        QObject::connect(d, &QDateTimeEdit::dateTimeChanged, context, changed);
    } else if (auto* s = qobject_cast<QSpinBox*>(control)) {
        QObject::connect(s, &QSpinBox::valueChanged, context, changed);
    } else if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        QObject::connect(b, &QAbstractButton::toggled, context, changed);
    } else {
        for (QAbstractButton* child : control->findChildren<QAbstractButton*>())
            QObject::connect(child, &QAbstractButton::toggled, context, changed);
    }
}

} // namespace

// =============================================================================================
// The window
// =============================================================================================

TFConfig::TFConfig(QWidget* parent) : TForm(kFConfig, parent) {
    setWindowTitle(QStringLiteral("Configuration"));

    MainMenuConfig = named(new QMenuBar(this), QStringLiteral("MainMenuConfig"));
    MenuHelp = named(MainMenuConfig->addMenu(QStringLiteral("Help")), QStringLiteral("MenuHelp"));
    MenuHelpHelp = named(MenuHelp->addAction(QStringLiteral("Help")), QStringLiteral("MenuHelpHelp"));
    MenuHelpHelp->setShortcut(QKeySequence(Qt::Key_F1));

    PageControl1 = named(new QTabWidget(this), QStringLiteral("PageControl1"));
    // All nine page captions stay readable: the window is as wide as the tab row.
    PageControl1->tabBar()->setUsesScrollButtons(false);
    PageControl1->tabBar()->setElideMode(Qt::ElideNone);
    const auto addPage = [this](const QString& name, const QString& caption) {
        auto* page = named(new QWidget(PageControl1), name);
        PageControl1->addTab(page, caption);
        return page;
    };
    TabSheetMain = addPage(QStringLiteral("TabSheetMain"), QStringLiteral("Main"));
    TabSheetLog = addPage(QStringLiteral("TabSheetLog"), QStringLiteral("LOG"));
    TabSheetDefault = addPage(QStringLiteral("TabSheetDefault"), QStringLiteral("Default"));
    TabSheetAwards = addPage(QStringLiteral("TabSheetAwards"), QStringLiteral("Awards"));
    TabSheetDataBase = addPage(QStringLiteral("TabSheetDataBase"), QStringLiteral("DataBase"));
    TabSheetMedia = addPage(QStringLiteral("TabSheetMedia"), QStringLiteral("Media"));
    TabSheetExtSoft = addPage(QStringLiteral("TabSheetExtSoft"), QStringLiteral("Ext Soft"));
    TabSheetFKeyHint = addPage(QStringLiteral("TabSheetFKeyHint"), QStringLiteral("F Key Hint"));
    TabSheetTRX = addPage(QStringLiteral("TabSheetTRX"), QStringLiteral("TRX"));

    buildPageMain(TabSheetMain);
    buildPageLog(TabSheetLog);
    buildPageDefault(TabSheetDefault);
    buildPageAwards(TabSheetAwards);
    buildPageDataBase(TabSheetDataBase);
    buildPageMedia(TabSheetMedia);
    buildPageExtSoft(TabSheetExtSoft);
    buildPageFKeyHint(TabSheetFKeyHint);
    buildPageTRX(TabSheetTRX);

    ButtonSave = newButton(this, QStringLiteral("ButtonSave"), QStringLiteral("Save"));
    ButtonSaveExit = newButton(this, QStringLiteral("ButtonSaveExit"), QStringLiteral("Save and Exit"));
    ButtonClose = newButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonSave);
    buttons->addWidget(ButtonSaveExit);
    buttons->addWidget(ButtonClose);

    auto* main = new QVBoxLayout(this);
    main->setMenuBar(MainMenuConfig);
    main->addWidget(PageControl1);
    main->addLayout(buttons);

    connectHandlers();
    ComboBoxTRXNameChange();
}

TFConfig::~TFConfig() = default;

void TFConfig::buildPageMain(QWidget* page) {
    auto* labelLanguage = newLabel(page, QStringLiteral("LabelLanguage"), QStringLiteral("Language"));
    ComboBoxLanguage =
        newCombo(page, QStringLiteral("ComboBoxLanguage"),
                 {QStringLiteral("Deutsch"), QStringLiteral("English"), QStringLiteral("France"),
                  QStringLiteral("Russian"), QStringLiteral("Default")},
                 false, QStringLiteral("English"));

    auto* station = newGroup(page, QStringLiteral("GroupBoxStation"), QStringLiteral(" My Station "));
    MaskEditC = newEdit(station, QStringLiteral("MaskEditC"));
    MaskEditC->setMaxLength(20);
    makeUpperCase(MaskEditC);
    MaskEditN = newEdit(station, QStringLiteral("MaskEditN"));
    MaskEditQ = newEdit(station, QStringLiteral("MaskEditQ"));
    // Optional sign or digit, three optional digits, the comma, two optional digits.
    MaskEditLat = newEdit(station, QStringLiteral("MaskEditLat"));
    MaskEditLat->setInputMask(QStringLiteral("#000,00;_"));
    MaskEditLon = newEdit(station, QStringLiteral("MaskEditLon"));
    MaskEditLon->setInputMask(QStringLiteral("#000,00;_"));
    EditQthLoc = newEdit(station, QStringLiteral("EditQthLoc"));
    EditQthLoc->setMaxLength(6);
    EditQthLoc->setToolTip(QStringLiteral("On duble click - Set QTH Loc"));
    EditQthLoc->installEventFilter(this);

    auto* g = new QGridLayout(station);
    const auto row = [&](int r, const QString& name, const QString& caption, QWidget* box) {
        g->addWidget(newLabel(station, name, caption), r, 0);
        g->addWidget(box, r, 1);
    };
    row(0, QStringLiteral("LabelMyCall"), QStringLiteral("My CallSign"), MaskEditC);
    row(1, QStringLiteral("LabelMyName"), QStringLiteral("My Name"), MaskEditN);
    row(2, QStringLiteral("LabelMyQth"), QStringLiteral("My QTH"), MaskEditQ);
    row(3, QStringLiteral("LabelLat"), QStringLiteral("Latitude  ( -S)"), MaskEditLat);
    row(4, QStringLiteral("LabelLon"), QStringLiteral("Longitude ( -W)"), MaskEditLon);
    row(5, QStringLiteral("LabelMyQthLoc"), QStringLiteral("My QTH Loc"), EditQthLoc);
    g->setColumnStretch(1, 1);

    auto* utc = newGroup(page, QStringLiteral("GroupBoxUTC"), QStringLiteral(" UTC "));
    // Hours with an optional sign, then minutes.
    MaskEditT = newEdit(utc, QStringLiteral("MaskEditT"));
    MaskEditT->setInputMask(QStringLiteral("#99;_"));
    MaskEditT->setText(QStringLiteral("-03"));
    MaskEdit2T = newEdit(utc, QStringLiteral("MaskEdit2T"));
    MaskEdit2T->setInputMask(QStringLiteral("99;_"));
    MaskEdit2T->setText(QStringLiteral("00"));
    for (QLineEdit* e : {MaskEditT, MaskEdit2T})
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("-000")) + 16);
    CheckBoxUTC = newCheck(utc, QStringLiteral("CheckBoxUTC"), QStringLiteral("UTC Enabled"), true);
    auto* u = new QGridLayout(utc);
    u->addWidget(newLabel(utc, QStringLiteral("LabelUtcDiff"), QStringLiteral("UTC = PC clock +  (h : m)")),
                 0, 0);
    auto* diff = new QHBoxLayout;
    diff->addWidget(MaskEditT);
    diff->addWidget(newLabel(utc, QStringLiteral("LabelUtcColon"), QStringLiteral(":")));
    diff->addWidget(MaskEdit2T);
    diff->addStretch();
    u->addLayout(diff, 0, 1);
    u->addWidget(CheckBoxUTC, 1, 0, 1, 2);
    u->setColumnStretch(1, 1);

    auto* v = new QVBoxLayout(page);
    auto* lang = new QHBoxLayout;
    lang->addWidget(labelLanguage);
    lang->addWidget(ComboBoxLanguage);
    lang->addStretch();
    v->addLayout(lang);
    v->addWidget(station);
    v->addWidget(utc);
    v->addStretch();
}

void TFConfig::buildPageLog(QWidget* page) {
    GroupBoxLogName = newGroup(page, QStringLiteral("GroupBoxLogName"), QStringLiteral(" Log books "));
    DBGrid1 = named(new DBGrid(GroupBoxLogName), QStringLiteral("DBGrid1"));
    if (DM) DBGrid1->setDataSource(DM->DataSourceLogName);
    DBGrid1->addColumn(QStringLiteral("Name"), QStringLiteral("Log Name"));
    DBGrid1->addColumn(QStringLiteral("Prim"), QStringLiteral("About Log"));
    DBGrid1->addColumn(QStringLiteral("LogStart"), QStringLiteral("Log Start"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    EditLLogName = newEdit(GroupBoxLogName, QStringLiteral("EditLLogName"));
    EditLLogName->setMaxLength(49);
    EditAboutLog = newEdit(GroupBoxLogName, QStringLiteral("EditAboutLog"));
    EditAboutLog->setMaxLength(149);
    ButtonLogNameAdd =
        newButton(GroupBoxLogName, QStringLiteral("ButtonLogNameAdd"), QStringLiteral("Add new Log"));
    ButtonLogNameEdit =
        newButton(GroupBoxLogName, QStringLiteral("ButtonLogNameEdit"), QStringLiteral("Edit"));
    ButtonLogNameDel =
        newButton(GroupBoxLogName, QStringLiteral("ButtonLogNameDel"), QStringLiteral("Delete"));

    auto* g = new QGridLayout(GroupBoxLogName);
    g->addWidget(DBGrid1, 0, 0, 1, 4);
    g->addWidget(newLabel(GroupBoxLogName, QStringLiteral("LabelLLogName"), QStringLiteral("Log Name")), 1,
                 0);
    g->addWidget(EditLLogName, 1, 1, 1, 3);
    g->addWidget(newLabel(GroupBoxLogName, QStringLiteral("LabelAboutLog"), QStringLiteral("About Log")), 2,
                 0);
    g->addWidget(EditAboutLog, 2, 1, 1, 3);
    auto* bookButtons = new QHBoxLayout;
    bookButtons->addStretch();
    bookButtons->addWidget(ButtonLogNameAdd);
    bookButtons->addWidget(ButtonLogNameEdit);
    bookButtons->addWidget(ButtonLogNameDel);
    g->addLayout(bookButtons, 3, 0, 1, 4);
    g->setRowStretch(0, 1);
    g->setColumnStretch(1, 1);

    GroupBoxLog1 =
        newGroup(page, QStringLiteral("GroupBoxLog1"), QStringLiteral(" Move QSOs into the current log "));
    EditLog1 = newEdit(GroupBoxLog1, QStringLiteral("EditLog1"));
    EditLog1->setReadOnly(true);
    ComboBoxLog2 = newCombo(GroupBoxLog1, QStringLiteral("ComboBoxLog2"), {}, false, {});
    ButtonLogAdd = newButton(GroupBoxLog1, QStringLiteral("ButtonLogAdd"), QStringLiteral("Add"));
    auto* h = new QHBoxLayout(GroupBoxLog1);
    h->addWidget(EditLog1, 1);
    h->addWidget(newLabel(GroupBoxLog1, QStringLiteral("LabelLogPlus"), QStringLiteral("+")));
    h->addWidget(ComboBoxLog2, 1);
    h->addWidget(ButtonLogAdd);

    auto* v = new QVBoxLayout(page);
    v->addWidget(GroupBoxLogName, 1);
    v->addWidget(GroupBoxLog1);
}

void TFConfig::buildPageDefault(QWidget* page) {
    auto* clear = newGroup(page, QStringLiteral("GroupBoxDefClear"), QStringLiteral(" Default after Clear"));
    CheckBoxRxRst = newCheck(clear, QStringLiteral("CheckBoxRxRst"), QStringLiteral("Rx RST"), true);
    CheckBoxTxRst = newCheck(clear, QStringLiteral("CheckBoxTxRst"), QStringLiteral("Tx RST"), true);
    CheckBoxInfo = newCheck(clear, QStringLiteral("CheckBoxInfo"), QStringLiteral("Info"), false);
    CheckBoxName = newCheck(clear, QStringLiteral("CheckBoxName"), QStringLiteral("Name"), false);
    CheckBoxQth = newCheck(clear, QStringLiteral("CheckBoxQth"), QStringLiteral("QTH"), false);
    MaskEditRxR = newEdit(clear, QStringLiteral("MaskEditRxR"), QStringLiteral("599"));
    MaskEditTxR = newEdit(clear, QStringLiteral("MaskEditTxR"), QStringLiteral("599"));
    for (QLineEdit* e : {MaskEditRxR, MaskEditTxR}) {
        e->setMaxLength(3);
        makeUpperCase(e);
    }
    EditName = newEdit(clear, QStringLiteral("EditName"));
    EditQth = newEdit(clear, QStringLiteral("EditQth"));
    EditI = newEdit(clear, QStringLiteral("EditI"));
    auto* c = new QGridLayout(clear);
    int r = 0;
    for (auto [box, edit] : {std::pair<QCheckBox*, QLineEdit*>{CheckBoxRxRst, MaskEditRxR},
                             {CheckBoxTxRst, MaskEditTxR},
                             {CheckBoxName, EditName},
                             {CheckBoxQth, EditQth},
                             {CheckBoxInfo, EditI}}) {
        c->addWidget(box, r, 0);
        c->addWidget(edit, r, 1);
        ++r;
    }
    c->setColumnStretch(1, 1);

    auto* start = newGroup(page, QStringLiteral("GroupBoxDefStart"), QStringLiteral(" Defaul after start "));
    ComboBoxBand = newCombo(start, QStringLiteral("ComboBoxBand"), {}, true, QStringLiteral("14"));
    ComboBoxMode = newCombo(start, QStringLiteral("ComboBoxMode"), {}, true, QStringLiteral("SSB"));
    auto* s = new QGridLayout(start);
    s->addWidget(newLabel(start, QStringLiteral("LabelDefBand"), QStringLiteral("Band")), 0, 0);
    s->addWidget(ComboBoxBand, 0, 1);
    s->addWidget(newLabel(start, QStringLiteral("LabelDefMode"), QStringLiteral("Mode")), 1, 0);
    s->addWidget(ComboBoxMode, 1, 1);
    s->setColumnStretch(1, 1);
    s->setRowStretch(2, 1);

    auto* columns = newGroup(page, QStringLiteral("GroupBoxColumns"), QStringLiteral(" Log columns "));
    CheckBox1D = newCheck(columns, QStringLiteral("CheckBox1D"), QStringLiteral("Date"), true);
    CheckBox1T = newCheck(columns, QStringLiteral("CheckBox1T"), QStringLiteral("Time"), true);
    CheckBox1B = newCheck(columns, QStringLiteral("CheckBox1B"), QStringLiteral("Band"), true);
    CheckBox1M = newCheck(columns, QStringLiteral("CheckBox1M"), QStringLiteral("Mode"), true);
    CheckBox1N = newCheck(columns, QStringLiteral("CheckBox1N"), QStringLiteral("Name"), true);
    CheckBox1Q = newCheck(columns, QStringLiteral("CheckBox1Q"), QStringLiteral("QTH"), true);
    CheckBox1RR = newCheck(columns, QStringLiteral("CheckBox1RR"), QStringLiteral("Rx RS(T)"), true);
    CheckBox1TR = newCheck(columns, QStringLiteral("CheckBox1TR"), QStringLiteral("Tx RS(T)"), true);
    CheckBox1QS = newCheck(columns, QStringLiteral("CheckBox1QS"), QStringLiteral("Send QSL"), true);
    CheckBox1QR = newCheck(columns, QStringLiteral("CheckBox1QR"), QStringLiteral("Rcv QSL"), true);
    CheckBox1Note = newCheck(columns, QStringLiteral("CheckBox1Note"), QStringLiteral("Note"), true);
    CheckBox1QthLoc = newCheck(columns, QStringLiteral("CheckBox1QthLoc"), QStringLiteral("QTH Loc"), true);
    auto* col = new QGridLayout(columns);
    const QList<QCheckBox*> boxes = {CheckBox1D,  CheckBox1T,  CheckBox1B,    CheckBox1M,
                                     CheckBox1N,  CheckBox1Q,  CheckBox1RR,   CheckBox1TR,
                                     CheckBox1QS, CheckBox1QR, CheckBox1Note, CheckBox1QthLoc};
    for (int i = 0; i < boxes.size(); ++i)
        col->addWidget(boxes.at(i), i % 6, i / 6);

    auto* g = new QGridLayout(page);
    g->addWidget(clear, 0, 0);
    g->addWidget(start, 0, 1);
    g->addWidget(columns, 1, 0, 1, 2);
    g->setRowStretch(2, 1);
}

void TFConfig::buildPageAwards(QWidget* page) {
    auto* show = newGroup(page, QStringLiteral("GroupBoxShowInfo"), QStringLiteral(" Show Info "));
    CBDxcc = newCheck(show, QStringLiteral("CBDxcc"), QStringLiteral("DXCC"), false);
    CBWaz = newCheck(show, QStringLiteral("CBWaz"), QStringLiteral("WAZ"), false);
    CBWas = newCheck(show, QStringLiteral("CBWas"), QStringLiteral("WAS"), false);
    CBIota = newCheck(show, QStringLiteral("CBIota"), QStringLiteral("IOTA"), false);
    CBUkRu = newCheck(show, QStringLiteral("CBUkRu"), QStringLiteral("Ukr Russ"), false);
    CBDipA = newCheck(show, QStringLiteral("CBDipA"), QStringLiteral("Award 1"), false);
    CBDipB = newCheck(show, QStringLiteral("CBDipB"), QStringLiteral("Award 2"), false);
    EditDipA = newEdit(show, QStringLiteral("EditDipA"));
    EditDipA->setMaxLength(10);
    EditDipB = newEdit(show, QStringLiteral("EditDipB"));
    EditDipB->setMaxLength(10);
    auto* g = new QGridLayout(show);
    int r = 0;
    for (QCheckBox* b : {CBDxcc, CBWaz, CBWas, CBIota, CBUkRu})
        g->addWidget(b, r++, 0);
    g->addWidget(newLabel(show, QStringLiteral("LabelAwardName"), QStringLiteral("Award name")), r, 1);
    ++r;
    g->addWidget(CBDipA, r, 0);
    g->addWidget(EditDipA, r++, 1);
    g->addWidget(CBDipB, r, 0);
    g->addWidget(EditDipB, r++, 1);
    g->setColumnStretch(2, 1);

    auto* v = new QVBoxLayout(page);
    v->addWidget(show);
    v->addStretch();
}

void TFConfig::buildPageDataBase(QWidget* page) {
    auto* zelmor = newGroup(page, QStringLiteral("GroupBoxCBZelmor"), QStringLiteral(" CallBook "));
    CheckBoxInternal =
        newCheck(zelmor, QStringLiteral("CheckBoxInternal"), QStringLiteral("CallBook-Zelmor "), false);
    CheckBoxInternalA = newCheck(zelmor, QStringLiteral("CheckBoxInternalA"), QStringLiteral("Auto"), false);
    CheckBoxAutoIns = newCheck(zelmor, QStringLiteral("CheckBoxAutoIns"),
                               QStringLiteral("Auto insert Name and QTH"), false);
    auto* z = new QGridLayout(zelmor);
    z->addWidget(CheckBoxInternal, 0, 0);
    z->addWidget(CheckBoxInternalA, 0, 1);
    z->addWidget(CheckBoxAutoIns, 1, 0, 1, 3);
    z->setColumnStretch(2, 1);

    auto* ext = newGroup(page, QStringLiteral("GroupBoxExtCallBook"), QStringLiteral(" External CallBook "));
    CheckBoxQRZ = newCheck(ext, QStringLiteral("CheckBoxQRZ"), QStringLiteral("QRZ"), false);
    CheckBoxVCD = newCheck(ext, QStringLiteral("CheckBoxVCD"), QStringLiteral("VCD"), false);
    CheckBoxVCD->setToolTip(QStringLiteral("Внешняя база данных Вкл/Выкл"));
    CheckBoxQRZA = newCheck(ext, QStringLiteral("CheckBoxQRZA"), QStringLiteral("Auto"), false);
    CheckBoxVCDA = newCheck(ext, QStringLiteral("CheckBoxVCDA"), QStringLiteral("Auto"), false);
    EditQRZ = newEdit(ext, QStringLiteral("EditQRZ"), QStringLiteral("D:\\Callbk\\QRZ"));
    EditVCD = newEdit(ext, QStringLiteral("EditVCD"), QStringLiteral("D:\\Callbk\\VCD"));
    auto* e = new QGridLayout(ext);
    e->addWidget(CheckBoxQRZ, 0, 0);
    e->addWidget(EditQRZ, 0, 1);
    e->addWidget(CheckBoxQRZA, 0, 2);
    e->addWidget(CheckBoxVCD, 1, 0);
    e->addWidget(EditVCD, 1, 1);
    e->addWidget(CheckBoxVCDA, 1, 2);
    e->setColumnStretch(1, 1);

    auto* v = new QVBoxLayout(page);
    v->addWidget(zelmor);
    v->addWidget(ext);
    v->addStretch();
}

void TFConfig::buildPageMedia(QWidget* page) {
    CheckBoxAutoAudio =
        newCheck(page, QStringLiteral("CheckBoxAutoAudio"), QStringLiteral("Auto save sound"), false);
    CheckBoxAutoImage =
        newCheck(page, QStringLiteral("CheckBoxAutoImage"), QStringLiteral("Auto view image"), false);
    auto* v = new QVBoxLayout(page);
    v->addWidget(CheckBoxAutoAudio);
    v->addWidget(CheckBoxAutoImage);
    v->addStretch();
}

void TFConfig::buildPageExtSoft(QWidget* page) {
    auto* programs = newGroup(page, QStringLiteral("GroupBoxPrograms"), QStringLiteral(" Programs "));
    const QString def = QStringLiteral("C:\\");
    EditPrDP = newEdit(programs, QStringLiteral("EditPrDP"), def);
    EditPrMixW = newEdit(programs, QStringLiteral("EditPrMixW"), def);
    EditPrMMV = newEdit(programs, QStringLiteral("EditPrMMV"), def);
    EditPrCT = newEdit(programs, QStringLiteral("EditPrCT"), def);
    EditPrTTTY = newEdit(programs, QStringLiteral("EditPrTTTY"), def);
    EditPr1 = newEdit(programs, QStringLiteral("EditPr1"), def);
    EditPr2 = newEdit(programs, QStringLiteral("EditPr2"), def);
    EditPrNU1 = newEdit(programs, QStringLiteral("EditPrNU1"), QStringLiteral("Name1"));
    EditPrNU2 = newEdit(programs, QStringLiteral("EditPrNU2"), QStringLiteral("Name2"));
    const auto fixedName = [programs](const QString& name, const QString& text) {
        QLineEdit* e = newEdit(programs, name, text);
        e->setReadOnly(true);
        return e;
    };
    const QList<std::pair<QLineEdit*, QLineEdit*>> rows = {
        {fixedName(QStringLiteral("EditPrNDP"), QStringLiteral("DigiPan")), EditPrDP},
        {fixedName(QStringLiteral("EditPrNMixW"), QStringLiteral("MixW")), EditPrMixW},
        {fixedName(QStringLiteral("EditPrNMMV"), QStringLiteral("MMVari")), EditPrMMV},
        {fixedName(QStringLiteral("EditPrNCT"), QStringLiteral("CwType")), EditPrCT},
        {fixedName(QStringLiteral("EditPrNTTTY"), QStringLiteral("TrueTTY")), EditPrTTTY},
        {EditPrNU1, EditPr1},
        {EditPrNU2, EditPr2}};
    auto* g = new QGridLayout(programs);
    g->addWidget(newLabel(programs, QStringLiteral("LabelPrName"), QStringLiteral("Program")), 0, 0);
    g->addWidget(newLabel(programs, QStringLiteral("LabelPrFile"), QStringLiteral("Program file")), 0, 1);
    int r = 1;
    for (auto [name, path] : rows) {
        name->setMaximumWidth(name->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMM")));
        g->addWidget(name, r, 0);
        g->addWidget(path, r, 1);
        ++r;
    }
    g->setColumnStretch(1, 1);

    auto* v = new QVBoxLayout(page);
    v->addWidget(programs);
    v->addStretch();
}

void TFConfig::buildPageFKeyHint(QWidget* page) {
    auto* g = new QGridLayout(page);
    g->addWidget(newLabel(page, QStringLiteral("LabelFKey"), QStringLiteral("Key")), 0, 0);
    g->addWidget(newLabel(page, QStringLiteral("LabelFHint"), QStringLiteral("Hint")), 0, 1);
    g->addWidget(newLabel(page, QStringLiteral("LabelFText"), QStringLiteral("Text")), 0, 2);
    QLineEdit** hints[] = {&EditF1, &EditF2, &EditF3, &EditF4,  &EditF5,  &EditF6,
                           &EditF7, &EditF8, &EditF9, &EditF10, &EditF11, &EditF12};
    QLineEdit** texts[] = {&EditMakros1, &EditMakros2,  &EditMakros3,  &EditMakros4,
                           &EditMakros5, &EditMakros6,  &EditMakros7,  &EditMakros8,
                           &EditMakros9, &EditMakros10, &EditMakros11, &EditMakros12};
    for (int i = 0; i < 12; ++i) {
        const QString n = QString::number(i + 1);
        *hints[i] = newEdit(page, QStringLiteral("EditF") + n, QStringLiteral("F") + n);
        *texts[i] = newEdit(page, QStringLiteral("EditMakros") + n);
        EditF.append(*hints[i]);
        EditMakros.append(*texts[i]);
        g->addWidget(newLabel(page, QStringLiteral("LabelF") + n, QStringLiteral("F") + n), i + 1, 0);
        g->addWidget(*hints[i], i + 1, 1);
        g->addWidget(*texts[i], i + 1, 2);
    }
    g->setColumnStretch(1, 1);
    g->setColumnStretch(2, 2);
    g->setRowStretch(13, 1);
}

void TFConfig::buildPageTRX(QWidget* page) {
    auto* trx = newGroup(page, QStringLiteral("GroupBoxTRX"), QStringLiteral(" Transceiver "));
    ComboBoxTRXName =
        newCombo(trx, QStringLiteral("ComboBoxTRXName"),
                 {QStringLiteral("None"), QStringLiteral("Kenwood TS-570")}, false, QStringLiteral("None"));
    QStringList ports{QStringLiteral("None")};
    for (int i = 1; i <= 10; ++i)
        ports << QStringLiteral("COM") + QString::number(i);
    // Editable: a device path may be typed in place of a port name.
    ComboBoxPortTrx = newCombo(trx, QStringLiteral("ComboBoxPortTrx"), ports, true, QStringLiteral("None"));
    ComboBoxBaudRate = newCombo(trx, QStringLiteral("ComboBoxBaudRate"),
                                {QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("4800"),
                                 QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
                                 QStringLiteral("57600")},
                                true, QStringLiteral("9600"));
    auto* g = new QGridLayout(trx);
    g->addWidget(newLabel(trx, QStringLiteral("LabelTrxName"), QStringLiteral("Model")), 0, 0);
    g->addWidget(ComboBoxTRXName, 0, 1);
    g->addWidget(newLabel(trx, QStringLiteral("LabelTrxPort"), QStringLiteral("Port")), 1, 0);
    g->addWidget(ComboBoxPortTrx, 1, 1);
    g->addWidget(newLabel(trx, QStringLiteral("LabelTrxBaud"), QStringLiteral("Baud rate")), 2, 0);
    g->addWidget(ComboBoxBaudRate, 2, 1);
    g->setColumnStretch(2, 1);

    auto* v = new QVBoxLayout(page);
    v->addWidget(trx);
    v->addStretch();
}

void TFConfig::connectHandlers() {
    const auto guard = [this](void (TFConfig::*handler)()) {
        return [this, handler] { Dialogs::guarded([this, handler] { (this->*handler)(); }); };
    };
    connect(ButtonSave, &QPushButton::clicked, this, guard(&TFConfig::ButtonSaveClick));
    connect(ButtonSaveExit, &QPushButton::clicked, this, guard(&TFConfig::ButtonSaveExitClick));
    connect(ButtonClose, &QPushButton::clicked, this, guard(&TFConfig::ButtonCloseClick));
    connect(EditDipA, &QLineEdit::textChanged, this, guard(&TFConfig::EditDipAChange));
    connect(EditDipB, &QLineEdit::textChanged, this, guard(&TFConfig::EditDipBChange));
    connect(ComboBoxTRXName, &QComboBox::currentTextChanged, this, guard(&TFConfig::ComboBoxTRXNameChange));
    connectBookHandlers();
}

// A single click on the own-locator box fills it from the coordinates; a double click opens the
// locator window. The release that ends a double click is not a second single click.
bool TFConfig::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditQthLoc) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            afterDoubleClick_ = true;
            Dialogs::guarded([this] { EditQthLocDblClick(); });
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (afterDoubleClick_)
                afterDoubleClick_ = false;
            else
                Dialogs::guarded([this] { EditQthLocClick(); });
        }
    }
    return TForm::eventFilter(watched, event);
}

// =============================================================================================
// Settings store
// =============================================================================================

void TFConfig::SaveParam(const QString& FormName, const QString& Object, const QString& Name_Param,
                         const QString& Param, const QString& Prim) {
    // A row whose value could not be read at start keeps it until the user sets that control.
    if (unreadKeys_.contains(SettingsStore::rowKey(FormName, Object, Name_Param))) return;

    Dataset* cfg = DM->TableCfgCfg;
    const QStringList keyFields{QStringLiteral("FormName"), QStringLiteral("Object"),
                                QStringLiteral("Name_Param")};
    cfg->locate(keyFields, {FormName, Object, Name_Param});
    const bool found = !cfg->isEmpty() && cfg->value(QStringLiteral("FormName")).toString() == FormName &&
                       cfg->value(QStringLiteral("Object")).toString() == Object &&
                       cfg->value(QStringLiteral("Name_Param")).toString() == Name_Param;
    try {
        if (found) {
            cfg->edit();
        } else {
            cfg->append();
            cfg->setValue(QStringLiteral("FormName"), FormName);
            cfg->setValue(QStringLiteral("Object"), Object);
            cfg->setValue(QStringLiteral("Name_Param"), Name_Param);
            cfg->setValue(QStringLiteral("Prim"), Prim);
        }
        cfg->setValue(QStringLiteral("Param"), Param);
        cfg->post();
    } catch (...) {
        if (cfg->state() == Dataset::State::Edit || cfg->state() == Dataset::State::Insert) cfg->cancel();
        throw;
    }

    // Inside a Save the captions are applied once, after the last row: every row would apply the
    // same stored language again.
    if (saveDepth_ > 0)
        languagePending_ = true;
    else
        SetLanguage();
}

void TFConfig::LoadSettings() {
    Dataset* cfg = DM->TableCfgCfg;
    unreadKeys_.clear();
    for (cfg->first(); !cfg->eof(); cfg->next()) {
        const QString formName = cfg->value(QStringLiteral("FormName")).toString();
        const QString object = cfg->value(QStringLiteral("Object")).toString();
        const QString param = cfg->value(QStringLiteral("Param")).toString();
        const QString prim = cfg->value(QStringLiteral("Prim")).toString();

        QWidget* window = nullptr;
        bool textClasses = false; // FVihod keeps no text settings
        if (formName == kFConfig) {
            window = this;
            textClasses = true;
        } else if (formName == QLatin1String("FTimer")) {
            window = FTimer;
            textClasses = true;
        } else if (formName == QLatin1String("FVihod")) {
            window = FVihod;
        }
        if (!window) continue;
        QObject* control = findNamedChild(window, object);
        if (!control) continue;

        LoadResult result = LoadResult::NotApplicable;
        if (textClasses && (prim == QLatin1String("TMaskEdit") || prim == QLatin1String("TEdit") ||
                            prim == QLatin1String("TComboBox")))
            result = setControlText(control, param);
        else if (prim == QLatin1String("TDateTimePicker"))
            result = setControlDateTime(control, param);
        else if (prim == QLatin1String("TCheckBox"))
            result = setControlChecked(control, param);
        else if (!textClasses && prim == QLatin1String("TRadioGroup"))
            result = setControlItemIndex(control, param);

        if (result == LoadResult::Unreadable) {
            // The control keeps its default; its row is left alone until the user sets the control.
            const QString key =
                SettingsStore::rowKey(formName, object, cfg->value(QStringLiteral("Name_Param")).toString());
            unreadKeys_.insert(key);
            onUserEdit(control, this, [this, key] { unreadKeys_.remove(key); });
        }
    }
}

void TFConfig::FillComboFromFormConfig(QWidget* form, QComboBox* combo) {
    Dataset* items = DM->TableCfgForm;
    const QString text = combo->currentText();
    items->setFilter(SettingsStore::formConfigFilter(form->objectName(), combo->objectName()));
    items->setFiltered(true);
    QStringList list;
    for (items->first(); !items->eof(); items->next())
        list << items->value(QStringLiteral("Param")).toString();
    items->setFiltered(false);
    // Adding the first items would make the first one current; the box keeps its text.
    const QSignalBlocker block(combo);
    combo->addItems(list);
    setComboText(combo, text);
}

void TFConfig::saveAllControls() {
    const auto text = [this](QLineEdit* e, const QString& prim) {
        SaveParam(kFConfig, e->objectName(), QStringLiteral("Text"), e->text(), prim);
    };
    const auto combo = [this](QComboBox* c) {
        SaveParam(kFConfig, c->objectName(), QStringLiteral("Text"), c->currentText(),
                  QStringLiteral("TComboBox"));
    };
    const auto check = [this](QCheckBox* c) {
        SaveParam(kFConfig, c->objectName(), QStringLiteral("Checked"),
                  SettingsStore::checkedText(c->isChecked()), QStringLiteral("TCheckBox"));
    };
    const QString mask = QStringLiteral("TMaskEdit");
    const QString edit = QStringLiteral("TEdit");

    combo(ComboBoxLanguage);
    for (QLineEdit* e : {MaskEditC, MaskEditN, MaskEditQ, MaskEditLat, MaskEditLon, MaskEditT, MaskEdit2T})
        text(e, mask);
    text(EditQthLoc, edit);
    check(CheckBoxUTC);
    for (QCheckBox* c : {CheckBoxRxRst, CheckBoxTxRst, CheckBoxInfo, CheckBoxName, CheckBoxQth})
        check(c);
    for (QCheckBox* c : {CheckBox1D, CheckBox1T, CheckBox1B, CheckBox1M, CheckBox1N, CheckBox1Q, CheckBox1RR,
                         CheckBox1TR, CheckBox1QS, CheckBox1QR, CheckBox1Note, CheckBox1QthLoc})
        check(c);
    combo(ComboBoxBand);
    combo(ComboBoxMode);
    text(MaskEditRxR, mask);
    text(MaskEditTxR, mask);
    for (QLineEdit* e : {EditName, EditQth, EditI})
        text(e, edit);
    for (QCheckBox* c : {CBDxcc, CBWaz, CBWas, CBIota, CBUkRu, CBDipA, CBDipB})
        check(c);
    text(EditDipA, edit);
    text(EditDipB, edit);
    check(CheckBoxInternal);
    for (QCheckBox* c : {CheckBoxQRZ, CheckBoxVCD, CheckBoxQRZA, CheckBoxVCDA})
        check(c);
    text(EditQRZ, edit);
    text(EditVCD, edit);
    check(CheckBoxAutoIns);
    check(CheckBoxAutoAudio);
    check(CheckBoxAutoImage);
    for (QLineEdit* e :
         {EditPrDP, EditPrMixW, EditPrMMV, EditPrCT, EditPrTTTY, EditPr1, EditPr2, EditPrNU1, EditPrNU2})
        text(e, edit);
    for (QLineEdit* e : EditF)
        text(e, edit);
    for (QLineEdit* e : EditMakros)
        text(e, edit);
    combo(ComboBoxTRXName);
    combo(ComboBoxPortTrx);
    combo(ComboBoxBaudRate);
}

// =============================================================================================
// Applying the settings to the other windows
// =============================================================================================

void TFConfig::ApplySettings() {
    // Own station into the locator window.
    copyOwnStationToLocator();

    setComboText(FMain->ComboBoxBand, ComboBoxBand->currentText());
    setComboText(FMain->ComboBoxMode, ComboBoxMode->currentText());

    applyEntryDefaults();
    applyLogGridColumns();
    applyAwardsVisibility();
    applyCallbookSwitch();

    FMain->ViewImagesAutoView->setChecked(CheckBoxAutoImage->isChecked());
    FMain->ViewSoundAutoSave->setChecked(CheckBoxAutoAudio->isChecked());

    if (FTimer) FTimer->PrepareJobs();

    const std::pair<QAction*, QLineEdit*> programs[] = {{FMain->DigiPan1, EditPrDP},
                                                        {FMain->MixW1, EditPrMixW},
                                                        {FMain->MMVari1, EditPrMMV},
                                                        {FMain->CwType, EditPrCT},
                                                        {FMain->PrTrueTTY, EditPrTTTY}};
    for (auto [item, path] : programs)
        item->setVisible(SettingsStore::externalProgramShown(path->text()));

    for (int i = 0; i < EditF.size() && i < FMain->ButtonF.size(); ++i)
        FMain->ButtonF.at(i)->setToolTip(EditF.at(i)->text());

    applyTransceiver();
}

void TFConfig::copyOwnStationToLocator() {
    FQTHLoc->EditMy->setText(EditQthLoc->text());
    FQTHLoc->EditMyLat->setText(SettingsStore::coordinateText(MaskEditLat->text()));
    FQTHLoc->EditMyLong->setText(SettingsStore::coordinateText(MaskEditLon->text()));
}

void TFConfig::applyEntryDefaults() {
    const auto apply = [](QCheckBox* fixed, QLineEdit* entry, const QString& whenFixed,
                          const QString& whenFree) {
        entry->setText(fixed->isChecked() ? whenFixed : whenFree);
        entry->setEnabled(!fixed->isChecked());
    };
    apply(CheckBoxRxRst, FMain->EditRSRX, MaskEditRxR->text(), MaskEditRxR->text());
    apply(CheckBoxTxRst, FMain->EditRSTX, MaskEditTxR->text(), MaskEditTxR->text());
    apply(CheckBoxName, FMain->EditName, EditName->text(), QString());
    apply(CheckBoxQth, FMain->EditQTH, EditQth->text(), QString());
    apply(CheckBoxInfo, FMain->EditNote, EditI->text(), QString());
}

void TFConfig::applyLogGridColumns() {
    const std::pair<QCheckBox*, const char*> columns[] = {
        {CheckBox1D, "LogDate"},   {CheckBox1T, "LogTime"},        {CheckBox1B, "LogBand"},
        {CheckBox1M, "LogMode"},   {CheckBox1N, "LogName"},        {CheckBox1Q, "LogQth"},
        {CheckBox1RR, "LogRxRst"}, {CheckBox1TR, "LogTxRst"},      {CheckBox1QR, "LogRxQsl"},
        {CheckBox1QS, "LogTxQsl"}, {CheckBox1QthLoc, "LogQTHLoc"}, {CheckBox1Note, "LogNotepad"}};
    for (auto [box, field] : columns)
        if (!box->isChecked()) FMain->DBGridLog->setColumnVisible(QLatin1String(field), false);
    for (auto [box, field] : columns)
        if (box->isChecked()) FMain->DBGridLog->setColumnVisible(QLatin1String(field), true);
}

void TFConfig::applyAwardsVisibility() {
    // The contest window's button of each award in use is clicked: the last of them stays chosen.
    FMain->GroupBoxDXCC->setVisible(CBDxcc->isChecked());
    if (CBDxcc->isChecked() && FCont) FCont->ButtonDXCCClick();
    FMain->GroupBoxWAZ->setVisible(CBWaz->isChecked());
    if (CBWaz->isChecked() && FCont) FCont->ButtonWAZClick();
    FAwardAdd->GroupBoxWas->setVisible(CBWas->isChecked());
    FMain->GroupBoxIOTA->setVisible(CBIota->isChecked());
    FAwardAdd->GroupBoxIOTA->setVisible(CBIota->isChecked());
    if (CBIota->isChecked() && FCont) FCont->ButtonIOTAClick();
    FMain->GroupBoxUR->setVisible(CBUkRu->isChecked());
    FAwardAdd->GroupBoxUkrRuss->setVisible(CBUkRu->isChecked());
    if (CBUkRu->isChecked() && FCont) FCont->ButtonURClick();
    FAwardAdd->GroupBoxUserAwA->setVisible(CBDipA->isChecked());
    FAwardAdd->GroupBoxUserAwB->setVisible(CBDipB->isChecked());
}

void TFConfig::applyCallbookSwitch() {
    if (!CheckBoxInternal->isChecked()) {
        FMain->ButtonCBFindZelmor->setEnabled(false);
        FMain->ButtonCBEdit->setEnabled(false);
        FMain->setCallbookPopup(false);
        return;
    }
    if (QFileInfo::exists(programPath(DbFiles::CallBook))) {
        FMain->ButtonCBFindZelmor->setEnabled(true);
        FMain->ButtonCBEdit->setEnabled(true);
        // Switching the callbook off removed its pop-up menu; switching it on brings it back.
        FMain->setCallbookPopup(true);
    } else {
        ReportMissingFile(DbFiles::CallBook, QStringLiteral("ShowMessage"));
    }
}

void TFConfig::applyTransceiver() {
    TrxSettings.TrxName = ComboBoxTRXName->currentText();
    TrxSettings.TrxPort = ComboBoxPortTrx->currentText();
    TrxSettings.TrxBaud = SettingsStore::trxBaudFromText(ComboBoxBaudRate->currentText());
}

// =============================================================================================
// Caption language
// =============================================================================================

void TFConfig::SetLanguage() {
    Dataset* cfg = DM->TableCfgCfg;
    cfg->locate(QStringList{QStringLiteral("FormName"), QStringLiteral("Object")},
                QVariantList{kFConfig, QStringLiteral("ComboBoxLanguage")});
    const bool stored = !cfg->isEmpty() && cfg->value(QStringLiteral("FormName")).toString() == kFConfig &&
                        cfg->value(QStringLiteral("Object")).toString() == QLatin1String("ComboBoxLanguage");
    setComboText(ComboBoxLanguage,
                 stored ? cfg->value(QStringLiteral("Param")).toString() : QStringLiteral("Default"));

    DM->TableCfgLang->setFiltered(true);
    const QString language = ComboBoxLanguage->currentText();
    appliedLanguage_ = language;
    for (QWidget* form :
         std::initializer_list<QWidget*>{this, FMain, FQTHLoc, FAwards, Filter, FImage, FSound, FTimer,
                                         FVihod, FSkeds, FContConf, FCont, FCabrillo})
        if (form) ApplyLanguage(form, language);
    DM->TableCfgLang->setFiltered(false);
    if (FAwards) FAwards->ShowCountCaptions();
}

QString TFConfig::RunTimeCaption(const QString& form, const QString& object, const QString& design) const {
    if (!DM || !DM->ConnectionCfg || !DM->ConnectionCfg->connected()) return design;
    try {
        const QString caption =
            DM->ConnectionCfg
                ->scalar(QStringLiteral("SELECT %1 FROM Language WHERE FormName = ? AND Object = ?")
                             .arg(CaptionLanguage::columnFor(appliedLanguage_)),
                         {form, object})
                .toString();
        return caption.isEmpty() ? design : caption;
    } catch (const DbError&) {
        return design; // the captions are only words: a settings file without them keeps the design text
    }
}

void TFConfig::ApplyLanguage(QWidget* form, const QString& language) {
    // A callbook reported missing goes on saying so in every language.
    const QString callbookMissing = QStringLiteral(" CallBook Zelmor not exist ");
    const bool keepCallbookTitle = form == FMain && FMain->GroupBoxCallbook->title() == callbookMissing;
    Dataset* lang = DM->TableCfgLang;
    const QString column = CaptionLanguage::columnFor(language);
    const bool wasFiltered = lang->filtered();
    lang->setFilter(CaptionLanguage::filterFor(form->objectName()));
    lang->setFiltered(true);
    for (lang->first(); !lang->eof(); lang->next()) {
        const QString caption = lang->value(column).toString();
        if (caption.isEmpty()) continue;
        QObject* control = findNamedChild(form, lang->value(QStringLiteral("Object")).toString());
        if (!control) continue;
        setCaption(control, caption,
                   CaptionLanguage::setterFor(lang->value(QStringLiteral("Prim")).toString()));
    }
    lang->setFiltered(wasFiltered);
    if (keepCallbookTitle) FMain->GroupBoxCallbook->setTitle(callbookMissing);

    applyBuiltInTabCaptions(language);
    copyCallbookCaptions();
    if (form == FMain) FMain->fitToContents();
    form->update();
}

void TFConfig::applyBuiltInTabCaptions(const QString& language) {
    const QStringList pages = CaptionLanguage::settingsTabCaptions(language);
    for (int i = 0; i < pages.size() && i < PageControl1->count(); ++i)
        PageControl1->setTabText(i, pages.at(i));
    if (!FTimer) return;
    auto* notebook = FTimer->findChild<QTabWidget*>(QStringLiteral("TabbedNotebook1"));
    if (!notebook) notebook = FTimer->findChild<QTabWidget*>();
    if (!notebook || notebook->count() != 2) return;
    const QStringList timerPages = CaptionLanguage::timerTabCaptions(language);
    for (int i = 0; i < 2; ++i)
        notebook->setTabText(i, timerPages.at(i));
}

void TFConfig::copyCallbookCaptions() {
    if (!FMain) return;
    FMain->Label23->setText(FMain->Label1->text());
    FMain->Label25->setText(FMain->Label11->text());
    FMain->LabelCBNote->setText(FMain->Label12->text());
    FMain->LabelCBName->setText(FMain->Label4->text());
}

// =============================================================================================
// Handlers
// =============================================================================================

void TFConfig::limitBoxesToColumns() {
    if (!DM) return;
    limitToColumn(EditLLogName, DM->TableLogName, QStringLiteral("Name"));
    limitToColumn(EditAboutLog, DM->TableLogName, QStringLiteral("Prim"));
    // The defaults go into the entry boxes and from there into the log.
    limitToColumn(EditName, DM->TableLog, QStringLiteral("LogName"));
    limitToColumn(EditQth, DM->TableLog, QStringLiteral("LogQth"));
    limitToColumn(EditI, DM->TableLog, QStringLiteral("LogNotepad"));
    limitToColumn(MaskEditRxR, DM->TableLog, QStringLiteral("LogRxRst"));
    limitToColumn(MaskEditTxR, DM->TableLog, QStringLiteral("LogTxRst"));
}

void TFConfig::FormCreate() {
    limitBoxesToColumns();
    // Without the settings database (its failure was reported when it was opened) the window
    // keeps its design values and applies those.
    if (settingsTablesOpen()) {
        FillComboFromFormConfig(FMain, FMain->ComboBoxBand);
        FillComboFromFormConfig(FMain, ComboBoxBand);
        FillComboFromFormConfig(FMain, FMain->ComboBoxMode);
        FillComboFromFormConfig(FMain, ComboBoxMode);
        if (FAwards) FillComboFromFormConfig(FMain, FAwards->ComboBoxBand);
        SetLanguage();
        LoadSettings();
    }
    ApplySettings();
}

bool TFConfig::settingsTablesOpen() const {
    return DM && DM->TableCfgForm->active() && DM->TableCfgLang->active() && DM->TableCfgCfg->active();
}

void TFConfig::FormShow() {
    logNameBookmark_ = DM->TableLogName->bookmark();
}

void TFConfig::FormClose() {
    // Browsing the book grid moved the log-book cursor; the current book stays what it was.
    if (logNameBookmark_ != 0 && DM->TableLogName->bookmarkValid(logNameBookmark_))
        DM->TableLogName->gotoBookmark(logNameBookmark_);
    PageControl1->setCurrentIndex(0);
}

void TFConfig::ButtonSaveClick() {
    if (!settingsTablesOpen()) {
        // Its failure was reported at start-up; here the user learns that Save cannot keep anything.
        Dialogs::messageDlg(
            Msg(QStringLiteral("The settings database ") + programPath(DbFiles::Cfg) +
                    QStringLiteral(" could not be opened at start-up. The settings were not saved."),
                QStringLiteral("База данных настроек ") + programPath(DbFiles::Cfg) +
                    QStringLiteral(" не открылась при запуске. Настройки не сохранены.")),
            DlgType::Warning, DlgButtons::Ok);
        return;
    }
    // All rows or none: a failure in the middle leaves the stored settings as they were.
    ++saveDepth_;
    try {
        Transaction tx(*DM->ConnectionCfg);
        saveAllControls();
        tx.commit();
    } catch (...) {
        // Rolled back by now; the settings view re-reads what the file holds when it can.
        --saveDepth_;
        languagePending_ = false;
        try {
            DM->TableCfgCfg->requery();
        } catch (const DbError&) {
        }
        throw;
    }
    --saveDepth_;
    if (languagePending_ && saveDepth_ == 0) {
        languagePending_ = false;
        SetLanguage();
    }
    ApplySettings();
}

void TFConfig::ButtonSaveExitClick() {
    hide();
    try {
        ButtonSaveClick();
    } catch (...) {
        // Nothing was stored: the window comes back so its own close step still runs later.
        show();
        throw;
    }
    Close();
}

void TFConfig::ButtonCloseClick() {
    Close();
}

void TFConfig::EditQthLocClick() {
    if (!EditQthLoc->text().isEmpty()) return;
    copyOwnStationToLocator();
    FQTHLoc->ButtonCoordToLocClick();
    EditQthLoc->setText(FQTHLoc->EditMy->text());
}

void TFConfig::EditQthLocDblClick() {
    FQTHLoc->ShowModal();
    copyOwnStationToLocator();
}

void TFConfig::EditDipAChange() {
    CBDipA->setText(EditDipA->text());
}

void TFConfig::EditDipBChange() {
    CBDipB->setText(EditDipB->text());
}

void TFConfig::ComboBoxTRXNameChange() {
    const bool none = ComboBoxTRXName->currentText() == QLatin1String("None");
    ComboBoxPortTrx->setEnabled(!none);
    ComboBoxBaudRate->setEnabled(!none);
}

void TFConfig::showEvent(QShowEvent* e) {
    TForm::showEvent(e);
    if (e->spontaneous()) return;
    centreOn(this, FMain);
    FormShow();
}

void TFConfig::closeEvent(QCloseEvent* e) {
    TForm::closeEvent(e);
    if (e->isAccepted()) FormClose();
}

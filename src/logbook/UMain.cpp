// The main window's frame: its four panels, the menu bar and the pop-up menus, and the handlers
// that open another window, refresh all logs or end the program.
#include "logbook/UMain.h"

#include "awards/UAwardAdd.h"
#include "awards/UAwards.h"
#include "awards/UThreadUpdatBase.h"
#include "contest/USked.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "logbook/PrefixLookup.h"
#include "logbook/UAbout.h"
#include "logbook/UFilter.h"
#include "logbook/UFilterCall.h"
#include "logbook/UQTHLoc.h"
#include "media/UImage.h"
#include "media/USound.h"
#include "platform/Clock.h"
#include "platform/DataFolder.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "widgets/DateTimePicker.h"
#include "widgets/BoxColour.h"
#include "widgets/Controls.h"
#include "widgets/DBGrid.h"
#include "widgets/TForm.h"
#include "widgets/UpperCase.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

TFMain* FMain = nullptr;

namespace {

// The fourteen bands of the award labels: name suffix and caption, in band order.
struct BandCell {
    const char* suffix;
    const char* caption;
};
const BandCell kBands[] = {{"18", "1.8"}, {"35", "3.5"},  {"70", "7.0"},  {"10", "10"},    {"14", "14"},
                           {"180", "18"}, {"21", "21"},   {"24", "24"},   {"28", "28"},    {"50", "50"},
                           {"S", "S"},    {"144", "144"}, {"430", "430"}, {"1260", "1260"}};

const QColor kBlack{0, 0, 0};
const QColor kBlue{0, 0, 255};
// The recording letter starts grey so that the first blink shows it.
const QColor kGrey{128, 128, 128};

// A label whose text changes at run time: a fixed width, so that a long text is cut at its
// right edge instead of pushing the fixed-size window's layout around.
void fixWidth(QLabel* l, int chars) {
    l->setFixedWidth(l->fontMetrics().horizontalAdvance(QString(chars, QLatin1Char('W'))) / 2 + 8);
}

// Centred on the desktop; a window larger than the screen keeps its title bar on it.
void centreOnScreen(QWidget* w) {
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s) return;
    const QRect area = s->availableGeometry();
    const QSize frame = w->frameGeometry().size().expandedTo(w->size());
    w->move(std::max(area.left(), area.center().x() - frame.width() / 2),
            std::max(area.top(), area.center().y() - frame.height() / 2));
}

} // namespace

TFMain::TFMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QStringLiteral("Zelmor"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralWidget"));
    setCentralWidget(central);
    PanelIO = newPanel(central, QStringLiteral("PanelIO"));
    PanelInfo = newPanel(central, QStringLiteral("PanelInfo"));
    PanelGrid = newPanel(central, QStringLiteral("PanelGrid"));
    PanelDop = newPanel(central, QStringLiteral("PanelDop"));
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    column->addWidget(PanelIO);
    column->addWidget(PanelInfo);
    column->addWidget(PanelGrid, 1);
    column->addWidget(PanelDop);

    buildEntryPanel();
    buildInfoPanel();
    buildGridPanel();
    buildExtraPanel();
    buildMenus();
    buildPopupMenus();
    // A click on a button leaves the focus in the box being typed into.
    for (QPushButton* b : findChildren<QPushButton*>())
        b->setFocusPolicy(Qt::TabFocus);

    TimerRealClock = named(new QTimer(this), QStringLiteral("TimerRealClock"));
    TimerRealClock->setInterval(1000);
    TimerTimer = named(new QTimer(this), QStringLiteral("TimerTimer"));
    TimerTimer->setInterval(1000);
    connectEntryHandlers();
    connectStopwatchHandlers();
    setUpLogGrid();
    connectMediaHandlers();
    connectContestHandlers();
    connectCallbookHandlers();
    connectDeviceHandlers();
    connectProgramHandlers();

    fitToContents();
    centreOnScreen(this);
}

void TFMain::fitToContents() {
    // The window takes the size of its contents and keeps it until its captions change.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // New captions change the panels' sizes only once their layouts are recalculated.
    for (QLayout* l : findChildren<QLayout*>())
        l->invalidate();
    if (layout()) layout()->activate();
    adjustSize();
    setFixedSize(sizeHint());
}

void TFMain::LimitBoxesToColumns() {
    const Dataset* log = DM->TableLog;
    const std::pair<QLineEdit*, const char*> boxes[] = {
        {EditCall, "LogCall"},    {EditName, "LogName"},       {EditQTH, "LogQth"},
        {EditRSRX, "LogRxRst"},   {EditRSTX, "LogTxRst"},      {EditNote, "LogNotepad"},
        {EditQTHLoc, "LogQTHLoc"}, {EditQSLSend, "LogTxQsl"},  {EditQSLRcvd, "LogRxQsl"},
        {EditNmTx, "Log3"},       {EditNmRx, "Log2"}};
    for (auto [box, column] : boxes)
        limitToColumn(box, log, QLatin1String(column));
    limitToColumn(ComboBoxBand, log, QStringLiteral("LogBand"));
    limitToColumn(ComboBoxMode, log, QStringLiteral("LogMode"));
    // The award references typed for a contact are stored with it.
    limitToColumn(FAwardAdd->EditIOTANum, log, QStringLiteral("LogAwIOTA"));
    limitToColumn(FAwardAdd->EditWASState, log, QStringLiteral("LogAwWAS"));
}

TFMain::~TFMain() {
    if (FMain == this) FMain = nullptr;
}

// --- panels ---------------------------------------------------------------------------------------

void TFMain::buildEntryPanel() {
    QWidget* p = PanelIO;
    Label1 = newLabel(p, QStringLiteral("Label1"), QStringLiteral("Callsignal"));
    Label2 = newLabel(p, QStringLiteral("Label2"), QStringLiteral("Tx RST"));
    Label3 = newLabel(p, QStringLiteral("Label3"), QStringLiteral("Rx RST"));
    Label4 = newLabel(p, QStringLiteral("Label4"), QStringLiteral("Name"));
    Label5 = newLabel(p, QStringLiteral("Label5"), QStringLiteral("QTH"));
    Label6 = newLabel(p, QStringLiteral("Label6"), QStringLiteral("Time"));
    Label7 = newLabel(p, QStringLiteral("Label7"), QStringLiteral("Date"));
    Label8 = newLabel(p, QStringLiteral("Label8"), QStringLiteral("Band"));
    Label9 = newLabel(p, QStringLiteral("Label9"), QStringLiteral("Mode"));
    Label11 = newLabel(p, QStringLiteral("Label11"), QStringLiteral("QTH Loc"));
    Label12 = newLabel(p, QStringLiteral("Label12"), QStringLiteral("Note"));
    Label32 = newLabel(p, QStringLiteral("Label32"), QStringLiteral("TX"));
    Label33 = newLabel(p, QStringLiteral("Label33"), QStringLiteral("RX"));

    EditCall = newEdit(p, QStringLiteral("EditCall"), {}, 20);
    makeUpperCase(EditCall);
    QFont callFont = EditCall->font();
    callFont.setBold(true);
    EditCall->setFont(callFont);
    EditCall->setFixedWidth(120);
    EditRSTX = newEdit(p, QStringLiteral("EditRSTX"), QStringLiteral("599"));
    EditRSRX = newEdit(p, QStringLiteral("EditRSRX"), QStringLiteral("599"));
    for (QLineEdit* e : {EditRSTX, EditRSRX})
        e->setFixedWidth(50);
    EditName = newEdit(p, QStringLiteral("EditName"));
    EditName->setFixedWidth(120);
    EditQTH = newEdit(p, QStringLiteral("EditQTH"));
    EditQTH->setFixedWidth(140);
    // The contest exchange boxes take the places of the name and QTH boxes.
    EditNmTx = newEdit(p, QStringLiteral("EditNmTx"), QStringLiteral("000"));
    EditNmRx = newEdit(p, QStringLiteral("EditNmRx"), QStringLiteral("000"));
    // As wide as the boxes they replace, so that switching to contest mode moves nothing.
    EditNmTx->setFixedWidth(EditName->width());
    EditNmRx->setFixedWidth(EditQTH->width());
    for (QWidget* w : {static_cast<QWidget*>(EditNmTx), static_cast<QWidget*>(EditNmRx),
                       static_cast<QWidget*>(Label32), static_cast<QWidget*>(Label33)})
        w->hide();

    const QDateTime now = Clock::now();
    TimePicker = named(new TimeBox(now.time(), p), QStringLiteral("TimePicker"));
    TimePicker->setDisplayFormat(QString::fromLatin1(DateText::LongTime));
    DatePicker = named(new DateBox(now.date(), p), QStringLiteral("DatePicker"));
    DatePicker->setDisplayFormat(QString::fromLatin1(DateText::ShortDate));
    DatePicker->setCalendarPopup(true);

    // The pick-lists are filled from the settings database; the design texts stand until then.
    ComboBoxBand = named(new QComboBox(p), QStringLiteral("ComboBoxBand"));
    ComboBoxBand->setEditable(true);
    ComboBoxBand->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxBand->setEditText(QStringLiteral("14"));
    ComboBoxMode = named(new QComboBox(p), QStringLiteral("ComboBoxMode"));
    ComboBoxMode->setEditable(true);
    ComboBoxMode->setInsertPolicy(QComboBox::NoInsert);
    ComboBoxMode->setEditText(QStringLiteral("SSB"));
    for (QComboBox* c : {ComboBoxBand, ComboBoxMode})
        c->setFixedWidth(72);

    EditQTHLoc = newEdit(p, QStringLiteral("EditQTHLoc"), {}, 6);
    makeUpperCase(EditQTHLoc);
    setBoxColour(EditQTHLoc, kSilver);
    EditNote = newEdit(p, QStringLiteral("EditNote"), {}, 249);
    setBoxColour(EditNote, kSilver);
    CheckBoxTime = named(new QCheckBox(QStringLiteral("Real Time"), p), QStringLiteral("CheckBoxTime"));
    CheckBoxTime->setChecked(true);

    ButtonClear = newButton(p, QStringLiteral("ButtonClear"), QStringLiteral("Clear"));
    ButtonEdit = newButton(p, QStringLiteral("ButtonEdit"), QStringLiteral("Edit"));
    ButtonSave = newButton(p, QStringLiteral("ButtonSave"), QStringLiteral("Save"));

    GroupBoxButtonSound = newGroup(p, QStringLiteral("GroupBoxButtonSound"), {});
    ButtonRec = newButton(GroupBoxButtonSound, QStringLiteral("ButtonRec"), QStringLiteral("Rec"));
    ButtonPlay = newButton(GroupBoxButtonSound, QStringLiteral("ButtonPlay"), QStringLiteral("Play"));
    LabelRP = newLabel(GroupBoxButtonSound, QStringLiteral("LabelRP"), QStringLiteral("R"));
    QFont rpFont = LabelRP->font();
    rpFont.setBold(true);
    LabelRP->setFont(rpFont);
    LabelRP->setFixedWidth(LabelRP->fontMetrics().horizontalAdvance(QStringLiteral("W")) + 4);
    setTextColour(LabelRP, kGrey);
    // The letter blinks: its place stays reserved while it is hidden.
    QSizePolicy rpPolicy = LabelRP->sizePolicy();
    rpPolicy.setRetainSizeWhenHidden(true);
    LabelRP->setSizePolicy(rpPolicy);
    LabelRP->hide();
    auto* sound = new QVBoxLayout(GroupBoxButtonSound);
    sound->setContentsMargins(4, 4, 4, 4);
    auto* soundRow = new QHBoxLayout;
    soundRow->addWidget(ButtonRec);
    soundRow->addWidget(LabelRP);
    sound->addLayout(soundRow);
    sound->addWidget(ButtonPlay);

    auto* g = new QGridLayout;
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(1);
    g->addWidget(Label1, 0, 0);
    g->addWidget(EditCall, 1, 0);
    g->addWidget(Label2, 0, 1);
    g->addWidget(EditRSTX, 1, 1);
    g->addWidget(Label3, 0, 2);
    g->addWidget(EditRSRX, 1, 2);
    g->addWidget(Label4, 0, 3);
    g->addWidget(Label32, 0, 3);
    g->addWidget(EditName, 1, 3);
    g->addWidget(EditNmTx, 1, 3);
    g->addWidget(Label5, 0, 4);
    g->addWidget(Label33, 0, 4);
    g->addWidget(EditQTH, 1, 4);
    g->addWidget(EditNmRx, 1, 4);
    g->addWidget(Label6, 0, 5);
    g->addWidget(TimePicker, 1, 5);
    g->addWidget(Label7, 0, 6);
    g->addWidget(DatePicker, 1, 6);
    g->addWidget(Label8, 0, 7);
    g->addWidget(ComboBoxBand, 1, 7);
    g->addWidget(Label9, 0, 8);
    g->addWidget(ComboBoxMode, 1, 8);
    g->addWidget(Label11, 2, 0);
    g->addWidget(EditQTHLoc, 3, 0);
    g->addWidget(Label12, 2, 1, 1, 6);
    g->addWidget(EditNote, 3, 1, 1, 6);
    g->addWidget(CheckBoxTime, 3, 7, 1, 2);

    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(ButtonClear);
    buttons->addWidget(ButtonEdit);
    buttons->addWidget(ButtonSave);

    auto* row = new QHBoxLayout(p);
    row->setContentsMargins(6, 4, 6, 4);
    row->addLayout(g, 1);
    row->addLayout(buttons);
    row->addWidget(GroupBoxButtonSound);
}

void TFMain::buildInfoPanel() {
    QWidget* p = PanelInfo;

    GroupBoxInfo = newGroup(p, QStringLiteral("GroupBoxInfo"), QStringLiteral(" Info QSO "));
    QWidget* gi = GroupBoxInfo;
    LabelPref = newLabel(gi, QStringLiteral("LabelPref"), QStringLiteral("Pref"));
    LabelRepCountry = newLabel(gi, QStringLiteral("LabelRepCountry"), QStringLiteral("*"));
    setTextColour(LabelRepCountry, kBlue);
    LabelContinent = newLabel(gi, QStringLiteral("LabelContinent"), QStringLiteral("NO"));
    LabelRegion = newLabel(gi, QStringLiteral("LabelRegion"), QStringLiteral("Country"));
    LabelZoneCQ = newLabel(gi, QStringLiteral("LabelZoneCQ"), QStringLiteral("00"));
    LabelZoneITU = newLabel(gi, QStringLiteral("LabelZoneITU"), QStringLiteral("00"));
    LabelDist = newLabel(gi, QStringLiteral("LabelDist"), QStringLiteral("00000"));
    LabelAzD = newLabel(gi, QStringLiteral("LabelAzD"), QStringLiteral("000"));
    LabelAzB = newLabel(gi, QStringLiteral("LabelAzB"), QStringLiteral("000"));
    LabelTime = newLabel(gi, QStringLiteral("LabelTime"), QStringLiteral("00:00:00"));
    LabelH = newLabel(gi, QStringLiteral("LabelH"), QStringLiteral("00"));
    LabelM = newLabel(gi, QStringLiteral("LabelM"), QStringLiteral("00"));
    LabelS = newLabel(gi, QStringLiteral("LabelS"), QStringLiteral("00"));
    LabelTerExist = newLabel(gi, QStringLiteral("LabelTerExist"), QStringLiteral("Territory exists"));
    LabelTerExist->hide();
    LabelLastQSO = newLabel(gi, QStringLiteral("LabelLastQSO"), {});
    LabelLastQSO->hide();
    QFont bold = LabelRegion->font();
    bold.setBold(true);
    for (QLabel* l : {LabelPref, LabelRegion, LabelContinent, LabelZoneCQ, LabelZoneITU, LabelDist, LabelAzD,
                      LabelAzB, LabelTime, LabelH, LabelM, LabelS})
        l->setFont(bold);
    fixWidth(LabelRegion, 28);
    fixWidth(LabelPref, 8);
    fixWidth(LabelLastQSO, 34);
    for (QLabel* l : {LabelContinent, LabelZoneCQ, LabelZoneITU})
        fixWidth(l, 4);

    auto* stopwatch = new QHBoxLayout;
    stopwatch->setSpacing(0);
    stopwatch->addWidget(LabelH);
    stopwatch->addWidget(caption(gi, QStringLiteral(":")));
    stopwatch->addWidget(LabelM);
    stopwatch->addWidget(caption(gi, QStringLiteral(":")));
    stopwatch->addWidget(LabelS);
    stopwatch->addStretch();
    auto* bearing = new QHBoxLayout;
    bearing->setSpacing(0);
    bearing->addWidget(LabelAzD);
    bearing->addWidget(caption(gi, QStringLiteral(" / ")));
    bearing->addWidget(LabelAzB);
    bearing->addStretch();
    auto* prefix = new QHBoxLayout;
    prefix->setSpacing(4);
    prefix->addWidget(LabelPref);
    prefix->addWidget(LabelRepCountry);
    prefix->addStretch();

    auto* info = new QGridLayout(gi);
    info->setContentsMargins(6, 2, 6, 4);
    info->setHorizontalSpacing(6);
    info->setVerticalSpacing(2);
    info->addWidget(named(caption(gi, QStringLiteral("Pref")), QStringLiteral("LabelCapPref")), 0, 0);
    info->addLayout(prefix, 0, 1);
    info->addWidget(named(caption(gi, QStringLiteral("Cont")), QStringLiteral("LabelCapCont")), 0, 2);
    info->addWidget(LabelContinent, 0, 3);
    info->addWidget(named(caption(gi, QStringLiteral("Country")), QStringLiteral("LabelCapCountry")), 1, 0);
    info->addWidget(LabelRegion, 1, 1, 1, 3);
    info->addWidget(named(caption(gi, QStringLiteral("CQ")), QStringLiteral("LabelCapCQ")), 2, 0);
    info->addWidget(LabelZoneCQ, 2, 1);
    info->addWidget(named(caption(gi, QStringLiteral("ITU")), QStringLiteral("LabelCapITU")), 2, 2);
    info->addWidget(LabelZoneITU, 2, 3);
    info->addWidget(named(caption(gi, QStringLiteral("Dist km")), QStringLiteral("LabelCapDist")), 3, 0);
    info->addWidget(LabelDist, 3, 1);
    info->addWidget(named(caption(gi, QStringLiteral("Az")), QStringLiteral("LabelCapAz")), 3, 2);
    info->addLayout(bearing, 3, 3);
    info->addWidget(named(caption(gi, QStringLiteral("Time")), QStringLiteral("LabelCapTime")), 4, 0);
    info->addWidget(LabelTime, 4, 1);
    info->addWidget(named(caption(gi, QStringLiteral("QSO")), QStringLiteral("LabelCapStopwatch")), 4, 2);
    info->addLayout(stopwatch, 4, 3);
    info->addWidget(LabelTerExist, 5, 0, 1, 4);
    info->addWidget(LabelLastQSO, 6, 0, 1, 4);
    info->setRowStretch(7, 1);

    GroupBoxTotal = newGroup(p, QStringLiteral("GroupBoxTotal"), QStringLiteral(" Total "));
    LabelQSOs = newLabel(GroupBoxTotal, QStringLiteral("LabelQSOs"), QStringLiteral("0"));
    LabelDateLogStart = newLabel(GroupBoxTotal, QStringLiteral("LabelDateLogStart"), {});
    fixWidth(LabelQSOs, 8);
    fixWidth(LabelDateLogStart, 12);
    auto* total = new QGridLayout(GroupBoxTotal);
    total->setContentsMargins(6, 2, 6, 4);
    total->setVerticalSpacing(2);
    total->addWidget(named(caption(GroupBoxTotal, QStringLiteral("QSO")), QStringLiteral("LabelCapQSOs")), 0,
                     0);
    total->addWidget(LabelQSOs, 0, 1, Qt::AlignLeft);
    total->addWidget(
        named(caption(GroupBoxTotal, QStringLiteral("Log start")), QStringLiteral("LabelCapLogStart")), 1, 0);
    total->addWidget(LabelDateLogStart, 1, 1, Qt::AlignLeft);
    total->setColumnStretch(1, 1);

    GroupBoxRepeat = newGroup(p, QStringLiteral("GroupBoxRepeat"), QStringLiteral(" Repeat "));
    DBGridRepeat = named(new DBGrid(GroupBoxRepeat), QStringLiteral("DBGridRepeat"));
    DBGridRepeat->setReadOnly(true);
    DBGridRepeat->setRowSelect(true);
    DBGridRepeat->setMinimumSize(300, 150);
    auto* repeat = new QVBoxLayout(GroupBoxRepeat);
    repeat->setContentsMargins(3, 2, 3, 3);
    repeat->addWidget(DBGridRepeat);

    // The award groups: one row of band labels each, black until the award status colours them.
    auto awardGroup = [&](const QString& name, const QString& title, const QString& prefix,
                          QList<QLabel*>& labels) {
        QGroupBox* box = newGroup(p, name, title);
        auto* cells = new QHBoxLayout(box);
        cells->setContentsMargins(4, 1, 4, 3);
        cells->setSpacing(1);
        const int cellWidth = box->fontMetrics().horizontalAdvance(QStringLiteral("1260")) + 2;
        for (const BandCell& band : kBands) {
            QLabel* l = newLabel(box, prefix + QLatin1String(band.suffix), QString::fromLatin1(band.caption));
            l->setAlignment(Qt::AlignCenter);
            l->setFixedWidth(cellWidth);
            setTextColour(l, kBlack);
            cells->addWidget(l);
            labels.append(l);
        }
        return box;
    };
    GroupBoxDXCC = awardGroup(QStringLiteral("GroupBoxDXCC"), QStringLiteral(" DXCC Mixed "),
                              QStringLiteral("LabelDX"), LabelDX);
    GroupBoxWAZ = awardGroup(QStringLiteral("GroupBoxWAZ"), QStringLiteral(" WAZ Mixed "),
                             QStringLiteral("LabelWAZ"), LabelWAZ);
    GroupBoxUR = awardGroup(QStringLiteral("GroupBoxUR"), QStringLiteral(" Ukr Rus Mixed "),
                            QStringLiteral("LabelUR"), LabelUR);
    GroupBoxIOTA = awardGroup(QStringLiteral("GroupBoxIOTA"), QStringLiteral(" IOTA Mixed "),
                              QStringLiteral("LabelIOTA"), LabelIOTA);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(GroupBoxInfo, 1);
    left->addWidget(GroupBoxTotal);
    auto* awards = new QVBoxLayout;
    awards->setSpacing(2);
    for (QGroupBox* b : {GroupBoxDXCC, GroupBoxWAZ, GroupBoxUR, GroupBoxIOTA})
        awards->addWidget(b);
    awards->addStretch();
    auto* row = new QHBoxLayout(p);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(4);
    row->addLayout(left);
    row->addWidget(GroupBoxRepeat, 1);
    row->addLayout(awards);

    // Captions set later (prefix, zone, island, contact count) must not widen the fixed window.
    for (QGroupBox* b : {GroupBoxDXCC, GroupBoxWAZ, GroupBoxUR, GroupBoxIOTA})
        b->setFixedWidth(b->sizeHint().width());
    const int leftWidth = std::max(GroupBoxInfo->sizeHint().width(), GroupBoxTotal->sizeHint().width());
    GroupBoxInfo->setFixedWidth(leftWidth);
    GroupBoxTotal->setFixedWidth(leftWidth);
    GroupBoxRepeat->setMinimumWidth(GroupBoxRepeat->sizeHint().width());
    GroupBoxRepeat->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TFMain::buildGridPanel() {
    DBGridLog = named(new DBGrid(PanelGrid), QStringLiteral("DBGridLog"));
    DBGridLog->setMinimumHeight(220);
    auto* fill = new QVBoxLayout(PanelGrid);
    fill->setContentsMargins(2, 2, 2, 2);
    fill->addWidget(DBGridLog);
}

void TFMain::buildExtraPanel() {
    QWidget* p = PanelDop;

    GroupBoxQSL = newGroup(p, QStringLiteral("GroupBoxQSL"), QStringLiteral(" QSL "));
    EditQSLSend = newEdit(GroupBoxQSL, QStringLiteral("EditQSLSend"));
    EditQSLRcvd = newEdit(GroupBoxQSL, QStringLiteral("EditQSLRcvd"));
    for (QLineEdit* e : {EditQSLSend, EditQSLRcvd})
        e->setFixedWidth(90);
    auto* qsl = new QGridLayout(GroupBoxQSL);
    qsl->setContentsMargins(6, 2, 6, 4);
    qsl->setVerticalSpacing(2);
    qsl->addWidget(named(caption(GroupBoxQSL, QStringLiteral("Send")), QStringLiteral("LabelCapQSLSend")), 0,
                   0);
    qsl->addWidget(EditQSLSend, 0, 1);
    qsl->addWidget(named(caption(GroupBoxQSL, QStringLiteral("Rcvd")), QStringLiteral("LabelCapQSLRcvd")), 1,
                   0);
    qsl->addWidget(EditQSLRcvd, 1, 1);
    qsl->setRowStretch(2, 1);

    LabelObl = newLabel(p, QStringLiteral("LabelObl"), {});
    LabelAward = newLabel(p, QStringLiteral("LabelAward"), {});
    for (QLabel* l : {LabelObl, LabelAward}) {
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        fixWidth(l, 10);
        l->setFixedHeight(l->fontMetrics().height() + 6);
    }
    auto* marks = new QVBoxLayout;
    marks->setSpacing(2);
    marks->addStretch();
    marks->addWidget(LabelObl);
    marks->addWidget(LabelAward);
    marks->addStretch();

    auto* keys = new QGridLayout;
    keys->setSpacing(2);
    for (int i = 1; i <= 12; ++i) {
        QPushButton* b = newButton(p, QStringLiteral("ButtonF%1").arg(i), QStringLiteral("F%1").arg(i));
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("F12")) + 18);
        keys->addWidget(b, (i - 1) / 6, (i - 1) % 6);
        ButtonF.append(b);
    }

    GroupBoxCallbook = newGroup(p, QStringLiteral("GroupBoxCallbook"), QStringLiteral(" Callbook "));
    QWidget* cb = GroupBoxCallbook;
    Label23 = newLabel(cb, QStringLiteral("Label23"), QStringLiteral("Callsignal"));
    LabelCBName = newLabel(cb, QStringLiteral("LabelCBName"), QStringLiteral("Name"));
    LabelCBQTH = newLabel(cb, QStringLiteral("LabelCBQTH"), QStringLiteral("QTH"));
    Label25 = newLabel(cb, QStringLiteral("Label25"), QStringLiteral("QTH Loc"));
    LabelCBEMail = newLabel(cb, QStringLiteral("LabelCBEMail"), QStringLiteral("EMail"));
    LabelCBNote = newLabel(cb, QStringLiteral("LabelCBNote"), QStringLiteral("Note"));
    LabelCBBDay = newLabel(cb, QStringLiteral("LabelCBBDay"), QStringLiteral("Birthday"));
    EditCBCall = newEdit(cb, QStringLiteral("EditCBCall"));
    makeUpperCase(EditCBCall);
    EditCBName = newEdit(cb, QStringLiteral("EditCBName"));
    EditCBQTH = newEdit(cb, QStringLiteral("EditCBQTH"));
    EditCBQTHLoc = newEdit(cb, QStringLiteral("EditCBQTHLoc"));
    makeUpperCase(EditCBQTHLoc);
    EditCBEMail = newEdit(cb, QStringLiteral("EditCBEMail"));
    EditCBNote = newEdit(cb, QStringLiteral("EditCBNote"));
    EditCBNote->setToolTip(QStringLiteral("Update: 00.00.00"));
    MaskEditCBBDay = newEdit(cb, QStringLiteral("MaskEditCBBDay"));
    MaskEditCBBDay->setInputMask(QStringLiteral("99.99.99"));
    MaskEditCBBDay->setText(QStringLiteral("00.00.00"));
    MaskEditCBBDay->setFixedWidth(
        MaskEditCBBDay->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00")) + 16);
    for (QLineEdit* e : {EditCBCall, EditCBQTHLoc})
        e->setFixedWidth(100);
    for (QLineEdit* e : {EditCBName, EditCBQTH, EditCBEMail})
        e->setMinimumWidth(110);
    for (QLineEdit* e : {EditCBName, EditCBQTH, EditCBEMail, EditCBNote})
        e->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ButtonCBFindZelmor = newButton(cb, QStringLiteral("ButtonCBFindZelmor"), QStringLiteral("Zelmor"));
    ButtonCBEdit = newButton(cb, QStringLiteral("ButtonCBEdit"), QStringLiteral("Edit"));

    auto* book = new QGridLayout(cb);
    book->setContentsMargins(6, 2, 6, 4);
    book->setHorizontalSpacing(4);
    book->setVerticalSpacing(2);
    book->addWidget(Label23, 0, 0);
    book->addWidget(EditCBCall, 0, 1);
    book->addWidget(LabelCBName, 0, 2);
    book->addWidget(EditCBName, 0, 3);
    book->addWidget(LabelCBQTH, 0, 4);
    book->addWidget(EditCBQTH, 0, 5);
    book->addWidget(ButtonCBFindZelmor, 0, 6);
    book->addWidget(Label25, 1, 0);
    book->addWidget(EditCBQTHLoc, 1, 1);
    book->addWidget(LabelCBEMail, 1, 2);
    book->addWidget(EditCBEMail, 1, 3);
    book->addWidget(LabelCBBDay, 1, 4);
    book->addWidget(MaskEditCBBDay, 1, 5, Qt::AlignLeft);
    book->addWidget(ButtonCBEdit, 1, 6);
    book->addWidget(LabelCBNote, 2, 0);
    book->addWidget(EditCBNote, 2, 1, 1, 6);
    book->setColumnStretch(3, 1);
    book->setColumnStretch(5, 1);

    auto* row = new QHBoxLayout(p);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(6);
    row->addWidget(GroupBoxQSL);
    row->addLayout(marks);
    row->addLayout(keys);
    row->addWidget(GroupBoxCallbook, 1);
}

// --- menus ----------------------------------------------------------------------------------------

void TFMain::connectHandler(QAction* item, void (TFMain::*handler)()) {
    connect(item, &QAction::triggered, this,
            [this, handler] { Dialogs::guarded([this, handler] { (this->*handler)(); }); });
}

void TFMain::buildMenus() {
    MainMenuLog = menuBar();
    MainMenuLog->setObjectName(QStringLiteral("MainMenuLog"));
    MainMenuLog->setNativeMenuBar(false);
    auto topMenu = [this](const QString& name, const QString& title) {
        auto* m = named(new QMenu(title, MainMenuLog), name);
        MainMenuLog->addMenu(m);
        return m;
    };

    // Log: the books are inserted above the template item at start-up.
    LogMenu = topMenu(QStringLiteral("LogMenu"), QStringLiteral("Log"));
    LogLog1 = newItem(LogMenu, QStringLiteral("LogLog1"), QStringLiteral("Log1~"));
    LogBookGroup = radioGroup(this, QStringLiteral("LogBookGroup"), {LogLog1});
    LogLog1->setChecked(true);
    LogLog1->setVisible(false);
    LogMenu->addSeparator();
    LogAdd = newItem(LogMenu, QStringLiteral("LogAdd"), QStringLiteral("Add"));
    LogMenu->addSeparator();
    LogImport = newSubmenu(LogMenu, QStringLiteral("LogImport"), QStringLiteral("Import"));
    LogImportADIF = newItem(LogImport, QStringLiteral("LogImportADIF"), QStringLiteral("ADIF"));
    LogExport = newSubmenu(LogMenu, QStringLiteral("LogExport"), QStringLiteral("Export"));
    LogExportADIF = newItem(LogExport, QStringLiteral("LogExportADIF"), QStringLiteral("ADIF"));
    LogMenu->addSeparator();
    LogRefresh = newItem(LogMenu, QStringLiteral("LogRefresh"), QStringLiteral("Refresh All Logs"));
    LogMenu->addSeparator();
    LogDelete = newItem(LogMenu, QStringLiteral("LogDelete"), QStringLiteral("Delete QSO"));
    LogClear = newItem(LogMenu, QStringLiteral("LogClear"), QStringLiteral("Clear"));
    LogMenu->addSeparator();
    LogExit = newItem(LogMenu, QStringLiteral("LogExit"), QStringLiteral("Exit"));

    // View
    ViewMenu = topMenu(QStringLiteral("ViewMenu"), QStringLiteral("View"));
    ViewSort = newSubmenu(ViewMenu, QStringLiteral("ViewSort"), QStringLiteral("Sorted by"));
    ViewSortCall = newItem(ViewSort, QStringLiteral("ViewSortCall"), QStringLiteral("Callsignal"));
    ViewSortDate = newItem(ViewSort, QStringLiteral("ViewSortDate"), QStringLiteral("Date"));
    ViewSortBand = newItem(ViewSort, QStringLiteral("ViewSortBand"), QStringLiteral("Band"));
    ViewSortMode = newItem(ViewSort, QStringLiteral("ViewSortMode"), QStringLiteral("Mode"));
    ViewSortQTH = newItem(ViewSort, QStringLiteral("ViewSortQTH"), QStringLiteral("QTH"));
    ViewSortName = newItem(ViewSort, QStringLiteral("ViewSortName"), QStringLiteral("Name"));
    ViewSortRcvdQSL = newItem(ViewSort, QStringLiteral("ViewSortRcvdQSL"), QStringLiteral("Rcvd QSL"));
    ViewSortSendQSL = newItem(ViewSort, QStringLiteral("ViewSortSendQSL"), QStringLiteral("Send QSL"));
    radioGroup(this, QStringLiteral("ViewSortGroup"),
               {ViewSortCall, ViewSortDate, ViewSortBand, ViewSortMode, ViewSortQTH, ViewSortName,
                ViewSortRcvdQSL, ViewSortSendQSL});
    ViewSortDate->setChecked(true);
    ViewSortCall->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    ViewSortDate->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    ViewSortBand->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    ViewSortMode->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    ViewSortQTH->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    ViewSortName->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    ViewFilter = newItem(ViewMenu, QStringLiteral("ViewFilter"), QStringLiteral("Filter"));
    ViewFilterCall = newItem(ViewMenu, QStringLiteral("ViewFilterCall"), QStringLiteral("Filter Callsignal"));
    ViewMenu->addSeparator();
    ViewImages = newSubmenu(ViewMenu, QStringLiteral("ViewImages"), QStringLiteral("Images"));
    ViewImagesView = newItem(ViewImages, QStringLiteral("ViewImagesView"), QStringLiteral("View Images"));
    ViewImagesAutoView =
        newCheckItem(ViewImages, QStringLiteral("ViewImagesAutoView"), QStringLiteral("Auto view images"));
    ViewSound = newSubmenu(ViewMenu, QStringLiteral("ViewSound"), QStringLiteral("Sound"));
    ViewSoundPlayer = newItem(ViewSound, QStringLiteral("ViewSoundPlayer"), QStringLiteral("Player"));
    ViewSoundAutoSave =
        newCheckItem(ViewSound, QStringLiteral("ViewSoundAutoSave"), QStringLiteral("Sound AutoSave"));
    ViewSound->addSeparator();
    ViewSoundTimer = newItem(ViewSound, QStringLiteral("ViewSoundTimer"), QStringLiteral("Timer"));
    ViewSoundAlarm = newItem(ViewSound, QStringLiteral("ViewSoundAlarm"), QStringLiteral("Alarm"));

    // Contest
    ContestMenu = topMenu(QStringLiteral("ContestMenu"), QStringLiteral("Contest"));
    ContestViewInfo = newItem(ContestMenu, QStringLiteral("ContestViewInfo"), QStringLiteral("View Info"));
    ContestMenu->addSeparator();
    ContestBegin = newItem(ContestMenu, QStringLiteral("ContestBegin"), QStringLiteral("Begin"));
    ContestEnd = newItem(ContestMenu, QStringLiteral("ContestEnd"), QStringLiteral("End"));
    radioGroup(this, QStringLiteral("ContestGroup"), {ContestViewInfo, ContestBegin, ContestEnd});
    ContestEnd->setChecked(true);
    ContestMenu->addSeparator();
    ContestPrintFile =
        newSubmenu(ContestMenu, QStringLiteral("ContestPrintFile"), QStringLiteral("Save to File"));
    SaveContestCabrilo =
        newItem(ContestPrintFile, QStringLiteral("SaveContestCabrilo"), QStringLiteral("Cabrilo"));
    SaveContestText = newItem(ContestPrintFile, QStringLiteral("SaveContestText"), QStringLiteral("Text"));
    SaveContestExcel =
        newItem(ContestPrintFile, QStringLiteral("SaveContestExcel"), QStringLiteral("Excel (*.csv)"));
    ContestPrint = newSubmenu(ContestMenu, QStringLiteral("ContestPrint"), QStringLiteral("Print"));
    ContestPrintPrinter =
        newItem(ContestPrint, QStringLiteral("ContestPrintPrinter"), QStringLiteral("Printer"));
    ContestPrint->menuAction()->setVisible(false);
    ContestPrintPrinter->setVisible(false);

    // Tools
    Tools = topMenu(QStringLiteral("Tools"), QStringLiteral("Tools"));
    ToolsQTHLoc = newItem(Tools, QStringLiteral("ToolsQTHLoc"), QStringLiteral("QTH Loc"));
    ToolsAw = newSubmenu(Tools, QStringLiteral("ToolsAw"), QStringLiteral("Awards"));
    ToolsAwards = newItem(ToolsAw, QStringLiteral("ToolsAwards"), QStringLiteral("Awards Manager"));
    ToolsAwFilter = newSubmenu(ToolsAw, QStringLiteral("ToolsAwFilter"), QStringLiteral("Filter"));
    newItem(ToolsAwFilter, QStringLiteral("ToolsAwFilterDXCC"), QStringLiteral("DXCC"));
    newItem(ToolsAwFilter, QStringLiteral("ToolsAwFilterWAZ"), QStringLiteral("WAZ"));
    newItem(ToolsAwFilter, QStringLiteral("ToolsAwFilterIota"), QStringLiteral("Iota"));
    newItem(ToolsAwFilter, QStringLiteral("ToolsAwFilterUkrRuss"), QStringLiteral("Ukr Russ"));
    newItem(ToolsAwFilter, QStringLiteral("ToolsAwFilterWAS"), QStringLiteral("WAS"));
    ToolsAwFilter->addSeparator();
    newItem(ToolsAwFilter, QStringLiteral("ToolsAwFilterAward1"), QStringLiteral("Award 1"));
    newItem(ToolsAwFilter, QStringLiteral("ToolsAwFilterAward2"), QStringLiteral("Award 2"));
    ToolsInternet = newSubmenu(Tools, QStringLiteral("ToolsInternet"), QStringLiteral("Internet"));
    ToolsDXCluster = newItem(ToolsInternet, QStringLiteral("ToolsDXCluster"), QStringLiteral("DX Cluster"));
    SearchCallSignalWeb =
        newItem(ToolsInternet, QStringLiteral("SearchCallSignalWeb"), QStringLiteral("Callsign Web"));
    ToolsSkeds = newItem(Tools, QStringLiteral("ToolsSkeds"), QStringLiteral("Skeds"));
    TolsPrintQSL = newItem(Tools, QStringLiteral("TolsPrintQSL"), QStringLiteral("Print QSL Label"));
    ToolsTimer = newSubmenu(Tools, QStringLiteral("ToolsTimer"), QStringLiteral("Timer"));
    TimerStart = newItem(ToolsTimer, QStringLiteral("TimerStart"), QStringLiteral("Start"));
    TimerStop = newItem(ToolsTimer, QStringLiteral("TimerStop"), QStringLiteral("Stop"));
    TimerStopClear = newItem(ToolsTimer, QStringLiteral("TimerStopClear"), QStringLiteral("Stop/Clear"));
    radioGroup(this, QStringLiteral("TimerRunGroup"), {TimerStart, TimerStop, TimerStopClear});
    TimerStopClear->setChecked(true);
    ToolsTimer->addSeparator();
    TimerTotal = newItem(ToolsTimer, QStringLiteral("TimerTotal"), QStringLiteral("Total"));
    TimerQSO = newItem(ToolsTimer, QStringLiteral("TimerQSO"), QStringLiteral("QSO"));
    radioGroup(this, QStringLiteral("TimerModeGroup"), {TimerTotal, TimerQSO});
    TimerQSO->setChecked(true);

    // External Soft: the settings show the programs whose path is set.
    Programs1 = topMenu(QStringLiteral("Programs1"), QStringLiteral("External Soft"));
    DigiPan1 = newItem(Programs1, QStringLiteral("DigiPan1"), QStringLiteral("DigiPan"));
    MixW1 = newItem(Programs1, QStringLiteral("MixW1"), QStringLiteral("MixW"));
    MMVari1 = newItem(Programs1, QStringLiteral("MMVari1"), QStringLiteral("MMVari"));
    CwType = newItem(Programs1, QStringLiteral("CwType"), QStringLiteral("CwType"));
    PrTrueTTY = newItem(Programs1, QStringLiteral("PrTrueTTY"), QStringLiteral("TrueTTY"));
    radioGroup(this, QStringLiteral("ProgramsGroup"), {DigiPan1, MixW1, MMVari1, CwType, PrTrueTTY});
    Programs1->addSeparator();
    Programs1->addSeparator();
    Pr51 = newItem(Programs1, QStringLiteral("Pr51"), QStringLiteral("Pr5"));
    Pr61 = newItem(Programs1, QStringLiteral("Pr61"), QStringLiteral("Pr6"));
    Pr51->setVisible(false);
    Pr61->setVisible(false);

    // Devices
    Devices = topMenu(QStringLiteral("Devices"), QStringLiteral("Devices"));
    DevicesTrx = newSubmenu(Devices, QStringLiteral("DevicesTrx"), QStringLiteral("Transceiver"));
    DeviceTrxControl = newItem(DevicesTrx, QStringLiteral("DeviceTrxControl"), QStringLiteral("TRX Control"));
    DeviceTrxControl->setEnabled(false);
    DeviceTrxConnect =
        newCheckItem(DevicesTrx, QStringLiteral("DeviceTrxConnect"), QStringLiteral("Connect"));

    // Options
    Options = topMenu(QStringLiteral("Options"), QStringLiteral("Options"));
    OptionsConfig = newItem(Options, QStringLiteral("OptionsConfig"), QStringLiteral("Configuration"));
    Options->addSeparator();
    OptionContestConfig =
        newItem(Options, QStringLiteral("OptionContestConfig"), QStringLiteral("Contest Configuration"));
    OptionsQSLLabel = newItem(Options, QStringLiteral("OptionsQSLLabel"), QStringLiteral("QSL label Config"));
    OptionsAutoExit = newItem(Options, QStringLiteral("OptionsAutoExit"), QStringLiteral("AutoExit Options"));

    // Help
    Help = topMenu(QStringLiteral("Help"), QStringLiteral("Help"));
    HelpHelp = newItem(Help, QStringLiteral("HelpHelp"), QStringLiteral("Help"));
    HelpAbout = newItem(Help, QStringLiteral("HelpAbout"), QStringLiteral("About"));

    connect(LogLog1, &QAction::triggered, this,
            [this] { Dialogs::guarded([this] { LogLog1Click(LogLog1); }); });
    connectHandler(LogRefresh, &TFMain::LogRefreshClick);
    connectHandler(OptionsConfig, &TFMain::OptionsConfigClick);
    connectHandler(LogAdd, &TFMain::LogAddClick);
    connectHandler(LogExit, &TFMain::LogExitClick);
    connectHandler(LogExportADIF, &TFMain::LogExportADIFClick);
    connectHandler(SaveContestCabrilo, &TFMain::SaveContestCabriloClick);
    connectHandler(SaveContestText, &TFMain::SaveContestTextClick);
    connectHandler(SaveContestExcel, &TFMain::SaveContestExcelClick);
    connectHandler(LogImportADIF, &TFMain::LogImportADIFClick);
    connectHandler(ViewFilter, &TFMain::ViewFilterClick);
    connectHandler(ViewFilterCall, &TFMain::ViewFilterCallClick);
    connectHandler(ViewImagesView, &TFMain::ViewImagesViewClick);
    connectHandler(ViewSoundPlayer, &TFMain::ViewSoundPlayerClick);
    connectHandler(ToolsQTHLoc, &TFMain::ToolsQTHLocClick);
    connectHandler(ToolsAwards, &TFMain::ToolsAwardsClick);
    connectHandler(ToolsSkeds, &TFMain::ToolsSkedsClick);
    connectHandler(ToolsDXCluster, &TFMain::ToolsDXClusterClick);
    connectHandler(SearchCallSignalWeb, &TFMain::SearchCallSignalWebClick);
    connectHandler(HelpAbout, &TFMain::HelpAboutClick);
}

void TFMain::buildPopupMenus() {
    PopupMenuAwardShow = named(new QMenu(PanelInfo), QStringLiteral("PopupMenuAwardShow"));
    AwardShowMode =
        newItem(PopupMenuAwardShow, QStringLiteral("AwardShowMode"), QStringLiteral("Award Edit"));
    connectHandler(AwardShowMode, &TFMain::AwardShowModeClick);
    PanelInfo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PanelInfo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenuAwardShow->popup(PanelInfo->mapToGlobal(at)); });

    callbookMenu_ = named(new QMenu(GroupBoxCallbook), QStringLiteral("PopupMenuCB"));
    ExpNewCall = newItem(callbookMenu_, QStringLiteral("ExpNewCall"), QStringLiteral("Export New Calls"));
    ImpNewCall = newItem(callbookMenu_, QStringLiteral("ImpNewCall"), QStringLiteral("Import New Calls"));
    callbookMenu_->addSeparator();
    DelCBCall = newItem(callbookMenu_, QStringLiteral("DelCBCall"), QStringLiteral("Delete Callsignal"));
    connect(GroupBoxCallbook, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (PopupMenuCB) PopupMenuCB->popup(GroupBoxCallbook->mapToGlobal(at));
    });
    setCallbookPopup(true);
}

void TFMain::setCallbookPopup(bool attached) {
    PopupMenuCB = attached ? callbookMenu_ : nullptr;
    GroupBoxCallbook->setContextMenuPolicy(attached ? Qt::CustomContextMenu : Qt::NoContextMenu);
}

QAction* TFMain::insertLogBookItem(int position, const QString& caption, const QString& name) {
    auto* item = named(new QAction(caption, LogMenu), name);
    item->setCheckable(true);
    LogBookGroup->addAction(item);
    // The books stand above the template item, whatever position is asked for.
    const QList<QAction*> items = LogMenu->actions();
    const int templateAt = int(items.indexOf(LogLog1));
    LogMenu->insertAction(items.at(std::clamp(position, 0, templateAt)), item);
    connect(item, &QAction::triggered, this,
            [this, item] { Dialogs::guarded([this, item] { LogLog1Click(item); }); });
    return item;
}

QList<QAction*> TFMain::logMenuItemsAboveSeparator() const {
    QList<QAction*> out;
    for (QAction* a : LogMenu->actions()) {
        if (a->isSeparator()) break;
        out.append(a);
    }
    return out;
}

QObject* TFMain::findControl(const QString& name) const {
    return findNamedChild(this, name);
}

// --- handlers -------------------------------------------------------------------------------------

void TFMain::FormCreate() {
    // Decimal commas come from NumberText wherever numbers become texts.
    ProgramFolder = QDir::currentPath();
    EntryState = -1;
    RepeatGridMouseFlag = 0;
}

void TFMain::LogExitClick() {
    close();
}

void TFMain::closeEvent(QCloseEvent* e) {
    // A running award rebuild ends first (the timed exit can close the program mid-way).
    FinishAwardRebuild();
    QMainWindow::closeEvent(e);
    // The program ends with this window, also while windows shown without blocking stay open.
    QCoreApplication::quit();
}

void TFMain::LogRefreshClick() {
    Dialogs::showMessage(Msg(QStringLiteral("A lot of time will be spent for this operation!"),
                             QStringLiteral("На данную операцию может уйти много времени!")));
    const DlgResult answer =
        Dialogs::messageDlg(Msg(QStringLiteral("Refresh a database and delete errors?"),
                                QStringLiteral("Обновить базу данных и удалить ошибки?")),
                            DlgType::Confirmation, DlgButtons::YesNo);
    if (answer != DlgResult::Yes) return;
    StartAwardRebuild();
}

void TFMain::ToolsQTHLocClick() {
    FQTHLoc->ShowModal();
}

void TFMain::ToolsAwardsClick() {
    // The awards window opens on its DXCC statistic.
    if (auto* dxcc = qobject_cast<QAction*>(FAwards->findControl(QStringLiteral("AwMenuDXCC"))))
        dxcc->trigger();
    FAwards->ShowModal();
}

void TFMain::ToolsSkedsClick() {
    FSkeds->ShowModal();
}

void TFMain::ViewFilterClick() {
    Filter->ShowModal();
}

void TFMain::ViewFilterCallClick() {
    FFilterCall->ShowNonModal();
}

void TFMain::ViewImagesViewClick() {
    // Shown already by the automatic picture view: bring it forward rather than make it modal.
    if (FImage->isVisible()) {
        FImage->raise();
        FImage->activateWindow();
        return;
    }
    FImage->ShowModal();
}

void TFMain::ViewSoundPlayerClick() {
    FSound->ShowNonModal();
}

void TFMain::AwardShowModeClick() {
    FAwardAdd->ShowNonModal();
}

void TFMain::HelpAboutClick() {
    FAboutBox->ShowModal();
}

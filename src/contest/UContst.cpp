#include "contest/UContst.h"

#include "awards/UAwardAdd.h"
#include "contest/ContestTotal.h"
#include "data/UDM.h"
#include "dataset/QuotedStr.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "platform/NumberText.h"
#include "widgets/Controls.h"
#include "widgets/DBGrid.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFCont* FCont = nullptr;

namespace {
const char* const kCellBands[] = {"18", "35", "70", "14", "21", "28"};
const char* const kCellModes[] = {"cw", "ssb", "rtty", "oth"};
const char* const kBandHeads[] = {"1.8", "3.5", "7", "14", "21", "28", "Sat"};
const char* const kModeHeads[] = {"CW", "SSB", "RTTY", "Other"};

// The data source of the log does not follow a walk, and is attached again however it ends.
struct DetachedLog {
    DetachedLog() { DM->DataSourceLog->setEnabled(false); }
    ~DetachedLog() { DM->DataSourceLog->setEnabled(true); }
};
} // namespace

TFCont::TFCont(QWidget* parent) : TForm(QStringLiteral("FCont"), parent) {
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    DBGrid1 = named(new DBGrid(this), QStringLiteral("DBGrid1"));
    DBGrid1->addColumn(QStringLiteral("Param1"), QStringLiteral("Item"));
    DBGrid1->addColumn(QStringLiteral("Param2"), QStringLiteral(""));
    DBGrid1->addColumn(QStringLiteral("Other"), QStringLiteral("Name"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setMinimumHeight(120);

    GroupBoxAwName = newGroup(this, QStringLiteral("GroupBoxAwName"), QStringLiteral(" DXCC "));
    PanelAwardCells = new QWidget(GroupBoxAwName);
    PanelAwardCells->setObjectName(QStringLiteral("PanelAwardCells"));
    auto* cells = new QGridLayout(PanelAwardCells);
    cells->setSpacing(2);
    ItemCell = newLabel(PanelAwardCells, QStringLiteral("DBTextParam1"), {});
    cells->addWidget(ItemCell, 0, 0);
    for (int b = 0; b < 7; ++b)
        cells->addWidget(caption(PanelAwardCells, QLatin1String(kBandHeads[b])), 0, 1 + b, Qt::AlignCenter);
    for (int m = 0; m < 4; ++m) {
        cells->addWidget(caption(PanelAwardCells, QLatin1String(kModeHeads[m])), 1 + m, 0);
        for (int b = 0; b < 7; ++b) {
            const QString column = QStringLiteral("Band") +
                                   (b < 6 ? QLatin1String(kCellBands[b]) : QLatin1String("Sat")) +
                                   QLatin1String(kCellModes[m]);
            auto* cell = newLabel(PanelAwardCells, column, {});
            cell->setMinimumWidth(26);
            cell->setAlignment(Qt::AlignCenter);
            cell->hide();
            AwardCells << cell;
            cells->addWidget(cell, 1 + m, 1 + b);
        }
    }
    auto* inside = new QVBoxLayout(GroupBoxAwName);
    inside->addWidget(PanelAwardCells);

    Label5 = newLabel(this, QStringLiteral("Label5"), QStringLiteral("000"));
    ButtonRefresh = newButton(this, QStringLiteral("ButtonRefresh"), QStringLiteral("Refr"));
    ButtonDXCC = newButton(this, QStringLiteral("ButtonDXCC"), QStringLiteral("DXCC"));
    ButtonWAZ = newButton(this, QStringLiteral("ButtonWAZ"), QStringLiteral("WAZ"));
    ButtonIOTA = newButton(this, QStringLiteral("ButtonIOTA"), QStringLiteral("IOTA"));
    ButtonUR = newButton(this, QStringLiteral("ButtonUR"), QStringLiteral("U R"));
    auto* points = new QHBoxLayout;
    points->addWidget(newLabel(this, QStringLiteral("LabelPoints"), QStringLiteral("Points")));
    points->addWidget(Label5, 1);
    points->addWidget(ButtonRefresh);
    auto* awards = new QHBoxLayout;
    for (QPushButton* b : {ButtonDXCC, ButtonWAZ, ButtonIOTA, ButtonUR})
        awards->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(GroupBoxAwName);
    layout->addLayout(points);
    layout->addLayout(awards);

    connect(ButtonRefresh, &QPushButton::clicked, this,
            Dialogs::guardedSlot(this, &TFCont::ButtonRefreshClick));
    connect(ButtonDXCC, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFCont::ButtonDXCCClick));
    connect(ButtonWAZ, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFCont::ButtonWAZClick));
    connect(ButtonIOTA, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFCont::ButtonIOTAClick));
    connect(ButtonUR, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFCont::ButtonURClick));
}

void TFCont::attachData() {
    // Created before the data module: the grid and the cells find their dataset when first used.
    if (DBGrid1->dataSource() || !DM) return;
    DBGrid1->setDataSource(DM->DataSourceContestStatistic);
    connect(DM->DataSourceContestStatistic, &DataSource::dataChange, this, [this] { showCurrentItem(); });
}

void TFCont::showCurrentItem() {
    Dataset* stats = DM->TableContestStatistic;
    const bool row = stats->active() && !stats->isEmpty();
    ItemCell->setText(row ? stats->field(QStringLiteral("Param1")).asString() : QString());
    for (QLabel* cell : AwardCells)
        cell->setText(row ? stats->field(cell->objectName()).asString() : QString());
}

void TFCont::ShowAwardCells(bool show) {
    attachData();
    PanelAwardCells->setVisible(show);
    if (show)
        for (QLabel* cell : AwardCells)
            cell->show();
}

void TFCont::chooseAward(const QString& caption, const QString& awName, const QString& param1,
                         const QString& param2) {
    GroupBoxAwName->setTitle(caption);
    attachData();
    if (!DM->logOpen()) return;
    const qint64 book =
        DM->TableLog->isEmpty() ? 0 : DM->TableLog->field(QStringLiteral("LogNameLog")).asInteger();
    Dataset* stats = DM->TableContestStatistic;
    stats->setFilter(QStringLiteral("AwName=") + QuotedStr(awName) + QStringLiteral(" AND ") +
                     QStringLiteral("LogNameLog=") + QString::number(book));
    FMain->ShowAwardStatus(param1, param2, {}, awName);
    stats->setSort(QStringLiteral("Param1,Param2,Param3"));
}

void TFCont::ButtonDXCCClick() {
    const QString prefix =
        DM->referenceOpen() ? DM->TableDXCC->field(QStringLiteral("Prefix")).asString() : QString();
    chooseAward(QStringLiteral(" DXCC "), QStringLiteral("DXCC"), prefix, {});
}

void TFCont::ButtonWAZClick() {
    const QString zone =
        DM->referenceOpen() ? DM->TablePref->field(QStringLiteral("CQZone")).asString() : QString();
    chooseAward(QStringLiteral(" WAZ "), QStringLiteral("WAZ"), zone, {});
}

void TFCont::ButtonURClick() {
    chooseAward(QStringLiteral(" Ukr Rus & ... "), QStringLiteral("UkrRus"), FAwardAdd->EditUSObl->text(),
                FAwardAdd->EditUSDXCC->text());
}

void TFCont::ButtonIOTAClick() {
    chooseAward(QStringLiteral(" IOTA "), QStringLiteral("IOTA"), FAwardAdd->EditIOTANum->text(), {});
}

void TFCont::rerunPresentedAward() {
    const QString shown = GroupBoxAwName->title();
    if (shown == QLatin1String(" DXCC ")) ButtonDXCCClick();
    if (shown == QLatin1String(" WAZ ")) ButtonWAZClick();
    if (shown == QLatin1String(" Ukr Rus & ... ")) ButtonURClick();
    if (shown == QLatin1String(" IOTA ")) ButtonIOTAClick();
}

void TFCont::ButtonRefreshClick() {
    Label5->setText(QStringLiteral("0"));
    if (!DM->logOpen()) return;
    // One query over the log view's filter: the log's current row (the operator's selection)
    // stays where it is.
    Dataset* log = DM->TableLog;
    const DetachedLog detached;
    Label5->setText(ContestTotal::pointsTotal(*DM->ConnectionLog, log->tableName(),
                                              log->filtered() ? log->filter() : QString()));
}

void TFCont::showEvent(QShowEvent* e) {
    TForm::showEvent(e);
    attachData();
    Dialogs::guarded([this] {
        if (DM->logOpen()) DM->TableContestStatistic->setSort(QStringLiteral("Param1,Param2,Param3"));
        ButtonRefreshClick();
        showCurrentItem();
    });
}

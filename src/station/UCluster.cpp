#include "station/UCluster.h"

#include "data/UDM.h"
#include "dataset/Dataset.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "platform/PageLoader.h"
#include "station/DxSpots.h"
#include "widgets/BoxColour.h"
#include "widgets/Controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <stdexcept>

TFDX_Cluster* FDX_Cluster = nullptr;

namespace {

const int kColumnWidths[] = {10, 80, 65, 65, 147, 44, 45, 169};
const char* const kHeaders[] = {"", "       DX", "  Freq", "  Spotter", "  Coment", "  Time", "  Date", " Last QSO"};
// The band labels, named as the main window's DXCC labels they copy.
const char* const kBandLabels[][2] = {{"18", "1.8"}, {"35", "3.5"},   {"70", "7.0"},   {"10", "10"},
                                      {"14", "14"},  {"180", "18"},   {"21", "21"},    {"24", "24"},
                                      {"28", "28"},  {"50", "50"},    {"S", "S"},      {"144", "144"},
                                      {"430", "430"}, {"1260", "1260"}};

void showNoAccess() {
    Dialogs::messageDlg(QStringLiteral("No access to Internet! "), DlgType::Warning);
}

} // namespace

TFDX_Cluster::TFDX_Cluster(QWidget* parent) : TForm(QStringLiteral("FDX_Cluster"), parent) {
    setWindowTitle(QStringLiteral("DX Cluster"));
    setWindowFlag(Qt::WindowStaysOnTopHint);

    // The fixed row and column are the grid's header rows: they stay in view while it scrolls.
    StringGrid1 = named(new QTableWidget(DxSpots::MaxSpots, 7, this), QStringLiteral("StringGrid1"));
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setWordWrap(false);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->horizontalHeader()->setFixedHeight(15);
    StringGrid1->verticalHeader()->setFixedWidth(kColumnWidths[0]);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setMinimumSectionSize(15);
    StringGrid1->verticalHeader()->setDefaultSectionSize(15);
    for (int c = 1; c < 8; ++c) {
        StringGrid1->setColumnWidth(c - 1, kColumnWidths[c]);
        StringGrid1->setHorizontalHeaderItem(c - 1, new QTableWidgetItem);
    }
    for (int r = 0; r < DxSpots::MaxSpots; ++r) {
        StringGrid1->setVerticalHeaderItem(r, new QTableWidgetItem);
        for (int c = 0; c < 7; ++c) StringGrid1->setItem(r, c, new QTableWidgetItem);
    }
    int gridWidth = 4 + StringGrid1->verticalHeader()->width();
    for (int w : kColumnWidths) gridWidth += w;
    StringGrid1->setMinimumSize(gridWidth - kColumnWidths[0] + 20, 300);
    connect(StringGrid1, &QTableWidget::cellClicked, this,
            [this](int row, int) { Dialogs::guarded([&] { StringGrid1Click(row + 1); }); });
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { Dialogs::guarded([&] { StringGrid1DblClick(row + 1); }); });

    loader_ = Pages::makeLoader();
    WebBrowser1 = loader_.get();
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    connect(WebBrowser1, &PageLoader::downloadBegin, this,
            [this] { Dialogs::guarded([this] { WebBrowser1DownloadBegin(); }); });
    connect(WebBrowser1, &PageLoader::downloadComplete, this,
            [this] { Dialogs::guarded([this] { WebBrowser1DownloadComplete(); }); });

    GroupBox1 = newGroup(this, QStringLiteral("GroupBox1"), {});
    LabCal = newLabel(GroupBox1, QStringLiteral("LabCal"), QStringLiteral("***"));
    LabFr = newLabel(GroupBox1, QStringLiteral("LabFr"), QStringLiteral("***"));
    auto* g1 = new QHBoxLayout(GroupBox1);
    g1->addWidget(LabCal);
    g1->addSpacing(12);
    g1->addWidget(LabFr);
    g1->addWidget(caption(GroupBox1, QStringLiteral("MHz")));
    g1->addStretch();

    ButtonShowCluster = newButton(this, QStringLiteral("ButtonShowCluster"), QStringLiteral("DX Cluster"));
    ProgressBar1 = named(new QProgressBar(this), QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ButtonClose = newButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Close"));
    connect(ButtonShowCluster, &QPushButton::clicked, this,
            [this] { Dialogs::guarded([this] { ButtonShowClusterClick(); }); });
    connect(ButtonClose, &QPushButton::clicked, this, [this] { Dialogs::guarded([this] { ButtonCloseClick(); }); });

    GroupBox2 = newGroup(this, QStringLiteral("GroupBox2"), {});
    Label_ZCQ = newLabel(GroupBox2, QStringLiteral("Label_ZCQ"), QStringLiteral("00"));
    Label_ZITU = newLabel(GroupBox2, QStringLiteral("Label_ZITU"), QStringLiteral("00"));
    Label_DXCC = newLabel(GroupBox2, QStringLiteral("Label_DXCC"), QStringLiteral("00"));
    LabelCountry = newLabel(GroupBox2, QStringLiteral("LabelCountry"), QStringLiteral("Country"));
    LabelPref = newLabel(GroupBox2, QStringLiteral("LabelPref"), {});
    LabelCount = newLabel(GroupBox2, QStringLiteral("LabelCount"), {});
    LabelCont = newLabel(GroupBox2, QStringLiteral("LabelCont"), {});
    auto* g2 = new QGridLayout(GroupBox2);
    g2->addWidget(caption(GroupBox2, QStringLiteral("CQ")), 0, 0);
    g2->addWidget(Label_ZCQ, 0, 1);
    g2->addWidget(caption(GroupBox2, QStringLiteral("ITU")), 0, 2);
    g2->addWidget(Label_ZITU, 0, 3);
    g2->addWidget(caption(GroupBox2, QStringLiteral("DXCC")), 0, 4);
    g2->addWidget(Label_DXCC, 0, 5);
    g2->addWidget(LabelCountry, 1, 0, 1, 6);
    g2->addWidget(LabelPref, 2, 0);
    g2->addWidget(LabelCount, 2, 1, 1, 3);
    g2->addWidget(LabelCont, 2, 4, 1, 2);

    GroupBoxDXCC = newGroup(this, QStringLiteral("GroupBoxDXCC"), QStringLiteral(" DXCC Mixed "));
    auto* bands = new QHBoxLayout(GroupBoxDXCC);
    bands->setSpacing(4);
    for (const auto& b : kBandLabels) {
        QLabel* l = newLabel(GroupBoxDXCC, QStringLiteral("LabelDX") + QLatin1String(b[0]), QString::fromLatin1(b[1]));
        setTextColour(l, Qt::black);
        bands->addWidget(l);
        LabelDX.append(l);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonShowCluster);
    buttons->addWidget(ProgressBar1, 1);
    buttons->addWidget(ButtonClose);
    auto* info = new QHBoxLayout;
    info->addWidget(GroupBox1);
    info->addWidget(GroupBox2, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(StringGrid1, 1);
    column->addLayout(info);
    column->addWidget(GroupBoxDXCC);
    column->addLayout(buttons);
}

TFDX_Cluster::~TFDX_Cluster() {
    if (FDX_Cluster == this) FDX_Cluster = nullptr;
}

void TFDX_Cluster::FormCreate() {
    for (int c = 1; c < 8; ++c) setCell(c, 0, QString::fromLatin1(kHeaders[c]));
}

QString TFDX_Cluster::Cells(int col, int row) const {
    if (col == 0) return row == 0 ? QString() : StringGrid1->verticalHeaderItem(row - 1)->text();
    if (row == 0) return StringGrid1->horizontalHeaderItem(col - 1)->text();
    return StringGrid1->item(row - 1, col - 1)->text();
}

void TFDX_Cluster::setCell(int col, int row, const QString& text) {
    if (col == 0)
        StringGrid1->verticalHeaderItem(row - 1)->setText(text);
    else if (row == 0)
        StringGrid1->horizontalHeaderItem(col - 1)->setText(text);
    else
        StringGrid1->item(row - 1, col - 1)->setText(text);
}

// --- loading --------------------------------------------------------------------------------------

void TFDX_Cluster::ButtonShowClusterClick() {
    ProgressBar1->setValue(5);
    WebBrowser1->navigate(QUrl(Pages::dxSpotServer() + QStringLiteral("/dxs/dx250.html")));
    ProgressBar1->setValue(15);
}

void TFDX_Cluster::WebBrowser1DownloadBegin() {
    ProgressBar1->setValue(30);
}

void TFDX_Cluster::WebBrowser1DownloadComplete() {
    ProgressBar1->setValue(100);
    try {
        if (!WebBrowser1->error().isEmpty()) throw std::runtime_error("no document");
        const QString text = DxSpots::pageText(WebBrowser1->elementTexts());
        if (!text.isEmpty()) SplitSpotText(text);
    } catch (const std::exception&) {
        showNoAccess();
    }
}

void TFDX_Cluster::SplitSpotText(const QString& text) {
    SpotLines = DxSpots::splitSpotText(text);
    ParseSpotLines();
}

void TFDX_Cluster::ParseSpotLines() {
    // The latest contacts come from a query of their own: the main window's earlier-contacts
    // grid keeps showing the call being entered.
    const bool logReady = DM && DM->logOpen() && !DM->TableLogName->isEmpty();
    const qint64 book = logReady ? DM->TableLogName->field(QStringLiteral("Num")).asInteger() : 0;
    const int count = int(std::min<qsizetype>(SpotLines.size(), DxSpots::MaxSpots));
    for (int i = 0; i < count; ++i) {
        const DxSpots::Spot spot = DxSpots::parseSpotLine(SpotLines[i]);
        const int row = i + 1;
        setCell(1, row, spot.dx);
        if (spot.dx.size() > 2)
            setCell(7, row, logReady ? DxSpots::latestContact(*DM->ConnectionLog, spot.dx, book) : QString());
        setCell(2, row, spot.freq);
        setCell(3, row, spot.spotter);
        setCell(4, row, spot.comment);
        setCell(5, row, spot.time);
        setCell(6, row, spot.date);
    }
}

// --- row choice -----------------------------------------------------------------------------------

void TFDX_Cluster::StringGrid1Click(int row) {
    for (QLabel* l : LabelDX) setTextColour(l, Qt::black);
    FMain->ClearQsoInfo();
    const DxSpots::Band band = DxSpots::spotBand(Cells(2, row));
    LabFr->setText(band.text);
    bandKnown_ = band.known;
    const QString dx = Cells(1, row);
    LabCal->setText(dx);
    if (dx.size() <= 2) return;
    FMain->EditCall->clear();
    FMain->EditCall->setText(dx);
    for (int i = 0; i < LabelDX.size() && i < FMain->LabelDX.size(); ++i)
        setTextColour(LabelDX[i], textColour(FMain->LabelDX[i]));
    Label_ZCQ->setText(FMain->LabelZoneCQ->text());
    Label_ZITU->setText(FMain->LabelZoneITU->text());
    Label_DXCC->setText(FMain->LabelPref->text());
    LabelCountry->setText(FMain->LabelRegion->text());
}

void TFDX_Cluster::StringGrid1DblClick(int row) {
    const QString freq = Cells(2, row);
    if (freq.isEmpty()) return;
    // A frequency that no band covers is not a band: the band box keeps its band.
    if (bandKnown_) setComboText(FMain->ComboBoxBand, LabFr->text());
    setComboText(FMain->ComboBoxMode, DxSpots::spotMode(freq));
}

void TFDX_Cluster::ButtonCloseClick() {
    close();
}

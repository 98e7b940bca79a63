#include "awards/UAwards.h"

#include "awards/AwardMarks.h"
#include "awards/AwardStatistic.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "dataset/Dataset.h"
#include "dataset/QuotedStr.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "widgets/Controls.h"
#include "widgets/DBGrid.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

TFAwards* FAwards = nullptr;

// One award of the menu: its item, the name its marks are stored under, the grid's order and
// own columns, and its saved query with the position of that query's book column.
struct TFAwards::Award {
    QAction* TFAwards::*item;
    const char* name;
    const char* sort;
    bool param2, param3, other;
    const char* view;
    int bookColumn;
};

namespace {

using Award = TFAwards::Award;

// The count panel's rows: caption and the band part of the label names ("Label16C" is 1.8 MHz).
const char* const kCountRows[][2] = {{"1.8 |", "16"}, {"3.5 |", "35"},  {"7    |", "7"}, {"10  |", "10"},
                                     {"14  |", "14"}, {"18  |", "18"},  {"21  |", "21"}, {"24  |", "24"},
                                     {"28  |", "28"}, {"50  |", "50"},  {"Sat |", "S"},  {"144|", "144"},
                                     {"430|", "430"}, {"1260|", "1260"}};
const char* const kModeLetters[] = {"C", "S", "R", "P", "O"};

// The first six columns of a saved query, in pixels.
const int kDetailsWidths[] = {40, 130, 30, 40, 30, 30};

QString bandHeading(const QString& code) {
    static const QHash<QString, QString> headings{
        {"18", "1,8"}, {"35", "3,5"}, {"70", "7,0"}, {"180", "18"}, {"137", "137k"}};
    return headings.value(code, code);
}

QString modeHeading(const QString& suffix) {
    static const QHash<QString, QString> headings{{"cw", "CW"},     {"ssb", "SSB"},      {"rtty", "RTTY"},
                                                  {"psk", "PSK"},   {"fm", "FM"},        {"oth", "Oth"},
                                                  {"sstv", "SSTV"}, {"digit", "Digital"}};
    return headings.value(suffix, suffix);
}

// The 16 band cells ("Band18" ... "BandQ"), without their band-and-mode cells.
const QStringList& bandCells() {
    static const QStringList cells = [] {
        QStringList out;
        for (const QString& c : AwardMarks::allCells())
            if (AwardMarks::modeSuffixes(c.mid(4)).size() > 0) out << c;
        return out;
    }();
    return cells;
}

// The band a text of the band box selects: the band list's own texts and the grid's headings.
QString bandCodeOfBox(const QString& text) {
    if (text == QLatin1String("1,8")) return QStringLiteral("18");
    if (text == QLatin1String("3,5")) return QStringLiteral("35");
    return AwardMarks::bandCode(text);
}

QString bookNumber() {
    // No book at all reads as book 0, which has no rows.
    Dataset* books = DM->TableLogName;
    if (!books->active() || books->isEmpty()) return QStringLiteral("0");
    return QString::number(books->field(QStringLiteral("Num")).asInteger());
}

} // namespace

static const Award kAwards[] = {
    {&TFAwards::AwMenuDXCC, "DXCC", "Param1", false, false, true, "SQL_DXCC_Aw", 6},
    {&TFAwards::AwMenuWAZ, "WAZ", "Param1", false, false, false, "SQL_WAZ_Aw", 5},
    {&TFAwards::AwMenuIOTA, "IOTA", "Param1", false, false, true, "SQL_IOTA_Aw", 6},
    {&TFAwards::AwMenuUR, "UkrRus", "Param2,Param1", true, false, true, "SQL_UR_Aw", 7},
    {&TFAwards::WAS1, "WAS", "Param1", false, false, true, "SQL_WAS_Aw", 6},
    {&TFAwards::AwMenuUserA, "User1", "Param1,Param2,Param3", true, true, false, "SQL_User1_Aw", 5},
    {&TFAwards::AwMenuUserB, "User2", "Param1,Param2,Param3", true, true, false, "SQL_User2_Aw", 5},
};

TFAwards::TFAwards(QWidget* parent) : TForm(QStringLiteral("FAwards"), parent) {
    setWindowTitle(QStringLiteral("Awards"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMaximizeButtonHint);
    buildMenu();

    LabelAwName = newLabel(this, QStringLiteral("LabelAwName"), QString());
    QFont bold = LabelAwName->font();
    bold.setBold(true);
    LabelAwName->setFont(bold);
    ComboBoxBand =
        newCombo(this, QStringLiteral("ComboBoxBand"), {QStringLiteral("All")}, true, QStringLiteral("All"));
    ComboBoxBand->setInsertPolicy(QComboBox::NoInsert);
    EditFilter = newEdit(this, QStringLiteral("EditFilter"));
    ButtonDetails = newButton(this, QStringLiteral("ButtonDetails"), QStringLiteral("Details"));
    ButtonWC = newButton(this, QStringLiteral("ButtonWC"), QStringLiteral("Worked"));
    ButtonClose = newButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Close"));
    LabelWC = newLabel(this, QStringLiteral("LabelWC"), QString());
    LabelTotal = newLabel(this, QStringLiteral("LabelTotal"), QString());
    DBGridAwStatistic = named(new DBGrid(this), QStringLiteral("DBGridAwStatistic"));
    DBGridAwStatistic->setReadOnly(true);
    DBGridAwStatistic->setRowSelect(true);
    DBGridAwStatistic->setWordWrap(false);
    buildGridColumns();

    auto* top = new QHBoxLayout;
    top->addWidget(LabelAwName);
    top->addSpacing(12);
    top->addWidget(named(caption(this, QStringLiteral("Band")), QStringLiteral("LabelBand")));
    top->addWidget(ComboBoxBand);
    top->addWidget(named(caption(this, QStringLiteral("Filter")), QStringLiteral("LabelFilter")));
    top->addWidget(EditFilter);
    top->addWidget(ButtonDetails);
    top->addStretch(1);

    auto* side = new QVBoxLayout;
    side->addWidget(buildCountPanel());
    side->addWidget(LabelWC);
    side->addWidget(ButtonWC);
    side->addWidget(LabelTotal);
    side->addStretch(1);
    side->addWidget(ButtonClose);

    auto* body = new QHBoxLayout;
    body->addWidget(DBGridAwStatistic, 1);
    body->addLayout(side);

    auto* column = new QVBoxLayout(this);
    column->setMenuBar(MainMenu);
    column->addLayout(top);
    column->addLayout(body, 1);
    // Room for the key, the name and the 14 band columns side by side.
    DBGridAwStatistic->setMinimumSize(620, 380);

    const auto handle = [this](auto* sender, auto signal, void (TFAwards::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { Dialogs::guarded([this, handler] { (this->*handler)(); }); });
    };
    handle(AwMenuDXCC, &QAction::triggered, &TFAwards::AwMenuDXCCClick);
    handle(AwMenuWAZ, &QAction::triggered, &TFAwards::AwMenuWAZClick);
    handle(AwMenuIOTA, &QAction::triggered, &TFAwards::AwMenuIOTAClick);
    handle(AwMenuUR, &QAction::triggered, &TFAwards::AwMenuURClick);
    handle(WAS1, &QAction::triggered, &TFAwards::WAS1Click);
    handle(AwMenuUserA, &QAction::triggered, &TFAwards::AwMenuUserAClick);
    handle(AwMenuUserB, &QAction::triggered, &TFAwards::AwMenuUserBClick);
    handle(ComboBoxBand, &QComboBox::currentTextChanged, &TFAwards::ComboBoxBandChange);
    handle(EditFilter, &QLineEdit::textChanged, &TFAwards::EditFilterChange);
    handle(ButtonWC, &QPushButton::clicked, &TFAwards::ButtonWCClick);
    handle(ButtonDetails, &QPushButton::clicked, &TFAwards::ButtonDetailsClick);
    // The window closes through its title bar; the button does the same.
    connect(ButtonClose, &QPushButton::clicked, this, &QWidget::close);
}

void TFAwards::buildMenu() {
    MainMenu = named(new QMenuBar(this), QStringLiteral("MainMenu"));
    MainMenu->setNativeMenuBar(false);
    AwMenu = named(MainMenu->addMenu(QStringLiteral("Show statistic")), QStringLiteral("AwMenu"));
    AwMenuDXCC = newItem(AwMenu, QStringLiteral("AwMenuDXCC"), QStringLiteral("DXCC"));
    AwMenuWAZ = newItem(AwMenu, QStringLiteral("AwMenuWAZ"), QStringLiteral("WAZ"));
    AwMenuIOTA = newItem(AwMenu, QStringLiteral("AwMenuIOTA"), QStringLiteral("IOTA"));
    AwMenuUR = newItem(AwMenu, QStringLiteral("AwMenuUR"), QStringLiteral("Ukr Russ"));
    WAS1 = newItem(AwMenu, QStringLiteral("WAS1"), QStringLiteral("WAS"));
    AwMenu->addSeparator();
    AwMenuUserA = newItem(AwMenu, QStringLiteral("AwMenuUserA"), QStringLiteral("Award 1"));
    AwMenuUserB = newItem(AwMenu, QStringLiteral("AwMenuUserB"), QStringLiteral("Award 2"));
    radioGroup(this, QStringLiteral("AwMenuGroup"),
               {AwMenuDXCC, AwMenuWAZ, AwMenuIOTA, AwMenuUR, WAS1, AwMenuUserA, AwMenuUserB});
    AwMenuDXCC->setChecked(true);
}

void TFAwards::buildGridColumns() {
    DBGridAwStatistic->datasetModel()->setColumns({});
    const auto add = [this](const QString& field, const QString& heading, bool visible) {
        DBGridAwStatistic->addColumn(field, heading, QString(), visible);
    };
    add(QStringLiteral("Num"), QString(), false);
    add(QStringLiteral("LogNameLog"), QStringLiteral("Log"), false);
    add(QStringLiteral("AwName"), QString(), false);
    add(QStringLiteral("Param1"), QStringLiteral("1"), true);
    add(QStringLiteral("Param2"), QStringLiteral("2"), false);
    add(QStringLiteral("Param3"), QStringLiteral("3"), false);
    add(QStringLiteral("Other"), QStringLiteral("Country"), true);
    for (const QString& cell : AwardMarks::allCells()) {
        const QString rest = cell.mid(4);
        if (bandCells().contains(cell)) {
            add(cell, bandHeading(rest), rest != QLatin1String("137") && rest != QLatin1String("Q"));
            continue;
        }
        for (const QString& band : bandCells())
            if (cell.startsWith(band) &&
                AwardMarks::modeSuffixes(band.mid(4)).contains(cell.mid(band.size())))
                add(cell, modeHeading(cell.mid(band.size())), false);
        if (cell == QLatin1String("BandQsstv")) add(cell, modeHeading(QStringLiteral("sstv")), false);
    }
}

QWidget* TFAwards::buildCountPanel() {
    QFrame* panel = newPanel(this, QStringLiteral("PanelCount"));
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(1);
    grid->addWidget(caption(panel, QStringLiteral("____CW   SSB RTTY PSK Other")), 0, 0, 1, 6);
    const auto countLabel = [panel](const QString& name) {
        QLabel* l = newLabel(panel, name, QStringLiteral("0"));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    int row = 1;
    for (const auto& band : kCountRows) {
        grid->addWidget(caption(panel, QString::fromUtf8(band[0])), row, 0);
        QList<QLabel*> labels;
        for (int m = 0; m < 5; ++m) {
            labels << countLabel(QStringLiteral("Label") + QLatin1String(band[1]) +
                                 QLatin1String(kModeLetters[m]));
            grid->addWidget(labels.last(), row, m + 1);
        }
        CountLabels << labels;
        ++row;
    }
    grid->addWidget(named(caption(panel, QStringLiteral("Total |")), QStringLiteral("LabelTotalRow")), row,
                    0);
    for (int m = 0; m < 5; ++m) {
        TotalLabels << countLabel(QStringLiteral("LabelT") + QLatin1String(kModeLetters[m]));
        grid->addWidget(TotalLabels.last(), row, m + 1);
    }
    return panel;
}

// --- the award menu ------------------------------------------------------------------------------

void TFAwards::AwMenuDXCCClick() {
    showAward(kAwards[0]);
}
void TFAwards::AwMenuWAZClick() {
    showAward(kAwards[1]);
}
void TFAwards::AwMenuIOTAClick() {
    showAward(kAwards[2]);
}
void TFAwards::AwMenuURClick() {
    showAward(kAwards[3]);
}
void TFAwards::WAS1Click() {
    showAward(kAwards[4]);
}
void TFAwards::AwMenuUserAClick() {
    showAward(kAwards[5]);
}
void TFAwards::AwMenuUserBClick() {
    showAward(kAwards[6]);
}

void TFAwards::showAward(const Award& award) {
    QAction* item = this->*award.item;
    item->setChecked(true);
    // The log database failed to open (reported at start-up): nothing to show.
    if (!DM->logOpen()) return;
    DM->QueryAwStatistic->close();
    EditFilter->clear();
    Dataset* table = DM->TableAwStatisticBM;
    DM->DataSourceAwStatistic->setDataSet(table);
    if (DBGridAwStatistic->dataSource() != DM->DataSourceAwStatistic)
        DBGridAwStatistic->setDataSource(DM->DataSourceAwStatistic);
    // Back from "Details": the grid shows the table's columns again.
    const QList<GridColumn>& columns = DBGridAwStatistic->datasetModel()->columns();
    if (columns.isEmpty() || columns.first().field != QLatin1String("Num")) buildGridColumns();
    // Narrowed before it opens: the whole table is never read.
    table->setFilter(QStringLiteral("AwName=") + QuotedStr(QString::fromLatin1(award.name)) +
                     QStringLiteral(" AND LogNameLog=") + bookNumber());
    table->setSort(QString::fromLatin1(award.sort));
    table->open();
    LabelAwName->setText(item->text());
    nextCount_ = Count::Worked;
    ShowCountCaptions();
    ButtonWCClick();
    ApplyBandColumns();
    DBGridAwStatistic->setColumnVisible(QStringLiteral("Param2"), award.param2);
    DBGridAwStatistic->setColumnVisible(QStringLiteral("Param3"), award.param3);
    DBGridAwStatistic->setColumnVisible(QStringLiteral("Other"), award.other);
}

const TFAwards::Award* TFAwards::checkedAward() const {
    for (const Award& award : kAwards)
        if ((this->*award.item)->isChecked()) return &award;
    return nullptr;
}

void TFAwards::ApplyBandColumns() {
    DBGrid* grid = DBGridAwStatistic;
    grid->setColumnVisible(QStringLiteral("Param1"), true);
    const QString text = ComboBoxBand->currentText();
    for (const QString& band : bandCells()) {
        const QString code = band.mid(4);
        const bool always = code != QLatin1String("137") && code != QLatin1String("Q");
        grid->setColumnVisible(band, always && text == QLatin1String("All"));
        for (const QString& suffix : AwardMarks::modeSuffixes(code))
            grid->setColumnVisible(band + suffix, false);
    }
    const QString code = bandCodeOfBox(text);
    if (code.isEmpty()) return;
    grid->setColumnVisible(QStringLiteral("Band") + code, true);
    for (const QString& suffix : AwardMarks::modeSuffixes(code))
        grid->setColumnVisible(QStringLiteral("Band") + code + suffix, true);
}

void TFAwards::ComboBoxBandChange() {
    ApplyBandColumns();
}

void TFAwards::EditFilterChange() {
    if (!DM->logOpen()) return;
    const Award* award = checkedAward();
    const QString name = QString::fromLatin1(award ? award->name : "DXCC");
    const QString condition =
        EditFilter->text().isEmpty()
            ? QStringLiteral(" <> ''")
            : QStringLiteral(" LIKE ") + QuotedStr((EditFilter->text() + '*').trimmed());
    if (DM->TableAwStatisticBM->active())
        DM->TableAwStatisticBM->setFilter(QStringLiteral("Param1") + condition +
                                          QStringLiteral(" AND AwName=") + QuotedStr(name) +
                                          QStringLiteral(" AND LogNameLog=") + bookNumber());
    if (DM->QueryAwStatistic->active())
        DM->QueryAwStatistic->setFilter(name + condition + QStringLiteral(" AND LogNameLog=") + bookNumber());
}

// --- counts ----------------------------------------------------------------------------------------

void TFAwards::setCounts(const QList<int>& cells, const QList<int>& totals) {
    for (int b = 0; b < CountLabels.size(); ++b)
        for (int m = 0; m < 5; ++m)
            CountLabels[b][m]->setText(QString::number(cells.value(b * 5 + m)));
    for (int m = 0; m < 5; ++m)
        TotalLabels[m]->setText(QString::number(totals.value(m)));
}

void TFAwards::ButtonWCClick() {
    if (!DM->logOpen()) return;
    Dataset* table = DM->TableAwStatisticBM;
    DataSource* source = DM->DataSourceAwStatistic;
    source->setEnabled(false);
    setCounts({}, {});
    // However the count ends, the grid follows its rows again from the first one.
    struct Reattach {
        Dataset* table;
        DataSource* source;
        ~Reattach() {
            source->setEnabled(true);
            if (table->active()) table->first();
        }
    } reattach{table, source};
    if (table->active()) table->first();
    const Count shown = nextCount_;
    const AwardStatistic::Counts counts = AwardStatistic::count(
        *DM->ConnectionLog, table->filtered() ? table->filter() : QString(), shown == Count::Confirmed);
    QList<int> cells, totals;
    for (const auto& band : counts.cells)
        for (int n : band)
            cells << n;
    for (int n : counts.modeTotals)
        totals << n;
    setCounts(cells, totals);
    total_ = table->active() ? table->recordCount() : 0;
    counted_ = true;
    nextCount_ = shown == Count::Worked ? Count::Confirmed : Count::Worked;
    ShowCountCaptions();
}

void TFAwards::ShowCountCaptions() {
    if (counted_)
        LabelTotal->setText(
            runTimeCaption(QStringLiteral("CaptionTotalWorked"), QStringLiteral("Total worked ")) +
            QString::number(total_));
    const QString worked = runTimeCaption(QStringLiteral("CaptionWorked"), QStringLiteral("Worked"));
    const QString confirm = runTimeCaption(QStringLiteral("CaptionConfirm"), QStringLiteral("Confirm"));
    // The button names the count it shows next; the label the one shown.
    ButtonWC->setText(nextCount_ == Count::Confirmed ? confirm : worked);
    if (counted_) LabelWC->setText(nextCount_ == Count::Confirmed ? worked : confirm);
}

QString TFAwards::runTimeCaption(const QString& object, const QString& design) const {
    return FConfig ? FConfig->RunTimeCaption(objectName(), object, design) : design;
}

// --- details ---------------------------------------------------------------------------------------

void TFAwards::ButtonDetailsClick() {
    if (!DM->logOpen()) return;
    Dataset* query = DM->QueryAwStatistic;
    query->close();
    EditFilter->clear();
    const Award* award = checkedAward();
    const int hidden = award ? award->bookColumn : 6;
    if (award) query->setSql(QStringLiteral("SELECT * FROM ") + QLatin1String(award->view));
    DM->DataSourceAwStatistic->setDataSet(query);
    if (DBGridAwStatistic->dataSource() != DM->DataSourceAwStatistic)
        DBGridAwStatistic->setDataSource(DM->DataSourceAwStatistic);
    query->open();
    // Every column of the query, the first six at their widths and the book column hidden.
    QList<GridColumn> columns;
    const auto& fields = query->fieldDefs();
    for (int i = 0; i < int(fields.size()); ++i)
        columns << GridColumn{fields[i].name, QString(), true, QString(), 0};
    if (columns.size() >= 6) {
        // Never narrower than the heading, which this font may need wider.
        const QFontMetrics metrics = DBGridAwStatistic->horizontalHeader()->fontMetrics();
        for (int i = 0; i < 6; ++i)
            columns[i].width = std::max(kDetailsWidths[i], metrics.horizontalAdvance(columns[i].field) + 12);
        if (hidden < columns.size()) columns[hidden].visible = false;
    }
    DBGridAwStatistic->datasetModel()->setColumns(columns);
    query->setFilter(QStringLiteral("LogNameLog=") + bookNumber() + QStringLiteral(" OR LogNameLog=null"));
}

// --- life ------------------------------------------------------------------------------------------

void TFAwards::FormClose() {
    DM->QueryAwStatistic->close();
    DM->TableAwStatisticBM->close();
}

void TFAwards::closeEvent(QCloseEvent* e) {
    TForm::closeEvent(e);
    Dialogs::guarded([this] { FormClose(); });
}

void TFAwards::showEvent(QShowEvent* e) {
    TForm::showEvent(e);
    centreOn(this, FMain);
}

#include "contest/UContest.h"

#include "contest/ContestScoring.h"
#include "data/CfgFileRows.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "exchange/ContestConfigFile.h"
#include "platform/Cp1251.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "platform/NumberText.h"
#include "widgets/Controls.h"
#include "widgets/DateTimePicker.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

TFContConf* FContConf = nullptr;

namespace {
const QString kForm = QStringLiteral("FContConf");
const QString kConfigRow = QStringLiteral("ContestConfig");
const QString kDefaultRow = QStringLiteral("DefaultContestConfig");
const QString kDefaultName = QStringLiteral("DefaultContest");
constexpr int kNameWidth = 50; // the key column's width

QSpinBox* newUpDown(QWidget* parent, const QString& name, int max, int start) {
    auto* s = named(new QSpinBox(parent), name);
    s->setRange(0, max);
    s->setValue(start);
    return s;
}

// The control whose text a line of the stored configuration holds (1-based).
QString controlOfLine(int line) {
    static const QStringList before{"ComboBox1", "RadioGroup1"};
    static const QStringList after{"CheckBox1",   "CheckBox2",   "CheckBox3",  "CheckBoxSen",
                                   "SPoint",      "EditSen",     "MaskEdit1",  "DatePicker1",
                                   "TimePicker1", "DatePicker2", "TimePicker2"};
    const int cells = ContestScoring::GroupCount * ContestScoring::BandCount;
    if (line <= before.size()) return before.value(line - 1);
    const int cell = line - 1 - int(before.size());
    if (cell < cells)
        return ContestScoring::cellName(cell / ContestScoring::BandCount, cell % ContestScoring::BandCount);
    return after.value(cell - cells);
}
} // namespace

TFContConf::TFContConf(QWidget* parent) : TForm(QStringLiteral("FContConf"), parent) {
    setWindowTitle(QStringLiteral("Contest Configuration"));
    ComboBox1 = newCombo(this, QStringLiteral("ComboBox1"), {}, true, {});
    ComboBox1->setMinimumWidth(220);

    auto* grid = newGroup(this, QStringLiteral("GroupBoxPoints"), QStringLiteral(" Multiplier for QSO "));
    buildPointsGrid(grid);

    SPoint = named(new QSpinBox(this), QStringLiteral("SPoint"));
    SPoint->setRange(1, 1000);
    SPoint->setValue(1);
    auto* labelSPoint =
        newLabel(this, QStringLiteral("LabelSPoint"), QStringLiteral("Initial number for QSO"));

    CheckBoxSen = newCheck(this, QStringLiteral("CheckBoxSen"), QStringLiteral("Add to"), false);
    Label22 = newLabel(this, QStringLiteral("Label22"), QStringLiteral("Sent"));
    Label22->installEventFilter(this);
    EditSen = newEdit(this, QStringLiteral("EditSen"), QStringLiteral("001"));
    Label21 = newLabel(this, QStringLiteral("Label21"), QStringLiteral("+"));
    MaskEdit1 = newEdit(this, QStringLiteral("MaskEdit1"), QStringLiteral("1"));
    MaskEdit1->setReadOnly(true);
    MaskEdit1->setMaximumWidth(50);
    UpDown1 = newUpDown(this, QStringLiteral("UpDown1"), 1000, 1);
    UpDown1->setMaximumWidth(18);
    for (QWidget* w :
         {static_cast<QWidget*>(Label21), static_cast<QWidget*>(MaskEdit1), static_cast<QWidget*>(UpDown1)})
        w->hide();

    RadioGroup1 = newGroup(this, QStringLiteral("RadioGroup1"), QStringLiteral(" Info "));
    auto* radios = new QGridLayout(RadioGroup1);
    const QStringList infos{"DXCC", "WAZ", "Ukraine", "Russia"};
    for (int i = 0; i < infos.size(); ++i) {
        auto* r = named(new QRadioButton(infos[i], RadioGroup1),
                        QStringLiteral("RadioGroup1Item") + QString::number(i));
        RadioGroup1Items << r;
        radios->addWidget(r, i / 2, i % 2);
    }
    RadioGroup1Items[0]->setChecked(true);

    DatePicker1 = named(new DateBox(QDate(2002, 1, 1), this), QStringLiteral("DatePicker1"));
    TimePicker1 = named(new TimeBox(QTime(19, 50, 0), this), QStringLiteral("TimePicker1"));
    DatePicker2 = named(new DateBox(QDate(2002, 1, 2), this), QStringLiteral("DatePicker2"));
    TimePicker2 = named(new TimeBox(QTime(19, 59, 0), this), QStringLiteral("TimePicker2"));
    for (QDateEdit* d : {DatePicker1, DatePicker2})
        d->setDisplayFormat(QLatin1String(DateText::ShortDate));
    for (QTimeEdit* t : {TimePicker1, TimePicker2})
        t->setDisplayFormat(QLatin1String(DateText::LongTime));
    CheckBox3 = newCheck(this, QStringLiteral("CheckBox3"), {}, false);
    CheckBox1 = newCheck(this, QStringLiteral("CheckBox1"), {}, false);
    CheckBox2 = newCheck(this, QStringLiteral("CheckBox2"), QStringLiteral("Ch2"), false);
    auto* labelRepeats =
        newLabel(this, QStringLiteral("Label23"), QStringLiteral("To fix repetitions on other bands."));
    for (QWidget* w : {static_cast<QWidget*>(CheckBox1), static_cast<QWidget*>(CheckBox2),
                       static_cast<QWidget*>(labelRepeats)})
        w->hide();

    ButtonSav = newButton(this, QStringLiteral("ButtonSav"), QStringLiteral("Save"));
    ButtonDel = newButton(this, QStringLiteral("ButtonDel"), QStringLiteral("Delete"));
    ButtonCl = newButton(this, QStringLiteral("ButtonCl"), QStringLiteral("Close"));
    ButtonOp = newButton(this, QStringLiteral("ButtonOp"), QStringLiteral("Load"));
    ButtonOp->hide();

    // Layout: name on top, the points grid, then the exchange, the info choice and the times.
    auto* side = new QGridLayout;
    side->addWidget(labelSPoint, 0, 0, 1, 3);
    side->addWidget(SPoint, 1, 0);
    side->addWidget(Label22, 2, 0);
    side->addWidget(CheckBoxSen, 2, 1, 1, 2);
    side->addWidget(EditSen, 3, 0);
    side->addWidget(Label21, 3, 1);
    side->addWidget(MaskEdit1, 3, 2);
    side->addWidget(UpDown1, 3, 3);
    side->addWidget(RadioGroup1, 4, 0, 1, 4);
    side->addWidget(newLabel(this, QStringLiteral("LabelStart"), QStringLiteral("Start Contest (LogTime)")),
                    5, 0, 1, 3);
    side->addWidget(CheckBox3, 5, 3);
    side->addWidget(DatePicker1, 6, 0, 1, 2);
    side->addWidget(TimePicker1, 6, 2, 1, 2);
    side->addWidget(newLabel(this, QStringLiteral("LabelStop"), QStringLiteral("Stop Contest")), 7, 0, 1, 4);
    side->addWidget(DatePicker2, 8, 0, 1, 2);
    side->addWidget(TimePicker2, 8, 2, 1, 2);
    side->addWidget(CheckBox1, 9, 0);
    side->addWidget(CheckBox2, 9, 1);
    side->addWidget(labelRepeats, 9, 2);
    side->setRowStretch(10, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(grid);
    middle->addLayout(side);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {ButtonOp, ButtonSav, ButtonDel, ButtonCl})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ComboBox1);
    layout->addLayout(middle);
    layout->addLayout(buttons);

    connect(ButtonSav, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFContConf::ButtonSavClick));
    connect(ButtonDel, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFContConf::ButtonDelClick));
    connect(ButtonCl, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFContConf::ButtonClClick));
    connect(ButtonOp, &QPushButton::clicked, this, Dialogs::guardedSlot(this, &TFContConf::ButtonOpClick));
    connect(ComboBox1, &QComboBox::activated, this, Dialogs::guardedSlot(this, &TFContConf::ComboBox1Select));
    connect(CheckBoxSen, &QCheckBox::toggled, this,
            Dialogs::guardedSlot(this, &TFContConf::CheckBoxSenClick));
    connect(UpDown1, &QSpinBox::valueChanged, this,
            [this](int v) { MaskEdit1->setText(QString::number(v)); });
}

void TFContConf::buildPointsGrid(QGroupBox* grid) {
    auto* g = new QGridLayout(grid);
    g->setHorizontalSpacing(2);
    g->setVerticalSpacing(1);
    const QStringList heads{"CW", "SSB", "RTTY", "Other"};
    for (int group = 0; group < ContestScoring::GroupCount; ++group)
        g->addWidget(caption(grid, heads[group]), 0, 1 + group * 2, 1, 2, Qt::AlignCenter);
    for (int group = 0; group < ContestScoring::GroupCount; ++group) {
        for (int band = 0; band < ContestScoring::BandCount; ++band) {
            auto* cell = newEdit(grid, ContestScoring::cellName(group, band),
                                 ContestScoring::defaultCell(group, band));
            cell->setReadOnly(true);
            cell->setFixedWidth(40);
            auto* upDown = newUpDown(grid, ContestScoring::upDownName(group, band), 100, 0);
            upDown->setFixedWidth(18);
            const int index = int(PointCells.size());
            PointCells << cell;
            UpDowns << upDown;
            connect(upDown, &QSpinBox::valueChanged, this, [this, index] { UpDownChanging(index); });
            g->addWidget(cell, 1 + band, 1 + group * 2);
            g->addWidget(upDown, 1 + band, 2 + group * 2);
        }
    }
    for (int band = 0; band < ContestScoring::BandCount; ++band)
        g->addWidget(caption(grid, ContestScoring::bandLabels().at(band)), 1 + band, 0);
}

void TFContConf::FormCreate() {
    LoadContestConfigList();
}

// --- the configuration as values -----------------------------------------------------------------

ContestConfigValues TFContConf::values() const {
    ContestConfigValues v;
    v.name = ComboBox1->currentText();
    for (int i = 0; i < RadioGroup1Items.size(); ++i)
        if (RadioGroup1Items[i]->isChecked()) v.infoIndex = i;
    for (QLineEdit* cell : PointCells)
        v.cells << cell->text();
    v.check1 = CheckBox1->isChecked();
    v.check2 = CheckBox2->isChecked();
    v.check3 = CheckBox3->isChecked();
    v.serial = CheckBoxSen->isChecked();
    v.factor = SPoint->text();
    v.sent = EditSen->text();
    v.step = MaskEdit1->text();
    v.startDate = DatePicker1->date();
    v.startTime = TimePicker1->time();
    v.stopDate = DatePicker2->date();
    v.stopTime = TimePicker2->time();
    return v;
}

void TFContConf::apply(const ContestConfigValues& v) {
    ComboBox1->setEditText(v.name);
    RadioGroup1Items.at(v.infoIndex)->setChecked(true);
    // The up-down controls keep their positions: a step after a load starts from them.
    for (int i = 0; i < PointCells.size(); ++i)
        PointCells[i]->setText(v.cells.value(i));
    CheckBox1->setChecked(v.check1);
    CheckBox2->setChecked(v.check2);
    CheckBox3->setChecked(v.check3);
    CheckBoxSen->setChecked(v.serial);
    SPoint->setValue(v.factor.toInt());
    EditSen->setText(v.sent);
    MaskEdit1->setText(v.step);
    {
        const QSignalBlocker still(UpDown1);
        UpDown1->setValue(v.step.toInt());
    }
    DatePicker1->setDate(v.startDate);
    TimePicker1->setTime(v.startTime);
    DatePicker2->setDate(v.stopDate);
    TimePicker2->setTime(v.stopTime);
}

// --- handlers -------------------------------------------------------------------------------------

void TFContConf::UpDownChanging(int cell) {
    PointCells[cell]->setText(NumberText::fromFloat(UpDowns[cell]->value() / 10.0));
}

void TFContConf::CheckBoxSenClick() {
    const bool serial = CheckBoxSen->isChecked();
    Label21->setVisible(serial);
    MaskEdit1->setVisible(serial);
    UpDown1->setVisible(serial);
    if (serial) EditSen->setText(QStringLiteral("001"));
    EditSen->setEnabled(!serial);
    Label22->setCursor(serial ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TFContConf::Label22DblClick() {
    EditSen->setEnabled(true);
    Label22->setCursor(Qt::ArrowCursor);
}

bool TFContConf::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label22 && event->type() == QEvent::MouseButtonDblClick) {
        Label22DblClick();
        return true;
    }
    return TForm::eventFilter(watched, event);
}

void TFContConf::LoadContestConfigList() {
    ComboBox1->clear();
    ComboBox1->clearEditText();
    // A settings database that failed to open was reported at start-up already.
    if (!DM->ConnectionCfg->connected()) return;
    QStringList names = CfgFileRows::names(*DM->ConnectionCfg, kForm, kConfigRow);
    names.sort(Qt::CaseInsensitive);
    ComboBox1->addItems(names);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->clearEditText();
    const std::optional<QString> byDefault =
        CfgFileRows::readParam(*DM->ConnectionCfg, kForm, kDefaultRow, kDefaultName);
    if (!byDefault) return;
    ComboBox1->setEditText(*byDefault);
    // A default that cannot be loaded does not lend its name to the built-in values.
    if (!loadConfiguration()) ComboBox1->clearEditText();
}

void TFContConf::ButtonSavClick() {
    const QString name = ComboBox1->currentText();
    if (name.size() < 2) {
        Dialogs::showMessage(QStringLiteral("Please enter contest name!"));
        return;
    }
    if (name.size() > kNameWidth) {
        // The key column holds 50 characters: a longer name could not be found again.
        Dialogs::messageDlg(Msg(QStringLiteral("The contest name may have at most 50 characters."),
                                QStringLiteral("Название контеста может быть не длиннее 50 символов.")),
                            DlgType::Warning, DlgButtons::Ok);
        return;
    }
    // What is stored must load back: the reader's checks run before anything is written.
    const QByteArray bytes = ContestConfigFile::write(values());
    ContestConfigValues back;
    int badLine = 0;
    if (!ContestConfigFile::read(bytes, back, badLine)) {
        const QString control = controlOfLine(badLine);
        const QString text = Cp1251::decode(bytes).split(QStringLiteral("\r\n")).value(badLine - 1);
        Dialogs::errorBox(Msg(QStringLiteral("Line %1 of the contest configuration \"%2\" would not be valid "
                                             "(%3: \"%4\"); nothing was saved.")
                                  .arg(badLine)
                                  .arg(name, control, text),
                              QStringLiteral("Строка %1 конфигурации контеста \"%2\" была бы неверна "
                                             "(%3: \"%4\"); ничего не сохранено.")
                                  .arg(badLine)
                                  .arg(name, control, text)));
        return;
    }
    Connection& cfg = *DM->ConnectionCfg;
    {
        Transaction tx(cfg);
        CfgFileRows::writeFile(cfg, kForm, kConfigRow, name, bytes);
        CfgFileRows::writeParam(cfg, kForm, kDefaultRow, kDefaultName, name, QStringLiteral("String"));
        tx.commit();
    }
    DM->TableCfgCfg->requery();
    LoadContestConfigList();
    Dialogs::showMessage(QStringLiteral("OK !!!"));
}

void TFContConf::ButtonOpClick() {
    loadConfiguration();
}

bool TFContConf::loadConfiguration() {
    const std::optional<QByteArray> bytes =
        CfgFileRows::readFile(*DM->ConnectionCfg, kForm, kConfigRow, ComboBox1->currentText());
    if (!bytes) return true;
    ContestConfigValues v;
    int badLine = 0;
    if (!ContestConfigFile::read(*bytes, v, badLine)) {
        // Nothing is applied: a half-loaded configuration would score with two contests' rules.
        Dialogs::errorBox(Msg(QStringLiteral("Line %1 of the contest configuration \"%2\" is not valid; "
                                             "nothing was loaded.")
                                  .arg(badLine)
                                  .arg(ComboBox1->currentText()),
                              QStringLiteral("Строка %1 конфигурации контеста \"%2\" неверна; "
                                             "ничего не загружено.")
                                  .arg(badLine)
                                  .arg(ComboBox1->currentText())));
        return false;
    }
    apply(v);
    return true;
}

void TFContConf::ComboBox1Select() {
    ButtonOpClick();
}

void TFContConf::ButtonDelClick() {
    const QString name = ComboBox1->currentText();
    if (Dialogs::messageDlg(QStringLiteral("Delete configuration ") + name, DlgType::Confirmation,
                            DlgButtons::YesNo) != DlgResult::Yes)
        return;
    Connection& cfg = *DM->ConnectionCfg;
    {
        Transaction tx(cfg);
        CfgFileRows::remove(cfg, kForm, kConfigRow, name);
        if (CfgFileRows::readParam(cfg, kForm, kDefaultRow, kDefaultName) == name)
            CfgFileRows::remove(cfg, kForm, kDefaultRow, kDefaultName);
        tx.commit();
    }
    DM->TableCfgCfg->requery();
    LoadContestConfigList();
}

void TFContConf::ButtonClClick() {
    Close();
}

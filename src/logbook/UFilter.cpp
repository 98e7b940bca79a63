#include "logbook/UFilter.h"

#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Dataset.h"
#include "logbook/LogOperations.h"
#include "logbook/UMain.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "widgets/DateTimePicker.h"
#include "widgets/UpperCase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>

TFilter* Filter = nullptr;

namespace {

const QStringList kBands{"1.8", "3.5", "7",  "10",  "14",  "18",   "21",
                         "24",  "28",  "50", "144", "430", "1260", "Satellite"};
const QStringList kModes{"CW",   "SSB",    "RTTY",   "FM",   "AMTOR", "BPSK", "FAX", "FSK", "HELL",
                         "MTTY", "PACKET", "PACTOR", "QPSK", "SSTV",  "LSB",  "USB", "AM"};

template <class W> W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QLineEdit* newEdit(QWidget* parent, const QString& name, const QString& text, int maxLength) {
    auto* e = named(new QLineEdit(text, parent), name);
    e->setMaxLength(maxLength);
    return e;
}

QComboBox* newList(QWidget* parent, const QString& name, const QStringList& items, const QString& text,
                   int maxLength) {
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(true);
    c->lineEdit()->setMaxLength(maxLength);
    c->addItems(items);
    c->setCurrentText(text);
    return c;
}

std::optional<QString> ifTicked(const QCheckBox* box, const QString& value) {
    return box->isChecked() ? std::optional<QString>(value) : std::nullopt;
}

} // namespace

TFilter::TFilter(QWidget* parent) : TForm(QStringLiteral("Filter"), parent) {
    setWindowTitle(QStringLiteral("Filter"));
    const auto tick = [this](const QString& name, const QString& caption) {
        return named(new QCheckBox(caption, this), name);
    };
    CheckBoxC = tick(QStringLiteral("CheckBoxC"), QStringLiteral("CallSignal"));
    EditC = newEdit(this, QStringLiteral("EditC"), QStringLiteral("U*"), 20);
    makeUpperCase(EditC);
    CheckBoxP = tick(QStringLiteral("CheckBoxP"), QStringLiteral("DXCC Pref"));
    EditP = newEdit(this, QStringLiteral("EditP"), QStringLiteral("UR"), 12);
    makeUpperCase(EditP);
    CheckBoxD = tick(QStringLiteral("CheckBoxD"), QStringLiteral("Date"));
    DateTimePickerD = named(new DateBox(this), QStringLiteral("DateTimePickerD"));
    DateTimePickerD2 = named(new DateBox(this), QStringLiteral("DateTimePickerD2"));
    for (QDateEdit* d : {DateTimePickerD, DateTimePickerD2}) {
        d->setDisplayFormat(QString::fromLatin1(DateText::ShortDate));
        d->setCalendarPopup(true);
    }
    CheckBoxT = tick(QStringLiteral("CheckBoxT"), QStringLiteral("Time"));
    DateTimePickerT = named(new TimeBox(QTime(0, 0), this), QStringLiteral("DateTimePickerT"));
    DateTimePickerT2 = named(new TimeBox(this), QStringLiteral("DateTimePickerT2"));
    for (QTimeEdit* t : {DateTimePickerT, DateTimePickerT2})
        t->setDisplayFormat(QString::fromLatin1(DateText::LongTime));
    CheckBoxB = tick(QStringLiteral("CheckBoxB"), QStringLiteral("Band"));
    ComboBoxB = newList(this, QStringLiteral("ComboBoxB"), kBands, QStringLiteral("14"), 10);
    CheckBoxM = tick(QStringLiteral("CheckBoxM"), QStringLiteral("Mode"));
    ComboBoxM = newList(this, QStringLiteral("ComboBoxM"), kModes, QStringLiteral("CW"), 10);
    CheckBoxN = tick(QStringLiteral("CheckBoxN"), QStringLiteral("Name"));
    EditN = newEdit(this, QStringLiteral("EditN"), {}, 20);
    CheckBoxL = tick(QStringLiteral("CheckBoxL"), QStringLiteral("Location"));
    EditL = newEdit(this, QStringLiteral("EditL"), {}, 25);
    CheckBoxRR = tick(QStringLiteral("CheckBoxRR"), QStringLiteral("Rx RST"));
    MaskEditRR = newEdit(this, QStringLiteral("MaskEditRR"), QStringLiteral("599"), 10);
    CheckBoxTR = tick(QStringLiteral("CheckBoxTR"), QStringLiteral("Tx RST"));
    MaskEditTR = newEdit(this, QStringLiteral("MaskEditTR"), QStringLiteral("599"), 10);
    CheckBoxQS = tick(QStringLiteral("CheckBoxQS"), QStringLiteral("QSL Send"));
    CheckBoxQR = tick(QStringLiteral("CheckBoxQR"), QStringLiteral("QSL Rcvd"));

    const auto button = [this](const QString& name, const QString& caption, void (TFilter::*handler)()) {
        auto* b = named(new QPushButton(caption, this), name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, handler] { Dialogs::guarded([this, handler] { (this->*handler)(); }); });
        return b;
    };
    ButtonO = button(QStringLiteral("ButtonO"), QStringLiteral("OK"), &TFilter::ButtonOClick);
    ButtonC = button(QStringLiteral("ButtonC"), QStringLiteral("Canceled Filter"), &TFilter::ButtonCClick);
    ButtonCl = button(QStringLiteral("ButtonCl"), QStringLiteral("Close"), &TFilter::ButtonClClick);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(10);
    const auto line = [grid](int row, QCheckBox* box, QWidget* first, QWidget* second = nullptr) {
        grid->addWidget(box, row, 0);
        if (first) grid->addWidget(first, row, 1, 1, second ? 1 : 2);
        if (second) grid->addWidget(second, row, 2);
    };
    line(0, CheckBoxC, EditC);
    line(1, CheckBoxP, EditP);
    line(2, CheckBoxD, DateTimePickerD, DateTimePickerD2);
    line(3, CheckBoxT, DateTimePickerT, DateTimePickerT2);
    line(4, CheckBoxB, ComboBoxB);
    line(5, CheckBoxM, ComboBoxM);
    line(6, CheckBoxN, EditN);
    line(7, CheckBoxL, EditL);
    line(8, CheckBoxRR, MaskEditRR);
    line(9, CheckBoxTR, MaskEditTR);
    line(10, CheckBoxQS, nullptr);
    line(11, CheckBoxQR, nullptr);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonO);
    buttons->addWidget(ButtonC);
    buttons->addWidget(ButtonCl);
    grid->addLayout(buttons, 12, 0, 1, 3);
    // Sized to its contents, also when the captions change language.
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void TFilter::FormCreate() {
    const QDateTime now = Clock::now();
    DateTimePickerT2->setTime(now.time());
    DateTimePickerD2->setDate(now.date());
    DateTimePickerD->setDate(now.date());
}

void TFilter::showEvent(QShowEvent* e) {
    TForm::showEvent(e);
    centreOn(this, FMain);
}

QList<QCheckBox*> TFilter::conditionBoxes() const {
    return {CheckBoxC, CheckBoxP, CheckBoxD,  CheckBoxT,  CheckBoxB,  CheckBoxM,
            CheckBoxN, CheckBoxL, CheckBoxRR, CheckBoxTR, CheckBoxQS, CheckBoxQR};
}

LogFilterConditions TFilter::conditions() const {
    LogFilterConditions c;
    c.call = ifTicked(CheckBoxC, EditC->text());
    c.prefix = ifTicked(CheckBoxP, EditP->text());
    if (CheckBoxD->isChecked()) c.dates = std::pair(DateTimePickerD->date(), DateTimePickerD2->date());
    if (CheckBoxT->isChecked()) c.times = std::pair(DateTimePickerT->time(), DateTimePickerT2->time());
    c.band = ifTicked(CheckBoxB, ComboBoxB->currentText());
    c.mode = ifTicked(CheckBoxM, ComboBoxM->currentText());
    c.name = ifTicked(CheckBoxN, EditN->text());
    c.qth = ifTicked(CheckBoxL, EditL->text());
    c.rxReport = ifTicked(CheckBoxRR, MaskEditRR->text());
    c.txReport = ifTicked(CheckBoxTR, MaskEditTR->text());
    c.qslSent = CheckBoxQS->isChecked();
    c.qslReceived = CheckBoxQR->isChecked();
    return c;
}

void TFilter::ButtonOClick() {
    const QList<QCheckBox*> boxes = conditionBoxes();
    if (std::none_of(boxes.begin(), boxes.end(), [](const QCheckBox* b) { return b->isChecked(); })) return;
    try {
        DM->TableLog->setFilter(logFilterText(FMain->Tag, conditions()));
    } catch (const DbError&) {
        Dialogs::messageDlg(Msg(QStringLiteral(" Conditions of the filter contradict each other! \n"
                                               " Check up correctness of the established values!"),
                                QStringLiteral("Условия фильтра противоречат друг другу!\n"
                                               "Проверте правильность установленных значений!")),
                            DlgType::Warning, DlgButtons::Ok);
        untickAll();
        showWholeBook();
        return;
    }
    Close();
}

void TFilter::ButtonCClick() {
    untickAll();
    showWholeBook();
    Close();
}

void TFilter::ButtonClClick() {
    Close();
}

void TFilter::untickAll() {
    for (QCheckBox* b : conditionBoxes())
        b->setChecked(false);
}

void TFilter::showWholeBook() {
    DM->TableLog->setFilter(bookFilterText(FMain->Tag));
    FMain->ViewSortDateClick();
}

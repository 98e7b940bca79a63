#include "contest/USked.h"

#include "data/CfgFileRows.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "exchange/SkedFile.h"
#include "logbook/UMain.h"
#include "media/ClockJobs.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"
#include "widgets/DateTimePicker.h"
#include "widgets/Controls.h"
#include "widgets/RoundLamp.h"
#include "widgets/StartUpTimers.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>

TFSkeds* FSkeds = nullptr;

namespace {

const QString kForm = QStringLiteral("FSkeds");
const QString kObject = QStringLiteral("Skeds");
const QString kName = QStringLiteral("FileSkeds");

} // namespace

TFSkeds::TFSkeds(QWidget* parent) : TForm(kForm, parent) {
    setWindowTitle(QStringLiteral("Skeds"));
    setWindowFlags(Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    auto* grid = new QGridLayout(this);
    // Before anything is stored: a date that is not today, so no lamp is lit and nothing fires.
    const QDate initial = Clock::today().addDays(-1);
    for (int i = 0; i < Count; ++i) {
        const QString n = QString::number(i + 1);
        auto* date = named(new DateBox(initial, this), QStringLiteral("DateEdit") + n);
        date->setDisplayFormat(QString::fromLatin1(DateText::ShortDate));
        date->setCalendarPopup(true);
        auto* time = named(new TimeBox(QTime(0, 0), this), QStringLiteral("DateTimePicker") + n);
        time->setDisplayFormat(QString::fromLatin1(DateText::LongTime));
        QLineEdit* note = newEdit(this, QStringLiteral("Edit") + n);
        note->setMinimumWidth(180);
        auto* lamp = named(new RoundLamp(this), QStringLiteral("AbLED") + n);
        DateEdit << date;
        DateTimePicker << time;
        Edit << note;
        AbLED << lamp;
        grid->addWidget(date, i, 0);
        grid->addWidget(time, i, 1);
        grid->addWidget(note, i, 2);
        grid->addWidget(lamp, i, 3);
        // An edited row is stored from its controls again.
        const auto edited = [this, i] { kept_[i].clear(); };
        connect(date, &QDateEdit::dateChanged, this, edited);
        connect(time, &QTimeEdit::timeChanged, this, edited);
        connect(note, &QLineEdit::textChanged, this, edited);
    }
    grid->setColumnStretch(2, 1);
    LabelST = newLabel(this, QStringLiteral("LabelST"), QStringLiteral("System Time"));
    grid->addWidget(LabelST, Count, 0, 1, 2);
    ButtonClose = newButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Close"));
    grid->addWidget(ButtonClose, Count, 2, 1, 2, Qt::AlignRight);
    connect(ButtonClose, &QPushButton::clicked, this, &QWidget::close);
    kept_ = QList<QByteArray>(Count);

    Timer1 = named(new QTimer(this), QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, Dialogs::guardedSlot(this, &TFSkeds::Timer1Timer));
    StartUpTimers::startAfterStartUp(Timer1);
}

void TFSkeds::FormCreate() {
    // Moments before the program started do not fire; this very second does.
    lastTick_ = Clock::now().addSecs(-1);
    LoadSkeds();
}

Sked TFSkeds::sked(int row) const {
    return {DateEdit[row]->date(), DateTimePicker[row]->time(), Edit[row]->text()};
}

void TFSkeds::apply(int row, const Sked& s) {
    DateEdit[row]->setDate(s.date);
    DateTimePicker[row]->setTime(s.time);
    Edit[row]->setText(s.note);
}

void TFSkeds::LoadSkeds() {
    // A settings database that failed to open was reported at start-up already.
    if (!DM || !DM->ConnectionCfg->connected()) return;
    const std::optional<QByteArray> bytes = CfgFileRows::readFile(*DM->ConnectionCfg, kForm, kObject, kName);
    if (!bytes) return;
    // Every row is read before any is shown: a row that does not read keeps its stored lines,
    // so the next close cannot overwrite the operator's skeds with the initial values.
    const QList<QByteArray> pieces = SkedFile::pieces(*bytes);
    QList<std::optional<Sked>> rows;
    QStringList bad;
    for (int i = 0; i < Count; ++i) {
        rows << SkedFile::read(pieces[i]);
        if (!rows[i]) bad << QString::number(i + 1);
    }
    for (int i = 0; i < Count; ++i)
        if (rows[i]) apply(i, *rows[i]);
    for (int i = 0; i < Count; ++i)
        kept_[i] = rows[i] ? QByteArray() : pieces[i];
    if (bad.isEmpty()) return;
    const QString list = bad.join(QStringLiteral(", "));
    Dialogs::errorBox(Msg(QStringLiteral("The stored lines of sked %1 cannot be read; "
                                         "they are kept unchanged until the sked is edited.")
                              .arg(list),
                          QStringLiteral("Сохранённые строки скеда %1 не читаются; "
                                         "они сохраняются без изменений, пока скед не изменён.")
                              .arg(list)));
}

void TFSkeds::FormClose() {
    if (!DM || !DM->ConnectionCfg->connected()) return;
    QByteArray bytes;
    for (int i = 0; i < Count; ++i)
        bytes += kept_[i].isEmpty() ? SkedFile::lines(sked(i)) : kept_[i];
    CfgFileRows::writeFile(*DM->ConnectionCfg, kForm, kObject, kName, bytes);
    DM->TableCfgCfg->requery();
}

void TFSkeds::Timer1Timer() {
    const QDateTime prev = lastTick_;
    const QDateTime now = Clock::now();
    // Before any message: the ticks that run under it look only at the seconds after this one.
    lastTick_ = now;
    for (int i = 0; i < Count; ++i) {
        AbLED[i]->setLit(DateEdit[i]->date() == now.date());
        if (ClockJobs::momentPassed(prev, now, QDateTime(DateEdit[i]->date(), DateTimePicker[i]->time())))
            Dialogs::messageDlg(QStringLiteral("SKED !!!    ") + Edit[i]->text(), DlgType::Information,
                                DlgButtons::Ok);
    }
}

void TFSkeds::showEvent(QShowEvent* e) {
    centreOn(this, FMain);
    TForm::showEvent(e);
}

void TFSkeds::closeEvent(QCloseEvent* e) {
    Dialogs::guarded([this] { FormClose(); });
    TForm::closeEvent(e);
}

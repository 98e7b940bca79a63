// The main window's callbook panel: look-up, add or change, delete, copy into the contact, and
// the export and import of changed entries through the exchange file.
#include "logbook/UMain.h"

#include "data/CallbookStore.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "dataset/StoredValue.h"
#include "logbook/UProgres.h"
#include "platform/Clock.h"
#include "platform/DateText.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {

const QString kNoBirthday = QStringLiteral("00.00.00");
// The birthday a look-up showed, kept on the birthday box so that saving the entry again
// stores it unchanged (the box shows only two digits of its year).
const char* const kShownBirthday = "shownBirthday";
const char* const kShownBirthdayText = "shownBirthdayText";
const QString kDialogTitle = QStringLiteral("Zelmor - CallBook");

// Key presses and double clicks of the panel's boxes.
class CallbookBoxes : public QObject {
public:
    explicit CallbookBoxes(TFMain* w) : QObject(w), w_(w) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::MouseButtonDblClick) {
            Dialogs::guarded([this, box] { w_->EditCBDblClick(box); });
            return false;
        }
        if (event->type() != QEvent::KeyPress) return false;
        if (box != w_->EditCBName && box != w_->EditCBQTH) return false;
        // First capital: a letter typed into the empty name or QTH box is written upper case.
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() != 1 || !box->text().isEmpty()) return false;
        const QChar upper = text.at(0).toUpper();
        if (upper == text.at(0)) return false;
        box->insert(QString(upper));
        return true;
    }

private:
    TFMain* w_;
};

// False, after telling the user, when the callbook database file is missing; a file that
// appeared after start-up is opened here.
bool callbookReady() {
    if (!QFileInfo::exists(programPath(DbFiles::CallBook))) {
        ReportMissingFile(DbFiles::CallBook, QStringLiteral("ShowMessage"));
        return false;
    }
    if (!DM->ConnectionCB->connected()) DM->openCallbook();
    return true;
}

void setCallbookButtons(TFMain* w, bool on) {
    w->ButtonCBFindZelmor->setEnabled(on);
    w->ButtonCBEdit->setEnabled(on);
}

// Hides the progress window, and shows the main window again, on every way out of a walk.
class WalkWindows {
public:
    explicit WalkWindows(bool hideMain) : hideMain_(hideMain) {
        if (hideMain_) FMain->hide();
        showProgress(0, 0);
        FProgres->showPainted();
    }
    ~WalkWindows() {
        showProgress(0, 0);
        FProgres->hide();
        if (hideMain_) FMain->show();
    }
    WalkWindows(const WalkWindows&) = delete;
    WalkWindows& operator=(const WalkWindows&) = delete;

    // The progress window's gauge follows the walk (GaugeMain: maximum total, position done).
    static void showProgress(int done, int total) {
        QProgressBar* gauge = FProgres->GaugeMain;
        if (gauge->maximum() != std::max(1, total)) FProgres->setGaugeMaximum(gauge, total);
        FProgres->setGauge(gauge, done);
    }

private:
    bool hideMain_;
};

} // namespace

void TFMain::connectCallbookHandlers() {
    auto guardedSlot = [this](void (TFMain::*h)()) {
        return [this, h] { Dialogs::guarded([this, h] { (this->*h)(); }); };
    };
    // The boxes keep to the widths of their columns.
    EditCBCall->setMaxLength(CallbookStore::CallWidth);
    EditCBName->setMaxLength(CallbookStore::NameWidth);
    EditCBQTH->setMaxLength(CallbookStore::QthWidth);
    EditCBQTHLoc->setMaxLength(CallbookStore::QthLocWidth);
    EditCBNote->setMaxLength(CallbookStore::NoteWidth);
    EditCBEMail->setMaxLength(CallbookStore::EMailWidth);
    auto* boxes = new CallbookBoxes(this);
    for (QLineEdit* box : {EditCBName, EditCBQTH, EditCBQTHLoc, EditCBNote})
        box->installEventFilter(boxes);
    connect(EditCBCall, &QLineEdit::textChanged, this, guardedSlot(&TFMain::EditCBCallChange));
    connect(ButtonCBFindZelmor, &QPushButton::clicked, this, guardedSlot(&TFMain::ButtonCBFindZelmorClick));
    connect(ButtonCBEdit, &QPushButton::clicked, this, guardedSlot(&TFMain::ButtonCBEditClick));
    connectHandler(DelCBCall, &TFMain::DelCBCallClick);
    connectHandler(ExpNewCall, &TFMain::ExpNewCallClick);
    connectHandler(ImpNewCall, &TFMain::ImpNewCallClick);
}

void TFMain::ClearCallbookPanel() {
    for (QLineEdit* e : {EditCBCall, EditCBName, EditCBQTH, EditCBQTHLoc, EditCBEMail, EditCBNote})
        e->clear();
    MaskEditCBBDay->setText(kNoBirthday);
    MaskEditCBBDay->setProperty(kShownBirthday, QVariant());
    MaskEditCBBDay->setProperty(kShownBirthdayText, QVariant());
    EditCBNote->setToolTip(QStringLiteral("Update: 00.00.00"));
}

void TFMain::ButtonCBFindZelmorClick() {
    const QString call = EditCBCall->text().trimmed();
    ClearCallbookPanel();
    EditCBCall->setText(call);
    if (!callbookReady()) return;
    if (call.size() < 3) {
        setCallbookButtons(this, false);
        return;
    }
    const auto found = CallbookStore::find(*DM->ConnectionCB, call);
    if (!found) return;
    const CallbookEntry& e = found->entry;
    EditCBName->setText(e.name.trimmed());
    EditCBQTH->setText(e.qth.trimmed());
    EditCBQTHLoc->setText(e.qthLoc.trimmed());
    EditCBEMail->setText(e.email.trimmed());
    EditCBNote->setText(e.note.trimmed());
    if (!CallbookStore::isZeroDate(e.updateStamp))
        EditCBNote->setToolTip(QStringLiteral("Update: ") +
                               DateText::shortDate(StoredValue::dateTimeOf(e.updateStamp).date()));
    if (!CallbookStore::isZeroDate(e.birthday)) {
        const QString shown = CallbookStore::birthdayToPanel(e.birthday);
        MaskEditCBBDay->setText(shown);
        MaskEditCBBDay->setProperty(kShownBirthday, e.birthday);
        MaskEditCBBDay->setProperty(kShownBirthdayText, shown);
    }
}

void TFMain::EditCBCallChange() {
    // The settings window is created after this one: until then the callbook counts as off.
    setCallbookButtons(this,
                       EditCBCall->text().size() >= 3 && FConfig && FConfig->CheckBoxInternal->isChecked());
}

void TFMain::EditCBDblClick(QLineEdit* box) {
    QLineEdit* target = box == EditCBName     ? EditName
                        : box == EditCBQTH    ? EditQTH
                        : box == EditCBQTHLoc ? EditQTHLoc
                        : box == EditCBNote   ? EditNote
                                              : nullptr;
    if (target) target->setText(box->text());
}

void TFMain::ButtonCBEditClick() {
    const QString call = EditCBCall->text().trimmed();
    if (!callbookReady()) return;
    if (call.size() <= 2) {
        setCallbookButtons(this, false);
        return;
    }
    QVariant birthday = CallbookStore::noBirthday();
    const QString typed = MaskEditCBBDay->text();
    if (typed != kNoBirthday) {
        if (typed == MaskEditCBBDay->property(kShownBirthdayText).toString()) {
            birthday = MaskEditCBBDay->property(kShownBirthday);
        } else if (const QDate d = CallbookStore::birthdayFromPanel(typed, Clock::today()); d.isValid()) {
            birthday = d;
        } else {
            Dialogs::messageDlg(
                Msg(QStringLiteral("Mistake of date of birthday. Birthday will not be add in "
                                   "Callbook. You can edit date later."),
                    QStringLiteral("Ошибка даты дня рождения. День рождения не будет внесен в "
                                   "Callbook. Вы сможете отредактировать дату позже.")),
                DlgType::Confirmation, DlgButtons::Ok);
        }
    }
    const CallbookEntry entry{call,
                              EditCBName->text().trimmed(),
                              EditCBQTH->text().trimmed(),
                              EditCBQTHLoc->text().trimmed(),
                              EditCBNote->text().trimmed(),
                              EditCBEMail->text().trimmed(),
                              CallbookStore::ChangedMark,
                              {},
                              birthday};
    Connection& cb = *DM->ConnectionCB;
    if (const auto known = CallbookStore::find(cb, call)) {
        const DlgResult answer =
            Dialogs::messageDlg(Msg(QStringLiteral("To change the data in the Callbook?"),
                                    QStringLiteral("Изменить данные в Базе ?")),
                                DlgType::Confirmation, DlgButtons::YesNoCancel);
        if (answer == DlgResult::Yes) CallbookStore::update(cb, known->rowId, entry, Clock::today());
        ClearCallbookPanel();
        return;
    }
    const DlgResult answer = Dialogs::messageDlg(Msg(QStringLiteral("To add new record in the Callbook?"),
                                                     QStringLiteral("Добавить новую запись в Базу данных ?")),
                                                 DlgType::Confirmation, DlgButtons::YesNoCancel);
    if (answer != DlgResult::Yes) return;
    CallbookStore::insert(cb, entry, Clock::today());
    ClearCallbookPanel();
}

void TFMain::DelCBCallClick() {
    const QString typed = EditCBCall->text();
    const QString call = typed.trimmed();
    const QString question = Msg(QStringLiteral("Delete ") + typed + QStringLiteral(" into CallBook? "),
                                 QStringLiteral("Удалить ") + typed + QStringLiteral(" из CallBook? "));
    if (QFileInfo::exists(programPath(DbFiles::CallBook)) && call.size() > 2) {
        if (!DM->ConnectionCB->connected()) DM->openCallbook();
        if (const auto known = CallbookStore::find(*DM->ConnectionCB, call)) {
            if (Dialogs::messageDlg(question, DlgType::Confirmation, DlgButtons::YesNoCancel) ==
                DlgResult::Yes) {
                CallbookStore::remove(*DM->ConnectionCB, known->rowId);
                Dialogs::messageDlg(call + QStringLiteral(" deleted!"), DlgType::Information);
            }
        } else {
            Dialogs::messageDlg(call + QStringLiteral(" not exist and not deleted!"), DlgType::Information);
        }
    }
    ClearCallbookPanel();
}

// --- the exchange file --------------------------------------------------------------------------

void TFMain::ExpNewCallClick() {
    if (!callbookReady()) return;
    Connection& cb = *DM->ConnectionCB;
    int count = 0;
    {
        WalkWindows walk(true);
        count = CallbookStore::changedCount(cb);
        FProgres->hide();
        const QString n = QString::number(count);
        if (count <= 500) {
            Dialogs::messageDlg(
                Msg(QStringLiteral("In a Callbook it is changed ") + n + QStringLiteral(" records. ") +
                        QStringLiteral(
                            " Export is cancelled! For export it is necessary to change or add more "
                            "than 500 records! "),
                    QStringLiteral("В базе данных изменено ") + n + QStringLiteral(" записей. ") +
                        QStringLiteral(
                            " Экспорт отменен! Для экспорта неообходимо изменить или добавить более "
                            "500 записей! ")),
                DlgType::Information);
            return;
        }
        FileDialogRequest request;
        request.caption = kDialogTitle;
        request.filter = QStringLiteral("*.cbh (*.cbh);;CBook.cbh (CBook.cbh)");
        request.defaultExt = QStringLiteral("cbh");
        request.fileName = QStringLiteral("CBook");
        const QString name = Dialogs::saveFile(request);
        if (name.isEmpty()) return;

        FProgres->setWindowTitle(QStringLiteral("Callbook Export"));
        FProgres->show();
        struct BackHome {
            ~BackHome() { QDir::setCurrent(ProgramFolder); }
        } backHome;
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw CallbookStore::FileError(file.fileName() + QStringLiteral(": ") + file.errorString());
        count = CallbookStore::exportChanged(cb, file, &WalkWindows::showProgress);
        file.close();
        if (file.error() != QFileDevice::NoError)
            throw CallbookStore::FileError(file.fileName() + QStringLiteral(": ") + file.errorString());
    }
    const QString n = QString::number(count);
    const DlgResult answer = Dialogs::messageDlg(
        Msg(QStringLiteral("Exported ") + n + QStringLiteral(" records. ") +
                QStringLiteral("Further you want to export these data once again ?"),
            QStringLiteral("Экспортировано ") + n + QStringLiteral(" записей. ") +
                QStringLiteral("В дальнейшем Вы хотите экспортировать эти данные еще раз ?")),
        DlgType::Confirmation, DlgButtons::YesNoCancel);
    if (answer != DlgResult::No) return;
    CallbookStore::clearChangeMarks(cb);
    Dialogs::messageDlg(Msg(QStringLiteral("Updating CallBook has passed successfully!"),
                            QStringLiteral("Обновление CallBook прошло успешно!")),
                        DlgType::Information);
}

void TFMain::ImpNewCallClick() {
    if (!callbookReady()) return;
    FileDialogRequest request;
    request.caption = kDialogTitle;
    request.filter = QStringLiteral("*.cbh (*.cbh);;CBook.cbh (CBook.cbh);;All *.* (*)");
    const QString name = Dialogs::openFile(request);
    if (name.isEmpty()) return;

    CallbookStore::ImportResult r;
    {
        WalkWindows walk(false);
        FProgres->setWindowTitle(QStringLiteral("Pleas Wait 1 - 35 min !!!"));
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            throw CallbookStore::FileError(file.fileName() + QStringLiteral(": ") + file.errorString());
        r = CallbookStore::importFile(*DM->ConnectionCB, file, Clock::today(), &WalkWindows::showProgress);
    }
    // What the user is told is what the callbook gained, not how long the file was.
    const QString n = QString::number(r.added + r.updated);
    QString text = Msg(QStringLiteral("Imported ") + n + QStringLiteral(" records. "),
                       QStringLiteral("Импортировано ") + n + QStringLiteral(" записей. "));
    if (r.bad > 0)
        text += Msg(
            QStringLiteral("Unreadable lines skipped: ") + QString::number(r.bad) + QStringLiteral(". "),
            QStringLiteral("Пропущено нечитаемых строк: ") + QString::number(r.bad) + QStringLiteral(". "));
    Dialogs::messageDlg(text, DlgType::Information);
}

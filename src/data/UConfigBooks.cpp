// The settings window's page "LOG": adding, editing and deleting log books, and moving the
// contacts of one book into the current one. Books are told apart by number, never by name.
#include "data/UConfig.h"

#include "contest/UContst.h"

#include "data/LogBooks.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "widgets/DBGrid.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Runs a handler when a mouse button comes up over the watched widget.
class MouseUpWatch : public QObject {
public:
    MouseUpWatch(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) Dialogs::guarded(handler_);
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> handler_;
};

qint64 gridBook() {
    return DM->TableLogName->field(QStringLiteral("Num")).asInteger();
}

QString gridBookName() {
    return DM->TableLogName->field(QStringLiteral("Name")).asString();
}

} // namespace

void TFConfig::connectBookHandlers() {
    const auto guard = [this](void (TFConfig::*handler)()) {
        return [this, handler] { Dialogs::guarded([this, handler] { (this->*handler)(); }); };
    };
    connect(ButtonLogNameAdd, &QPushButton::clicked, this, guard(&TFConfig::ButtonLogNameAddClick));
    connect(ButtonLogNameEdit, &QPushButton::clicked, this, guard(&TFConfig::ButtonLogNameEditClick));
    connect(ButtonLogNameDel, &QPushButton::clicked, this, guard(&TFConfig::ButtonLogNameDelClick));
    connect(ButtonLogAdd, &QPushButton::clicked, this, guard(&TFConfig::ButtonLogAddClick));
    DBGrid1->viewport()->installEventFilter(new MouseUpWatch(this, [this] { DBGrid1MouseUp(); }));
}

void TFConfig::DBGrid1MouseUp() {
    EditLLogName->setText(gridBookName());
    EditAboutLog->setText(DM->TableLogName->field(QStringLiteral("Prim")).asString());
}

void TFConfig::ButtonLogNameAddClick() {
    Dataset* books = DM->TableLogName;
    books->append();
    books->setValue(QStringLiteral("Name"), EditLLogName->text());
    books->setValue(QStringLiteral("Prim"), EditAboutLog->text());
    books->post();
}

void TFConfig::ButtonLogNameEditClick() {
    Dataset* books = DM->TableLogName;
    if (books->isEmpty()) return;
    if (gridBook() == currentBook) {
        Dialogs::messageDlg(Msg(QStringLiteral("The current log cannot be edit!"),
                                QStringLiteral("Текущий лог неможет быть отредактирован!")),
                            DlgType::Error, DlgButtons::Ok);
        return;
    }
    books->edit();
    books->setValue(QStringLiteral("Name"), EditLLogName->text());
    books->setValue(QStringLiteral("Prim"), EditAboutLog->text());
    books->post();
}

void TFConfig::ButtonLogNameDelClick() {
    Dataset* books = DM->TableLogName;
    if (books->isEmpty()) return;
    const qint64 book = gridBook();
    if (book == currentBook) {
        Dialogs::messageDlg(Msg(QStringLiteral("The current log cannot be removed!"),
                                QStringLiteral("Текущий лог неможет быть удален!")),
                            DlgType::Error, DlgButtons::Ok);
        return;
    }
    // The question names the row that goes, whatever the name boxes were last filled with.
    const QString name = gridBookName();
    if (Dialogs::messageDlg(Msg(QStringLiteral("Delete ") + name + QStringLiteral("?"),
                                QStringLiteral("Удалить ") + name + QStringLiteral("?")),
                            DlgType::Confirmation, DlgButtons::YesNo) != DlgResult::Yes)
        return;
    books->remove();
    // Its contacts and marks stay stored under its number; nothing can choose the book any more.
    FMain->removeLogBookItem(book);
    const int listed = ComboBoxLog2->findData(book);
    if (listed >= 0) ComboBoxLog2->removeItem(listed);
}

void TFConfig::ButtonLogAddClick() {
    const QString source = ComboBoxLog2->currentText();
    const QString destination = EditLog1->text();
    const DlgResult answer = Dialogs::messageDlg(
        Msg(QStringLiteral("Recordings from log ") + source + QStringLiteral(" will be moved to log ") +
                destination + QStringLiteral("! ") + kCrLf + QStringLiteral("To continue? "),
            QStringLiteral("Записи из лога ") + source + QStringLiteral(" будут перемещены в лог ") +
                destination + QStringLiteral(" ! ") + kCrLf + QStringLiteral("Продолжить?")),
        DlgType::Confirmation, DlgButtons::YesNo);
    if (answer != DlgResult::Yes) return;
    // With no other book listed there is nothing to move (0 is no book's number).
    const qint64 from = ComboBoxLog2->currentIndex() >= 0 ? ComboBoxLog2->currentData().toLongLong() : 0;
    int moved = 0;
    try {
        moved = LogBooks::moveBook(*DM->ConnectionLog, from, currentBook);
    } catch (const DbError&) {
        RefreshLogTables();
        Dialogs::messageDlg(Msg(QStringLiteral(" There was a mistake at moving the data. ") + kCrLf +
                                    QStringLiteral(" Probably the database is used by other program. "),
                                QStringLiteral("Произошла ошибка при перемещении данных.") + kCrLf +
                                    QStringLiteral("Возможно база данных используется другой программой.")),
                            DlgType::Error, DlgButtons::Ok);
        return;
    }
    Dialogs::messageDlg(Msg(QString::number(moved) + QStringLiteral(" recordings are moved successfully!"),
                            QString::number(moved) + QStringLiteral(" записей перемещено успешно!")),
                        DlgType::Information, DlgButtons::Ok);
    RefreshLogTables();
    // A book that was empty shows its award view of book 0 until its button runs again.
    FCont->rerunPresentedAward();
}

#include "logbook/UFilterCall.h"

#include "data/UDM.h"
#include "dataset/Dataset.h"
#include "logbook/CallSignKeys.h"
#include "logbook/LogOperations.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"
#include "widgets/UpperCase.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

TFFilterCall* FFilterCall = nullptr;

TFFilterCall::TFFilterCall(QWidget* parent) : TForm(QStringLiteral("FFilterCall"), parent) {
    setWindowTitle(QStringLiteral("Callsignal"));
    // A small tool window with only a close button.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    EditCall = new QLineEdit(this);
    EditCall->setObjectName(QStringLiteral("EditCall"));
    EditCall->setMaxLength(20);
    makeUpperCase(EditCall);
    EditCall->installEventFilter(this);
    connect(EditCall, &QLineEdit::textChanged, this,
            [this] { Dialogs::guarded([this] { EditCallChange(); }); });
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addWidget(EditCall);
    setMinimumWidth(200);
}

void TFFilterCall::EditCallChange() {
    DM->TableLog->setFilter(callFilterText(FMain->Tag, EditCall->text()));
}

void TFFilterCall::FormClose() {
    DM->TableLog->setFilter(bookFilterText(FMain->Tag));
    FMain->ViewSortDateClick();
}

bool TFFilterCall::eventFilter(QObject* watched, QEvent* event) {
    // EditCallKeyPress: the key map of the call boxes.
    if (watched == EditCall && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1) {
            const QChar mapped = CallSignKeyMap(text.at(0));
            if (mapped != text.at(0)) {
                EditCall->insert(QString(mapped));
                return true;
            }
        }
    }
    return TForm::eventFilter(watched, event);
}

void TFFilterCall::closeEvent(QCloseEvent* e) {
    TForm::closeEvent(e);
    Dialogs::guarded([this] { FormClose(); });
}

void TFFilterCall::showEvent(QShowEvent* e) {
    TForm::showEvent(e);
    centreOn(this, FMain);
}

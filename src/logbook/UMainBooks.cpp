// Choosing the current log book from the Log menu, and opening the settings window from the main
// window, on its first page or on the log books. A book's menu item carries its number.
#include "logbook/UMain.h"

#include "contest/UContst.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>

void TFMain::LogLog1Click(QAction* item) {
    item->setChecked(true);
    FConfig->ComboBoxLog2->clear();
    for (QAction* chosen : logMenuItemsAboveSeparator()) {
        if (!chosen->isChecked()) continue;
        const qint64 num = chosen->data().toLongLong();
        const bool stored =
            chosen->data().isValid() &&
            DM->ConnectionLog->scalar(QStringLiteral("SELECT 1 FROM LogName WHERE Num = ?"), {num}).isValid();
        if (!stored) {
            // No such book (any more): the current book stays, and so does its check mark.
            if (QAction* current = logBookItem(Tag)) current->setChecked(true);
            break;
        }
        Dialogs::showMessage(QStringLiteral("New Log: ") + chosen->text());
        FConfig->EditLog1->setText(chosen->text());
        // The view follows the book once, when its source is enabled again, not on every row in between.
        DM->DataSourceLogName->setEnabled(false);
        DM->ConnectionLog->execute(QStringLiteral("UPDATE LogName SET Sel = (Num = ?)"), {num});
        DM->TableLogName->requery();
        DM->TableLogName->locate(QStringLiteral("Num"), num);
        Tag = int(num);
        DM->DataSourceLogName->setEnabled(true);
        // The contest window's award view follows the book.
        FCont->rerunPresentedAward();
        break;
    }
    DM->DataSourceLogName->setEnabled(true);
}

QAction* TFMain::logBookItem(qint64 num) const {
    for (QAction* item : logMenuItemsAboveSeparator())
        if (item->data().isValid() && item->data().toLongLong() == num) return item;
    return nullptr;
}

void TFMain::removeLogBookItem(qint64 num) {
    if (QAction* item = logBookItem(num)) {
        LogBookGroup->removeAction(item);
        LogMenu->removeAction(item);
        item->deleteLater();
    }
}

void TFMain::OptionsConfigClick() {
    // Without the log database the window still opens, so the user can act on the settings.
    FConfig->EditLog1->setText(DM->logOpen() ? DM->TableLogName->field(QStringLiteral("Name")).asString()
                                             : QString());
    FConfig->currentBook = DM->logOpen() ? DM->TableLogName->field(QStringLiteral("Num")).asInteger() : 0;
    FConfig->ComboBoxLog2->clear();
    // The other books, in menu order; the template item carries no number.
    for (QAction* item : logMenuItemsAboveSeparator())
        if (!item->isChecked() && item->data().isValid())
            FConfig->ComboBoxLog2->addItem(item->text(), item->data());
    FConfig->ComboBoxLog2->setCurrentIndex(FConfig->ComboBoxLog2->count() > 0 ? 0 : -1);
    FConfig->ShowModal();
}

void TFMain::LogAddClick() {
    FConfig->PageControl1->setCurrentIndex(1);
    OptionsConfigClick();
}

// Opening the settings window from the main window, on its first page or on the log books.
#include "logbook/UMain.h"

#include "data/UConfig.h"
#include "data/UDM.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

void TFMain::OptionsConfigClick() {
    // Without the log database the window still opens, so the user can act on the settings.
    FConfig->EditLog1->setText(DM->logOpen() ? DM->TableLogName->field(QStringLiteral("Name")).asString()
                                             : QString());
    FConfig->ComboBoxLog2->clear();
    for (QAction* item : logMenuItemsAboveSeparator())
        if (!item->isChecked() && item->text() != QLatin1String("Log1~"))
            FConfig->ComboBoxLog2->addItem(item->text());
    FConfig->ComboBoxLog2->setCurrentIndex(FConfig->ComboBoxLog2->count() > 0 ? 0 : -1);
    FConfig->ShowModal();
}

void TFMain::LogAddClick() {
    FConfig->PageControl1->setCurrentIndex(1);
    OptionsConfigClick();
}

#include "data/UGlobal.h"

#include "data/UConfig.h"
#include "data/UDM.h"
#include "logbook/UMain.h"
#include "platform/Dialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

void RefreshLogTables() {
    const bool repeatOpen = DM->TableRepeat->active();
    const Dataset::Bookmark book = DM->TableLogName->bookmark();
    DM->TableLog->close();
    DM->TableRepeat->close();
    DM->TableLogName->close();
    DM->TableLog->open();
    DM->TableRepeat->setActive(repeatOpen);
    DM->TableLogName->open();
    if (book != 0 && DM->TableLogName->bookmarkValid(book)) DM->TableLogName->gotoBookmark(book);
    RefreshAwardViews();
}

void RefreshAwardViews() {
    DM->TableAwMixed->close();
    DM->TableAwMixed->open();
    for (Dataset* view : {DM->TableContestStatistic, DM->TableAwStatisticBM, DM->QueryAwStatistic})
        if (view->active()) view->requery();
}

void ReportMissingFile(const QString& path, const QString& mode) {
    if (path == DbFiles::CallBook) {
        FMain->ClearCallbookPanel();
        FMain->ButtonCBFindZelmor->setEnabled(false);
        FMain->ButtonCBEdit->setEnabled(false);
        FMain->setCallbookPopup(false);
        FConfig->CheckBoxInternal->setChecked(false);
        FConfig->CheckBoxInternalA->setChecked(false);
        FMain->GroupBoxCallbook->setTitle(QStringLiteral(" CallBook Zelmor not exist "));
        FConfig->ButtonSaveClick();
    }
    if (mode == QLatin1String("ShowMessage"))
        Dialogs::messageDlg(
            Msg(QStringLiteral("File ") + ProgramFolder + path + QStringLiteral(" not exist. "),
                QStringLiteral("Файл ") + ProgramFolder + path + QStringLiteral(" отсутствует. ")),
            DlgType::Warning, DlgButtons::Ok);
}

#include "app/StartUp.h"

#include "awards/UAwardAdd.h"
#include "awards/UAwards.h"
#include "awards/UThreadUpdatBase.h"
#include "contest/UCabrill.h"
#include "contest/UContest.h"
#include "contest/UContst.h"
#include "contest/USked.h"
#include "data/AdifLog.h"
#include "data/UConfig.h"
#include "data/UDM.h"
#include "data/UGlobal.h"
#include "logbook/UAbout.h"
#include "logbook/UFilter.h"
#include "logbook/UFilterCall.h"
#include "logbook/UMain.h"
#include "logbook/UProgres.h"
#include "logbook/UQTHLoc.h"
#include "logbook/UVihod.h"
#include "media/UImage.h"
#include "media/ULabPrin.h"
#include "media/ULabel.h"
#include "media/USound.h"
#include "media/UTimer.h"
#include "platform/Dialogs.h"
#include "station/UCallInt.h"
#include "station/UCluster.h"
#include "station/UFindWind.h"
#include "station/UTRXControl.h"
#include "widgets/StartUpTimers.h"

#include <QApplication>

namespace {

// Creates one window and runs its creation handler; an error there is shown and start-up goes on.
// A window whose constructor failed stays null: handlers test for it.
template <class T> void createForm(T*& global) {
    Dialogs::guarded([&] {
        global = new T();
        global->FormCreate();
    });
}

} // namespace

namespace StartUp {

void initApplication(QApplication& app) {
    app.setApplicationName(QStringLiteral("Zelmor Log"));
    app.setQuitOnLastWindowClosed(false);
    Dialogs::setErrorPreface(&PlainWordsForError);
}

void createObjects() {
    createForm(FMain);
    createForm(FAboutBox);
    createForm(FAwardAdd);
    createForm(FQTHLoc);
    createForm(FAwards);
    createForm(Filter);
    createForm(FProgres);
    createForm(FFilterCall);
    createForm(FSound);
    createForm(FVihod);
    createForm(FTimer);
    createForm(FCont);
    createForm(FDX_Cluster);
    createForm(FExtProg);
    createForm(Flabel);
    createForm(FLabPrint);
    createForm(FQRZ);
    createForm(FTRXControl);
    createForm(FImage);
    Dialogs::guarded([] {
        DM = new TDM();
        DM->DataModuleCreate();
    });
    createForm(FContConf);
    createForm(FSkeds);
    createForm(FConfig);
    createForm(FCabrillo);
    // Only now may a tick reach any window: every object exists (or has failed for good).
    StartUpTimers::startAll();
}

void showMainWindow() {
    FMain->show();
    // An import cut short left contacts without their award marks.
    Dialogs::guarded([] {
        if (DM && DM->logOpen() && awardMarksOutOfDate(*DM->ConnectionLog)) StartAwardRebuild();
    });
}

void destroyObjects() {
    // A running award rebuild's worker ends before the windows and connections it reports to go.
    if (FMain) FinishAwardRebuild();
    // Windows first: their handlers may still look at the data module.
    auto drop = [](auto*& p) {
        delete p;
        p = nullptr;
    };
    drop(FCabrillo);
    drop(FConfig);
    drop(FSkeds);
    drop(FContConf);
    drop(FImage);
    drop(FTRXControl);
    drop(FQRZ);
    drop(FLabPrint);
    drop(Flabel);
    drop(FExtProg);
    drop(FDX_Cluster);
    drop(FCont);
    drop(FTimer);
    drop(FVihod);
    drop(FSound);
    drop(FFilterCall);
    drop(FProgres);
    drop(Filter);
    drop(FAwards);
    drop(FQTHLoc);
    drop(FAwardAdd);
    drop(FAboutBox);
    drop(FMain);
    drop(DM);
    StartUpTimers::reset();
}

} // namespace StartUp

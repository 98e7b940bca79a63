#pragma once
// The real start-up of the program in a temporary data folder, with scripted dialogs and a
// fake clock; the windows' timers are stopped (tests call their handlers); everything is torn
// down when the fixture ends.

#include "support/FakeClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDataFolder.h"

#include <functional>
#include <memory>

class AppFixture {
public:
    // prepare runs in the seeded folder before the program starts (change databases, files...).
    explicit AppFixture(const std::function<void(TempDataFolder&)>& prepare = {},
                        const QString& subPath = {});
    ~AppFixture();

    TempDataFolder& folder() { return *folder_; }
    ScriptedDialogs& dialogs() { return *dialogs_; }
    FakeClock& clock() { return clock_; }

private:
    std::unique_ptr<TempDataFolder> folder_;
    ScriptedDialogs* dialogs_;
    FakeClock clock_;
};

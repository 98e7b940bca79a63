#pragma once
// A program launcher for tests: records the files opened and can let the program appear.

#include "platform/ProgramLauncher.h"

#include <QStringList>
#include <functional>

class FakeProgramLauncher : public ProgramLauncher {
public:
    // Installs a new fake as the launcher and returns it (owned by the launching layer).
    static FakeProgramLauncher* install();

    bool open(const QString& programFile) override {
        opened << programFile;
        if (onOpen) onOpen(programFile);
        return true;
    }

    QStringList opened;
    std::function<void(const QString&)> onOpen;
};

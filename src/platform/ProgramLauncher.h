#pragma once
// Opens a program file as the desktop's "open" did: started on its own, not waited for.

#include <QString>
#include <memory>

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // False when the program could not be started.
    virtual bool open(const QString& programFile) = 0;
};

// The shipped launcher: a detached process whose working folder is the program's own.
class DetachedProgramLauncher : public ProgramLauncher {
public:
    bool open(const QString& programFile) override;
};

namespace Launching {
// The installed launcher; the shipped one until another is installed.
ProgramLauncher& launcher();
void setLauncher(std::unique_ptr<ProgramLauncher> launcher); // nullptr restores the shipped one
} // namespace Launching

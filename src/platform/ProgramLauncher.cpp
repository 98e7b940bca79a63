#include "platform/ProgramLauncher.h"

#include <QFileInfo>
#include <QProcess>

bool DetachedProgramLauncher::open(const QString& programFile) {
    return QProcess::startDetached(programFile, {}, QFileInfo(programFile).absolutePath());
}

namespace {
std::unique_ptr<ProgramLauncher>& installed() {
    static std::unique_ptr<ProgramLauncher> l = std::make_unique<DetachedProgramLauncher>();
    return l;
}
} // namespace

namespace Launching {
ProgramLauncher& launcher() {
    return *installed();
}
void setLauncher(std::unique_ptr<ProgramLauncher> l) {
    installed() = l ? std::move(l) : std::make_unique<DetachedProgramLauncher>();
}
} // namespace Launching

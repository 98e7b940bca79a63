#include "platform/DesktopWindows.h"

namespace {
std::unique_ptr<DesktopWindows>& installed() {
    static std::unique_ptr<DesktopWindows> w = std::make_unique<NoDesktopWindows>();
    return w;
}
} // namespace

namespace Desktop {
DesktopWindows& windows() {
    return *installed();
}
void setWindows(std::unique_ptr<DesktopWindows> w) {
    installed() = w ? std::move(w) : std::make_unique<NoDesktopWindows>();
}
} // namespace Desktop

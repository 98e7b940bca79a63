#include "platform/PageLoader.h"

#include "platform/NetworkPageLoader.h"

namespace {
QString fromEnvironment(const char* name, const char* fallback) {
    const QString v = qEnvironmentVariable(name);
    return v.isEmpty() ? QString::fromLatin1(fallback) : v;
}
} // namespace

namespace Pages {

std::unique_ptr<PageLoader> makeLoader() {
    return std::make_unique<NetworkPageLoader>();
}

// Placeholders until real services are chosen: the README tells how to set them.
QString dxSpotServer() {
    return fromEnvironment("ZELMOR_DXSPOT_SERVER", "http://dxspots.example.net");
}

QString callSignServer() {
    return fromEnvironment("ZELMOR_CALLSIGN_SERVER", "http://callsign.example.net");
}

int transferTimeoutMs() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ZELMOR_PAGE_TIMEOUT_MS", &ok);
    return ok && ms > 0 ? ms : 20000;
}

} // namespace Pages

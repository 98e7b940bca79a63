#include "platform/SessionControl.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

class LogindSessionControl : public SessionControl {
public:
    explicit LogindSessionControl(const QString& busAddress) : busAddress_(busAddress) {}

    void requestLogoff(std::function<void(bool)> done) override {
        const QDBusConnection bus = busAddress_.isEmpty()
                                        ? QDBusConnection::systemBus()
                                        : QDBusConnection::connectToBus(busAddress_, QStringLiteral("zelmor-logoff ") + busAddress_);
        // No bus or no session: the log-off fails quietly.
        if (!bus.isConnected()) {
            done(false);
            return;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1/session/auto"),
            QStringLiteral("org.freedesktop.login1.Session"), QStringLiteral("Terminate"));
        auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [done](QDBusPendingCallWatcher* w) {
            done(!w->isError());
            w->deleteLater();
        });
    }

private:
    QString busAddress_;
};

std::unique_ptr<SessionControl>& installed() {
    static std::unique_ptr<SessionControl> c;
    return c;
}

} // namespace

std::unique_ptr<SessionControl> makeLogindSessionControl(const QString& busAddress) {
    return std::make_unique<LogindSessionControl>(busAddress);
}

namespace Session {
SessionControl* control() {
    if (!installed()) installed() = makeLogindSessionControl();
    return installed().get();
}
void setControl(std::unique_ptr<SessionControl> control) { installed() = std::move(control); }
} // namespace Session

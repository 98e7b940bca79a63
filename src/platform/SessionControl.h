#pragma once
// Ending the user's desktop session (the timed exit's "log off"). The real backend asks logind
// over D-Bus without blocking the windows; tests install a fake.

#include <QString>
#include <functional>
#include <memory>

class SessionControl {
public:
    virtual ~SessionControl() = default;
    // Asks for the log-off; `done` runs later on the GUI thread with whether it was accepted.
    virtual void requestLogoff(std::function<void(bool ok)> done) = 0;
};

// logind's Session.Terminate on the caller's session, on the system bus or on `busAddress`.
std::unique_ptr<SessionControl> makeLogindSessionControl(const QString& busAddress = {});

namespace Session {
// The installed session control; the logind one is installed on first use.
SessionControl* control();
void setControl(std::unique_ptr<SessionControl> control); // nullptr removes it
} // namespace Session

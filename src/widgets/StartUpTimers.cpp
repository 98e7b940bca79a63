#include "widgets/StartUpTimers.h"

#include <QList>
#include <QPointer>
#include <QTimer>

namespace {

struct Waiting {
    bool startUpOver = false;
    QList<QPointer<QTimer>> timers;
};

Waiting& waiting() {
    static Waiting w;
    return w;
}

} // namespace

namespace StartUpTimers {

void startAfterStartUp(QTimer* timer) {
    if (waiting().startUpOver)
        timer->start();
    else
        waiting().timers.append(timer);
}

void startAll() {
    Waiting& w = waiting();
    w.startUpOver = true;
    for (const QPointer<QTimer>& t : std::as_const(w.timers))
        if (t) t->start();
    w.timers.clear();
}

void reset() {
    waiting() = Waiting{};
}

} // namespace StartUpTimers

#pragma once
// The PC clock. Timers ask it for "now" so tests can set and advance time.

#include <QDateTime>
#include <functional>

namespace Clock {
QDateTime now();
QDate today();
// Replaces the clock source; an empty function restores the system clock.
void setSource(std::function<QDateTime()> source);
} // namespace Clock

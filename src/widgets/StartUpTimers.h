#pragma once
// Windows' timers wait for the end of the start-up. An error box during the start-up runs an
// event loop; a timer started by a window's constructor would tick inside it and reach windows
// that do not exist yet. Every window starts its running-from-start timers through here.

class QTimer;

namespace StartUpTimers {
// Starts the timer now when the start-up is over, otherwise when it ends.
void startAfterStartUp(QTimer* timer);
// The start-up has created every object: the waiting timers start.
void startAll();
// The objects are gone (tests start the program many times in one process): timers wait again.
void reset();
} // namespace StartUpTimers

#include "support/FakeClock.h"

#include "platform/Clock.h"

FakeClock::FakeClock(const QDateTime& start) : now_(start) {
    Clock::setSource([this] { return now_; });
}

FakeClock::~FakeClock() {
    Clock::setSource({});
}

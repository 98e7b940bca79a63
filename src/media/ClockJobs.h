#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

// Clock-driven jobs run from one-second timers, but a tick can come late (a blocked GUI
// thread, a suspended machine): a job fires when its moment lies between the previous
// tick and this one, so a late tick loses nothing and no job fires twice.
namespace ClockJobs {

// True when a wall-clock moment `at` (whole seconds) lies in (prev, now]. Without a
// previous tick only this tick's own second counts.
bool momentPassed(const QDateTime& prev, const QDateTime& now, QTime at);
// The same for a moment on one day only.
bool momentPassed(const QDateTime& prev, const QDateTime& now, const QDateTime& at);

// The span each tick of one timer covers: (previous tick, this tick]. A second tick within the
// same second covers nothing new; after a reset, or a clock set back, a tick covers its own second.
class Ticks {
public:
    // Gives the previous tick in prev; false when this tick covers no new second.
    bool advance(const QDateTime& now, QDateTime& prev);
    void reset() { last_ = {}; }

private:
    QDateTime last_;
};

// The contact stopwatch's next reading: seconds and minutes roll over at 60, hours
// have no upper limit; every part is at least two digits.
struct Reading {
    QString h, m, s;
    bool operator==(const Reading&) const = default;
};
Reading stopwatchTick(const Reading& r);

// A job armed for hour:minute that fires once per armed minute: when hh:mm:00 was passed
// since the previous tick, or when this tick falls inside that minute (armed mid-minute).
class MinuteJob {
public:
    bool due(const QDateTime& prev, const QDateTime& now, QTime armed);
    // The job failed: let the next tick of the same minute try again.
    void retry() { fired_ = {}; }

private:
    QDateTime fired_;
};

} // namespace ClockJobs

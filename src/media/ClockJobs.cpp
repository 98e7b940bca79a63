#include "media/ClockJobs.h"

namespace ClockJobs {

namespace {
QDateTime wholeSecond(const QDateTime& t) {
    QDateTime r = t;
    r.setTime(QTime(t.time().hour(), t.time().minute(), t.time().second()));
    return r;
}
QTime wholeSecond(QTime t) { return QTime(t.hour(), t.minute(), t.second()); }

// The latest occurrence of `at` not after `now`.
QDateTime lastOccurrence(const QDateTime& now, QTime at) {
    QDateTime c(now.date(), wholeSecond(at), now.timeSpec());
    return c > now ? c.addDays(-1) : c;
}
} // namespace

bool momentPassed(const QDateTime& prevIn, const QDateTime& nowIn, QTime at) {
    const QDateTime now = wholeSecond(nowIn);
    if (!prevIn.isValid() || wholeSecond(prevIn) >= now) return now.time() == wholeSecond(at);
    return lastOccurrence(now, at) > wholeSecond(prevIn);
}

bool momentPassed(const QDateTime& prevIn, const QDateTime& nowIn, const QDateTime& atIn) {
    const QDateTime now = wholeSecond(nowIn), at = wholeSecond(atIn);
    if (!prevIn.isValid() || wholeSecond(prevIn) >= now) return at == now;
    return at > wholeSecond(prevIn) && at <= now;
}

bool Ticks::advance(const QDateTime& nowIn, QDateTime& prev) {
    const QDateTime now = wholeSecond(nowIn);
    prev = last_.isValid() && last_ <= now ? last_ : QDateTime();
    if (prev.isValid() && prev == now) return false;
    last_ = now;
    return true;
}

Reading stopwatchTick(const Reading& r) {
    auto two = [](qint64 v) { return QString::number(v).rightJustified(2, QLatin1Char('0')); };
    qint64 h = r.h.toLongLong(), m = r.m.toLongLong(), s = r.s.toLongLong() + 1;
    if (s >= 60) { s = 0; ++m; }
    if (m >= 60) { m = 0; ++h; }
    return {two(h), two(m), two(s)};
}

bool MinuteJob::due(const QDateTime& prev, const QDateTime& now, QTime armed) {
    const QTime minute(armed.hour(), armed.minute());
    const QDateTime occurrence = lastOccurrence(wholeSecond(now), minute);
    const bool inMinute = now.time().hour() == minute.hour() && now.time().minute() == minute.minute();
    if (!inMinute && !momentPassed(prev, now, minute)) return false;
    if (fired_ == occurrence) return false;
    fired_ = occurrence;
    return true;
}

} // namespace ClockJobs

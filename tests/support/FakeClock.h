#pragma once
// A clock that stands still until the test moves it.

#include <QDateTime>

class FakeClock {
public:
    explicit FakeClock(const QDateTime& start = QDateTime(QDate(2024, 3, 10), QTime(12, 0, 0)));
    ~FakeClock();
    void set(const QDateTime& t) { now_ = t; }
    void advance(int seconds) { now_ = now_.addSecs(seconds); }
    QDateTime now() const { return now_; }

private:
    QDateTime now_;
};

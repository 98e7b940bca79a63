#pragma once
// Shared bits of the benchmarks: headless start, the generated log, timing and memory figures.

#include <QByteArray>
#include <QCoreApplication>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

inline void benchHeadless() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ZELMOR_TEMPLATES"))
        qputenv("ZELMOR_TEMPLATES", ZELMOR_TEMPLATES_DEFAULT);
}

// Peak resident memory of this process in MB.
inline double peakMemoryMb() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// The log size a benchmark runs at: ZELMOR_BENCH_CONTACTS, 100 000 when unset.
inline int benchContacts() {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ZELMOR_BENCH_CONTACTS", &ok);
    return ok && n > 0 ? n : 100000;
}

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

inline void report(const char* what, double value, const char* unit, double budget) {
    std::printf("%-48s %10.3f %s   (budget %g %s)\n", what, value, unit, budget, unit);
}

struct TickGaps {
    double worst = 0;
    int ticks = 0;
};

// Runs the event loop for `ms` with a 5 ms timer and returns the longest gap between its ticks.
inline TickGaps measureTickGaps(int ms) {
    TickGaps g;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(5);
    QElapsedTimer clock;
    qint64 last = -1;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) g.worst = std::max(g.worst, (now - last) / 1e6);
        last = now;
        ++g.ticks;
    });
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    clock.start();
    probe.start();
    loop.exec();
    return g;
}

// Milliseconds from the action until `view` (a grid's viewport) has laid out and painted its rows.
inline double timedUntilPainted(QWidget* view, const std::function<void()>& action) {
    QElapsedTimer t;
    t.start();
    action();
    view->repaint();
    QCoreApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

// The median of `runs` such timings, each after `before`.
inline double medianUntilPainted(int runs, QWidget* view, const std::function<void()>& before,
                                 const std::function<void()>& action) {
    std::vector<double> v;
    for (int i = 0; i < runs; ++i) {
        before();
        v.push_back(timedUntilPainted(view, action));
    }
    return median(v);
}

// The calls the keystroke benchmarks type, letter by letter.
inline const QStringList& benchCalls() {
    static const QStringList calls{"UA3ABC", "DL1XYZ", "JA1KLM", "K1ZZZ", "UR5QRS", "VK2AAA", "G4BCD", "PY2EFG"};
    return calls;
}

// Types each bench call into `box` letter by letter, `rounds` times; the milliseconds of each keystroke.
inline std::vector<double> timedKeystrokes(QLineEdit* box, int rounds) {
    std::vector<double> keystrokes;
    for (int round = 0; round < rounds; ++round) {
        for (const QString& call : benchCalls()) {
            for (int n = 1; n <= call.size(); ++n) {
                QElapsedTimer t;
                t.start();
                box->setText(call.left(n));
                keystrokes.push_back(t.nsecsElapsed() / 1e6);
            }
            box->clear();
        }
    }
    return keystrokes;
}

#pragma once
// Shared bits of the benchmarks: headless start, the generated log, timing and memory figures.

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdio>
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

#pragma once
// Shared bits of the benchmarks: headless start, the generated log, timing and memory figures.

#include "support/GeneratedLog.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
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

// The size of the log a benchmark runs on, named in each figure's line; 0: no log.
inline int& reportedContacts() {
    static int n = 0;
    return n;
}

// Raise when generateLog() writes other contacts: cached logs of the old generator are then made again.
constexpr int kGeneratedLogVersion = 1;

// Fills the seeded log database `logFile` as generateLog() does, from a copy kept in the cache
// folder ($XDG_CACHE_HOME or ~/.cache, "zelmor-bench") when one was made for this size and this
// seeded file: a million-contact log takes minutes to generate and is made once. A changed
// schema or template changes the seeded file and so the copy's name.
inline void generateCachedLog(const QString& logFile, int contacts = benchContacts()) {
    QFile seeded(logFile);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (seeded.open(QIODevice::ReadOnly)) hash.addData(&seeded);
    seeded.close();
    hash.addData(QByteArray::number(kGeneratedLogVersion));
    QDir cache(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
               QStringLiteral("/zelmor-bench"));
    const QString name = QStringLiteral("log-%1-%2.mdb")
                             .arg(contacts)
                             .arg(QString::fromLatin1(hash.result().toHex().left(12)));
    const QString cached = cache.filePath(name);
    reportedContacts() = contacts;
    if (QFile::exists(cached) && QFile::remove(logFile) && QFile::copy(cached, logFile)) return;
    generateLog(logFile, contacts);
    if (!cache.mkpath(QStringLiteral("."))) return;
    // Copies of an older generator or schema at this size are of no further use.
    for (const QString& old : cache.entryList({QStringLiteral("log-%1-*.mdb").arg(contacts)}, QDir::Files))
        cache.remove(old);
    const QString part = cached + QStringLiteral(".part");
    QFile::remove(part);
    if (QFile::copy(logFile, part)) QFile::rename(part, cached);
}

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// "1 000 000": the log sizes in the benchmarks' lines.
inline QString contactsText(int n = reportedContacts()) {
    QString digits = QString::number(n);
    for (int at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(' '));
    return digits;
}

inline void report(const char* what, double value, const char* unit, double budget) {
    const QString size = reportedContacts() > 0
                             ? QStringLiteral("; ") + contactsText() + QStringLiteral(" contacts")
                             : QString();
    std::printf("%-48s %10.3f %s   (budget %g %s%s)\n", what, value, unit, budget, unit, qPrintable(size));
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
    static const QStringList calls{"UA3ABC", "DL1XYZ", "JA1KLM", "K1ZZZ",
                                   "UR5QRS", "VK2AAA", "G4BCD",  "PY2EFG"};
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

// The built program itself, offscreen, with its real message boxes and running timers: on a
// seeded folder, with each database missing or damaged, and in an empty folder. Each one must
// stay up and say what went wrong, once. The message boxes answer themselves after a moment
// (ZELMOR_DIALOG_AUTOCLOSE_MS), so the main window's timers then run on with the failure.
#include "support/TempDataFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>
#include <list>
#include <memory>

namespace {

struct SmokeCase {
    const char* tag;
    const char* file;     // the database to remove or damage; nullptr: none
    bool garbage;         // damaged (a file that is no database) rather than missing
    bool emptyFolder;     // no database at all
    const char* reported; // the file the program names; nullptr: nothing is said
};

const SmokeCase kCases[] = {
    {"seeded folder", nullptr, false, false, nullptr},
    {"missing cfg.mdb", "DB/Work/cfg.mdb", false, false, "cfg.mdb"},
    {"damaged cfg.mdb", "DB/Work/cfg.mdb", true, false, "cfg.mdb"},
    {"missing DB.mdb", "DB/Work/DB.mdb", false, false, "DB.mdb"},
    {"damaged DB.mdb", "DB/Work/DB.mdb", true, false, "DB.mdb"},
    {"missing CBook.mdb", "DB/CallBook/CBook.mdb", false, false, nullptr},
    {"damaged CBook.mdb", "DB/CallBook/CBook.mdb", true, false, "CBook.mdb"},
    {"missing Log_Zelmor.mdb", "DB/Log/Log_Zelmor.mdb", false, false, "Log_Zelmor.mdb"},
    {"damaged Log_Zelmor.mdb", "DB/Log/Log_Zelmor.mdb", true, false, "Log_Zelmor.mdb"},
    {"missing Media.mdb", "DB/Log/Media.mdb", false, false, "Media.mdb"},
    {"damaged Media.mdb", "DB/Log/Media.mdb", true, false, "Media.mdb"},
    {"empty folder", nullptr, false, true, "cfg.mdb"},
};

// After its error box appeared, each program runs this long: the box stays open over a tick of
// the clock (the crash came from a tick inside the first error box), closes, and the clock ticks on.
constexpr int kRunMs = 2500;

struct Run {
    std::unique_ptr<QTemporaryDir> empty;
    std::unique_ptr<TempDataFolder> seeded;
    std::unique_ptr<QProcess> process;
    bool stayedUp = false;
    QStringList messages; // the lines of the messages the program showed
    QString stderrText;
};

} // namespace

class TestSmoke : public QObject {
    Q_OBJECT
    std::map<QString, Run> runs_;

private slots:
    // All cases run at the same time: the whole test takes about one run's time.
    void initTestCase() {
        QVERIFY2(QFile::exists(QStringLiteral(ZELMOR_EXECUTABLE)), ZELMOR_EXECUTABLE);
        for (const SmokeCase& c : kCases) {
            Run& r = runs_[QString::fromLatin1(c.tag)];
            QString folder;
            if (c.emptyFolder) {
                r.empty = std::make_unique<QTemporaryDir>();
                folder = r.empty->path();
            } else {
                r.seeded = std::make_unique<TempDataFolder>();
                folder = r.seeded->path();
            }
            if (c.file) {
                const QString path = folder + QLatin1Char('/') + QLatin1String(c.file);
                QVERIFY(QFile::remove(path));
                if (c.garbage) {
                    QFile out(path);
                    QVERIFY(out.open(QIODevice::WriteOnly));
                    out.write(QByteArray(8192, 'z'));
                }
            }
            r.process = std::make_unique<QProcess>();
            r.process->setWorkingDirectory(folder);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            env.insert(QStringLiteral("ZELMOR_DIALOG_AUTOCLOSE_MS"), QStringLiteral("1200"));
            r.process->setProcessEnvironment(env);
            r.process->start(QStringLiteral(ZELMOR_EXECUTABLE), {});
        }
        for (auto& [tag, r] : runs_) {
            QVERIFY2(r.process->waitForStarted(5000), qPrintable(tag));
            connect(r.process.get(), &QProcess::readyReadStandardError, this,
                    [p = &r] { p->stderrText += QString::fromUtf8(p->process->readAllStandardError()); });
        }
        // On a busy machine the start-ups take longer: first every error box is up (or its
        // program gone), then the boxes stay over a tick, close, and the clock ticks on.
        QTest::qWaitFor(
            [this] {
                for (const SmokeCase& c : kCases) {
                    const Run& r = runs_.at(QString::fromLatin1(c.tag));
                    if (c.reported && r.process->state() == QProcess::Running &&
                        !r.stderrText.contains(QLatin1String("zelmor-log ")))
                        return false;
                }
                return true;
            },
            15000);
        QTest::qWait(kRunMs);
        for (auto& [tag, r] : runs_) {
            r.stayedUp = r.process->state() == QProcess::Running;
            if (r.stayedUp) {
                r.process->kill();
                r.process->waitForFinished(5000);
            }
            r.stderrText += QString::fromUtf8(r.process->readAllStandardError());
            for (const QString& line : r.stderrText.split(QLatin1Char('\n')))
                if (line.startsWith(QLatin1String("zelmor-log "))) r.messages << line;
        }
    }

    void staysUpAndShowsItsError_data() {
        QTest::addColumn<QString>("reported");
        for (const SmokeCase& c : kCases)
            QTest::newRow(c.tag) << QString::fromLatin1(c.reported ? c.reported : "");
    }
    void staysUpAndShowsItsError() {
        QFETCH(QString, reported);
        const Run& r = runs_.at(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY2(r.stayedUp, qPrintable(QStringLiteral("exit %1 (%2)\n%3")
                                             .arg(r.process->exitCode())
                                             .arg(r.process->exitStatus() == QProcess::CrashExit
                                                      ? QStringLiteral("crashed")
                                                      : QStringLiteral("ended"),
                                                  r.stderrText)));
        if (reported.isEmpty()) {
            QVERIFY2(r.messages.isEmpty(), qPrintable(r.messages.join('\n')));
            return;
        }
        // Said once, at start-up, naming the file; the running clock repeats nothing.
        QVERIFY2(r.messages.size() == 1, qPrintable(r.messages.join('\n')));
        QVERIFY2(r.messages.first().startsWith(QLatin1String("zelmor-log error: ")), qPrintable(r.messages.first()));
        QVERIFY2(r.messages.first().contains(reported), qPrintable(r.messages.first()));
    }
};

QTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"

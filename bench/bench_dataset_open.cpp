// Opening the log view of a large book: a Log table of benchContacts() contacts in book 1 and 10 000 in
// book 2, opened filtered to book 1 and sorted by date and time, then moved to the last contact and
// its fields read. Prints the median of five runs and the peak resident memory.

#include "BenchCommon.h"

#include "dataset/Connection.h"
#include "dataset/Dataset.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The Log table and its indexes as the shipped log database declares them.
QStringList logSchema() {
    QFile f(QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
            QStringLiteral("/../resources/schema/log.sql"));
    QStringList out;
    if (f.open(QIODevice::ReadOnly)) {
        QString text;
        for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
            text += line.section(QStringLiteral("--"), 0, 0) + QLatin1Char('\n');
        static const QRegularExpression table(QStringLiteral(R"(^CREATE\s+TABLE\s+Log\s*\()"));
        static const QRegularExpression index(
            QStringLiteral(R"(^CREATE\s+(UNIQUE\s+)?INDEX\s+\S+\s+ON\s+Log\s*\()"));
        for (const QString& statement : text.split(QLatin1Char(';'))) {
            const QString s = statement.trimmed();
            if (table.match(s).hasMatch() || index.match(s).hasMatch()) out << s;
        }
    }
    if (out.isEmpty()) {
        out << QStringLiteral(
                   "CREATE TABLE Log (LogNom INTEGER PRIMARY KEY AUTOINCREMENT, LogCall VARCHAR(20) COLLATE "
                   "NOCASE, LogDate DATETIME, LogTime DATETIME, LogBand VARCHAR(6) COLLATE NOCASE, "
                   "LogMode VARCHAR(10) COLLATE NOCASE, LogNameLog INTEGER)")
            << QStringLiteral("CREATE INDEX Log_Book ON Log (LogNameLog, LogDate, LogTime)");
    }
    return out;
}

void fill(Connection& c, int book, int count, quint32& seed) {
    static const char* const bands[] = {"1.8", "3.5", "7", "14", "21", "28"};
    static const char* const modes[] = {"CW", "SSB", "RTTY", "FM"};
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    QSqlQuery q(c.db());
    q.prepare(QStringLiteral("INSERT INTO Log (LogCall, LogDate, LogTime, LogBand, LogMode, LogNameLog) "
                             "VALUES (?, ?, ?, ?, ?, ?)"));
    Transaction t(c);
    for (int i = 0; i < count; ++i) {
        const quint32 r = next();
        const QString call = QStringLiteral("%1%2%3")
                                 .arg(QChar(u'A' + r % 26))
                                 .arg(r / 26 % 10)
                                 .arg(QString::number(r / 260 % 17576, 36).toUpper());
        q.addBindValue(call);
        q.addBindValue(QDate(2000, 1, 1).addDays(next() % 9000).toString(QStringLiteral("yyyy-MM-dd")));
        q.addBindValue(QTime(0, 0).addSecs(int(next() % 86400)).toString(QStringLiteral("HH:mm:ss")));
        q.addBindValue(QString::fromLatin1(bands[next() % 6]));
        q.addBindValue(QString::fromLatin1(modes[next() % 4]));
        q.addBindValue(book);
        q.exec();
    }
    t.commit();
}

long peakRssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Log_Zelmor.mdb"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
    }
    Connection c(QStringLiteral("ConnectionLog"));
    c.openFile(path);
    for (const QString& s : logSchema())
        c.execute(s);
    quint32 seed = 12345;
    QElapsedTimer gen;
    gen.start();
    const int contacts = benchContacts();
    fill(c, 1, contacts, seed);
    fill(c, 2, 10000, seed);
    const qint64 genMs = gen.elapsed();
    const long rssBefore = peakRssKb();

    std::vector<double> openMs, lastMs, readMs, totalMs;
    int count = 0;
    QString lastRow;
    for (int run = 0; run < 5; ++run) {
        Dataset log;
        log.setConnection(&c);
        log.setTableName(QStringLiteral("Log"));
        log.setFilter(QStringLiteral("LogNameLog = 1"));
        log.setFiltered(true);
        log.setSort(QStringLiteral("LogDate, LogTime"));
        QElapsedTimer t;
        t.start();
        log.open();
        const qint64 a = t.nsecsElapsed();
        log.last();
        const qint64 b = t.nsecsElapsed();
        QStringList values;
        for (const FieldDef& f : log.fieldDefs())
            values << log.field(f.name).asString();
        const qint64 e = t.nsecsElapsed();
        openMs.push_back(a / 1e6);
        lastMs.push_back((b - a) / 1e6);
        readMs.push_back((e - b) / 1e6);
        totalMs.push_back(e / 1e6);
        count = log.recordCount();
        lastRow = QStringList{log.field(QStringLiteral("LogCall")).asString(),
                              log.field(QStringLiteral("LogDate")).asString(),
                              log.field(QStringLiteral("LogTime")).asString()}
                      .join(QLatin1Char(' '));
    }

    QTextStream out(stdout);
    out << "bench_dataset_open: Log with " << contacts << " + 10000 contacts (generated in " << genMs
        << " ms)\n";
    out << "  filter \"LogNameLog = 1\", sort \"LogDate, LogTime\": " << count
        << " rows, last row: " << lastRow << "\n";
    out << QStringLiteral("  open %1 ms, last %2 ms, read one row %3 ms, total %4 ms (median of 5)\n")
               .arg(median(openMs), 0, 'f', 2)
               .arg(median(lastMs), 0, 'f', 3)
               .arg(median(readMs), 0, 'f', 3)
               .arg(median(totalMs), 0, 'f', 2);
    out << "  peak RSS " << peakRssKb() / 1024 << " MB (" << rssBefore / 1024 << " MB before opening)\n";
    return 0;
}

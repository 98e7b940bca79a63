// ADIF export of a generated book and its import into an empty book (and again, all duplicates),
// beside a raw insert of the same rows through SQLite's own C interface in the same run.
#include "BenchCommon.h"

#include "data/AdifLog.h"
#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "support/GeneratedLog.h"
#include "support/TempDataFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlQuery>
#include <malloc.h>
#include <sqlite3.h>
#include <string>

namespace {

// A figure of /proc/self/status ("VmHWM:", "VmRSS:") in MB.
double statusMb(const char* key) {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(strlen(key))).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

double importFile(Connection& log, Connection& ref, const QString& file, int book, AdifImportResult& r) {
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    QElapsedTimer t;
    t.start();
    r = importAdif(log, ref, in, book);
    return t.nsecsElapsed() / 1e9;
}

// The same rows inserted by one prepared statement in one transaction through the C interface,
// with the import's page cache, their UTF-8 texts made beforehand.
double rawInsert(Connection& log, Connection& ref, const QString& file, int book) {
    constexpr int kTexts = 14;
    std::vector<std::string> rows; // a row's texts, each ended by a NUL
    {
        QFile in(file);
        in.open(QIODevice::ReadOnly);
        Adif::Reader reader(in);
        Adif::Record record;
        AdifLogRow row;
        AdifPrefixCache prefixes(ref);
        while (reader.next(record)) {
            if (!adifLogRow(record, row)) continue;
            const auto [pref, country] = prefixes.find(row.call);
            std::string texts;
            for (const QString& v : {row.call, pref, country, row.date.toString(Qt::ISODate),
                                     row.time.toString("HH:mm:ss"), row.band, row.mode, row.name, row.qth,
                                     row.rxRst, row.txRst, row.txQsl, row.rxQsl, row.note})
                texts += v.toUtf8().toStdString() + '\0';
            rows.push_back(std::move(texts));
        }
    }
    LargePageCache cache(log);
    sqlite3* db = *static_cast<sqlite3* const*>(log.db().driver()->handle().constData());
    QElapsedTimer t;
    t.start();
    Transaction tx(log);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(
        db,
        "INSERT INTO Log (LogCall, LogPref, LogObl, LogDate, LogTime, LogBand, LogMode, LogName, LogQth, "
        "LogRxRst, LogTxRst, LogTxQsl, LogRxQsl, LogNotepad, LogNameLog, LogOther, Log1, Log2, Log3, Log4) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '', '', '', '', '')",
        -1, &insert, nullptr);
    sqlite3_bind_int(insert, kTexts + 1, book);
    for (const std::string& texts : rows) {
        const char* p = texts.c_str();
        for (int i = 1; i <= kTexts; ++i) {
            const int n = int(strlen(p));
            sqlite3_bind_text(insert, i, p, n, SQLITE_STATIC);
            p += n + 1;
        }
        if (sqlite3_step(insert) != SQLITE_DONE) std::printf("raw insert: %s\n", sqlite3_errmsg(db));
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    tx.commit();
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    benchHeadless();
    QCoreApplication app(argc, argv);
    TempDataFolder folder;
    const QString logFile = folder.file("DB/Log/Log_Zelmor.mdb");
    const int kContacts = benchContacts();
    generateLog(logFile, kContacts);
    Connection log("bench_adif_log"), ref("bench_adif_ref");
    log.openFile(logFile);
    ref.openFile(folder.file("DB/Work/DB.mdb"));
    for (int book = 2; book <= 5; ++book)
        log.execute("INSERT INTO LogName (Num, Name, Sel) VALUES (?, ?, 0)",
                    {book, QString("Book %1").arg(book)});

    // Export: the whole book in date order, as the grid shows it.
    Dataset view;
    view.setConnection(&log);
    view.setTableName("Log");
    view.setFilter("LogNameLog = 1");
    view.setFiltered(true);
    view.setSort("LogDate, LogTime");
    view.open();
    const QString file = folder.file("book.adi");
    QElapsedTimer t;
    t.start();
    {
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        exportAdif(view, out);
    }
    const double exportTime = t.nsecsElapsed() / 1e9;
    // Baseline: the thirteen columns read in the same order and formatted, nothing written.
    t.restart();
    {
        QSqlQuery q =
            log.query("SELECT LogCall, LogDate, LogTime, LogBand, LogMode, LogRxRst, LogTxRst, LogName, "
                      "LogQth, LogRxQsl, LogTxQsl, LogNotepad FROM Log WHERE LogNameLog = 1 "
                      "ORDER BY LogDate, LogTime");
        QByteArray sink;
        while (q.next()) {
            Adif::Contact c;
            c.call = q.value(0).toString();
            c.date = QDate::fromString(q.value(1).toString(), Qt::ISODate);
            c.time = QTime::fromString(q.value(2).toString(), "HH:mm:ss");
            c.band = q.value(3).toString();
            c.mode = q.value(4).toString();
            c.rxRst = q.value(5).toString();
            c.txRst = q.value(6).toString();
            c.name = q.value(7).toString();
            c.qth = q.value(8).toString();
            sink += Adif::contactLine(c);
        }
    }
    const double selectTime = t.nsecsElapsed() / 1e9;

    // The multi-line, lower-case form other programs write.
    const QString multiFile = folder.file("multi.adi");
    {
        QFile in(file), out(multiFile);
        in.open(QIODevice::ReadOnly);
        out.open(QIODevice::WriteOnly);
        // A line at a time: the whole file as one string would be the benchmark's own peak.
        static const QRegularExpression tag("<([A-Z_]+)(:\\d+)?>");
        while (!in.atEnd()) {
            QString line = QString::fromLatin1(in.readLine());
            line.replace(tag, "\n<\\1\\2>");
            out.write(line.toLower().toLatin1());
        }
    }

    // Each insert meets the same table: the generated book, its file checkpointed.
    const auto settle = [&log] { log.query("PRAGMA wal_checkpoint(TRUNCATE)").next(); };
    const auto dropBook = [&](int book) {
        log.execute("DELETE FROM Log WHERE LogNameLog = ?", {book});
        settle();
    };
    const double raw = rawInsert(log, ref, file, 3);
    dropBook(3);
    const double beforeImport = peakMemoryMb();
    // The setup's freed heap goes back to the system first, or the imports reuse it unseen.
    malloc_trim(0);
    // Linux resets the peak to the present size, so the peak below less this size is the imports' own.
    {
        QFile reset("/proc/self/clear_refs");
        if (reset.open(QIODevice::WriteOnly)) reset.write("5");
    }
    const double baseline = statusMb("VmRSS:");
    AdifImportResult first, again, multi;
    const double importTime = importFile(log, ref, file, 2, first);
    settle();
    const double againTime = importFile(log, ref, file, 2, again);
    dropBook(2);
    const double multiTime = importFile(log, ref, multiFile, 4, multi);
    const double ownPeak = statusMb("VmHWM:") - baseline;

    const int n = kContacts;
    std::printf("%d contacts: export %d; import %d new (%d skipped), again %d new (%d duplicates), "
                "multi-line %d new\n",
                n, n, first.imported, first.skipped(), again.imported, again.duplicates, multi.imported);
    std::printf("%d contacts: raw C-interface insert of the same rows %.3f s (%.0f/s); SELECT + format "
                "baseline of the export %.3f s\n",
                n, raw, n / raw, selectTime);
    const auto figure = [n](const char* what, double value, const char* unit, double budget) {
        report((QByteArray::number(n) + " contacts: " + what).constData(), value, unit, budget);
    };
    figure("ADIF export, contacts a second", n / exportTime, "/s", 100000);
    figure("ADIF import, contacts a second", first.imported / importTime, "/s", 50000);
    figure("ADIF import / raw insert", importTime / raw, "x", 2);
    figure("ADIF import of all duplicates, contacts a second", n / againTime, "/s", 50000);
    figure("ADIF import of all duplicates / raw insert", againTime / raw, "x", 2);
    figure("ADIF import multi-line lower case, contacts a second", multi.imported / multiTime, "/s", 50000);
    figure("ADIF import multi-line lower case / raw insert", multiTime / raw, "x", 2);
    figure("peak memory before the imports (setup)", beforeImport, "MB", 200);
    figure("the imports' own peak memory", ownPeak, "MB", 200);
    return 0;
}

// ADIF export of a 100 000-contact book and its import into an empty book (and again, all
// duplicates), beside a raw SQLite insert of the same rows measured in the same run.
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
#include <QSqlQuery>

namespace {

constexpr int kContacts = 100000;

double importFile(Connection& log, Connection& ref, const QString& file, int book, AdifImportResult& r) {
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    QElapsedTimer t;
    t.start();
    r = importAdif(log, ref, in, book);
    return t.nsecsElapsed() / 1e9;
}

// The same rows inserted by one prepared statement in one transaction, values ready beforehand.
double rawInsert(Connection& log, Connection& ref, const QString& file, int book) {
    QFile in(file);
    in.open(QIODevice::ReadOnly);
    Adif::Reader reader(in);
    Adif::Record record;
    AdifLogRow row;
    AdifPrefixCache prefixes(ref);
    std::vector<QVariantList> rows;
    while (reader.next(record)) {
        if (!adifLogRow(record, row)) continue;
        const auto [pref, country] = prefixes.find(row.call);
        rows.push_back({row.call, pref, country, row.date.toString(Qt::ISODate),
                        row.time.toString("HH:mm:ss"), row.band, row.mode, row.name, book, row.qth, row.rxRst,
                        row.txRst, row.txQsl, row.rxQsl, row.note});
    }
    QElapsedTimer t;
    t.start();
    Transaction tx(log);
    QSqlQuery q(log.db());
    q.prepare(
        "INSERT INTO Log (LogCall, LogPref, LogObl, LogDate, LogTime, LogBand, LogMode, LogName, LogNameLog, "
        "LogQth, LogRxRst, LogTxRst, LogTxQsl, LogRxQsl, LogNotepad, LogOther, Log1, Log2, Log3, Log4) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '', '', '', '', '')");
    for (const QVariantList& values : rows) {
        for (const QVariant& v : values)
            q.addBindValue(v);
        q.exec();
    }
    tx.commit();
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    benchHeadless();
    QCoreApplication app(argc, argv);
    TempDataFolder folder;
    const QString logFile = folder.file("DB/Log/Log_Zelmor.mdb");
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

    const double raw = rawInsert(log, ref, file, 3);
    const double beforeImport = peakMemoryMb();
    // Linux resets the peak to the present size, so the figure below is the imports' own.
    {
        QFile reset("/proc/self/clear_refs");
        if (reset.open(QIODevice::WriteOnly)) reset.write("5");
    }
    AdifImportResult first, again, multi;
    const double importTime = importFile(log, ref, file, 2, first);
    const double againTime = importFile(log, ref, file, 2, again);
    const double multiTime = importFile(log, ref, multiFile, 4, multi);

    std::printf(
        "export %d contacts; import %d new (%d skipped), again %d new (%d duplicates), multi-line %d new\n",
        kContacts, first.imported, first.skipped(), again.imported, again.duplicates, multi.imported);
    std::printf(
        "raw SQLite insert of the same rows: %.3f s; SELECT + format baseline of the export: %.3f s\n", raw,
        selectTime);
    report("ADIF export, contacts a second", kContacts / exportTime, "/s", 100000);
    report("ADIF import, contacts a second", first.imported / importTime, "/s", 50000);
    report("ADIF import / raw insert", importTime / raw, "x", 3);
    report("ADIF import of all duplicates, contacts a second", kContacts / againTime, "/s", 50000);
    report("ADIF import of all duplicates / raw insert", againTime / raw, "x", 3);
    report("ADIF import multi-line lower case, contacts a second", multi.imported / multiTime, "/s", 50000);
    report("ADIF import multi-line lower case / raw insert", multiTime / raw, "x", 3);
    report("peak memory before the imports (log generated, export, baseline)", beforeImport, "MB", 200);
    report("peak memory during the imports", peakMemoryMb(), "MB", 200);
    return 0;
}

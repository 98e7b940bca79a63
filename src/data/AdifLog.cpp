#include "data/AdifLog.h"

#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "dataset/StoredValue.h"
#include "logbook/PrefixLookup.h"

#include <QHash>
#include <QIODevice>
#include <QSqlError>
#include <QSqlQuery>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace {

// Widths of the columns of table Log that an import fills.
constexpr int kCallWidth = 20, kPrefWidth = 5, kCountryWidth = 50, kBandWidth = 10, kModeWidth = 10,
              kNameWidth = 20, kQthWidth = 25, kRstWidth = 10, kQslWidth = 12, kNoteWidth = 250;
// Contacts committed together: every commit rewrites the index pages its batch touched, which
// for a few thousand random calls is most of them; an error loses at most one batch.
constexpr int kBatch = 25000;

QString fitted(const QString& text, int width, int* cut) {
    if (text.size() <= width) return text;
    if (cut) ++*cut;
    // A cut that lands after a word leaves no blank behind.
    return text.left(width).trimmed();
}

// "20050110" -> "10.01.2005", as the QSL columns hold their dates.
QString qslDate(const QString& v) {
    return (v.mid(6, 2) + QLatin1Char('.') + v.mid(4, 2) + QLatin1Char('.') + v.left(4)).trimmed();
}

QString qslText(const QString& date, const QString& flag, bool flagDecidesDate = false) {
    // Only a card received or sent (or confirmed online) counts; requested, queued and ignored do not.
    const QString f = flag.trimmed().toUpper();
    const QString kept = (f == QLatin1String("Y") || f == QLatin1String("V")) ? f : QString();
    // A received date beside a flag saying no card came is no confirmation.
    if (flagDecidesDate && !f.isEmpty() && kept.isEmpty()) return {};
    const QString d = date.trimmed().isEmpty() ? QString() : qslDate(date.trimmed());
    QString joined = (d + QStringLiteral("  ") + kept).trimmed();
    if (joined.size() > kQslWidth) joined = d + QLatin1Char(' ') + kept;
    return joined;
}

QString oneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

bool digitsOnly(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

QString band(const Adif::Record& r) {
    const QString byName = Adif::logBandOfName(r.value("BAND"));
    // A band name decides, whether the log has a text of its own for it or keeps the name.
    if (!byName.isEmpty()) return byName;
    QString freq = r.value("FREQ").trimmed();
    freq.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double mhz = freq.toDouble(&ok);
    return ok ? Adif::logBandOfFrequency(mhz) : QString();
}

const QString kMarksOutOfDate = QStringLiteral("AwardMarksOutOfDate");

bool hasLogSettings(Connection& log) {
    return log.scalar(QStringLiteral(
                          "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'LogSettings'"))
               .toInt() > 0;
}

void setAwardMarksOutOfDate(Connection& log) {
    log.execute(
        QStringLiteral("CREATE TABLE IF NOT EXISTS LogSettings (Name VARCHAR(50) PRIMARY KEY, Param TEXT)"));
    log.execute(QStringLiteral("INSERT OR REPLACE INTO LogSettings (Name, Param) VALUES (?, 'true')"),
                {kMarksOutOfDate});
}

void exec(QSqlQuery& q) {
    if (!q.exec()) throw DbError(q.lastError().text());
}

} // namespace

bool adifLogRow(const Adif::Record& r, AdifLogRow& row, int* cut) {
    row = AdifLogRow();
    row.call = fitted(r.value("CALL").trimmed().toUpper(), kCallWidth, cut);
    const QString date = r.value("QSO_DATE").trimmed();
    if (date.size() == 8 && digitsOnly(date))
        row.date = QDate(date.left(4).toInt(), date.mid(4, 2).toInt(), date.mid(6, 2).toInt());
    const QString time = r.value("TIME_ON").trimmed();
    if ((time.size() == 4 || time.size() == 6) && digitsOnly(time))
        row.time = QTime(time.left(2).toInt(), time.mid(2, 2).toInt());
    row.band = fitted(band(r), kBandWidth, cut);
    row.mode = fitted(r.value("MODE").trimmed().toUpper(), kModeWidth, cut);
    row.name = fitted(oneLine(r.value("NAME")).trimmed(), kNameWidth, cut);
    row.qth = fitted(oneLine(r.value("QTH")).trimmed(), kQthWidth, cut);
    row.rxRst = fitted(r.value("RST_RCVD").trimmed(), kRstWidth, cut);
    row.txRst = fitted(r.value("RST_SENT").trimmed(), kRstWidth, cut);
    row.txQsl = qslText(r.value("QSLSDATE"), r.value("QSL_SENT"));
    row.rxQsl = qslText(r.value("QSLRDATE"), r.value("QSL_RCVD"), true);
    const QString note =
        oneLine(r.value("QSL_VIA") + QStringLiteral("   ") + r.value("NOTES") + r.value("COMMENT")).trimmed();
    row.note = fitted(note, kNoteWidth, cut);
    return !row.call.isEmpty() && row.date.isValid() && row.time.isValid() && !row.mode.isEmpty() &&
           !row.band.isEmpty();
}

// --- prefixes ------------------------------------------------------------------------------------

struct AdifPrefixCache::Impl {
    explicit Impl(Connection& c) : lookup(c), starts(c.db()) {
        starts.setForwardOnly(true);
        if (!starts.prepare(QStringLiteral("SELECT 1 FROM ALLPREF WHERE AllPrefix LIKE ? LIMIT 1")))
            throw DbError(starts.lastError().text());
    }
    // Whether any stored prefix begins with the text (without case, as the table compares); a
    // text holding a wildcard of LIKE is given the benefit of the doubt.
    bool anyStartsWith(const QString& text) {
        if (text.contains(QLatin1Char('%')) || text.contains(QLatin1Char('_'))) return true;
        auto it = beginnings.constFind(text);
        if (it != beginnings.constEnd()) return *it;
        starts.bindValue(0, text + QLatin1Char('%'));
        exec(starts);
        const bool any = starts.next();
        starts.finish();
        beginnings.insert(text, any);
        return any;
    }
    PrefixLookup lookup;
    QSqlQuery starts;
    QHash<QString, bool> beginnings;                     // text -> a stored prefix begins with it
    QHash<QString, std::pair<bool, QString>> candidates; // candidate -> found, stored text
    QHash<QString, std::pair<QString, QString>> matches; // stored match -> DXCC prefix, country
};

AdifPrefixCache::AdifPrefixCache(Connection& reference) : d(std::make_unique<Impl>(reference)) {}
AdifPrefixCache::~AdifPrefixCache() = default;

std::pair<QString, QString> AdifPrefixCache::find(const QString& call) {
    const QString match = longestPrefixMatch(call, [this](const QString& candidate, QString& stored) {
        // Most calls are unique from their fourth character on: a candidate whose shorter part
        // begins no stored prefix is not asked for.
        if (candidate.size() > 3 && !d->anyStartsWith(candidate.left(candidate.size() - 1))) return false;
        auto it = d->candidates.constFind(candidate);
        if (it == d->candidates.constEnd()) {
            QString s;
            const bool found = d->lookup.exists(candidate, s);
            it = d->candidates.insert(candidate, {found, s});
        }
        stored = it->second;
        return it->first;
    });
    if (match.isEmpty()) return {};
    auto it = d->matches.constFind(match);
    if (it == d->matches.constEnd()) {
        // The match is its own longest prefix, so its look-up reaches the same rows.
        const PrefixInfo info = d->lookup.find(match);
        it = d->matches.insert(match, info.found ? std::pair{info.dxccPrefix, info.country}
                                                 : std::pair<QString, QString>{});
    }
    return *it;
}

// --- import --------------------------------------------------------------------------------------

AdifImportResult importAdif(Connection& log, Connection& reference, QIODevice& in, int book,
                            const std::function<void(qint64, qint64, int)>& progress) {
    AdifImportResult result;
    LargePageCache cache(log);
    Adif::Reader reader(in);
    AdifPrefixCache prefixes(reference);
    QSqlQuery dup(log.db());
    dup.setForwardOnly(true);
    // The call column compares without case; the index on book and call finds the few rows.
    dup.prepare(QStringLiteral(
        "SELECT 1 FROM Log WHERE LogNameLog = ? AND LogCall = ? AND LogDate = ? AND LogTime BETWEEN ? AND ? "
        "AND LogBand = ? AND LogMode = ? LIMIT 1"));
    QSqlQuery insert(log.db());
    insert.prepare(QStringLiteral(
        "INSERT INTO Log (LogCall, LogPref, LogObl, LogDate, LogTime, LogBand, LogMode, LogName, LogNameLog, "
        "LogQth, LogRxRst, LogTxRst, LogTxQsl, LogRxQsl, LogNotepad, LogOther, Log1, Log2, Log3, Log4) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '', '', '', '', '')"));

    std::optional<Transaction> batch;
    int inBatch = 0;
    Adif::Record record;
    AdifLogRow row;
    int seen = 0;
    while (reader.next(record)) {
        if (progress && ++seen % 256 == 0) progress(reader.position(), reader.size(), result.imported);
        if (!record.complete || !adifLogRow(record, row, &result.cut)) {
            ++result.invalid;
            continue;
        }
        const QString date = row.date.toString(Qt::ISODate);
        const QString minute = row.time.toString(QStringLiteral("HH:mm"));
        for (const QVariant& v :
             {QVariant(book), QVariant(row.call), QVariant(date), QVariant(minute + QStringLiteral(":00")),
              QVariant(minute + QStringLiteral(":59")), QVariant(row.band), QVariant(row.mode)})
            dup.addBindValue(v);
        exec(dup);
        const bool duplicate = dup.next();
        dup.finish();
        if (duplicate) {
            ++result.duplicates;
            continue;
        }
        if (!batch) {
            batch.emplace(log);
            if (result.imported == 0) setAwardMarksOutOfDate(log);
        }
        const auto [pref, country] = prefixes.find(row.call);
        for (const QVariant& v :
             {QVariant(row.call), QVariant(pref.left(kPrefWidth)), QVariant(country.left(kCountryWidth)),
              QVariant(date), QVariant(row.time.toString(QStringLiteral("HH:mm:ss"))), QVariant(row.band),
              QVariant(row.mode), QVariant(row.name), QVariant(book), QVariant(row.qth), QVariant(row.rxRst),
              QVariant(row.txRst), QVariant(row.txQsl), QVariant(row.rxQsl), QVariant(row.note)})
            insert.addBindValue(v);
        exec(insert);
        ++result.imported;
        if (++inBatch == kBatch) {
            batch->commit();
            batch.reset();
            inBatch = 0;
        }
    }
    if (batch) batch->commit();
    if (progress) progress(reader.size(), reader.size(), result.imported);
    return result;
}

bool awardMarksOutOfDate(Connection& log) {
    return hasLogSettings(log) &&
           log.scalar(QStringLiteral("SELECT count(*) FROM LogSettings WHERE Name = ?"), {kMarksOutOfDate})
                   .toInt() > 0;
}

void clearAwardMarksOutOfDate(Connection& log) {
    if (hasLogSettings(log))
        log.execute(QStringLiteral("DELETE FROM LogSettings WHERE Name = ?"), {kMarksOutOfDate});
}

// --- export --------------------------------------------------------------------------------------

int exportAdif(Dataset& view, QIODevice& out, const std::function<void(int)>& progress) {
    auto put = [&out](const QByteArray& bytes) {
        if (out.write(bytes) != bytes.size()) throw std::runtime_error(out.errorString().toStdString());
    };
    put(Adif::header());
    // The rows of the view in its order; their thirteen values are read a few hundred rows to a
    // query rather than every column of every row through the view.
    std::vector<qint64> keys;
    keys.reserve(size_t(view.recordCount()));
    const int current = view.recNo();
    for (view.first(); !view.eof(); view.next())
        keys.push_back(view.bookmark());
    if (current > 0) view.setRecNo(current);
    constexpr int kChunk = 500;
    const QString select = QStringLiteral(
        "SELECT rowid, LogCall, LogDate, LogTime, LogBand, LogMode, LogRxRst, LogTxRst, LogName, LogQth, "
        "LogRxQsl, LogTxQsl, LogNotepad FROM Log WHERE rowid IN (%1)");
    QByteArray chunk;
    Adif::Contact c;
    for (size_t from = 0; from < keys.size(); from += kChunk) {
        const size_t to = std::min(keys.size(), from + kChunk);
        QVariantList binds;
        for (size_t i = from; i < to; ++i)
            binds << keys[i];
        QSqlQuery q = view.connection()->query(
            select.arg(QStringLiteral("?, ").repeated(int(to - from - 1)) + QLatin1Char('?')), binds);
        QHash<qint64, QByteArray> lines;
        while (q.next()) {
            auto text = [&q](int i) { return q.value(i).toString(); };
            c.call = text(1);
            c.date = StoredValue::dateOf(q.value(2));
            c.time = StoredValue::timeOf(q.value(3));
            c.band = text(4);
            c.mode = text(5);
            c.rxRst = text(6);
            c.txRst = text(7);
            c.name = text(8);
            c.qth = text(9);
            c.qslReceived = !text(10).isEmpty();
            c.qslSent = !text(11).isEmpty();
            c.hasNote = !text(12).isEmpty();
            lines.insert(q.value(0).toLongLong(), Adif::contactLine(c));
        }
        // A row deleted since the view was read is left out.
        for (size_t i = from; i < to; ++i)
            chunk += lines.value(keys[i]);
        put(chunk);
        chunk.clear();
        if (progress) progress(int(to));
    }
    return int(keys.size());
}

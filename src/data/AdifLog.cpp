#include "data/AdifLog.h"

#include "dataset/Connection.h"
#include "dataset/Dataset.h"
#include "dataset/StoredValue.h"
#include "logbook/PrefixLookup.h"

#include <QHash>
#include <QIODevice>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <iterator>
#include <optional>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace {

using F = Adif::Field;

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
    if (!text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n'))) return text;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// The number the digits from `at` on spell.
int number(const QString& digits, int at, int count) {
    int n = 0;
    for (int i = at; i < at + count; ++i)
        n = n * 10 + digits.at(i).digitValue();
    return n;
}

bool digitsOnly(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

QString band(const Adif::Record& r) {
    const QString byName = Adif::logBandOfName(r.value(F::Band));
    // A band name decides, whether the log has a text of its own for it or keeps the name.
    if (!byName.isEmpty()) return byName;
    QString freq = r.value(F::Freq).trimmed();
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

// A statement straight on the connection's SQLite handle: per record, the variants and copies of
// a QSqlQuery cost several times the insert itself. Bound values stay bound until bound again.
class Statement {
public:
    Statement(Connection& c, const char* sql) : db_(c.sqliteHandle()) {
        if (!db_) throw DbError(QStringLiteral("The database is not open"));
        if (sqlite3_prepare_v2(db_, sql, -1, &s_, nullptr) != SQLITE_OK) fail();
    }
    ~Statement() { sqlite3_finalize(s_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    void bind(int i, int v) { sqlite3_bind_int(s_, i, v); }
    // Bound as UTF-8 from a buffer of the parameter's own, so SQLite neither converts nor copies.
    void bind(int i, const QString& v) {
        if (v.isNull()) {
            sqlite3_bind_null(s_, i);
            return;
        }
        if (texts_.size() <= size_t(i)) texts_.resize(size_t(i) + 1);
        QByteArray& t = texts_[size_t(i)];
        const qsizetype n = v.size();
        const QChar* u = v.constData();
        t.resize(n);
        char* d = t.data();
        for (qsizetype k = 0; k < n; ++k) {
            if (u[k].unicode() >= 0x80) {
                t = v.toUtf8();
                break;
            }
            d[k] = char(u[k].unicode());
        }
        sqlite3_bind_text(s_, i, t.constData(), int(t.size()), SQLITE_STATIC);
    }
    // Whether it gave a row; ready to run again.
    bool run() {
        const int rc = sqlite3_step(s_);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) fail();
        sqlite3_reset(s_);
        return rc == SQLITE_ROW;
    }

private:
    [[noreturn]] void fail() {
        const QString text = QString::fromUtf8(sqlite3_errmsg(db_));
        if (s_) sqlite3_reset(s_);
        throw DbError(text);
    }
    sqlite3* db_ = nullptr;
    sqlite3_stmt* s_ = nullptr;
    std::vector<QByteArray> texts_;
};

// "2005-01-02" and "09:30:sec" into strings reused from record to record.
void isoDate(QDate d, QString& out) {
    out.resize(10);
    QChar* p = out.data();
    int y = d.year(), m = d.month(), day = d.day();
    for (int i = 3; i >= 0; --i, y /= 10)
        p[i] = QChar(u'0' + y % 10);
    p[4] = p[7] = QChar(u'-');
    p[5] = QChar(u'0' + m / 10);
    p[6] = QChar(u'0' + m % 10);
    p[8] = QChar(u'0' + day / 10);
    p[9] = QChar(u'0' + day % 10);
}

void clockText(QTime t, int sec, QString& out) {
    out.resize(8);
    QChar* p = out.data();
    const int parts[] = {t.hour(), t.minute(), sec};
    for (int i = 0; i < 3; ++i) {
        p[i * 3] = QChar(u'0' + parts[i] / 10);
        p[i * 3 + 1] = QChar(u'0' + parts[i] % 10);
        if (i < 2) p[i * 3 + 2] = QChar(u':');
    }
}

} // namespace

bool adifLogRow(const Adif::Record& r, AdifLogRow& row, int* cut) {
    row = AdifLogRow();
    row.call = fitted(r.value(F::Call).trimmed().toUpper(), kCallWidth, cut);
    const QString date = r.value(F::QsoDate).trimmed();
    if (date.size() == 8 && digitsOnly(date))
        row.date = QDate(number(date, 0, 4), number(date, 4, 2), number(date, 6, 2));
    const QString time = r.value(F::TimeOn).trimmed();
    if ((time.size() == 4 || time.size() == 6) && digitsOnly(time))
        row.time = QTime(number(time, 0, 2), number(time, 2, 2));
    row.band = fitted(band(r), kBandWidth, cut);
    row.mode = fitted(r.value(F::Mode).trimmed().toUpper(), kModeWidth, cut);
    row.name = fitted(oneLine(r.value(F::Name)).trimmed(), kNameWidth, cut);
    row.qth = fitted(oneLine(r.value(F::Qth)).trimmed(), kQthWidth, cut);
    row.rxRst = fitted(r.value(F::RstRcvd).trimmed(), kRstWidth, cut);
    row.txRst = fitted(r.value(F::RstSent).trimmed(), kRstWidth, cut);
    row.txQsl = qslText(r.value(F::QslSDate), r.value(F::QslSent));
    row.rxQsl = qslText(r.value(F::QslRDate), r.value(F::QslRcvd), true);
    const QString note =
        oneLine(r.value(F::QslVia) + QStringLiteral("   ") + r.value(F::Notes) + r.value(F::Comment))
            .trimmed();
    row.note = fitted(note, kNoteWidth, cut);
    return !row.call.isEmpty() && row.date.isValid() && row.time.isValid() && !row.mode.isEmpty() &&
           !row.band.isEmpty();
}

// --- prefixes ------------------------------------------------------------------------------------

struct AdifPrefixCache::Impl {
    explicit Impl(Connection& c)
        : lookup(c), starts(c, "SELECT 1 FROM ALLPREF WHERE AllPrefix >= ? AND AllPrefix < ? LIMIT 1") {}
    // Whether any stored prefix begins with the text (without case, as the table compares). A
    // range rather than LIKE: a pattern is compiled anew for every value bound to it.
    bool anyStartsWith(const QString& text) {
        auto it = beginnings.constFind(text);
        if (it != beginnings.constEnd()) return *it;
        const QString past = text + QChar(0xFFFF);
        starts.bind(1, text);
        starts.bind(2, past);
        const bool any = starts.run();
        beginnings.insert(text, any);
        return any;
    }
    PrefixLookup lookup;
    Statement starts;
    QHash<QString, bool> beginnings;                     // text -> a stored prefix begins with it
    QHash<QString, std::pair<bool, QString>> candidates; // candidate -> found, stored text
    QHash<QString, std::pair<QString, QString>> matches; // stored match -> DXCC prefix, country
};

AdifPrefixCache::AdifPrefixCache(Connection& reference) : d(std::make_unique<Impl>(reference)) {}
AdifPrefixCache::~AdifPrefixCache() = default;

std::pair<QString, QString> AdifPrefixCache::find(const QString& call) {
    QString dead; // a start of the call that no stored prefix begins with
    const QString match = longestPrefixMatch(call, [this, &dead](const QString& candidate, QString& stored) {
        // Most calls are unique from their fourth character on: a candidate whose shorter part
        // begins no stored prefix is not asked for.
        if (!dead.isEmpty() && candidate.startsWith(dead)) return false;
        if (candidate.size() > 3) {
            QString shorter = candidate.left(candidate.size() - 1);
            if (!d->anyStartsWith(shorter)) {
                dead = std::move(shorter);
                return false;
            }
        }
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
    // While the book held nothing when the import began, only the file's own contacts can be
    // duplicates: a key seen before is the only case the database is asked.
    const bool bookWasEmpty =
        !log.scalar(QStringLiteral("SELECT 1 FROM Log WHERE LogNameLog = ? LIMIT 1"), {book}).isValid();
    QSet<size_t> keys;
    // The call column compares without case; the index on book and call finds the few rows.
    Statement dup(log, "SELECT 1 FROM Log WHERE LogNameLog = ? AND LogCall = ? AND LogDate = ? AND LogTime "
                       "BETWEEN ? AND ? AND LogBand = ? AND LogMode = ? LIMIT 1");
    dup.bind(1, book);
    Statement insert(log, "INSERT INTO Log (LogCall, LogPref, LogObl, LogDate, LogTime, LogBand, LogMode, "
                          "LogName, LogNameLog, LogQth, LogRxRst, LogTxRst, LogTxQsl, LogRxQsl, LogNotepad, "
                          "LogOther, Log1, Log2, Log3, Log4) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '', '', '', '', '')");
    insert.bind(9, book);

    std::optional<Transaction> batch;
    int inBatch = 0;
    Adif::Record record;
    AdifLogRow row;
    int seen = 0;
    QString date, from, to, time;
    while (reader.next(record)) {
        if (progress && ++seen % 256 == 0) progress(reader.position(), reader.size(), result.imported);
        if (!record.complete || !adifLogRow(record, row, &result.cut)) {
            ++result.invalid;
            continue;
        }
        isoDate(row.date, date);
        clockText(row.time, 0, time);
        clockText(row.time, 59, to);
        auto stored = [&] {
            dup.bind(2, row.call);
            dup.bind(3, date);
            dup.bind(4, time);
            dup.bind(5, to);
            dup.bind(6, row.band);
            dup.bind(7, row.mode);
            return dup.run();
        };
        bool duplicate;
        if (bookWasEmpty) {
            const size_t key = qHashMulti(0, row.call, row.date, row.time, row.band, row.mode);
            duplicate = keys.contains(key) && stored();
            keys.insert(key);
        } else {
            duplicate = stored();
        }
        if (duplicate) {
            ++result.duplicates;
            continue;
        }
        if (!batch) {
            batch.emplace(log);
            if (result.imported == 0) setAwardMarksOutOfDate(log);
        }
        const auto [pref, country] = prefixes.find(row.call);
        const QString prefix = pref.left(kPrefWidth), land = country.left(kCountryWidth);
        const QString* texts[] = {&row.call,  &prefix,    &land,      &date,      &time,
                                  &row.band,  &row.mode,  &row.name,  nullptr,    &row.qth,
                                  &row.rxRst, &row.txRst, &row.txQsl, &row.rxQsl, &row.note};
        for (int i = 0; i < int(std::size(texts)); ++i)
            if (texts[i]) insert.bind(i + 1, *texts[i]);
        insert.run();
        ++result.imported;
        if (++inBatch == kBatch) {
            batch->commit();
            batch.reset();
            inBatch = 0;
        }
    }
    if (batch) batch->commit();
    if (progress) progress(reader.position(), std::max(reader.size(), reader.position()), result.imported);
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

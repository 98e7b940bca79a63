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
// Contacts committed together: few commits, yet an error loses at most one batch.
constexpr int kBatch = 1000;

QString fitted(const QString& text, int width, int* cut) {
    if (text.size() <= width) return text;
    if (cut) ++*cut;
    return text.left(width);
}

// "20050110" -> "10.01.2005", as the QSL columns hold their dates.
QString qslDate(const QString& v) {
    return (v.mid(6, 2) + QLatin1Char('.') + v.mid(4, 2) + QLatin1Char('.') + v.left(4)).trimmed();
}

QString qslText(const QString& date, const QString& flag) {
    // Only a card received or sent (or confirmed online) counts; requested, queued and ignored do not.
    const QString f = flag.trimmed().toUpper();
    const QString kept = (f == QLatin1String("Y") || f == QLatin1String("V")) ? f : QString();
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
    // A band name the log knows decides; otherwise the frequency, then any ADIF band name.
    if (!byName.isEmpty() && !byName.endsWith(QLatin1Char('m'))) return byName;
    QString freq = r.value("FREQ").trimmed();
    freq.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double mhz = freq.toDouble(&ok);
    const QString byFreq = ok ? Adif::logBandOfFrequency(mhz) : QString();
    if (!byFreq.isEmpty() && !byFreq.endsWith(QLatin1Char('m'))) return byFreq;
    return byName.isEmpty() ? byFreq : byName;
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
    row.rxQsl = qslText(r.value("QSLRDATE"), r.value("QSL_RCVD"));
    const QString note =
        oneLine(r.value("QSL_VIA") + QStringLiteral("   ") + r.value("NOTES") + r.value("COMMENT")).trimmed();
    row.note = fitted(note, kNoteWidth, cut);
    return !row.call.isEmpty() && row.date.isValid() && row.time.isValid() && !row.mode.isEmpty() &&
           !row.band.isEmpty();
}

// --- prefixes ------------------------------------------------------------------------------------

struct AdifPrefixCache::Impl {
    explicit Impl(Connection& c) : lookup(c) {}
    PrefixLookup lookup;
    QHash<QString, std::pair<bool, QString>> candidates; // candidate -> found, stored text
    QHash<QString, std::pair<QString, QString>> matches; // stored match -> DXCC prefix, country
};

AdifPrefixCache::AdifPrefixCache(Connection& reference) : d(std::make_unique<Impl>(reference)) {}
AdifPrefixCache::~AdifPrefixCache() = default;

std::pair<QString, QString> AdifPrefixCache::find(const QString& call) {
    const QString match = longestPrefixMatch(call, [this](const QString& candidate, QString& stored) {
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
        it = d->matches.insert(match, info.found ? std::pair{info.dxccPrefix, info.country} : std::pair<QString, QString>{});
    }
    return *it;
}

// --- import --------------------------------------------------------------------------------------

AdifImportResult importAdif(Connection& log, Connection& reference, QIODevice& in, int book,
                            const std::function<void(qint64, qint64, int)>& progress) {
    AdifImportResult result;
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
        for (const QVariant& v : {QVariant(book), QVariant(row.call), QVariant(date),
                                  QVariant(minute + QStringLiteral(":00")), QVariant(minute + QStringLiteral(":59")),
                                  QVariant(row.band), QVariant(row.mode)})
            dup.addBindValue(v);
        exec(dup);
        const bool duplicate = dup.next();
        dup.finish();
        if (duplicate) {
            ++result.duplicates;
            continue;
        }
        if (!batch) batch.emplace(log);
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

// --- export --------------------------------------------------------------------------------------

int exportAdif(Dataset& view, QIODevice& out, const std::function<void(int)>& progress) {
    auto put = [&out](const QByteArray& bytes) {
        if (out.write(bytes) != bytes.size()) throw std::runtime_error(out.errorString().toStdString());
    };
    put(Adif::header());
    const char* names[] = {"LogCall", "LogDate", "LogTime", "LogBand", "LogMode", "LogRxRst",
                           "LogTxRst", "LogName", "LogQth", "LogRxQsl", "LogTxQsl", "LogNotepad"};
    int col[std::size(names)];
    for (size_t i = 0; i < std::size(names); ++i)
        col[i] = view.fieldIndex(QString::fromLatin1(names[i]));
    const int rows = view.recordCount();
    QByteArray chunk;
    Adif::Contact c;
    for (int p = 0; p < rows; ++p) {
        auto text = [&](int i) { return view.valueAt(p, col[i]).toString(); };
        c.call = text(0);
        c.date = StoredValue::dateTimeOf(view.valueAt(p, col[1])).date();
        c.time = StoredValue::dateTimeOf(view.valueAt(p, col[2])).time();
        c.band = text(3);
        c.mode = text(4);
        c.rxRst = text(5);
        c.txRst = text(6);
        c.name = text(7);
        c.qth = text(8);
        c.qslReceived = !text(9).isEmpty();
        c.qslSent = !text(10).isEmpty();
        c.hasNote = !text(11).isEmpty();
        chunk += Adif::contactLine(c);
        if (chunk.size() > 60000) {
            put(chunk);
            chunk.clear();
        }
        if (progress && (p + 1) % 256 == 0) progress(p + 1);
    }
    put(chunk);
    if (progress) progress(rows);
    return rows;
}

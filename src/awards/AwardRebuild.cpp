#include "awards/AwardRebuild.h"

#include "awards/AwardMarks.h"
#include "data/AdifLog.h"
#include "dataset/Connection.h"
#include "logbook/PrefixLookup.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <optional>
#include <vector>

namespace AwardRebuild {

namespace {

// Trimmed calls written with their indexes set aside: at least this share of the log, and this many.
constexpr qint64 kRebuildIndexesShare = 4;
constexpr qint64 kRebuildIndexesMin = 5000;

void prepare(QSqlQuery& q, const QString& sql) {
    if (!q.prepare(sql)) throw DbError(q.lastError().text());
}

void run(QSqlQuery& q) {
    if (!q.exec()) throw failedWrite(q.lastError());
}

// Keys and names are stored as texts, never null: an empty key must match an empty key.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

// Reports a position only when the percentage it stands for changes (and at the end), so a
// long walk sends about a hundred notices, not one per row.
class Reporter {
public:
    Reporter(const std::function<void(int)>& to, int total) : to_(to), total_(total) {}
    void at(int position) {
        if (!to_) return;
        const int percent = total_ > 0 ? int(qint64(position) * 100 / total_) : 100;
        if (percent == last_ && position != total_) return;
        last_ = percent;
        to_(position);
    }

private:
    const std::function<void(int)>& to_;
    int total_;
    int last_ = -1;
};

// Marks in memory: 1 "wkd", 2 "cfm". Marking raises a cell to the larger of the two, which is
// what marking row by row gives, as "cfm" is never lowered and "wkd" takes the new status.
enum : quint8 { Unmarked = 0, Worked = 1, Confirmed = 2 };

struct MarkRow {
    int book;
    AwardMarks::AwardItem item;
    std::vector<quint8> cells;
};

struct CellPair {
    int band = -1; // index into AwardMarks::allCells(); -1 when the band is unknown
    int mode = -1;
};

// The look-up of many calls in a row, with the answers of PrefixLookup::find: ALLPREF is read
// into memory once (keys compared as the table compares them, ASCII letters without case), and
// the rows that follow a match are looked up once per match.
class BulkLookup {
public:
    explicit BulkLookup(Connection& reference) : reference_(reference), lookup_(reference) {}

    PrefixInfo find(const QString& call) {
        if (!loaded_) load();
        const QString match = longestPrefixMatch(call, [this](const QString& candidate, QString& stored) {
            const auto it = allPref_.constFind(folded(candidate));
            if (it == allPref_.constEnd()) return false;
            stored = *it;
            return true;
        });
        if (match.isEmpty()) return {};
        auto it = byMatch_.constFind(match);
        // The match looked up by itself finds itself last, so its rows are those of the call.
        if (it == byMatch_.constEnd()) it = byMatch_.insert(match, lookup_.find(match));
        return *it;
    }

private:
    static QString folded(const QString& s) {
        // Most stored prefixes and calls are in capitals already: those keep sharing their text.
        const auto lower = [](QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('z'); };
        if (std::none_of(s.cbegin(), s.cend(), lower)) return s;
        QString f = s;
        for (QChar& c : f)
            if (lower(c)) c = QChar(c.unicode() - 32);
        return f;
    }
    void load() {
        loaded_ = true;
        allPref_.reserve(reference_.scalar(QStringLiteral("SELECT COUNT(*) FROM ALLPREF")).toLongLong());
        // Of equal keys the first row stands, as the index gives them.
        QSqlQuery q = reference_.query(QStringLiteral("SELECT AllPrefix FROM ALLPREF ORDER BY rowid"));
        while (q.next()) {
            const QString stored = q.value(0).toString();
            const QString key = folded(stored);
            if (!allPref_.contains(key)) allPref_.insert(key, stored);
        }
    }

    Connection& reference_;
    PrefixLookup lookup_;
    bool loaded_ = false;
    QHash<QString, QString> allPref_;
    QHash<QString, PrefixInfo> byMatch_;
};

} // namespace

int countContacts(Connection& log) {
    return log.scalar(QStringLiteral("SELECT COUNT(*) FROM Log")).toInt();
}

QString strippedText(const QString& s) {
    auto blank = [](QChar c) { return c.isSpace() || c.category() == QChar::Other_Control; };
    int b = 0, e = s.size();
    while (b < e && blank(s.at(b)))
        ++b;
    while (e > b && blank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

void normaliseContacts(Connection& log, Connection& reference, const Progress& progress) {
    const int total = countContacts(log);
    Reporter report(progress.pass1, total);
    BulkLookup lookup(reference);
    Transaction tx(log);
    // With most calls to be trimmed (blanks around them), building their indexes again is cheaper
    // than changing them; set aside before the walk, as no index may go while a read is open.
    std::optional<IndexesSetAside> callIndexes;
    const auto manyCalls = [total](qint64 n) {
        return n >= total / kRebuildIndexesShare && n >= kRebuildIndexesMin;
    };
    if (manyCalls(log.scalar(QStringLiteral("SELECT COUNT(*) FROM Log WHERE (Log1 IS NULL OR Log1 <> 'upd' "
                                            "COLLATE BINARY) AND LogCall <> trim(LogCall)"))
                      .toLongLong()))
        callIndexes.emplace(log, QStringLiteral("Log"), QStringLiteral("LogCall"));
    QSqlQuery rows(log.db());
    rows.setForwardOnly(true);
    // "upd" compared exactly: the column itself ignores letter case.
    prepare(rows, QStringLiteral("SELECT LogNom, Log1 = 'upd' COLLATE BINARY, LogCall, LogRxQsl, LogTxQsl, "
                                 "LogMode, LogBand, LogNotepad FROM Log ORDER BY LogNom"));
    run(rows);
    const QString normalForm = QStringLiteral(
        "LogPref = ?, LogObl = ?, LogAwUR = ?, LogAwIOTA = ?, LogAwWAZ = ?, LogAw = ?, LogRxQsl = ?, "
        "LogTxQsl = ?, LogMode = ?, LogBand = ?, LogNotepad = ?, Log1 = 'upd' WHERE LogNom = ?");
    QSqlQuery update(log.db());
    prepare(update, QStringLiteral("UPDATE Log SET ") + normalForm);
    // With the call's indexes set aside, a trimmed call goes with the rest of its row.
    QSqlQuery updateWithCall(log.db());
    prepare(updateWithCall, QStringLiteral("UPDATE Log SET LogCall = ?, ") + normalForm);
    // The call is in three indexes: it is written only when trimming changed it.
    QSqlQuery updateCall(log.db());
    prepare(updateCall, QStringLiteral("UPDATE Log SET LogCall = ? WHERE LogNom = ?"));
    // Calls written in their order, so the three indexes grow in order rather than at random.
    std::vector<std::pair<QString, qint64>> trimmedCalls;
    int position = 0;
    while (rows.next()) {
        ++position;
        if (!rows.value(1).toBool()) {
            const QString stored = rows.value(2).toString();
            const QString call = strippedText(stored);
            // The trimmed call: a stored leading blank would find no prefix, and the "upd" stamp
            // would keep the contact from ever being looked up again.
            const PrefixInfo p = lookup.find(call);
            const bool callNow = callIndexes && call != stored;
            QSqlQuery& write = callNow ? updateWithCall : update;
            int at = 0;
            if (callNow) write.bindValue(at++, text(call));
            for (const QString& v :
                 {p.dxccPrefix, p.country, p.regionCode + p.regionEntity, p.iotaNum, p.cqZone, p.ituZone})
                write.bindValue(at++, text(v));
            for (int column = 3; column <= 7; ++column)
                write.bindValue(at++, text(strippedText(rows.value(column).toString())));
            write.bindValue(at, rows.value(0));
            run(write);
            if (call != stored && !callNow) trimmedCalls.push_back({call, rows.value(0).toLongLong()});
        }
        report.at(position);
    }
    rows.finish();
    std::sort(trimmedCalls.begin(), trimmedCalls.end());
    // Blanks the count above does not see (tabs, other spaces) may still make most calls new.
    if (!callIndexes && manyCalls(qint64(trimmedCalls.size())))
        callIndexes.emplace(log, QStringLiteral("Log"), QStringLiteral("LogCall"));
    for (const auto& [call, nom] : trimmedCalls) {
        updateCall.bindValue(0, text(call));
        updateCall.bindValue(1, nom);
        run(updateCall);
    }
    if (callIndexes) callIndexes->restore();
    tx.commit();
}

void remarkContacts(Connection& log, const Progress& progress) {
    const QStringList& cellNames = AwardMarks::allCells();
    QHash<QString, int> cellIndex;
    for (int i = 0; i < cellNames.size(); ++i)
        cellIndex.insert(cellNames.at(i), i);
    QHash<QString, CellPair> cellsOf; // band + "\n" + mode
    auto cellsFor = [&](const QString& band, const QString& mode) {
        const QString key = band + QLatin1Char('\n') + mode;
        auto it = cellsOf.constFind(key);
        if (it != cellsOf.constEnd()) return *it;
        CellPair p;
        const QString cell = AwardMarks::bandCell(band);
        if (!cell.isEmpty()) {
            p.band = cellIndex.value(cell, -1);
            p.mode = cellIndex.value(AwardMarks::bandModeCell(band, mode), -1);
        }
        cellsOf.insert(key, p);
        return p;
    };

    const int total = countContacts(log);
    if (progress.pass2Start) progress.pass2Start(total);
    Reporter report(progress.pass2, total);

    Transaction tx(log);
    log.execute(QStringLiteral("DELETE FROM AwardMixInfo"));

    // Rows in the order a row-by-row marking would have appended them.
    std::vector<MarkRow> marks;
    QHash<QString, int> rowOf;
    QSqlQuery rows(log.db());
    rows.setForwardOnly(true);
    prepare(rows,
            QStringLiteral("SELECT LogNameLog, LogBand, LogMode, LogRxQsl, LogPref, LogObl, LogAwWAZ, "
                           "LogAwUR, LogAwIOTA, LogAwWAS, LogAwUser1, LogAwUser2 FROM Log ORDER BY LogNom"));
    run(rows);
    int position = 0;
    while (rows.next()) {
        ++position;
        const int book = rows.value(0).toInt();
        const QString band = rows.value(1).toString();
        const QString mode = rows.value(2).toString();
        const quint8 status = rows.value(3).toString().isEmpty() ? Worked : Confirmed;
        AwardMarks::StoredQso q;
        q.pref = rows.value(4).toString();
        q.obl = rows.value(5).toString();
        q.awWAZ = rows.value(6).toString();
        q.awUR = rows.value(7).toString();
        q.awIOTA = rows.value(8).toString();
        q.awWAS = rows.value(9).toString();
        q.awUser1 = rows.value(10).toString();
        q.awUser2 = rows.value(11).toString();
        const CellPair cells = cellsFor(band, mode);
        for (const AwardMarks::AwardItem& item : AwardMarks::itemsFromStoredQso(q)) {
            const QString key = QString::number(book) + QLatin1Char('\n') + item.awName + QLatin1Char('\n') +
                                item.param1 + QLatin1Char('\n') + item.param2 + QLatin1Char('\n') +
                                item.param3;
            auto it = rowOf.constFind(key);
            int at;
            if (it == rowOf.constEnd()) {
                at = int(marks.size());
                rowOf.insert(key, at);
                marks.push_back({book, item, std::vector<quint8>(cellNames.size(), Unmarked)});
            } else {
                at = *it;
            }
            MarkRow& row = marks[size_t(at)];
            // The readable name of the latest contact marked stands.
            row.item.other = item.other;
            if (cells.band >= 0)
                row.cells[size_t(cells.band)] = std::max(row.cells[size_t(cells.band)], status);
            if (cells.mode >= 0)
                row.cells[size_t(cells.mode)] = std::max(row.cells[size_t(cells.mode)], status);
        }
        report.at(position);
    }
    rows.finish();

    QString columns = QStringLiteral("LogNameLog, AwName, Param1, Param2, Param3, Other");
    QString places = QStringLiteral("?, ?, ?, ?, ?, ?");
    for (const QString& cell : cellNames) {
        columns += QStringLiteral(", ") + cell;
        places += QStringLiteral(", ?");
    }
    QSqlQuery insert(log.db());
    prepare(insert, QStringLiteral("INSERT INTO AwardMixInfo (") + columns + QStringLiteral(") VALUES (") +
                        places + QStringLiteral(")"));
    const QVariant none(QMetaType::fromType<QString>());
    const QVariant worked(QStringLiteral("wkd")), confirmed(QStringLiteral("cfm"));
    for (const MarkRow& row : marks) {
        insert.bindValue(0, row.book);
        insert.bindValue(1, text(row.item.awName));
        insert.bindValue(2, text(row.item.param1));
        insert.bindValue(3, text(row.item.param2));
        insert.bindValue(4, text(row.item.param3));
        insert.bindValue(5, text(row.item.other));
        for (size_t i = 0; i < row.cells.size(); ++i)
            insert.bindValue(int(i) + 6, row.cells[i] == Confirmed ? confirmed
                                         : row.cells[i] == Worked  ? worked
                                                                   : none);
        run(insert);
    }
    clearAwardMarksOutOfDate(log);
    tx.commit();
}

void rebuild(Connection& log, Connection& reference, const Progress& progress) {
    // Room for the log's indexes: pass 1 may rewrite every call in them.
    log.query(QStringLiteral("PRAGMA cache_size = -32768"));
    normaliseContacts(log, reference, progress);
    remarkContacts(log, progress);
}

} // namespace AwardRebuild

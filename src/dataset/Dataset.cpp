#include "dataset/Dataset.h"

#include "dataset/Connection.h"
#include "dataset/FilterParser.h"
#include "dataset/StoredValue.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <list>

namespace {

using Row = std::vector<QVariant>;

// Values are read by key in blocks of this many rows; a few blocks stay cached.
constexpr int kBlockSize = 64;
constexpr size_t kCachedBlocks = 16;

bool sameValue(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull();
    return a == b;
}

bool locateMatch(const QVariant& have, const QVariant& want, bool caseInsensitive) {
    if (have.isNull() || want.isNull()) return have.isNull() && want.isNull();
    if (have.typeId() == QMetaType::QString || want.typeId() == QMetaType::QString)
        return have.toString().compare(want.toString(),
                                       caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
    return QVariant::compare(have, want) == QPartialOrdering::Equivalent;
}

// SQLite's order of storage classes: NULL, numbers, text, blobs.
int storageClass(const QVariant& v) {
    if (v.isNull()) return 0;
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Bool:
        return 1;
    case QMetaType::QByteArray:
        return 3;
    default:
        return 2;
    }
}

template <typename T> int sign(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Two stored values compared as SQLite's ORDER BY compares them: text by its UTF-8 bytes, under
// NOCASE with only the ASCII letters folded.
int compareStored(const QVariant& a, const QVariant& b, bool noCase) {
    const int ca = storageClass(a);
    const int cb = storageClass(b);
    if (ca != cb) return sign(ca, cb);
    if (ca == 0) return 0;
    if (ca == 1) {
        if (a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double)
            return sign(a.toDouble(), b.toDouble());
        return sign(a.toLongLong(), b.toLongLong());
    }
    const QByteArray x = ca == 2 ? a.toString().toUtf8() : a.toByteArray();
    const QByteArray y = cb == 2 ? b.toString().toUtf8() : b.toByteArray();
    const qsizetype n = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < n; ++i) {
        uchar cx = uchar(x[i]);
        uchar cy = uchar(y[i]);
        if (noCase && ca == 2) {
            if (cx >= 'A' && cx <= 'Z') cx += 'a' - 'A';
            if (cy >= 'A' && cy <= 'Z') cy += 'a' - 'A';
        }
        if (cx != cy) return sign(cx, cy);
    }
    return sign(x.size(), y.size());
}

} // namespace

// ---------------------------------------------------------------------------------------------

struct Dataset::Impl {
    explicit Impl(Dataset* owner) : q(owner) {}

    Dataset* q;
    QPointer<Connection> conn;
    QString table;
    QString sqlText;
    int maxRecords = 0;
    bool queryMode = false; // a query text, or a table name that turns out to be a view
    QString source;         // the FROM text: a quoted table, or a parenthesised query
    bool active = false;
    State state = State::Inactive;

    std::vector<FieldDef> fields;
    std::vector<FilterColumn> columns;
    QHash<QString, int> indexByName; // lower-case name -> index
    bool fieldsKnown = false;
    bool readOnlyView = false;

    QString filterText;
    SqlCondition filterCond;
    bool filterCompiled = false;
    bool filtered = false;
    QString sortText;
    QString orderBy;
    QString indexField;
    QString indexOrder;

    QPointer<Dataset> master;
    QString masterField;
    QString detailField;
    QMetaObject::Connection masterConn;
    QMetaObject::Connection masterCloseConn;
    bool linkHasRow = false; // the master had a current row when the snapshot was taken
    QVariant linkValue;

    std::vector<qint64> keys; // table mode
    std::vector<Row> rows;    // query mode
    // After a sort change that keeps the leading columns of the order before it, the rows of
    // equal leading values already fill the positions they will have, each set as one run; a run
    // is put in the new order when one of its positions is first read, so the change reads no
    // full list of keys. `unordered` holds the [from, to) ranges not yet read, in ascending order.
    int runColumns = 0;
    std::vector<std::pair<int, int>> unordered;
    int runsOrdered = 0;
    int pos = -1;
    bool bof = true;
    bool eof = true;

    struct Block {
        int index;
        std::vector<Row> rows;
    };
    std::list<Block> cache;

    Row buffer;
    std::vector<bool> touched;

    int disabled = 0;
    bool pending = false;

    // --- helpers ---------------------------------------------------------------------------

    QString name() const {
        if (!q->objectName().isEmpty()) return q->objectName();
        return table.isEmpty() ? QStringLiteral("Query") : table;
    }
    int count() const { return queryMode ? int(rows.size()) : int(keys.size()); }
    bool editing() const { return state == State::Edit || state == State::Insert; }

    Connection& connection() const {
        if (!conn) throw DbError(QStringLiteral("%1: no database connection").arg(name()));
        return *conn;
    }
    void requireActive() const {
        if (!active)
            throw DbError(
                QStringLiteral("%1: cannot perform this operation on a closed dataset").arg(name()));
    }
    void requireEditable() const {
        requireActive();
        if (queryMode || readOnlyView)
            throw DbError(QStringLiteral("%1: the dataset is read-only").arg(name()));
    }
    int indexOf(const QString& field) const {
        if (!fieldsKnown) throw DbError(QStringLiteral("%1: field \"%2\" not found").arg(name(), field));
        const int i = indexByName.value(field.toLower(), -1);
        if (i < 0) throw DbError(QStringLiteral("%1: field \"%2\" not found").arg(name(), field));
        return i;
    }

    void emitChange(bool layout, bool data) {
        if (!layout && !data) return;
        if (disabled > 0) {
            pending = true;
            return;
        }
        if (layout) emit q->layoutReset();
        if (data) emit q->dataChange();
    }
    void emitRowUpdated(int position) {
        if (disabled > 0) {
            pending = true;
            return;
        }
        emit q->rowUpdated(position);
        emit q->dataChange();
    }

    void checkBrowseMode() {
        if (editing()) q->post();
    }

    // --- structure ---------------------------------------------------------------------------

    void loadFields() {
        Connection& c = connection();
        if (!c.connected()) c.open();
        TableColumns cols;
        queryMode = table.isEmpty();
        if (queryMode) {
            if (sqlText.trimmed().isEmpty())
                throw DbError(QStringLiteral("%1: no table name or query text").arg(name()));
            QString body = sqlText.trimmed();
            while (body.endsWith(QLatin1Char(';')))
                body.chop(1);
            source = QLatin1Char('(') + body + QLatin1Char(')');
            cols = TableSchema::queryColumns(c, source);
        } else {
            const std::optional<TableSchema::Entry> e = TableSchema::find(c, table);
            if (!e) throw DbError(QStringLiteral("%1: table \"%2\" does not exist").arg(name(), table));
            if (e->view) {
                // A saved query: read it like a query, it has no row keys to edit by.
                queryMode = true;
                source = QStringLiteral("(SELECT * FROM %1)").arg(FilterParser::quoted(e->name));
                cols = TableSchema::queryColumns(c, source);
            } else {
                source = FilterParser::quoted(e->name);
                cols = TableSchema::tableColumns(c, e->name, e->createSql);
            }
        }
        fields = std::move(cols.fields);
        columns = std::move(cols.columns);
        indexByName.clear();
        for (int i = 0; i < int(fields.size()); ++i)
            indexByName.insert(fields[i].name.toLower(), i);
        fieldsKnown = true;
    }

    SqlCondition compileFilter(const QString& text) const { return FilterParser::parseFilter(text, columns); }
    QString compileSort(const QString& text) const { return FilterParser::parseSort(text, columns); }
    QString compileIndex(const QString& field) const {
        QString list = field;
        list.replace(QLatin1Char(';'), QLatin1Char(','));
        return FilterParser::parseSort(list, columns);
    }

    bool linked() const { return !masterField.isEmpty() && master; }
    QString linkField() const {
        if (!detailField.isEmpty()) return detailField;
        return indexField.section(QLatin1Char(';'), 0, 0).trimmed();
    }
    void checkLinkField() const {
        if (!linked()) return;
        if (linkField().isEmpty() || indexByName.value(linkField().toLower(), -1) < 0)
            throw DbError(QStringLiteral("%1: master link field \"%2\" not found").arg(name(), linkField()));
    }
    std::pair<bool, QVariant> masterRow() const {
        if (!linked() || !master->active()) return {false, {}};
        if (master->state() != State::Insert && master->isEmpty()) return {false, {}};
        return {true, master->value(masterField)};
    }
    void readLink() {
        const auto [has, value] = masterRow();
        linkHasRow = has;
        linkValue = value;
    }

    // --- snapshot ---------------------------------------------------------------------------

    QString conditions(QVariantList& binds) const {
        QStringList parts;
        if (linked()) {
            parts << FilterParser::quoted(fields[indexByName.value(linkField().toLower())].name) +
                         QStringLiteral(" = ?");
            binds << linkValue;
        }
        if (filtered && !filterCond.where.isEmpty()) {
            parts << QLatin1Char('(') + filterCond.where + QLatin1Char(')');
            binds += filterCond.binds;
        }
        return parts.join(QStringLiteral(" AND "));
    }

    // The rows the dataset now shows, read whole before anything is replaced: a read that fails
    // leaves the rows as they were.
    void takeSnapshot() {
        std::vector<qint64> newKeys;
        std::vector<Row> newRows;
        if (!linked() || (linkHasRow && !linkValue.isNull())) { // no master row: no detail rows
            QVariantList binds;
            const QString where = conditions(binds);
            QString order = orderBy.isEmpty() ? indexOrder : orderBy;
            if (!queryMode)
                order = order.isEmpty() ? QStringLiteral("rowid") : order + QStringLiteral(", rowid");
            QString sql = queryMode ? QStringLiteral("SELECT * FROM ") + source
                                    : QStringLiteral("SELECT rowid FROM ") + source;
            if (!where.isEmpty()) sql += QStringLiteral(" WHERE ") + where;
            if (!order.isEmpty()) sql += QStringLiteral(" ORDER BY ") + order;
            if (maxRecords > 0) sql += QStringLiteral(" LIMIT %1").arg(maxRecords);
            if (!queryMode) {
                newKeys = connection().integers(sql, binds);
            } else {
                QSqlQuery qy = connection().query(sql, binds);
                const int n = int(fields.size());
                while (qy.next()) {
                    Row r(n);
                    for (int i = 0; i < n; ++i)
                        r[i] = qy.value(i);
                    newRows.push_back(std::move(r));
                }
                if (qy.lastError().isValid())
                    throw DbError(QStringLiteral("%1: %2").arg(name(), qy.lastError().text()));
            }
        }
        cache.clear();
        keys = std::move(newKeys);
        rows = std::move(newRows);
        runColumns = 0;
        unordered.clear();
    }

    // What decides the rows shown: saved before a change, put back when its snapshot fails.
    struct View {
        QString filterText;
        SqlCondition filterCond;
        bool filterCompiled;
        bool filtered;
        QString sortText;
        QString orderBy;
        QString indexField;
        QString indexOrder;
        bool linkHasRow;
        QVariant linkValue;
    };
    View view() const {
        return View{filterText, filterCond, filterCompiled, filtered,   sortText,
                    orderBy,    indexField, indexOrder,     linkHasRow, linkValue};
    }
    void setView(const View& v) {
        filterText = v.filterText;
        filterCond = v.filterCond;
        filterCompiled = v.filterCompiled;
        filtered = v.filtered;
        sortText = v.sortText;
        orderBy = v.orderBy;
        indexField = v.indexField;
        indexOrder = v.indexOrder;
        linkHasRow = v.linkHasRow;
        linkValue = v.linkValue;
    }
    // Changes what is shown and reads the new rows; when the database refuses, the dataset
    // shows what it showed before, filter and sort included.
    void reshow(const std::function<void()>& change) {
        const View before = view();
        try {
            change();
            takeSnapshot();
        } catch (...) {
            setView(before);
            throw;
        }
    }

    void toFirst() {
        pos = count() > 0 ? 0 : -1;
        bof = true;
        eof = count() == 0;
    }
    int indexOfKey(qint64 key) {
        if (key == 0) return -1;
        if (queryMode) return key >= 1 && key <= count() ? int(key - 1) : -1;
        auto it = std::find(keys.begin(), keys.end(), key);
        if (it == keys.end()) return -1;
        if (isUnordered(int(it - keys.begin()))) {
            orderRunAt(int(it - keys.begin()));
            it = std::find(keys.begin(), keys.end(), key);
            if (it == keys.end()) return -1;
        }
        return int(it - keys.begin());
    }
    bool containsKey(qint64 key) const {
        if (key == 0) return false;
        if (queryMode) return key >= 1 && key <= count();
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    }

    // --- runs of rows not yet in the new order ----------------------------------------------

    // Runs put in order one by one before the rest is read in one go.
    static constexpr int kRunsOneByOne = 256;

    std::vector<std::pair<int, int>>::iterator unorderedRangeOf(int position) {
        auto it = std::upper_bound(unordered.begin(), unordered.end(), position,
                                   [](int p, const std::pair<int, int>& r) { return p < r.first; });
        if (it == unordered.begin()) return unordered.end();
        --it;
        return position < it->second ? it : unordered.end();
    }
    bool isUnordered(int position) {
        return !unordered.empty() && unorderedRangeOf(position) != unordered.end();
    }
    qint64 keyAt(int position) {
        if (isUnordered(position)) orderRunAt(position);
        return keys[position];
    }
    void orderRange(int from, int to) {
        for (int i = from; i < std::min(to, count()); ++i)
            if (isUnordered(i)) orderRunAt(i);
    }
    // Every position in the new order at once: one read of the view's keys, each row placed
    // within the range it stands in. The snapshot keeps its rows, as a full sort would have
    // kept them: a row another program added meanwhile stays out until a requery, and one it
    // deleted goes to the end of its range (its values read as nulls, as before).
    // The view's keys in its present order, narrowed by further conditions (joined with AND).
    std::vector<qint64> orderedKeys(QStringList parts, const QVariantList& moreBinds) {
        QVariantList binds;
        const QString where = conditions(binds);
        if (!where.isEmpty()) parts.prepend(where);
        binds += moreBinds;
        return connection().integers(
            QStringLiteral("SELECT rowid FROM ") + source +
                (parts.isEmpty() ? QString()
                                 : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "))) +
                QStringLiteral(" ORDER BY ") + orderBy + QStringLiteral(", rowid"),
            binds);
    }
    void orderAll() {
        if (unordered.empty()) return;
        QHash<qint64, int> rangeOf;
        std::vector<std::vector<qint64>> present(unordered.size());
        for (size_t r = 0; r < unordered.size(); ++r) {
            present[r].assign(keys.begin() + unordered[r].first, keys.begin() + unordered[r].second);
            for (qint64 key : present[r])
                rangeOf.insert(key, int(r));
        }
        std::vector<std::vector<qint64>> ordered(unordered.size());
        for (qint64 key : orderedKeys({}, {})) {
            const auto it = rangeOf.find(key);
            if (it == rangeOf.end()) continue;
            ordered[size_t(*it)].push_back(key);
            *it = -1;
        }
        for (size_t r = 0; r < unordered.size(); ++r) {
            for (qint64 key : present[r])
                if (rangeOf.value(key) >= 0) ordered[r].push_back(key);
            std::copy(ordered[r].begin(), ordered[r].end(), keys.begin() + unordered[r].first);
        }
        unordered.clear();
        cache.clear();
    }
    // Puts the run holding that position in the new order: the rows whose leading order values
    // equal those of the row there. A run that does not fill its place as expected (rows written
    // by another program meanwhile) has every position read again instead. Returns where the run
    // begins, or -1 when every position was read again.
    int orderRunAt(int position) {
        const auto range = unorderedRangeOf(position);
        if (range == unordered.end()) return position;
        if (++runsOrdered > kRunsOneByOne) return orderAll(), -1;
        const std::vector<OrderColumn> order = orderColumns();
        const std::vector<OrderColumn> leading(order.begin(), order.begin() + runColumns);
        QSqlQuery own = connection().query(
            QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(columnList(fields, leading), source),
            {keys[position]});
        if (!own.next()) return orderAll(), -1;
        QVariantList binds;
        QStringList parts;
        for (int i = 0; i < runColumns; ++i) {
            const QVariant v = own.value(i);
            const QString column = FilterParser::quoted(fields[leading[size_t(i)].field].name);
            if (v.isNull()) {
                parts << column + QStringLiteral(" IS NULL");
            } else {
                parts << column + QStringLiteral(" = ?");
                binds << v;
            }
        }
        own.finish();
        const std::vector<qint64> run = orderedKeys(parts, binds);
        const QSet<qint64> members(run.begin(), run.end());
        int from = position;
        int to = position + 1;
        if (!members.contains(keys[position])) return orderAll(), -1;
        while (from > range->first && members.contains(keys[from - 1]))
            --from;
        while (to < range->second && members.contains(keys[to]))
            ++to;
        if (to - from != int(run.size())) return orderAll(), -1;
        std::copy(run.begin(), run.end(), keys.begin() + from);
        const std::pair<int, int> before{range->first, from};
        const std::pair<int, int> after{to, range->second};
        auto at = unordered.erase(range);
        if (after.first < after.second) at = unordered.insert(at, after);
        if (before.first < before.second) unordered.insert(at, before);
        cache.remove_if([from, to](const Block& b) {
            return b.index * kBlockSize < to && (b.index + 1) * kBlockSize > from;
        });
        return from;
    }
    // A row inserted at, or erased from, a position moves the ranges after it.
    void shiftUnordered(int position, int by) {
        for (auto it = unordered.begin(); it != unordered.end();) {
            if (it->first > position || (by > 0 && it->first == position)) {
                it->first += by;
                it->second += by;
            } else if (it->second > position) {
                it->second += by;
            }
            if (it->first >= it->second)
                it = unordered.erase(it);
            else
                ++it;
        }
    }
    void toKey(qint64 key) {
        const int i = indexOfKey(key);
        if (i < 0) return toFirst();
        pos = i;
        bof = eof = false;
    }
    void moveTo(int i) {
        const int old = pos;
        pos = i;
        bof = eof = false;
        if (old != i) emitChange(false, true);
    }

    // --- values ---------------------------------------------------------------------------

    const Row& rowAt(int position) {
        if (queryMode) return rows[position];
        const int index = position / kBlockSize;
        for (auto it = cache.begin(); it != cache.end(); ++it) {
            if (it->index != index) continue;
            if (it != cache.begin()) cache.splice(cache.begin(), cache, it);
            return cache.front().rows[position % kBlockSize];
        }
        const int from = index * kBlockSize;
        orderRange(from, from + kBlockSize);
        const int to = std::min(from + kBlockSize, count());
        QStringList cols;
        for (const FieldDef& f : fields)
            cols << FilterParser::quoted(f.name);
        QVariantList binds;
        for (int i = from; i < to; ++i)
            binds << keys[i];
        const QString sql = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
                                .arg(cols.join(QStringLiteral(", ")), source,
                                     QStringLiteral("?, ").repeated(to - from - 1) + QLatin1Char('?'));
        QSqlQuery qy = connection().query(sql, binds);
        QHash<qint64, Row> got;
        const int n = int(fields.size());
        while (qy.next()) {
            Row r(n);
            for (int i = 0; i < n; ++i)
                r[i] = qy.value(i + 1);
            got.insert(qy.value(0).toLongLong(), std::move(r));
        }
        Block b{index, {}};
        b.rows.reserve(to - from);
        // A row deleted behind our back reads as nulls until the next requery.
        for (int i = from; i < to; ++i)
            b.rows.push_back(got.value(keys[i], Row(n)));
        cache.push_front(std::move(b));
        if (cache.size() > kCachedBlocks) cache.pop_back();
        return cache.front().rows[position % kBlockSize];
    }

    QVariant valueAt(int position, int fi) {
        if (!active || position < 0 || position >= count() || fi < 0 || fi >= int(fields.size())) return {};
        return rowAt(position)[fi];
    }

    QVariant currentValue(int fi) {
        if (editing()) return fi >= 0 && fi < int(buffer.size()) ? buffer[fi] : QVariant();
        return valueAt(pos, fi);
    }

    // --- placing a posted row ---------------------------------------------------------------
    // A posted row goes where the snapshot's own query would put it, or out of the view when
    // the filter (or the master link) no longer takes it: the view stays what a requery gives.

    struct OrderColumn {
        int field;
        bool descending;
        bool noCase;
    };
    // The columns the snapshot orders by; the row key breaks their ties.
    std::vector<OrderColumn> orderColumns() const {
        std::vector<SortKey> sortKeys;
        if (!orderBy.isEmpty()) {
            sortKeys = FilterParser::parseSortKeys(sortText, columns);
        } else if (!indexOrder.isEmpty()) {
            QString list = indexField;
            list.replace(QLatin1Char(';'), QLatin1Char(','));
            sortKeys = FilterParser::parseSortKeys(list, columns);
        }
        std::vector<OrderColumn> out;
        for (const SortKey& k : sortKeys) {
            const int i = indexByName.value(k.column.toLower());
            out.push_back(OrderColumn{i, k.descending, columns[i].noCase});
        }
        return out;
    }
    static QString columnList(const std::vector<FieldDef>& fields, const std::vector<OrderColumn>& order) {
        QStringList cols;
        for (const OrderColumn& c : order)
            cols << FilterParser::quoted(fields[c.field].name);
        return cols.join(QStringLiteral(", "));
    }

    struct OrderedRow {
        Row values; // of the order columns
        qint64 key;
    };
    static int compareRows(const OrderedRow& a, const OrderedRow& b, const std::vector<OrderColumn>& order) {
        for (size_t i = 0; i < order.size(); ++i) {
            const int c = compareStored(a.values[i], b.values[i], order[i].noCase);
            if (c != 0) return order[i].descending ? -c : c;
        }
        return sign(a.key, b.key);
    }
    // The order values of the row at a position: from the row cache when its block is there,
    // otherwise just those columns of that one row.
    OrderedRow orderedRowAt(int position, const std::vector<OrderColumn>& order) {
        OrderedRow r{{}, keyAt(position)};
        if (order.empty()) return r;
        for (const Block& b : cache) {
            if (b.index != position / kBlockSize) continue;
            for (const OrderColumn& c : order)
                r.values.push_back(b.rows[position % kBlockSize][c.field]);
            return r;
        }
        QSqlQuery qy = connection().query(
            QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(columnList(fields, order), source),
            {r.key});
        const bool found = qy.next(); // a row deleted behind our back reads as nulls
        for (size_t i = 0; i < order.size(); ++i)
            r.values.push_back(found ? qy.value(int(i)) : QVariant());
        return r;
    }

    // Where the row of that key now stands among the other rows of the view, -1 when the view
    // no longer takes it. `own` is its present position (an edit), -1 for a new row; `hint`
    // is tried first (the end for a new row, its own place for an edit).
    int placeOf(qint64 key, int own, int hint) {
        const std::vector<OrderColumn> order = orderColumns();
        QVariantList binds;
        const QString where = conditions(binds);
        // With no master row a detail shows nothing, as its snapshot does.
        if (linked() && !(linkHasRow && !linkValue.isNull())) return -1;
        OrderedRow row{{}, key};
        if (!where.isEmpty() || !order.empty()) {
            const QString cols = order.empty() ? QString() : QStringLiteral(", ") + columnList(fields, order);
            binds << key;
            QSqlQuery qy =
                connection().query(QStringLiteral("SELECT %1%2 FROM %3 WHERE rowid = ?")
                                       .arg(where.isEmpty() ? QStringLiteral("1") : where, cols, source),
                                   binds);
            if (!qy.next() || qy.value(0).toInt() != 1) return -1;
            for (size_t i = 0; i < order.size(); ++i)
                row.values.push_back(qy.value(int(i) + 1));
        }
        // Positions among the other rows: the row's own place is skipped.
        const int others = count() - (own >= 0 ? 1 : 0);
        const auto before = [&](int i) { // the i-th other row sorts before the posted one
            const int at = own >= 0 && i >= own ? i + 1 : i;
            return compareRows(orderedRowAt(at, order), row, order) < 0;
        };
        if ((hint == 0 || before(hint - 1)) && (hint == others || !before(hint))) return hint;
        int lo = 0;
        int hi = others;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (before(mid))
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }
    // How many leading columns of the present order the new sort keeps: the rows of equal values
    // in them already stand together where the new order puts them. 0 when the rows must be read
    // again (a limited query, no sort before, a different first column).
    int keptRunColumns(const QString& newSort) const {
        if (queryMode || maxRecords > 0 || orderBy.isEmpty() || count() == 0) return 0;
        const std::vector<OrderColumn> before = orderColumns();
        const std::vector<SortKey> after = FilterParser::parseSortKeys(newSort, columns);
        int kept = 0;
        while (kept < int(before.size()) && kept < int(after.size()) &&
               indexByName.value(after[size_t(kept)].column.toLower(), -1) == before[size_t(kept)].field &&
               after[size_t(kept)].descending == before[size_t(kept)].descending)
            ++kept;
        return unordered.empty() ? kept : std::min(kept, runColumns);
    }
    // Cached blocks from that position on no longer hold the rows of their positions.
    void dropCacheFrom(int position) {
        cache.remove_if([position](const Block& b) { return (b.index + 1) * kBlockSize > position; });
    }

    // --- master ---------------------------------------------------------------------------

    void followMaster() {
        if (!active) return;
        const auto [has, value] = masterRow();
        if (has == linkHasRow && (!has || sameValue(value, linkValue))) {
            // Same rows as before: no new snapshot, but the master moved, so the detail's
            // handlers hear of it as they would after a refresh.
            emitChange(false, true);
            return;
        }
        checkBrowseMode();
        reshow([&] {
            linkHasRow = has;
            linkValue = value;
        });
        toFirst();
        emitChange(true, true);
    }
};

// ---------------------------------------------------------------------------------------------

QVariant FieldRef::value() const {
    return ds_->d->currentValue(index_);
}
QString FieldRef::asString() const {
    return StoredValue::textOf(value(), def().type);
}
qint64 FieldRef::asInteger() const {
    return StoredValue::integerOf(value());
}
double FieldRef::asFloat() const {
    return StoredValue::floatOf(value());
}
bool FieldRef::asBoolean() const {
    return StoredValue::booleanOf(value());
}
QDateTime FieldRef::asDateTime() const {
    return StoredValue::dateTimeOf(value());
}
QDate FieldRef::asDate() const {
    return asDateTime().date();
}
QTime FieldRef::asTime() const {
    return asDateTime().time();
}
QByteArray FieldRef::asBytes() const {
    return value().toByteArray();
}
bool FieldRef::isNull() const {
    return value().isNull();
}
const FieldDef& FieldRef::def() const {
    return ds_->d->fields[index_];
}

// ---------------------------------------------------------------------------------------------

Dataset::Dataset(QObject* parent) : QObject(parent), d(std::make_unique<Impl>(this)) {}

Dataset::~Dataset() {
    if (d->masterConn) disconnect(d->masterConn);
    if (d->masterCloseConn) disconnect(d->masterCloseConn);
}

void Dataset::setConnection(Connection* c) {
    close();
    d->conn = c;
    d->fieldsKnown = false;
}
Connection* Dataset::connection() const {
    return d->conn;
}

void Dataset::setTableName(const QString& table) {
    close();
    d->table = table;
    d->sqlText.clear();
    d->fieldsKnown = false;
}
QString Dataset::tableName() const {
    return d->table;
}

void Dataset::setSql(const QString& sql) {
    close();
    d->sqlText = sql;
    d->table.clear();
    d->fieldsKnown = false;
}
QString Dataset::sql() const {
    return d->sqlText;
}

void Dataset::setReadOnly(bool on) {
    d->readOnlyView = on;
}

bool Dataset::readOnly() const {
    return d->readOnlyView || d->queryMode;
}

void Dataset::setMaxRecords(int n) {
    d->maxRecords = std::max(0, n);
}

// --- open / close ------------------------------------------------------------------------------

void Dataset::open() {
    if (d->active) return;
    d->loadFields();
    if (d->filtered) {
        d->filterCond = d->compileFilter(d->filterText);
        d->filterCompiled = true;
    } else {
        d->filterCompiled = false;
    }
    d->orderBy = d->compileSort(d->sortText);
    d->indexOrder = d->compileIndex(d->indexField);
    d->checkLinkField();
    d->readLink();
    d->takeSnapshot();
    d->active = true;
    d->state = State::Browse;
    d->toFirst();
    d->emitChange(true, true);
}

void Dataset::close() {
    if (!d->active) return;
    d->active = false;
    d->state = State::Inactive;
    d->keys.clear();
    d->unordered.clear();
    d->runColumns = 0;
    d->rows.clear();
    d->cache.clear();
    d->buffer.clear();
    d->touched.clear();
    d->pos = -1;
    d->bof = d->eof = true;
    // Closing is not a move to another row: views reset, data-change handlers stay quiet.
    d->emitChange(true, false);
    emit closed();
}

bool Dataset::active() const {
    return d->active;
}

void Dataset::setActive(bool on) {
    on ? open() : close();
}

void Dataset::requery() {
    d->requireActive();
    d->checkBrowseMode();
    const Bookmark key = bookmark();
    const int oldPos = d->pos;
    d->reshow([this] { d->readLink(); });
    if (d->queryMode) {
        // Query rows have no key: stay at the same position.
        d->toFirst();
        if (oldPos > 0 && d->count() > 0) {
            d->pos = std::min(oldPos, d->count() - 1);
            d->bof = false;
        }
    } else {
        d->toKey(key);
    }
    d->emitChange(true, true);
}

// --- filter and sort --------------------------------------------------------------------------

void Dataset::setFilter(const QString& adoFilter) {
    // With its database open, a closed dataset can still check a filter against its columns.
    if (!d->fieldsKnown && d->conn && d->conn->connected()) d->loadFields();
    if (!d->fieldsKnown) {
        d->filterText = adoFilter;
        d->filterCompiled = false;
        return;
    }
    const SqlCondition c = d->compileFilter(adoFilter);
    const auto change = [&] {
        d->filterText = adoFilter;
        d->filterCond = c;
        d->filterCompiled = true;
    };
    if (!d->active || !d->filtered) return change();
    d->checkBrowseMode();
    d->reshow(change);
    d->toFirst();
    d->emitChange(true, true);
}
QString Dataset::filter() const {
    return d->filterText;
}

void Dataset::setFiltered(bool on) {
    if (on == d->filtered) return;
    if (!d->active) {
        d->filtered = on;
        return;
    }
    SqlCondition c = d->filterCond;
    if (on && !d->filterCompiled) c = d->compileFilter(d->filterText);
    d->checkBrowseMode();
    d->reshow([&] {
        d->filtered = on;
        d->filterCond = c;
        d->filterCompiled = d->filterCompiled || on;
    });
    d->toFirst();
    d->emitChange(true, true);
}
bool Dataset::filtered() const {
    return d->filtered;
}

void Dataset::setSort(const QString& sort) {
    if (!d->fieldsKnown) {
        d->sortText = sort;
        return;
    }
    const QString order = d->compileSort(sort);
    const auto change = [&] {
        d->sortText = sort;
        d->orderBy = order;
    };
    if (!d->active) return change();
    d->checkBrowseMode();
    const Bookmark key = d->queryMode ? 0 : bookmark();
    if (!d->queryMode && d->maxRecords == 0 && order == d->orderBy) {
        // The same order again: the rows already stand in it, and any runs not yet read stay so.
        change();
        d->toKey(key);
    } else if (const int kept = d->keptRunColumns(sort); kept > 0) {
        const Impl::View before = d->view();
        const auto unordered = d->unordered;
        const int runColumns = d->runColumns;
        try {
            change();
            d->runColumns = kept;
            d->unordered.assign(1, {0, d->count()});
            d->runsOrdered = 0;
            d->cache.clear();
            d->toKey(key);
        } catch (...) {
            d->setView(before);
            d->unordered = unordered;
            d->runColumns = runColumns;
            throw;
        }
    } else {
        d->reshow(change);
        d->toKey(key);
    }
    d->emitChange(true, true);
}
QString Dataset::sort() const {
    return d->sortText;
}

void Dataset::setIndexField(const QString& field) {
    if (!d->fieldsKnown) {
        d->indexField = field;
        return;
    }
    const QString order = d->compileIndex(field);
    const QString oldField = d->indexField;
    d->indexField = field;
    try {
        d->checkLinkField();
    } catch (const DbError&) {
        d->indexField = oldField;
        throw;
    }
    if (!d->active) {
        d->indexOrder = order;
        return;
    }
    d->checkBrowseMode();
    const Bookmark key = d->queryMode ? 0 : bookmark();
    d->indexField = oldField;
    d->reshow([&] {
        d->indexField = field;
        d->indexOrder = order;
        d->readLink();
    });
    d->toKey(key);
    d->emitChange(true, true);
}

// --- master-detail ----------------------------------------------------------------------------

void Dataset::setMasterLink(Dataset* master, const QString& masterField, const QString& detailField) {
    if (master == this)
        throw DbError(QStringLiteral("%1: a dataset cannot be its own master").arg(d->name()));
    if (d->masterConn) disconnect(d->masterConn);
    if (d->masterCloseConn) disconnect(d->masterCloseConn);
    d->masterConn = {};
    d->masterCloseConn = {};
    d->master = master;
    d->masterField = masterField;
    d->detailField = detailField;
    if (master) {
        d->masterConn = connect(master, &Dataset::dataChange, this, [this] { d->followMaster(); });
        d->masterCloseConn = connect(master, &Dataset::closed, this, [this] { d->followMaster(); });
    }
    if (!d->active) return;
    d->checkLinkField();
    d->checkBrowseMode();
    d->reshow([this] { d->readLink(); });
    d->toFirst();
    d->emitChange(true, true);
}

// --- navigation -------------------------------------------------------------------------------

void Dataset::first() {
    d->requireActive();
    d->checkBrowseMode();
    if (d->count() == 0) {
        d->bof = d->eof = true;
        return;
    }
    const int old = d->pos;
    d->pos = 0;
    d->bof = true;
    d->eof = false;
    if (old != 0) d->emitChange(false, true);
}

void Dataset::last() {
    d->requireActive();
    d->checkBrowseMode();
    if (d->count() == 0) {
        d->bof = d->eof = true;
        return;
    }
    const int old = d->pos;
    d->pos = d->count() - 1;
    d->bof = false;
    d->eof = true;
    if (old != d->pos) d->emitChange(false, true);
}

void Dataset::next() {
    moveBy(1);
}
void Dataset::prior() {
    moveBy(-1);
}

bool Dataset::moveBy(int distance) {
    d->requireActive();
    d->checkBrowseMode();
    if (distance == 0) return true;
    const int n = d->count();
    if (n == 0) {
        d->bof = d->eof = true;
        return false;
    }
    bool whole = true;
    int target = d->pos + distance;
    if (distance > 0) {
        if (d->eof) return false;
        d->bof = false;
        if (target >= n) {
            target = n - 1;
            d->eof = true;
            whole = false;
        }
    } else {
        if (d->bof) return false;
        d->eof = false;
        if (target < 0) {
            target = 0;
            d->bof = true;
            whole = false;
        }
    }
    if (target != d->pos) {
        d->pos = target;
        d->emitChange(false, true);
    }
    return whole;
}

bool Dataset::eof() const {
    return d->eof;
}
bool Dataset::bof() const {
    return d->bof;
}
bool Dataset::isEmpty() const {
    return d->count() == 0;
}
int Dataset::recNo() const {
    return d->active && d->pos >= 0 ? d->pos + 1 : 0;
}

void Dataset::setRecNo(int recNo) {
    d->requireActive();
    if (d->count() == 0) return;
    const int target = std::clamp(recNo, 1, d->count()) - 1;
    d->checkBrowseMode();
    if (target == d->pos) return;
    d->moveTo(target);
}

int Dataset::recordCount() const {
    return d->count();
}

bool Dataset::locate(const QString& field, const QVariant& value, bool caseInsensitive) {
    return locate(QStringList{field}, QVariantList{value}, caseInsensitive);
}

bool Dataset::locate(const QStringList& fields, const QVariantList& values, bool caseInsensitive) {
    d->requireActive();
    if (fields.size() != values.size() || fields.isEmpty())
        throw DbError(QStringLiteral("%1: locate needs one value for each field").arg(d->name()));
    QList<int> idx;
    for (const QString& f : fields)
        idx << d->indexOf(f);
    d->checkBrowseMode();
    if (d->count() == 0) return false;

    int found = -1;
    if (d->queryMode) {
        for (int r = 0; r < d->count() && found < 0; ++r) {
            bool all = true;
            for (int i = 0; i < idx.size() && all; ++i)
                all =
                    locateMatch(d->rows[r][idx[i]],
                                StoredValue::forField(d->fields[idx[i]], values[i], false), caseInsensitive);
            if (all) found = r;
        }
    } else {
        QVariantList binds;
        QStringList parts;
        const QString current = d->conditions(binds);
        if (!current.isEmpty()) parts << current;
        for (int i = 0; i < idx.size(); ++i) {
            const FieldDef& f = d->fields[idx[i]];
            const QVariant v = StoredValue::forField(f, values[i], false);
            if (v.isNull()) {
                parts << FilterParser::quoted(f.name) + QStringLiteral(" IS NULL");
                continue;
            }
            parts << FilterParser::quoted(f.name) + (caseInsensitive ? QStringLiteral(" = ? COLLATE NOCASE")
                                                                     : QStringLiteral(" = ? COLLATE BINARY"));
            binds << v;
        }
        QSqlQuery qy = d->connection().query(QStringLiteral("SELECT rowid FROM %1 WHERE %2")
                                                 .arg(d->source, parts.join(QStringLiteral(" AND "))),
                                             binds);
        QSet<qint64> hits;
        while (qy.next())
            hits.insert(qy.value(0).toLongLong());
        if (hits.isEmpty()) return false;
        for (int r = 0; r < d->count(); ++r) {
            if (!hits.contains(d->keys[r])) continue;
            if (!d->isUnordered(r)) {
                found = r;
                break;
            }
            // The rows before its run hold no hit: the run, once in order, is looked at again.
            r = std::max(d->orderRunAt(r), 0) - 1;
        }
    }
    if (found < 0) return false;
    d->moveTo(found);
    return true;
}

Dataset::Bookmark Dataset::bookmark() const {
    if (!d->active || d->state == State::Insert || d->pos < 0 || d->pos >= d->count()) return 0;
    return d->queryMode ? Bookmark(d->pos + 1) : d->keyAt(d->pos);
}

bool Dataset::bookmarkValid(Bookmark b) const {
    return d->active && d->containsKey(b);
}

void Dataset::gotoBookmark(Bookmark b) {
    d->requireActive();
    d->checkBrowseMode();
    const int i = d->indexOfKey(b);
    if (i < 0) throw DbError(QStringLiteral("%1: record not found (bookmark %2)").arg(d->name()).arg(b));
    d->moveTo(i);
}

// --- fields --------------------------------------------------------------------------------------

const std::vector<FieldDef>& Dataset::fieldDefs() const {
    return d->fields;
}

int Dataset::fieldIndex(const QString& name) const {
    return d->indexByName.value(name.toLower(), -1);
}

bool Dataset::hasField(const QString& name) const {
    return fieldIndex(name) >= 0;
}

FieldRef Dataset::field(const QString& name) const {
    return FieldRef(this, d->indexOf(name));
}

FieldRef Dataset::field(int index) const {
    if (index < 0 || index >= int(d->fields.size()))
        throw DbError(QStringLiteral("%1: field index %2 out of range").arg(d->name()).arg(index));
    return FieldRef(this, index);
}

QVariant Dataset::value(const QString& name) const {
    return field(name).value();
}

QVariant Dataset::valueAt(int position, int fieldIndex) const {
    return d->valueAt(position, fieldIndex);
}

// --- editing --------------------------------------------------------------------------------------

Dataset::State Dataset::state() const {
    return d->state;
}

void Dataset::edit() {
    d->requireEditable();
    if (d->editing()) return;
    if (d->count() == 0) throw DbError(QStringLiteral("%1: cannot edit an empty dataset").arg(d->name()));
    d->buffer = d->rowAt(d->pos);
    d->touched.assign(d->fields.size(), false);
    d->state = State::Edit;
}

void Dataset::append() {
    d->requireEditable();
    d->checkBrowseMode();
    d->buffer.assign(d->fields.size(), QVariant());
    d->touched.assign(d->fields.size(), false);
    // A detail's new row belongs to the master's current row.
    if (d->linked() && d->linkHasRow) {
        const int i = d->indexByName.value(d->linkField().toLower());
        if (!d->fields[i].readOnly) {
            d->buffer[i] = d->linkValue;
            d->touched[i] = true;
        }
    }
    d->state = State::Insert;
    d->emitChange(false, true);
}

void Dataset::setValue(const QString& name, const QVariant& v) {
    if (!d->editing())
        throw DbError(QStringLiteral("%1: the dataset is not in edit or insert mode").arg(d->name()));
    const int i = d->indexOf(name);
    const FieldDef& f = d->fields[i];
    if (f.readOnly)
        throw DbError(QStringLiteral("%1: field \"%2\" cannot be modified").arg(d->name(), f.name));
    d->buffer[i] = StoredValue::forField(f, v, true);
    d->touched[i] = true;
}

void Dataset::post() {
    d->requireActive();
    if (!d->editing()) return;
    Connection& c = d->connection();
    QStringList names;
    QVariantList binds;
    for (size_t i = 0; i < d->fields.size(); ++i) {
        if (!d->touched[i]) continue;
        names << FilterParser::quoted(d->fields[i].name);
        binds << d->buffer[i];
    }
    if (d->state == State::Edit) {
        const int own = d->pos;
        int at = own;
        if (!names.isEmpty()) {
            QStringList sets;
            for (const QString& n : names)
                sets << n + QStringLiteral(" = ?");
            binds << d->keyAt(own);
            c.execute(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                          .arg(d->source, sets.join(QStringLiteral(", "))),
                      binds);
            at = d->placeOf(d->keys[own], own, own);
        }
        d->state = State::Browse;
        d->buffer.clear();
        d->touched.clear();
        if (at == own) {
            d->cache.remove_if([own](const Impl::Block& b) { return b.index == own / kBlockSize; });
            d->emitRowUpdated(own);
            return;
        }
        const qint64 key = d->keys[own];
        d->keys.erase(d->keys.begin() + own);
        d->shiftUnordered(own, -1);
        d->dropCacheFrom(std::min(own, at < 0 ? own : at));
        if (at >= 0) {
            d->keys.insert(d->keys.begin() + at, key);
            d->shiftUnordered(at, 1);
            d->pos = at;
        } else {
            // Out of the view, as after a delete: the next row, or the prior one at the end.
            d->pos = d->keys.empty() ? -1 : std::min(own, d->count() - 1);
        }
        d->bof = d->eof = d->keys.empty();
        d->emitChange(true, true);
        return;
    }
    if (names.isEmpty()) {
        c.execute(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d->source));
    } else {
        c.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(d->source, names.join(QStringLiteral(", ")),
                           QStringLiteral("?, ").repeated(names.size() - 1) + QLatin1Char('?')),
                  binds);
    }
    const qint64 key = c.scalar(QStringLiteral("SELECT last_insert_rowid()")).toLongLong();
    int at = d->placeOf(key, -1, d->count());
    if (d->maxRecords > 0 && at >= d->maxRecords) at = -1;
    d->state = State::Browse;
    d->buffer.clear();
    d->touched.clear();
    if (at >= 0) {
        d->keys.insert(d->keys.begin() + at, key);
        d->shiftUnordered(at, 1);
        if (d->maxRecords > 0 && d->count() > d->maxRecords) d->keys.pop_back();
        d->dropCacheFrom(at);
        d->pos = at;
    } else {
        // Not shown: the cursor stays on the row it was on before the append.
        d->pos = d->keys.empty() ? -1 : std::clamp(d->pos, 0, d->count() - 1);
    }
    d->bof = d->eof = d->keys.empty();
    d->emitChange(at >= 0, true);
}

void Dataset::cancel() {
    if (!d->editing()) return;
    const bool wasInsert = d->state == State::Insert;
    const bool anyChange = std::find(d->touched.begin(), d->touched.end(), true) != d->touched.end();
    d->state = State::Browse;
    d->buffer.clear();
    d->touched.clear();
    if (wasInsert || anyChange) d->emitChange(false, true);
}

void Dataset::remove() {
    d->requireEditable();
    if (d->state == State::Insert) return cancel();
    if (d->state == State::Edit) {
        d->state = State::Browse;
        d->buffer.clear();
        d->touched.clear();
    }
    if (d->count() == 0)
        throw DbError(QStringLiteral("%1: cannot delete from an empty dataset").arg(d->name()));
    d->connection().execute(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(d->source),
                            {d->keyAt(d->pos)});
    d->keys.erase(d->keys.begin() + d->pos);
    d->shiftUnordered(d->pos, -1);
    d->cache.clear();
    if (d->keys.empty()) {
        d->pos = -1;
        d->bof = d->eof = true;
    } else {
        d->pos = std::min(d->pos, d->count() - 1);
        d->bof = d->eof = false;
    }
    d->emitChange(true, true);
}

// --- controls --------------------------------------------------------------------------------------

void Dataset::disableControls() {
    ++d->disabled;
}

void Dataset::enableControls() {
    if (d->disabled == 0 || --d->disabled > 0) return;
    if (!d->pending) return;
    d->pending = false;
    emit layoutReset();
    emit dataChange();
}

bool Dataset::controlsDisabled() const {
    return d->disabled > 0;
}

// ---------------------------------------------------------------------------------------------

DataSource::DataSource(Dataset* ds, QObject* parent) : QObject(parent) {
    setDataSet(ds);
}

void DataSource::setDataSet(Dataset* ds) {
    for (const QMetaObject::Connection& l : std::as_const(links_))
        disconnect(l);
    links_.clear();
    ds_ = ds;
    if (ds) {
        links_ << connect(ds, &Dataset::dataChange, this, [this] {
            if (enabled_) emit dataChange();
        });
        links_ << connect(ds, &Dataset::layoutReset, this, [this] {
            if (enabled_) emit layoutReset();
        });
        links_ << connect(ds, &Dataset::rowUpdated, this, [this](int position) {
            if (enabled_) emit rowUpdated(position);
        });
    }
    if (enabled_) emit layoutReset();
}

Dataset* DataSource::dataSet() const {
    return ds_;
}

void DataSource::setEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (!on || !ds_) return;
    // Views missed every change while disabled; handlers are told the current row.
    emit layoutReset();
    if (ds_->active()) emit dataChange();
}

bool DataSource::enabled() const {
    return enabled_;
}

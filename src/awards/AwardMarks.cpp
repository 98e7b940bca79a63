#include "awards/AwardMarks.h"

#include "dataset/Connection.h"

#include <QHash>
#include <QSqlQuery>

namespace AwardMarks {

namespace {

struct BandRow {
    const char* band;
    const char* code;
    QStringList suffixes;
};

const QList<BandRow>& bandTable() {
    static const QStringList five{"cw", "ssb", "rtty", "psk", "oth"};
    static const QStringList six{"cw", "ssb", "rtty", "fm", "psk", "oth"};
    static const QList<BandRow> rows{
        {"1.8", "18", five},
        {"3.5", "35", five},
        {"7.0", "70", five},
        {"7", "70", five},
        {"10", "10", five},
        {"14", "14", five},
        {"18", "180", five},
        {"21", "21", five},
        {"24", "24", five},
        {"28", "28", six},
        {"50", "50", six},
        {"Satellite", "Sat", six},
        {"144", "144", six},
        {"430", "430", six},
        {"1260", "1260", six},
        {"137", "137", {"cw", "oth"}},
        {"Q", "Q", {"cw", "ssb", "rtty", "fm", "digit", "psk", "oth"}},
    };
    return rows;
}

bool modeHolds(const QString& suffix, const QString& mode) {
    if (suffix == "cw") return mode == "CW";
    if (suffix == "ssb") return mode == "SSB";
    if (suffix == "rtty") return mode == "RTTY";
    if (suffix == "fm") return mode == "FM";
    if (suffix == "digit") return mode == "DIGITAL";
    if (suffix == "psk") return mode.contains("PSK");
    return false;
}

} // namespace

QString bandCode(const QString& band) {
    for (const auto& r : bandTable())
        if (band == QLatin1String(r.band)) return QString::fromLatin1(r.code);
    return QString();
}

QStringList modeSuffixes(const QString& code) {
    for (const auto& r : bandTable())
        if (code == QLatin1String(r.code)) return r.suffixes;
    return {};
}

QString modeSuffix(const QString& code, const QString& mode) {
    const QStringList suffixes = modeSuffixes(code);
    for (const QString& s : suffixes)
        if (s != "oth" && modeHolds(s, mode)) return s;
    return suffixes.isEmpty() ? QString() : QStringLiteral("oth");
}

QString bandCell(const QString& band) {
    const QString code = bandCode(band);
    return code.isEmpty() ? QString() : QStringLiteral("Band") + code;
}

QString bandModeCell(const QString& band, const QString& mode) {
    const QString code = bandCode(band);
    return code.isEmpty() ? QString() : QStringLiteral("Band") + code + modeSuffix(code, mode);
}

const QStringList& allCells() {
    static const QStringList cells = [] {
        QStringList bands, modes;
        for (const auto& r : bandTable()) {
            const QString cell = QStringLiteral("Band") + QLatin1String(r.code);
            if (bands.contains(cell)) continue;
            bands << cell;
            for (const QString& s : r.suffixes)
                modes << cell + s;
        }
        modes << QStringLiteral("BandQsstv");
        return bands + modes;
    }();
    return cells;
}

QString raised(const QString& old, const QString& status) {
    return old == "cfm" ? old : status;
}

QString cutPart(QString& rest) {
    const int p = rest.indexOf(QStringLiteral(":;"));
    if (p < 0) {
        rest.remove(0, 1);
        return QString();
    }
    const QString part = rest.left(p);
    rest.remove(0, p + 2);
    return part;
}

Parts3 splitComposite(const QString& value) {
    QString rest = value;
    Parts3 p;
    p.a = cutPart(rest);
    p.b = cutPart(rest);
    p.c = rest;
    return p;
}

QString joinComposite(const QString& a, const QString& b, const QString& c) {
    return a + QStringLiteral(":;") + b + QStringLiteral(":;") + c;
}

QString takeAwardPart(QString& line) {
    return cutPart(line).trimmed();
}

QList<AwardItem> itemsFromStoredQso(const StoredQso& q) {
    QList<AwardItem> items;
    items.append({"DXCC", q.pref, {}, {}, q.obl});
    items.append({"WAZ", q.awWAZ, {}, {}, {}});
    if (!q.awUR.isEmpty()) items.append({"UkrRus", q.awUR.left(2), q.awUR.mid(2), {}, q.obl});
    if (!q.awIOTA.isEmpty()) items.append({"IOTA", q.awIOTA, {}, {}, q.obl});
    if (!q.awWAS.isEmpty()) items.append({"WAS", q.awWAS, {}, {}, q.obl});
    if (!q.awUser1.isEmpty()) {
        const Parts3 p = splitComposite(q.awUser1);
        items.append({"User1", p.a, p.b, p.c, {}});
    }
    if (!q.awUser2.isEmpty()) {
        const Parts3 p = splitComposite(q.awUser2);
        items.append({"User2", p.a, p.b, p.c, {}});
    }
    return items;
}

qint64 findAwardRow(Connection& c, qint64 book, const AwardItem& item) {
    // IFNULL keeps the search on the key index as far as Param1; a non-empty Param1 is compared
    // plainly so the index narrows to that item.
    QString where = QStringLiteral("SELECT Num FROM AwardMixInfo WHERE LogNameLog = ? AND AwName = ? AND ");
    where += item.param1.isEmpty() ? QStringLiteral("IFNULL(Param1, '') = ?") : QStringLiteral("Param1 = ?");
    where += QStringLiteral(" AND IFNULL(Param2, '') = ? AND IFNULL(Param3, '') = ? LIMIT 1");
    auto text = [](const QString& s) { return s.isNull() ? QStringLiteral("") : s; };
    const QVariant num =
        c.scalar(where, {book, text(item.awName), text(item.param1), text(item.param2), text(item.param3)});
    return num.isValid() ? num.toLongLong() : 0;
}

void markAwardCell(Connection& c, int book, const AwardItem& item, const QString& band, const QString& mode,
                   const QString& status) {
    const QString cell = bandCell(band);
    const QString modeCell = bandModeCell(band, mode);
    auto text = [](const QString& s) { return s.isNull() ? QStringLiteral("") : s; };
    const QVariantList key{book, text(item.awName), text(item.param1), text(item.param2), text(item.param3)};

    const qint64 found = findAwardRow(c, book, item);
    QString select = QStringLiteral("SELECT Num");
    if (!cell.isEmpty()) select += ", " + cell + ", " + modeCell;
    select += QStringLiteral(" FROM AwardMixInfo WHERE Num = ?");
    QSqlQuery q = c.query(select, {found});

    if (q.next()) {
        const qint64 num = q.value(0).toLongLong();
        if (cell.isEmpty()) {
            c.execute(QStringLiteral("UPDATE AwardMixInfo SET Other = ? WHERE Num = ?"),
                      {text(item.other), num});
            return;
        }
        const QString bandNow = raised(q.value(1).toString(), status);
        const QString modeNow = raised(q.value(2).toString(), status);
        c.execute(QStringLiteral("UPDATE AwardMixInfo SET Other = ?, ") + cell + " = ?, " + modeCell +
                      QStringLiteral(" = ? WHERE Num = ?"),
                  {text(item.other), bandNow, modeNow, num});
        return;
    }
    QString cols = QStringLiteral("LogNameLog, AwName, Param1, Param2, Param3, Other");
    QString marks = QStringLiteral("?, ?, ?, ?, ?, ?");
    QVariantList values = key;
    values << text(item.other);
    if (!cell.isEmpty()) {
        cols += ", " + cell + ", " + modeCell;
        marks += QStringLiteral(", ?, ?");
        values << status << status;
    }
    c.execute(QStringLiteral("INSERT INTO AwardMixInfo (") + cols + ") VALUES (" + marks + ")", values);
}

} // namespace AwardMarks

#include "logbook/PrefixLookup.h"

#include "dataset/Connection.h"

#include <QSqlError>
#include <QSqlQuery>

QString longestPrefixMatch(const QString& call, const std::function<bool(const QString&, QString&)>& exists) {
    QString match;
    const int n = std::min<int>(call.size(), 6);
    for (int i = 1; i <= n; ++i) {
        QString stored;
        bool found = exists(call.left(i), stored);
        if (!found && i >= 3 && i <= 5) {
            QString variant = call.left(i);
            variant[i - 2] = QLatin1Char('/');
            found = exists(variant, stored);
        }
        if (found && !stored.isEmpty()) match = stored;
    }
    return match;
}

struct PrefixLookup::Impl {
    explicit Impl(Connection& c) : allPref(c.db()), pref(c.db()), dxcc(c.db()), region(c.db()), iota(c.db()) {
        prepare(allPref, "SELECT AllPrefix, Prefix FROM ALLPREF WHERE AllPrefix = ? LIMIT 1");
        prepare(pref, "SELECT Prefix, DXCCPrefix, Country, Continent, TimeUTC, Latitude, Longitude, ITUZone, "
                      "CQZone FROM PREF WHERE Prefix = ? LIMIT 1");
        prepare(dxcc, "SELECT Prefix FROM DXCC WHERE Prefix = ? LIMIT 1");
        prepare(region, "SELECT Oblast, Name, CountryPref FROM RussUkr WHERE Prefix = ? LIMIT 1");
        prepare(iota, "SELECT Num, IslandName, PrefDXXC FROM IOTA WHERE PrefDXXC = ? LIMIT 2");
    }
    static void prepare(QSqlQuery& q, const char* sql) {
        if (!q.prepare(QString::fromLatin1(sql))) throw DbError(q.lastError().text());
    }
    static void run(QSqlQuery& q, const QString& value) {
        q.bindValue(0, value);
        if (!q.exec()) throw DbError(q.lastError().text());
    }
    QSqlQuery allPref, pref, dxcc, region, iota;
};

PrefixLookup::PrefixLookup(Connection& c) : d(std::make_unique<Impl>(c)) {}
PrefixLookup::~PrefixLookup() = default;

bool PrefixLookup::exists(const QString& prefix, QString& stored) {
    Impl::run(d->allPref, prefix);
    const bool found = d->allPref.next();
    if (found) stored = d->allPref.value(0).toString();
    d->allPref.finish();
    return found;
}

PrefixInfo PrefixLookup::find(const QString& call) {
    PrefixInfo info;
    QString prefixOfMatch;
    info.allPrefix = longestPrefixMatch(call, [&](const QString& candidate, QString& stored) {
        Impl::run(d->allPref, candidate);
        if (!d->allPref.next()) return false;
        stored = d->allPref.value(0).toString();
        prefixOfMatch = d->allPref.value(1).toString();
        d->allPref.finish();
        return true;
    });
    // The last candidate found is the match, so prefixOfMatch belongs to it.
    if (info.allPrefix.isEmpty()) return info;

    Impl::run(d->pref, prefixOfMatch);
    if (!d->pref.next()) return info;
    info.found = true;
    info.prefix = d->pref.value(0).toString();
    info.dxccPrefix = d->pref.value(1).toString();
    info.country = d->pref.value(2).toString();
    info.continent = d->pref.value(3).toString();
    info.timeUtc = d->pref.value(4).toDouble();
    info.latitude = d->pref.value(5).toDouble();
    info.longitude = d->pref.value(6).toDouble();
    info.ituZone = d->pref.value(7).toString();
    info.cqZone = d->pref.value(8).toString();
    d->pref.finish();

    Impl::run(d->dxcc, info.dxccPrefix);
    if (d->dxcc.next()) info.dxccEntity = d->dxcc.value(0).toString();
    d->dxcc.finish();

    Impl::run(d->region, info.prefix);
    if (d->region.next()) {
        info.regionCode = d->region.value(0).toString();
        info.regionName = d->region.value(1).toString();
        info.regionEntity = d->region.value(2).toString();
    }
    d->region.finish();

    Impl::run(d->iota, info.dxccPrefix);
    QStringList first;
    int rows = 0;
    while (d->iota.next()) {
        if (rows++ == 0)
            first = {d->iota.value(0).toString(), d->iota.value(1).toString(), d->iota.value(2).toString()};
    }
    if (rows == 1 && first[2].size() > 2) {
        info.iotaNum = first[0];
        info.iotaName = first[1];
        info.iotaEntity = first[2];
    }
    return info;
}

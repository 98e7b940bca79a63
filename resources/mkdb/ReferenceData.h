#pragma once

#include "CtyFile.h"

#include <QHash>
#include <QList>
#include <QString>

struct DxccRow {
    QString prefix;
    QString region;
    QString continent;
};

struct PrefRow {
    QString prefix;
    QString dxccPrefix;
    QString country;
    QString continent;
    double timeUtc = 0; // hours added to UTC for local time
    double latitude = 0;
    double longitude = 0; // west-positive
    QString ituZone;
    QString cqZone;
};

struct AllPrefRow {
    QString allPrefix;
    QString prefix;
};

struct RegionRow {
    QString oblast;
    QString prefix;
    QString name;
    QString countryPref;
};

struct IotaRow {
    QString num;
    QString prefDxcc;
    QString islandName;
};

// A region of the Ukrainian/Russian award as listed in russukr.csv.
struct RegionSource {
    int line = 0;
    QString oblast;
    QString key; // call-area digit and first suffix letter ("3A") in Russia, the letter in Ukraine
    QString name;
    QString countryPref;
    QString country; // "RU" or "UA"
};

// One line of iota.tbl.
struct IotaSource {
    int line = 0;
    QString ref;
    QString islandName;
    QString prefix;  // e.g. "G", "FT(Z)", "UA(AS)"
    QString pattern; // call pattern, e.g. "FT[0-9]Z"; may be empty
};

// The rows of the reference database. The program finds a call's row by the longest of the call's
// first 1 to 6 characters that is an AllPrefix, then PREF by Prefix, then DXCC by DXCCPrefix and
// RussUkr by Prefix; everything built here serves that chain.
class ReferenceData {
public:
    explicit ReferenceData(const QList<CtyEntity>& entities);

    void addRegions(const QList<RegionSource>& regions, const QString& sourceName);
    void addIslands(const QList<IotaSource>& islands);

    // The PREF row a call leads to, or nullptr.
    const PrefRow* lookUp(const QString& call) const;

    QList<DxccRow> dxcc;
    QList<PrefRow> pref;
    QList<AllPrefRow> allPref;
    QList<RegionRow> regions;
    QList<IotaRow> iota;

    int duplicatePrefixes = 0;      // cty.dat prefixes listed twice: the first stands
    int prefixesTakenByRegions = 0; // cty.dat prefixes that now lead to a region
    int familyPrefixesLeft = 0;     // family + region key prefixes that cty.dat gives to another entity
    QStringList unresolvedIslands;

private:
    int addPref(const PrefRow& row);
    QString ctyEntityOf(const QString& prefix) const;
    QString resolveIsland(const IotaSource& island) const;
    QString entityPrefixByMark(const QString& base, const QString& mark) const;

    QList<CtyEntity> entities_;
    QHash<QString, int> prefIndex_;    // upper-case PREF.Prefix -> row
    QHash<QString, int> allPrefIndex_; // upper-case AllPrefix -> row
    QHash<QString, int> ctyAllPref_;   // AllPrefix -> PREF row, as cty.dat alone gives it
};

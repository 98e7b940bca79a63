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
    QString other; // what the row is when not a prefix: kWholeCall or kAfterWholeCall
};

inline const QString kWholeCall = QStringLiteral("whole call");
inline const QString kAfterWholeCall = QStringLiteral("after a whole call");

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

// A UTC offset the country file gives out of date, as utc-corrections.csv lists it.
struct UtcCorrection {
    int line = 0;
    QString entity; // DXCC prefix
    QString oblast; // a region code of RussUkr, or empty for the whole entity
    double timeUtc = 0;
};

// The rows of the reference database. The program finds a call's row by the longest of the call's
// first 1 to 6 characters that is an AllPrefix, then PREF by Prefix, then DXCC by DXCCPrefix and
// RussUkr by Prefix; everything built here serves that chain.
class ReferenceData {
public:
    explicit ReferenceData(const QList<CtyEntity>& entities);

    void addRegions(const QList<RegionSource>& regions, const QString& sourceName);
    // The country file's whole calls ("=CALL") of up to six characters. A shorter whole call would
    // also be the longest match of every longer call that begins with it; where such a call belongs
    // elsewhere, a row of one more character keeps it there.
    void addWholeCalls();
    void addIslands(const QList<IotaSource>& islands);
    // Sets TimeUTC of the entity's rows, then of the listed regions' rows.
    void correctUtcOffsets(const QList<UtcCorrection>& corrections, const QString& sourceName);

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
    int wholeCallsKept = 0;     // whole calls that are look-up rows
    int wholeCallsTooLong = 0;  // over six characters: the look-up never reaches them
    int wholeCallsAsPrefix = 0; // the prefixes already lead where the whole call does
    int wholeCallsShadowed = 0; // the text is a prefix already, or a "/" variant would reach it
    int wholeCallGuards = 0;    // rows that keep longer calls from a whole call's entity

private:
    int addPref(const PrefRow& row);
    QString ctyEntityOf(const QString& prefix) const;
    QString resolveIsland(const IotaSource& island) const;
    QString entityPrefixByMark(const QString& base, const QString& mark) const;
    int placeRow(qsizetype entity, const CtyPlace& place, const QString& seed);
    QString unusedPrefName(const QString& seed) const;

    QList<CtyEntity> entities_;
    QList<const CtyEntity*> dxccOf_;              // per entity: the entity it counts for in DXCC
    QList<QList<QPair<CtyPlace, int>>> placesOf_; // per entity: PREF rows by place
    QHash<QString, int> prefIndex_;    // upper-case PREF.Prefix -> row
    QHash<QString, int> allPrefIndex_; // upper-case AllPrefix -> row
    QHash<QString, int> ctyAllPref_;   // AllPrefix -> PREF row, as cty.dat alone gives it
};

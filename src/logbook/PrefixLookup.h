#pragma once
// The prefix look-up of a call sign as values: the longest ALLPREF prefix of the call's first
// 1 to 6 characters (with "/" variants at 3 to 5 characters), and the rows that follow it.

#include <QString>
#include <functional>
#include <memory>

class Connection;

// The remembered match of the look-up; `exists` answers whether ALLPREF holds a prefix and
// gives back its stored text.
QString longestPrefixMatch(const QString& call, const std::function<bool(const QString&, QString&)>& exists);

struct PrefixInfo {
    bool found = false; // a PREF row follows the match
    QString allPrefix;  // the match
    QString prefix;     // PREF.Prefix
    QString dxccPrefix; // PREF.DXCCPrefix
    QString country;
    QString continent;
    double timeUtc = 0;
    double latitude = 0;
    double longitude = 0; // west-positive, as stored
    QString ituZone;
    QString cqZone;
    QString dxccEntity; // DXCC.Prefix of the entity row
    // The region row that follows the prefix (Russian and Ukrainian calls).
    QString regionCode, regionName, regionEntity;
    // The country's only IOTA entry, when it has exactly one with an entity text longer than 2.
    QString iotaNum, iotaName, iotaEntity;
};

class PrefixLookup {
public:
    // Works on the reference database of `c`, which must stay open while this lives.
    explicit PrefixLookup(Connection& c);
    ~PrefixLookup();
    PrefixInfo find(const QString& call);
    // Whether ALLPREF holds exactly this prefix (compared as the table compares), with its stored text.
    bool exists(const QString& prefix, QString& stored);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

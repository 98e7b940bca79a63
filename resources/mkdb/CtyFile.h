#pragma once

#include <QList>
#include <QString>

// Where a prefix lies as the country file gives it: longitude west-positive, UTC offset in the
// file's own sign (-1.0 for UTC+1).
struct CtyPlace {
    int cqZone = 0;
    int ituZone = 0;
    QString continent;
    double latitude = 0;
    double longitude = 0;
    double utcOffset = 0;

    bool operator==(const CtyPlace&) const = default;
};

struct CtyPrefix {
    QString prefix;
    CtyPlace place; // the entity's place with the entry's own overrides applied
};

struct CtyEntity {
    QString name;
    QString primaryPrefix; // without the "*" that marks an entity counted for WAE only
    bool waeOnly = false;
    CtyPlace place;
    QList<CtyPrefix> prefixes; // prefixes that begin calls
    QList<CtyPrefix> calls;    // whole calls ("=CALL"), each standing only for itself
};

// Reads cty.dat; throws std::runtime_error naming the file and line when it is missing or malformed.
QList<CtyEntity> readCtyFile(const QString& path);
QList<CtyEntity> parseCty(const QString& text, const QString& sourceName);

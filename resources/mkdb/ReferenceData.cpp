#include "ReferenceData.h"

#include "InputError.h"

#include <QRegularExpression>

namespace {

// Entities that count for WAE only stand, for DXCC, in their parent entity.
const QHash<QString, QString>& waeParents() {
    static const QHash<QString, QString> parents{
        {QStringLiteral("4U1V"), QStringLiteral("OE")}, {QStringLiteral("GM/s"), QStringLiteral("GM")},
        {QStringLiteral("IG9"), QStringLiteral("I")},   {QStringLiteral("IT9"), QStringLiteral("I")},
        {QStringLiteral("JW/b"), QStringLiteral("JW")}, {QStringLiteral("TA1"), QStringLiteral("TA")},
    };
    return parents;
}

// Call families whose calls carry the region in the digit and first suffix letter.
QStringList russianFamilies() {
    QStringList families{QStringLiteral("R")};
    for (char c = 'A'; c <= 'Z'; ++c)
        families << QStringLiteral("R") + QLatin1Char(c);
    families << QStringLiteral("U");
    for (char c = 'A'; c <= 'I'; ++c)
        families << QStringLiteral("U") + QLatin1Char(c);
    return families;
}

QStringList ukrainianFamilies() {
    QStringList families{QStringLiteral("EM"), QStringLiteral("EN"), QStringLiteral("EO")};
    for (char c = 'R'; c <= 'Z'; ++c)
        families << QStringLiteral("U") + QLatin1Char(c);
    return families;
}

PrefRow prefRow(const QString& prefix, const QString& dxccPrefix, const QString& country,
                const CtyPlace& place) {
    PrefRow row;
    row.prefix = prefix;
    row.dxccPrefix = dxccPrefix;
    row.country = country.left(40);
    row.continent = place.continent;
    // cty.dat gives the offset to add to local time; the program adds TimeUTC to UTC.
    row.timeUtc = place.utcOffset == 0 ? 0.0 : -place.utcOffset;
    row.latitude = place.latitude;
    row.longitude = place.longitude;
    row.ituZone = QString::number(place.ituZone);
    row.cqZone = QString::number(place.cqZone);
    return row;
}

// Longest of the call's first 1 to 6 characters found in the index, as the program searches.
int longestMatch(const QHash<QString, int>& index, const QString& call) {
    int found = -1;
    const QString upper = call.toUpper();
    for (qsizetype i = 1; i <= qMin<qsizetype>(upper.size(), 6); ++i) {
        const auto it = index.constFind(upper.left(i));
        if (it != index.constEnd()) found = it.value();
    }
    return found;
}

// Two rows tell a typed call the same: entity, country, continent, clock, position and zones.
bool sameAnswer(const PrefRow& a, const PrefRow& b) {
    return a.dxccPrefix == b.dxccPrefix && a.country == b.country && a.continent == b.continent &&
           a.timeUtc == b.timeUtc && a.latitude == b.latitude && a.longitude == b.longitude &&
           a.ituZone == b.ituZone && a.cqZone == b.cqZone;
}

// The look-up tries "/" in place of the second-last character of 3 to 5 characters; a whole call
// of that shape would be found for calls that merely share its other characters.
bool reachableByVariant(const QString& call) {
    return call.size() >= 3 && call.size() <= 5 && call.at(call.size() - 2) == QLatin1Char('/');
}

// Island prefixes of the IOTA list that name their entity by a mark no prefix rule gives.
const QHash<QString, QString>& islandMarks() {
    static const QHash<QString, QString> marks{
        {QStringLiteral("VU(A)"), QStringLiteral("VU4")},   // Andaman & Nicobar
        {QStringLiteral("VU(L)"), QStringLiteral("VU7")},   // Lakshadweep
        {QStringLiteral("VR(HK)"), QStringLiteral("VR")},   // Hong Kong
        {QStringLiteral("CE0(A)"), QStringLiteral("CE0Y")}, // Easter Island (Isla de Pascua)
        {QStringLiteral("VP8(F)"), QStringLiteral("VP8")},  // Falkland Islands
    };
    return marks;
}

} // namespace

ReferenceData::ReferenceData(const QList<CtyEntity>& entities) : entities_(entities) {
    QHash<QString, const CtyEntity*> byPrimary;
    for (const CtyEntity& e : entities_)
        if (!e.waeOnly) byPrimary.insert(e.primaryPrefix, &e);

    for (const CtyEntity& e : entities_) {
        const CtyEntity*& dxccEntity = dxccOf_.emplace_back(&e);
        if (e.waeOnly) {
            const QString parent = waeParents().value(e.primaryPrefix);
            dxccEntity = byPrimary.value(parent);
            if (!dxccEntity)
                throw InputError(
                    {QStringLiteral("cty.dat"), 0},
                    QStringLiteral("no DXCC entity known for the WAE entity *%1").arg(e.primaryPrefix));
        } else {
            dxcc.append({e.primaryPrefix, e.name.left(30), e.place.continent});
        }

        // One PREF row per place the entity's prefixes use; the entity's own place is named by its
        // primary prefix, any other by the first prefix that lies there.
        QList<QPair<CtyPlace, int>>& places = placesOf_.emplace_back();
        for (const CtyPrefix& p : e.prefixes) {
            if (p.prefix.size() > 5) continue;
            int row = -1;
            for (const auto& [place, index] : std::as_const(places))
                if (place == p.place) row = index;
            if (row < 0) {
                const QString name = p.place == e.place ? e.primaryPrefix : p.prefix;
                row = addPref(prefRow(name, dxccEntity->primaryPrefix, dxccEntity->name, p.place));
                places.append({p.place, row});
            }
            const QString key = p.prefix.toUpper();
            if (allPrefIndex_.contains(key)) {
                ++duplicatePrefixes;
                continue;
            }
            allPrefIndex_.insert(key, allPref.size());
            allPref.append({p.prefix, pref.at(row).prefix, {}});
            ctyAllPref_.insert(key, row);
        }
    }
}

int ReferenceData::addPref(const PrefRow& row) {
    const QString key = row.prefix.toUpper();
    if (row.prefix.isEmpty() || row.prefix.size() > 5 || prefIndex_.contains(key))
        throw InputError(
            {QStringLiteral("cty.dat"), 0},
            QStringLiteral("PREF prefix \"%1\" is empty, too long or not unique").arg(row.prefix));
    prefIndex_.insert(key, pref.size());
    pref.append(row);
    return pref.size() - 1;
}

const PrefRow* ReferenceData::lookUp(const QString& call) const {
    const int row = longestMatch(allPrefIndex_, call);
    if (row < 0) return nullptr;
    const auto it = prefIndex_.constFind(allPref.at(row).prefix.toUpper());
    return it == prefIndex_.constEnd() ? nullptr : &pref.at(it.value());
}

QString ReferenceData::unusedPrefName(const QString& seed) const {
    const QString upper = seed.toUpper();
    if (!prefIndex_.contains(upper.left(5))) return seed.left(5);
    static const QString alphabet = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    for (const QChar c : alphabet)
        if (!prefIndex_.contains(upper.left(4) + c)) return seed.left(4) + c;
    throw InputError({QStringLiteral("cty.dat"), 0}, QStringLiteral("no PREF name left for %1").arg(seed));
}

// The PREF row of an entity's place, added when none lies there yet.
int ReferenceData::placeRow(qsizetype entity, const CtyPlace& place, const QString& seed) {
    for (const auto& [known, row] : std::as_const(placesOf_.at(entity)))
        if (known == place) return row;
    const CtyEntity& e = entities_.at(entity);
    const CtyEntity& dxccEntity = *dxccOf_.at(entity);
    const QString name = place == e.place && !prefIndex_.contains(e.primaryPrefix.toUpper())
                             ? e.primaryPrefix
                             : unusedPrefName(seed);
    const int row = addPref(prefRow(name, dxccEntity.primaryPrefix, dxccEntity.name, place));
    placesOf_[entity].append({place, row});
    return row;
}

void ReferenceData::addWholeCalls() {
    const QHash<QString, int> ordinary = allPrefIndex_; // the look-up by prefixes and regions alone
    const auto ordinaryRow = [&](const QString& call) -> const PrefRow* {
        const int row = longestMatch(ordinary, call);
        return row < 0 ? nullptr : &pref.at(prefIndex_.value(allPref.at(row).prefix.toUpper()));
    };
    QStringList kept;
    for (qsizetype i = 0; i < entities_.size(); ++i) {
        for (const CtyPrefix& call : entities_.at(i).calls) {
            const QString key = call.prefix.toUpper();
            if (key.size() > 6) {
                ++wholeCallsTooLong;
                continue;
            }
            if (allPrefIndex_.contains(key) || reachableByVariant(key)) {
                ++wholeCallsShadowed;
                continue;
            }
            const CtyEntity& dxccEntity = *dxccOf_.at(i);
            const PrefRow wanted = prefRow({}, dxccEntity.primaryPrefix, dxccEntity.name, call.place);
            if (const PrefRow* row = ordinaryRow(key); row && sameAnswer(*row, wanted)) {
                ++wholeCallsAsPrefix;
                continue;
            }
            const int row = placeRow(i, call.place, call.prefix);
            allPrefIndex_.insert(key, allPref.size());
            allPref.append({call.prefix, pref.at(row).prefix, kWholeCall});
            kept << key;
        }
    }
    wholeCallsKept = int(kept.size());

    // "VP6D" is Ducie Island, "VP6DB" is Pitcairn again; a six-character call stands alone.
    static const QString next = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    for (const QString& call : std::as_const(kept)) {
        if (call.size() >= 6) continue;
        const PrefRow& whole =
            pref.at(prefIndex_.value(allPref.at(allPrefIndex_.value(call)).prefix.toUpper()));
        for (const QChar c : next) {
            const QString longer = call + c;
            if (allPrefIndex_.contains(longer)) continue;
            const PrefRow* row = ordinaryRow(longer);
            if (!row || sameAnswer(*row, whole)) continue;
            allPrefIndex_.insert(longer, allPref.size());
            allPref.append({longer, row->prefix, kAfterWholeCall});
            ++wholeCallGuards;
        }
    }
}

void ReferenceData::correctUtcOffsets(const QList<UtcCorrection>& corrections, const QString& sourceName) {
    // Whole entities first, so a region's own offset stands over its entity's.
    for (const bool regional : {false, true}) {
        for (const UtcCorrection& c : corrections) {
            if (c.oblast.isEmpty() == regional) continue;
            const InputError::Where where{sourceName, c.line};
            if (c.timeUtc < -12 || c.timeUtc > 14)
                throw InputError(where, QStringLiteral("TimeUTC must lie between -12 and 14"));
            QStringList prefixes; // the PREF rows to correct
            if (!regional) {
                for (const PrefRow& p : std::as_const(pref))
                    if (p.dxccPrefix == c.entity) prefixes << p.prefix;
            } else {
                for (const RegionRow& r : std::as_const(regions))
                    if (r.oblast == c.oblast && r.countryPref == c.entity) prefixes << r.prefix;
            }
            if (prefixes.isEmpty())
                throw InputError(
                    where, QStringLiteral("no rows of entity %1%2")
                               .arg(c.entity, regional ? QStringLiteral(" region ") + c.oblast : QString()));
            for (const QString& prefix : std::as_const(prefixes))
                pref[prefIndex_.value(prefix.toUpper())].timeUtc = c.timeUtc;
        }
    }
}

QString ReferenceData::ctyEntityOf(const QString& prefix) const {
    const int row = longestMatch(ctyAllPref_, prefix);
    return row < 0 ? QString() : pref.at(row).dxccPrefix;
}

void ReferenceData::addRegions(const QList<RegionSource>& sources, const QString& sourceName) {
    static const QRegularExpression russianKey(QStringLiteral("^[0-9][A-Z]$"));
    static const QRegularExpression ukrainianKey(QStringLiteral("^[A-Z]$"));
    static const QRegularExpression oblast(QStringLiteral("^[A-Z]{2}$"));
    for (const RegionSource& s : sources) {
        const InputError::Where where{sourceName, s.line};
        const bool russian = s.country == QLatin1String("RU");
        if (!russian && s.country != QLatin1String("UA"))
            throw InputError(where, QStringLiteral("country must be RU or UA"));
        if (!(russian ? russianKey : ukrainianKey).match(s.key).hasMatch())
            throw InputError(where, QStringLiteral("bad region key \"%1\"").arg(s.key));
        if (!oblast.match(s.oblast).hasMatch() || s.name.isEmpty() || s.name.size() > 25)
            throw InputError(where,
                             QStringLiteral("region code must be two letters, name 1 to 25 characters"));

        // The region's own PREF row lies where cty.dat puts a typical call of the region.
        const QString regionPrefix = russian ? QStringLiteral("UA") + s.key : QStringLiteral("UR-") + s.key;
        const QString typicalCall =
            russian ? QStringLiteral("UA%1AA").arg(s.key) : QStringLiteral("UR5%1AA").arg(s.key);
        const int base = longestMatch(ctyAllPref_, typicalCall);
        if (base < 0)
            throw InputError(where, QStringLiteral("cty.dat knows no entity for %1").arg(typicalCall));
        if (pref.at(base).dxccPrefix != s.countryPref)
            throw InputError(where, QStringLiteral("cty.dat puts %1 in %2, not %3")
                                        .arg(typicalCall, pref.at(base).dxccPrefix, s.countryPref));
        PrefRow row = pref.at(base);
        row.prefix = regionPrefix;
        if (prefIndex_.contains(regionPrefix.toUpper()))
            throw InputError(where, QStringLiteral("region key %1 listed twice").arg(s.key));
        addPref(row);
        regions.append({s.oblast, regionPrefix, s.name, s.countryPref});

        const QString digits = russian ? s.key.left(1) : QStringLiteral("0123456789");
        const QString letter = s.key.right(1);
        for (const QString& family : russian ? russianFamilies() : ukrainianFamilies()) {
            for (const QChar digit : digits) {
                const QString prefix = family + digit + letter;
                if (ctyEntityOf(prefix) != s.countryPref) {
                    ++familyPrefixesLeft;
                    continue;
                }
                const auto it = allPrefIndex_.constFind(prefix);
                if (it != allPrefIndex_.constEnd()) {
                    allPref[it.value()].prefix = regionPrefix;
                    ++prefixesTakenByRegions;
                } else {
                    allPrefIndex_.insert(prefix, allPref.size());
                    allPref.append({prefix, regionPrefix, {}});
                }
            }
        }
    }
}

void ReferenceData::addIslands(const QList<IotaSource>& islands) {
    for (const IotaSource& island : islands) {
        QString entity = resolveIsland(island);
        if (entity.isEmpty()) {
            unresolvedIslands << island.ref + QLatin1Char(' ') + island.prefix;
            entity = island.prefix.left(10);
        }
        iota.append({island.ref, entity, island.islandName.left(100)});
    }
}

// The entity of an island: a typical call built from the call pattern or the prefix goes through the
// same look-up as a typed call; marked prefixes ("FT(Z)", "UA(AS)") name an entity of cty.dat.
QString ReferenceData::resolveIsland(const IotaSource& island) const {
    static const QRegularExpression charClass(QStringLiteral(R"(\[(.)[^\]]*\])"));
    static const QRegularExpression plain(QStringLiteral("^[A-Z0-9/]+$"));
    static const QRegularExpression marked(QStringLiteral(R"(^([A-Z0-9]+)\(([A-Z]+)\)$)"));

    if (!island.pattern.isEmpty() && !island.pattern.contains(QLatin1Char('('))) {
        QString call = island.pattern;
        call.replace(charClass, QStringLiteral("\\1"));
        if (plain.match(call).hasMatch())
            if (const PrefRow* row = lookUp(call)) return row->dxccPrefix;
    }
    const QString form = island.pattern.contains(QLatin1Char('(')) ? island.pattern : island.prefix;
    if (const QString entity = islandMarks().value(form); !entity.isEmpty())
        return std::any_of(entities_.begin(), entities_.end(),
                           [&](const CtyEntity& e) { return !e.waeOnly && e.primaryPrefix == entity; })
                   ? entity
                   : QString();
    const QRegularExpressionMatch m = marked.match(form);
    if (m.hasMatch()) return entityPrefixByMark(m.captured(1), m.captured(2));
    if (!plain.match(form).hasMatch()) return {};
    // An entity prefix names its entity ("IS" is Sardinia, though calls "IS" alone would find Italy).
    QString entity;
    for (const CtyEntity& e : entities_)
        if (!e.waeOnly && form.startsWith(e.primaryPrefix) && e.primaryPrefix.size() > entity.size())
            entity = e.primaryPrefix;
    if (entity == form) return entity;
    // "TU" only has calls "TU0".."TU9".
    for (const QString& call : {form, form + QLatin1Char('1')})
        if (const PrefRow* row = lookUp(call)) return row->dxccPrefix;
    // Entities without call prefixes of their own ("BS7H"): the longest entity prefix it starts with.
    return entity;
}

QString ReferenceData::entityPrefixByMark(const QString& base, const QString& mark) const {
    static const QStringList continents{QStringLiteral("AF"), QStringLiteral("AN"), QStringLiteral("AS"),
                                        QStringLiteral("EU"), QStringLiteral("NA"), QStringLiteral("OC"),
                                        QStringLiteral("SA")};
    const auto dxccEntities = [this](auto accept) -> QString {
        for (const CtyEntity& e : entities_)
            if (!e.waeOnly && accept(e)) return e.primaryPrefix;
        return {};
    };
    if (continents.contains(mark)) {
        // "UA(AS)": the entity of that prefix on that continent, the prefix's own first.
        const QString own = dxccEntities(
            [&](const CtyEntity& e) { return e.primaryPrefix == base && e.place.continent == mark; });
        if (!own.isEmpty()) return own;
        return dxccEntities([&](const CtyEntity& e) {
            return e.primaryPrefix.startsWith(base) && e.place.continent == mark;
        });
    }
    // "VP8(S)" is cty.dat's "VP8/s", "E51(N)" its "E5/n", "JD1(O)" its "JD/o".
    for (QString stem = base; !stem.isEmpty();) {
        const QString bySlash = dxccEntities([&](const CtyEntity& e) {
            return e.primaryPrefix.compare(stem + QLatin1Char('/') + mark, Qt::CaseInsensitive) == 0;
        });
        if (!bySlash.isEmpty()) return bySlash;
        if (!stem.back().isDigit()) break;
        stem.chop(1);
    }
    // "PY0(F)" is "PY0F", "R1(F)" "R1FJ".
    return dxccEntities([&](const CtyEntity& e) { return e.primaryPrefix.startsWith(base + mark); });
}

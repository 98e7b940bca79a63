#include "CtyFile.h"

#include "InputError.h"

#include <QFile>
#include <QRegularExpression>

namespace {

double toNumber(const QString& text, const InputError::Where& where, const char* what) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok) throw InputError(where, QStringLiteral("%1 is not a number: \"%2\"").arg(what, text.trimmed()));
    return value;
}

int toZone(const QString& text, const InputError::Where& where, const char* what) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value <= 0)
        throw InputError(where, QStringLiteral("bad %1: \"%2\"").arg(what, text.trimmed()));
    return value;
}

CtyEntity parseEntityLine(const QString& line, const InputError::Where& where) {
    const QStringList fields = line.split(QLatin1Char(':'));
    // Eight fields, each closed by ":".
    if (fields.size() != 9 || !fields.at(8).trimmed().isEmpty())
        throw InputError(where, QStringLiteral("an entity line needs eight fields ending with \":\""));
    CtyEntity entity;
    entity.name = fields.at(0).trimmed();
    entity.place.cqZone = toZone(fields.at(1), where, "CQ zone");
    entity.place.ituZone = toZone(fields.at(2), where, "ITU zone");
    entity.place.continent = fields.at(3).trimmed();
    entity.place.latitude = toNumber(fields.at(4), where, "latitude");
    entity.place.longitude = toNumber(fields.at(5), where, "longitude");
    entity.place.utcOffset = toNumber(fields.at(6), where, "UTC offset");
    QString primary = fields.at(7).trimmed();
    if (primary.startsWith(QLatin1Char('*'))) {
        entity.waeOnly = true;
        primary.remove(0, 1);
    }
    entity.primaryPrefix = primary;
    if (entity.name.isEmpty() || primary.isEmpty() || entity.place.continent.size() != 2)
        throw InputError(where, QStringLiteral("entity line without name, continent or prefix"));
    return entity;
}

// One entry of a prefix list, e.g. "R9F(17)[30]" or the whole call "=UA9KBF/6".
void addEntry(CtyEntity& entity, const QString& entry, const InputError::Where& where) {
    static const QRegularExpression shape(QStringLiteral(
        R"(^(=?)([A-Z0-9/]+)((?:\(\d+\)|\[\d+\]|<[-+0-9.]+/[-+0-9.]+>|\{[A-Z]{2}\}|~[-+0-9.]+~)*)$)"));
    static const QRegularExpression override(
        QStringLiteral(R"(\((\d+)\)|\[(\d+)\]|<([-+0-9.]+)/([-+0-9.]+)>|\{([A-Z]{2})\}|~([-+0-9.]+)~)"));
    const QRegularExpressionMatch m = shape.match(entry);
    if (!m.hasMatch()) throw InputError(where, QStringLiteral("malformed prefix entry \"%1\"").arg(entry));

    CtyPrefix prefix{m.captured(2), entity.place};
    auto it = override.globalMatch(m.captured(3));
    while (it.hasNext()) {
        const QRegularExpressionMatch o = it.next();
        if (o.capturedLength(1)) prefix.place.cqZone = toZone(o.captured(1), where, "CQ zone");
        if (o.capturedLength(2)) prefix.place.ituZone = toZone(o.captured(2), where, "ITU zone");
        if (o.capturedLength(3)) {
            prefix.place.latitude = toNumber(o.captured(3), where, "latitude");
            prefix.place.longitude = toNumber(o.captured(4), where, "longitude");
        }
        if (o.capturedLength(5)) prefix.place.continent = o.captured(5);
        if (o.capturedLength(6)) prefix.place.utcOffset = toNumber(o.captured(6), where, "UTC offset");
    }
    (m.captured(1).isEmpty() ? entity.prefixes : entity.calls).append(prefix);
}

} // namespace

QList<CtyEntity> parseCty(const QString& text, const QString& sourceName) {
    QList<CtyEntity> entities;
    QString pending; // prefix list text not yet closed by ";"
    int line = 0;
    int lastLine = 0; // the last line with text
    bool open = false;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        ++line;
        const InputError::Where where{sourceName, line};
        const QString trimmed = raw.trimmed();
        if (trimmed.isEmpty()) continue;
        lastLine = line;
        if (!raw.at(0).isSpace()) {
            if (open)
                throw InputError(where, QStringLiteral("entity line before the last list ended with \";\""));
            entities.append(parseEntityLine(trimmed, where));
            open = true;
            continue;
        }
        if (!open) throw InputError(where, QStringLiteral("prefix list without an entity line"));
        pending += trimmed;
        if (!pending.endsWith(QLatin1Char(';'))) continue;
        pending.chop(1);
        for (const QString& entry : pending.split(QLatin1Char(','), Qt::SkipEmptyParts))
            addEntry(entities.last(), entry.trimmed(), where);
        pending.clear();
        open = false;
    }
    if (open)
        throw InputError({sourceName, lastLine},
                         QStringLiteral("the last prefix list does not end with \";\""));
    if (entities.isEmpty()) throw InputError({sourceName, 0}, QStringLiteral("no entities"));
    return entities;
}

QList<CtyEntity> readCtyFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw InputError({path, 0}, file.errorString());
    // The country file is plain ASCII.
    return parseCty(QString::fromLatin1(file.readAll()), path);
}

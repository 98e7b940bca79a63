#include "platform/DateText.h"

namespace DateText {

QString shortDate(const QDate& d) {
    return d.isValid() ? d.toString(QString::fromLatin1(ShortDate)) : QString();
}

QString longTime(const QTime& t) {
    return t.isValid() ? t.toString(QString::fromLatin1(LongTime)) : QString();
}

QString dateTime(const QDateTime& dt) {
    if (!dt.isValid()) return QString();
    if (dt.time() == QTime(0, 0)) return shortDate(dt.date());
    return shortDate(dt.date()) + " " + longTime(dt.time());
}

QDate parseShortDate(const QString& s) {
    const QString t = s.trimmed();
    QDate d = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    if (!d.isValid()) d = QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
    return d;
}

QTime parseLongTime(const QString& s) {
    const QString t = s.trimmed();
    QTime r = QTime::fromString(t, QStringLiteral("H:mm:ss"));
    if (!r.isValid()) r = QTime::fromString(t, QStringLiteral("H:mm"));
    return r;
}

QDateTime parseDateTime(const QString& s) {
    const QString t = s.trimmed();
    const int blank = t.indexOf(' ');
    if (blank < 0) {
        const QDate d = parseShortDate(t);
        if (d.isValid()) return QDateTime(d, QTime(0, 0));
        const QTime tm = parseLongTime(t);
        return tm.isValid() ? QDateTime(zeroDate(), tm) : QDateTime();
    }
    const QDate d = parseShortDate(t.left(blank));
    const QTime tm = parseLongTime(t.mid(blank + 1));
    if (!d.isValid() || !tm.isValid()) return QDateTime();
    return QDateTime(d, tm);
}

QDate zeroDate() {
    return QDate(1899, 12, 30);
}

} // namespace DateText

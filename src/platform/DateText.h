#pragma once
// The fixed date and time texts the system shows and compares: short date "dd.MM.yyyy",
// long time "HH:mm:ss", whatever the machine's locale.

#include <QDateTime>
#include <QString>

namespace DateText {
inline constexpr const char* ShortDate = "dd.MM.yyyy";
inline constexpr const char* LongTime = "HH:mm:ss";

QString shortDate(const QDate& d);
QString longTime(const QTime& t);
QString dateTime(const QDateTime& dt);     // short date + " " + long time (time left out at midnight)
QDate parseShortDate(const QString& s);    // invalid QDate on failure
QTime parseLongTime(const QString& s);     // accepts "H:mm" and "H:mm:ss"
QDateTime parseDateTime(const QString& s); // "dd.MM.yyyy[ HH:mm[:ss]]"; invalid on failure
// The framework's zero date: a time alone is a date-time on this day.
QDate zeroDate();
} // namespace DateText

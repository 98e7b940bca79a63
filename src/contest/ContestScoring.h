#pragma once
// The rules of contest mode as values: the points grid of a configuration, the points of one
// contact, the running total and the stepping sent serial number.

#include <QString>
#include <QStringList>
#include <optional>

namespace ContestScoring {

inline constexpr int BandCount = 14;
inline constexpr int GroupCount = 4; // CW, SSB, RTTY, other

// The band texts of the points grid, in its row order ("1.8" ... "Satellite").
const QStringList& bandTexts();
// The row labels of the grid ("Sat" for "Satellite").
const QStringList& bandLabels();
// The key of each band in the cell names (18 MHz is "180": "18" is 1.8 MHz).
const QStringList& bandKeys();
// Cell and up-down names: "Point" + key + group suffix ("", "s", "r", "o").
QString cellName(int group, int band);
QString upDownName(int group, int band);
// The built-in points of a new configuration.
QString defaultCell(int group, int band);

// The mode group of a mode text: exactly "CW", "SSB" (also "USB" and "LSB", stored as SSB),
// "RTTY", any other text.
int modeGroup(const QString& mode);
// The grid row of a band text; the transceiver's "1,8" and "3,5" count as "1.8" and "3.5".
// -1 when the band has no row ("7.0", "137", "Q").
int bandIndex(const QString& band);

// A cell's points times the factor as decimal text with ","; empty when the cell does not read.
QString points(const QString& cellText, int factor);
// The total plus the points; an empty or unreadable number adds nothing.
QString addPoints(const QString& total, const QString& points);
// The total less what a contact scored before and plus what it scores now.
QString replacePoints(const QString& total, const QString& was, const QString& now);

// Whole number padded with zeros to 3 digits ("7" -> "007"; "1000" stays).
QString padSerial(int n);
// The sent number after one contact; nullopt when the number or the step is not a whole number.
std::optional<QString> nextSerial(const QString& sent, const QString& step);
// True when the text begins with a digit "0" to "9".
bool beginsWithDigit(const QString& text);

} // namespace ContestScoring

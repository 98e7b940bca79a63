#pragma once
// What the awards window counts and shows, without the window: the worked or confirmed items
// per band and mode under the window's filter, and the saved award queries of a log file.

#include <QString>
#include <array>

class Connection;

namespace AwardStatistic {

// The 14 counted bands (cell codes, in the order of the count panel) and the 5 counted modes.
constexpr int kBands = 14;
constexpr int kModes = 5;
extern const std::array<const char*, kBands> kBandCodes;    // "18", "35", "70", ... "1260"
extern const std::array<const char*, kModes> kModeSuffixes; // "cw", "ssb", "rtty", "psk", "oth"

struct Counts {
    std::array<std::array<int, kModes>, kBands> cells{}; // items with a counted cell, per band and mode
    std::array<int, kModes> modeTotals{};                // items with a counted cell of the mode on any band
};

// Counts the rows of AwardMixInfo that the filter (in the datasets' filter syntax) selects: a
// cell counts when it holds "cfm", or also "wkd" unless confirmedOnly. Throws DbError.
Counts count(Connection& log, const QString& filter, bool confirmedOnly);

// Gives a log file written by an earlier version the item lists and saved award queries it
// lacks, the lists filled from the reference database; true when the file was changed.
bool ensureViews(Connection& log, Connection& reference);

} // namespace AwardStatistic

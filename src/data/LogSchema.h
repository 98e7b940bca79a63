#pragma once
// Log and media files written by an earlier version, brought up to the columns this one stores.

#include <QString>

class Connection;

namespace LogSchema {

// The characters LogBand holds: "Satellite" and the band names an import keeps ("60m", "6cm").
constexpr int kBandSize = 10;
// The characters a recording's Callsignal holds: a whole call as the call box and LogCall take.
constexpr int kRecordingCallSize = 20;

// Widens a narrower text column of a table to size characters, keeping every row, key and
// index; true when the file was changed. Runs before the datasets of the table open, which read
// the sizes once.
bool widenText(Connection& c, const QString& table, const QString& column, int size);

// LogBand of the log file to kBandSize.
bool upgrade(Connection& c);
// Callsignal of the media file's recordings to kRecordingCallSize.
bool upgradeMedia(Connection& c);

} // namespace LogSchema

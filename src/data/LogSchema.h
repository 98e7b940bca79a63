#pragma once
// Log files written by an earlier version, brought up to the columns this one stores.

class Connection;

namespace LogSchema {

// The characters LogBand holds: "Satellite" and the band names an import keeps ("60m", "6cm").
constexpr int kBandSize = 10;

// Widens a narrower LogBand to kBandSize, keeping every row, key and index; true when the file
// was changed. Runs before the log's datasets open, which read the sizes once.
bool upgrade(Connection& c);

} // namespace LogSchema

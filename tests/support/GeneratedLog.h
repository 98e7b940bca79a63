#pragma once
// A large log for benchmarks: contacts spread over real prefixes, bands, modes and dates, with
// the award marks those contacts raise.

#include <QString>

// Adds `contacts` contacts to book 1 of the log database in `logFile` (and their DXCC and WAZ
// marks). Deterministic for a given count.
void generateLog(const QString& logFile, int contacts);

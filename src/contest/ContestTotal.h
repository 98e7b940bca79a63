#pragma once
// The points total of a view of the log: one bound query over the view's filter, so a whole
// book is summed without walking its rows.

#include <QString>

class Connection;

namespace ContestTotal {
// The sum of the non-empty points (decimal texts with ",") of the rows of the table that the
// filter (the view's own, in its filter syntax; empty for all rows) lets through. Points that do
// not read as a number add nothing.
QString pointsTotal(Connection& c, const QString& table, const QString& filter);
} // namespace ContestTotal

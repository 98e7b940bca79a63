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
// The sent exchange (Log3) of the book's latest contact (highest key) whose sent exchange begins
// with a digit; empty when no contact of the book carries a sent number.
QString latestSentNumber(Connection& c, qint64 book);
} // namespace ContestTotal

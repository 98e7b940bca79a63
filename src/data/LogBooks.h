#pragma once
// Log books as stored: moving every contact of one book into another, award marks included.

#include <QtGlobal>

class Connection;

namespace LogBooks {

// Moves the contacts of book `from` into book `to` and returns how many were moved. Award marks
// that both books hold for the same item become one row of `to`, each cell the higher of the two
// ("cfm" over "wkd" over anything else), with the readable name of `from`; the other marks of
// `from` go to `to` as they are. A book moved onto itself keeps its marks. When either book does
// not exist nothing moves and the count is 0. All or nothing: throws DbError with nothing moved.
int moveBook(Connection& c, qint64 from, qint64 to);

} // namespace LogBooks

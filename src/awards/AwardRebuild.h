#pragma once
// The whole-log award rebuild on connections of its own: bring every contact not yet normalised
// into its normal form, then replace the award marks of every book by the marks its contacts
// raise. Window-free, so it runs on a worker thread and in the benchmark.

#include <QString>
#include <functional>

class Connection;

namespace AwardRebuild {

// What the rebuild reports as it goes; every member may be empty.
struct Progress {
    std::function<void(int position)> pass1; // 1-based row of the first pass
    std::function<void(int maximum)> pass2Start;
    std::function<void(int position)> pass2; // 1-based row of the second pass
};

// Rows of table Log over all books.
int countContacts(Connection& log);

// Leading and trailing blanks and control characters removed.
QString strippedText(const QString& s);

// Pass 1: every row whose Log1 is not exactly "upd" gets the look-up of its trimmed call
// (`reference` is the reference database) and its trimmed texts, and is stamped "upd".
// One transaction; an error rolls the pass back and is thrown (DbError).
void normaliseContacts(Connection& log, Connection& reference, const Progress& progress = {});

// Pass 2: deletes every award mark and marks every contact again, in LogNom order, with the same
// result as marking each contact in turn. One transaction: on an error the old marks stay and the
// error is thrown (DbError).
void remarkContacts(Connection& log, const Progress& progress = {});

// Both passes.
void rebuild(Connection& log, Connection& reference, const Progress& progress = {});

} // namespace AwardRebuild

#pragma once
// The callbook table CB_W: look-up, add, change and delete of one entry, and the export and
// import of changed entries through the exchange file. Window-free; every value is bound.

#include <QDate>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <stdexcept>

class Connection;
class QIODevice;

struct CallbookEntry {
    QString call, name, qth, qthLoc, note, email;
    int other = 0;
    QVariant updateStamp; // as stored
    QVariant birthday;    // as stored; null or the zero date-time means none
};

namespace CallbookStore {

// Text widths of the columns; the panel's boxes and the import keep to them.
inline constexpr int CallWidth = 20;
inline constexpr int NameWidth = 50;
inline constexpr int QthWidth = 50;
inline constexpr int QthLocWidth = 10;
inline constexpr int NoteWidth = 250;
inline constexpr int EMailWidth = 50;

// The change mark of an entry added or changed here since the last export.
inline constexpr int ChangedMark = 27;

// Progress of a long walk: entries done so far of the total.
using Progress = std::function<void(int done, int total)>;

// The zero date-time that stands for "no birthday" ("00:00").
QVariant noBirthday();
// True when a stored date is empty or the zero date-time.
bool isZeroDate(const QVariant& stored);

// A two-digit-year birthday "dd.MM.yy" read with the latest century that keeps it not after today;
// invalid when the text is not such a date.
QDate birthdayFromPanel(const QString& text, const QDate& today);
// A stored birthday as the panel shows it ("dd.MM.yy"); "00.00.00" for none.
QString birthdayToPanel(const QVariant& stored);

struct Found {
    qint64 rowId = 0;
    CallbookEntry entry;
};
// The entry of a call, its letter case ignored (Latin and Cyrillic alike).
std::optional<Found> find(Connection& c, const QString& call);
// A new entry with the change mark and today's date.
void insert(Connection& c, const CallbookEntry& e, const QDate& today);
// Rewrites the entry of a row with the change mark and today's date.
void update(Connection& c, qint64 rowId, const CallbookEntry& e, const QDate& today);
void remove(Connection& c, qint64 rowId);

// Number of entries changed since the last export.
int changedCount(Connection& c);
// Writes the header and every changed entry to the exchange file; returns the number written.
// Throws DbError for a database error, FileError for a device error.
int exportChanged(Connection& c, QIODevice& out, const Progress& progress = {});
// Marks every entry as exported.
void clearChangeMarks(Connection& c);

struct ImportResult {
    int count = 0;     // lines after the header
    int added = 0;     // new entries
    int updated = 0;   // known entries rewritten
    int shortCall = 0; // lines whose call has 2 characters or fewer
    int bad = 0;       // unreadable lines skipped: no separator, a call too long
    int cut = 0;       // values cut to their column's width
};
// Adds or updates one entry per line of the exchange file, in transactions of `batch` lines.
// A database error ends the import after committing the lines before it (thrown as DbError).
ImportResult importFile(Connection& c, QIODevice& in, const QDate& today, const Progress& progress = {},
                        int batch = 1000);

// A file that cannot be written.
class FileError : public std::runtime_error {
public:
    explicit FileError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

} // namespace CallbookStore

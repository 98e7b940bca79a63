#pragma once
// Award marks: which cells of an award row a contact raises, the keys of the seven awards, and
// the writing of one mark. Window-free so the whole-log rebuild can run it on its own thread.

#include <QString>
#include <QStringList>
#include <optional>

class Connection;

namespace AwardMarks {

// The band code of a band text ("7" and "7.0" -> "70", "18" -> "180"); empty when unknown.
QString bandCode(const QString& band);
// The mode suffixes of a band in test order ("cw", "ssb", "rtty", "fm", "digit", "psk", "oth").
QStringList modeSuffixes(const QString& bandCode);
// The suffix a mode selects on a band: exactly one of the band's suffixes ("oth" when none else holds).
QString modeSuffix(const QString& bandCode, const QString& mode);
// Cell names: "Band14", "Band14cw"; empty when the band is unknown.
QString bandCell(const QString& band);
QString bandModeCell(const QString& band, const QString& mode);
// Every cell column of the table, band cells first, as the table holds them.
const QStringList& allCells();

// A mark never lowers "cfm"; any other old value takes the new status.
QString raised(const QString& old, const QString& status);

// Composite values: parts joined by ":;". Cuts the first part off `rest` (not trimmed); without
// a separator the part is empty and only the first character of `rest` goes.
QString cutPart(QString& rest);
// The three parts A, B, C of a user-award value.
struct Parts3 {
    QString a, b, c;
};
Parts3 splitComposite(const QString& value);
QString joinComposite(const QString& a, const QString& b, const QString& c);
// The callbook import's field cutter: the first part with blanks removed.
QString takeAwardPart(QString& line);

// One award item to mark.
struct AwardItem {
    QString awName, param1, param2, param3, other;
};

// The stored columns of a contact that the rebuild reads its keys from.
struct StoredQso {
    QString pref, obl, awWAZ, awUR, awIOTA, awWAS, awUser1, awUser2;
};
// The award items of a stored contact, in marking order, with the skips of the rebuild.
QList<AwardItem> itemsFromStoredQso(const StoredQso& q);

// The key (Num) of the row of (book, item keys), 0 when there is none. A null key reads as the
// empty text, as rows written by other tools hold them. Throws DbError.
qint64 findAwardRow(Connection& c, qint64 book, const AwardItem& item);

// Finds or appends the row of (book, item keys), sets its readable name and raises the band
// cell and the band-and-mode cell of the contact. Throws DbError.
void markAwardCell(Connection& c, int book, const AwardItem& item, const QString& band, const QString& mode,
                   const QString& status);

} // namespace AwardMarks

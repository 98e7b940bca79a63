#pragma once
// How values are stored and read back: dates as ISO text ("2024-03-10"), times "09:05:30",
// yes/no 0/1, texts cut to their column; and how a stored value reads as text for the windows.

#include "dataset/TableSchema.h"

#include <QDateTime>
#include <QVariant>

namespace StoredValue {

// The form a bound value takes: QDate "yyyy-MM-dd", QTime "HH:mm:ss", QDateTime
// "yyyy-MM-dd HH:mm:ss" (time only on the framework's zero date 1899-12-30), bool 0/1;
// anything else unchanged.
QVariant bound(const QVariant& v);

// The value as the field stores it. With strict, a value the field cannot hold throws DbError
// and a text longer than the field is cut; otherwise (locate) it is compared as given.
QVariant forField(const FieldDef& f, const QVariant& v, bool strict);

// The stored text of a date literal ("2024-03-10", "03/10/2024" month first, "10.03.2024" day
// first, each with an optional time; or a time alone): "2024-03-10", "2024-03-10 09:05:30" or
// "09:05:30". Empty when the text is not a date.
QString dateTimeText(const QString& text);

// How a stored value reads: "2024-03-10", "09:05:30" (on the zero date) or
// "2024-03-10 09:05:30" as a date-time; as text, dates "dd.MM.yyyy", times "HH:mm:ss",
// yes/no "True"/"False", decimals with ",".
QDateTime dateTimeOf(const QVariant& stored);
// The date or the time of day of a stored value; the log's own forms ("2024-03-10",
// "09:05:30") are read without the general rules, which cost more than a whole walk's writing.
QDate dateOf(const QVariant& stored);
QTime timeOf(const QVariant& stored);
QString textOf(const QVariant& stored, FieldType type);
qint64 integerOf(const QVariant& stored);
double floatOf(const QVariant& stored);
bool booleanOf(const QVariant& stored);

} // namespace StoredValue

#pragma once
// Contest logs for a contest committee: the Cabrillo file, the fixed-column text file and the
// ";"-separated file, written line by line in Windows-1251 with CR LF. Works on values only.

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

class QIODevice;

namespace ContestLog {

enum class Format { Cabrillo, Text, Csv };

// One contact as the log holds it.
struct Contact {
    QString call;
    QDate date;
    QTime time;
    QString band; // the log's band text ("14", "Satellite")
    QString mode;
    QString txRst;
    QString sentExchange; // Log3
    QString rxRst;
    QString receivedExchange; // Log2
};

// The Cabrillo window's boxes.
struct CabrilloHeader {
    QString contest; // the contest name and the mode box, joined
    QString category;
    QString claimedScore;
    QString operators;
    QString club;
    QStringList address; // three lines
    QString soapbox;
};

// The five-character frequency column of a band text; any other band text unchanged. The
// Cabrillo file names 70 cm and 23 cm by their designators.
QString frequency(const QString& band, Format format);
// "SSB" -> "PH", "RTTY" -> "RY"; the Cabrillo file also writes "AM", "USB" and "LSB" as phone and
// any other mode longer than two letters as digital ("DG"): its readers know no other modes.
QString mode(const QString& logMode, Format format);
// A day-first short date ("10.03.2024", "05.03.41") -> "2024-03-10", "1941-03-05"; two-digit
// years above 40 are 19xx. A text of any other length stays as it is.
QString date(const QString& shortDate);
// A long time ("9:05:30", "14:07:00") -> "0905", "1407".
QString time(const QString& longTime);

// The QSO line of the fixed-column files from its fields in order ("QSO: ", frequency, mode,
// date, time, own call, report sent, exchange sent, call, report received, exchange received).
// Each field stands at its column, or one blank after the field before it when that one is
// longer than its own column; an empty field takes no place.
QString qsoLine(const QStringList& fields);
// A value of the ";"-separated file, quoted when it holds ";", a quote or a line break.
QString csvValue(const QString& value);

// Writes one file: the header, then the contacts, then the end line. A device that fails throws
// std::runtime_error with the device's error text.
class Writer {
public:
    Writer(QIODevice& out, Format format, const QString& ownCall);
    // The Cabrillo file takes the window's boxes; the other two files ignore them.
    void header(const CabrilloHeader& h = {});
    // False (and nothing written) for a contact lacking its call, date, time, band or mode.
    bool contact(const Contact& c);
    void end();

private:
    void line(const QString& text);
    QIODevice& out_;
    Format format_;
    QString ownCall_;
};

} // namespace ContestLog

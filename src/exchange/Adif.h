#pragma once
// ADIF in its ADI form: the export's line per contact, and a reader of whatever other programs
// write (names in any case, specifiers "<NAME:LENGTH[:TYPE]>", records over any number of lines,
// a header before the first "<" ended by <EOH>). Works on bytes and values only.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>

class QIODevice;

namespace Adif {

// One contact as the export writes it.
struct Contact {
    QString call;
    QDate date;
    QTime time;
    QString band; // the log's band text ("14", "Satellite", or a kept ADIF name such as "60m")
    QString mode;
    QString rxRst;
    QString txRst;
    QString name;
    QString qth;
    bool qslReceived = false;
    bool qslSent = false;
    bool hasNote = false;
};

// The five header lines, each ended by CR LF.
QByteArray header();
// One contact line in Windows-1251, ended by CR LF. Lengths count the encoded bytes.
QByteArray contactLine(const Contact& c);

// The ADIF band name of a log band text ("7" -> "40M"; a kept "60m" -> "60M"); empty when none.
QString bandName(const QString& logBand);
// An in-band frequency in MHz for a log band text ("10" -> "10.1"); empty when the band has none.
QString frequency(const QString& logBand);
// The log band text of a frequency in MHz; for a band the log has no text of its own, the ADIF
// band name in lower case ("5.357" -> "60m"); empty outside every band.
QString logBandOfFrequency(double mhz);
// The log band text of an ADIF band name in any case ("40m" -> "7", "SAT" -> "Satellite",
// "60M" -> "60m"); empty when it is no band name.
QString logBandOfName(const QString& adifBand);

// The fields a record keeps; every other field is read past.
enum class Field : quint8 {
    Call,
    QsoDate,
    TimeOn,
    Band,
    Freq,
    Mode,
    RstSent,
    RstRcvd,
    Name,
    Qth,
    QslSent,
    QslRcvd,
    QslSDate,
    QslRDate,
    QslVia,
    Notes,
    Comment,
};
constexpr int kFieldCount = 17;
// The field's ADIF name in upper case.
const char* fieldName(Field f);

// One record: the first value of each kept field, as read.
struct Record {
    QString values[kFieldCount];
    quint32 present = 0;   // bit per field
    bool complete = true;  // false for a record the file ends in before its <EOR>
    bool anyField = false; // a field was read, kept or not
    bool has(Field f) const { return present & (1u << int(f)); }
    const QString& value(Field f) const;
    // Keeps the value under a field name in any case; false when the name is no kept field or
    // the record holds it already.
    bool set(QStringView name, const QString& value);
    void clear() {
        present = 0;
        complete = true;
        anyField = false;
    }
};

// Reads the records of a file, one at a time, a window of its bytes at a time. A record's bytes
// are UTF-8 when valid, else Windows-1251. Values are taken by their declared length, never
// found by searching.
class Reader {
public:
    explicit Reader(QIODevice& in);
    // The next record; false at the end of the file.
    bool next(Record& r);
    // Bytes of the file read so far and in all (0 when the device cannot tell).
    qint64 position() const { return pos_; }
    qint64 size() const { return size_; }

private:
    bool fill(qint64 upTo);
    const uchar* at(qint64 p) const { return reinterpret_cast<const uchar*>(buf_.constData()) + (p - base_); }
    qint64 available() const { return base_ + qint64(buf_.size()); }
    bool have(qint64 upTo) { return upTo <= available() || fill(upTo); }
    void skipHeader();
    bool parse(Record& r, bool utf8, qint64& recordStart);
    qint64 valueEnd(qint64 start, qint64 length, bool utf8);
    bool endsValue(qint64 p, bool utf8);
    void take(Record& r, Field f, qint64 from, qint64 to, bool utf8);

    QIODevice& in_;
    QByteArray buf_; // the window: bytes [base_, base_ + size) of the file
    qint64 base_ = 0;
    qint64 keep_ = 0; // the window never drops bytes from here on
    qint64 pos_ = 0;
    qint64 size_ = 0;
    qint64 origin_ = 0; // the device's position when the reading began
    bool atEnd_ = false;
};

} // namespace Adif

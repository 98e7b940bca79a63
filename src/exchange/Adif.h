#pragma once
// ADIF in its ADI form: the export's line per contact, and a reader of whatever other programs
// write (names in any case, specifiers "<NAME:LENGTH[:TYPE]>", records over any number of lines,
// a header before the first "<" ended by <EOH>). Works on bytes and values only.

#include <QByteArray>
#include <QDate>
#include <QHash>
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

// One record: field names in upper case with their values as read.
struct Record {
    QHash<QString, QString> fields;
    bool complete = true; // false for a record the file ends in before its <EOR>
    QString value(const char* name) const { return fields.value(QString::fromLatin1(name)); }
};

// Reads the records of a whole file, one at a time. The bytes are UTF-8 when valid, else
// Windows-1251. Values are taken by their declared length, never found by searching.
class Reader {
public:
    explicit Reader(QIODevice& in);
    // The next record; false at the end of the file.
    bool next(Record& r);
    // How far the reading has come, in characters of the decoded text.
    qsizetype position() const { return pos_; }
    qsizetype size() const { return text_.size(); }

private:
    QString takeValue(qsizetype length);
    QString text_;
    qsizetype pos_ = 0;
    bool utf8_ = false;
};

} // namespace Adif

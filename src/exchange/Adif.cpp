#include "exchange/Adif.h"

#include "platform/Cp1251.h"

#include <QIODevice>
#include <QStringDecoder>
#include <iterator>

namespace Adif {

namespace {

struct Band {
    const char* name; // ADIF band name, upper case
    double low, high; // MHz, both ends included
    const char* log;  // the log's own band text; null for a band the log has no text for
    const char* freq; // the frequency written for the log's band text
};

// The ADIF band plan; the log's texts are those the band box offers.
const Band kBands[] = {
    {"2190M", 0.1357, 0.1378, nullptr, nullptr},
    {"630M", 0.472, 0.479, nullptr, nullptr},
    {"560M", 0.501, 0.504, nullptr, nullptr},
    {"160M", 1.8, 2.0, "1.8", "1.8"},
    {"80M", 3.5, 4.0, "3.5", "3.5"},
    {"60M", 5.06, 5.45, nullptr, nullptr},
    {"40M", 7.0, 7.3, "7", "7"},
    {"30M", 10.1, 10.15, "10", "10.1"},
    {"20M", 14.0, 14.35, "14", "14"},
    {"17M", 18.068, 18.168, "18", "18.068"},
    {"15M", 21.0, 21.45, "21", "21"},
    {"12M", 24.89, 24.99, "24", "24.89"},
    {"10M", 28.0, 29.7, "28", "28"},
    {"8M", 40.0, 45.0, nullptr, nullptr},
    {"6M", 50.0, 54.0, "50", "50"},
    {"5M", 54.000001, 69.9, nullptr, nullptr},
    {"4M", 70.0, 71.0, nullptr, nullptr},
    {"2M", 144.0, 148.0, "144", "144"},
    {"1.25M", 222.0, 225.0, nullptr, nullptr},
    {"70CM", 420.0, 450.0, "430", "430"},
    {"33CM", 902.0, 928.0, nullptr, nullptr},
    {"23CM", 1240.0, 1300.0, "1260", "1260"},
    {"13CM", 2300.0, 2450.0, nullptr, nullptr},
    {"9CM", 3300.0, 3500.0, nullptr, nullptr},
    {"6CM", 5650.0, 5925.0, nullptr, nullptr},
    {"3CM", 10000.0, 10500.0, nullptr, nullptr},
    {"1.25CM", 24000.0, 24250.0, nullptr, nullptr},
    {"6MM", 47000.0, 47200.0, nullptr, nullptr},
    {"4MM", 75500.0, 81000.0, nullptr, nullptr},
    {"2.5MM", 119980.0, 123000.0, nullptr, nullptr},
    {"2MM", 134000.0, 149000.0, nullptr, nullptr},
    {"1MM", 241000.0, 250000.0, nullptr, nullptr},
    {"SUBMM", 300000.0, 7500000.0, nullptr, nullptr},
};

const QString kSatellite = QStringLiteral("Satellite");

const Band* bandOfLogText(const QString& logBand) {
    for (const Band& b : kBands) {
        if (b.log ? logBand == QLatin1String(b.log)
                  : logBand.compare(QLatin1String(b.name), Qt::CaseInsensitive) == 0)
            return &b;
    }
    return nullptr;
}

QString logText(const Band& b) {
    return b.log ? QString::fromLatin1(b.log) : QString::fromLatin1(b.name).toLower();
}

void appendPart(QByteArray& line, const char* tag, const QString& value) {
    const QByteArray bytes = Cp1251::encode(value);
    line += '<';
    line += tag;
    line += ':';
    line += QByteArray::number(bytes.size());
    line += '>';
    line += bytes;
    line += ' ';
}

bool endsValue(const QString& text, qsizetype at) {
    if (at >= text.size()) return true;
    const QChar c = text.at(at);
    return c == QLatin1Char('<') || c.isSpace();
}

} // namespace

QByteArray header() {
    return QByteArrayLiteral(
        "Zelmor - \r\nSoftware by QX7ZV\r\nZelmor Log team\r\nZelmor, Ukraine\r\n<EOH>\r\n");
}

QByteArray contactLine(const Contact& c) {
    QByteArray line;
    line.reserve(200);
    appendPart(line, "CALL", c.call);
    appendPart(line, "QSO_DATE", c.date.isValid() ? c.date.toString(QStringLiteral("yyyyMMdd")) : QString());
    appendPart(line, "TIME_ON", c.time.isValid() ? c.time.toString(QStringLiteral("HHmm")) : QString());
    appendPart(line, "BAND", bandName(c.band));
    const QString freq = frequency(c.band);
    if (!freq.isEmpty()) appendPart(line, "FREQ", freq);
    appendPart(line, "MODE", c.mode);
    appendPart(line, "RST_RCVD", c.rxRst);
    appendPart(line, "RST_SENT", c.txRst);
    if (!c.name.isEmpty()) appendPart(line, "NAME", c.name);
    if (!c.qth.isEmpty()) appendPart(line, "QTH", c.qth);
    line += c.qslReceived ? "<QSL_RCVD:1>Y " : "<QSL_RCVD:1>N ";
    line += c.qslSent ? "<QSL_SENT:1>Y " : "<QSL_SENT:1>N ";
    if (c.hasNote) line += "<NOTES:18>Format only Zelmor ";
    line += "<EOR>\r\n";
    return line;
}

QString bandName(const QString& logBand) {
    if (logBand == kSatellite) return QStringLiteral("SAT");
    const Band* b = bandOfLogText(logBand);
    return b ? QString::fromLatin1(b->name) : QString();
}

QString frequency(const QString& logBand) {
    const Band* b = bandOfLogText(logBand);
    return b && b->freq ? QString::fromLatin1(b->freq) : QString();
}

QString logBandOfFrequency(double mhz) {
    constexpr double eps = 1e-9;
    for (const Band& b : kBands)
        if (mhz >= b.low - eps && mhz <= b.high + eps) return logText(b);
    return {};
}

QString logBandOfName(const QString& adifBand) {
    const QString name = adifBand.trimmed();
    if (name.compare(QLatin1String("SAT"), Qt::CaseInsensitive) == 0) return kSatellite;
    for (const Band& b : kBands)
        if (name.compare(QLatin1String(b.name), Qt::CaseInsensitive) == 0) return logText(b);
    return {};
}

// --- reading -------------------------------------------------------------------------------------

Reader::Reader(QIODevice& in) {
    const QByteArray bytes = in.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text_ = utf8.decode(bytes);
    utf8_ = !utf8.hasError();
    if (!utf8_) text_ = Cp1251::decode(bytes);
    if (text_.startsWith(QChar(0xFEFF))) text_.remove(0, 1);
    // Free text before the first "<" is a header that <EOH> ends.
    if (!text_.startsWith(QLatin1Char('<'))) {
        const qsizetype eoh = text_.indexOf(QLatin1String("<EOH>"), 0, Qt::CaseInsensitive);
        if (eoh >= 0) pos_ = eoh + 5;
    }
}

QString Reader::takeValue(qsizetype length) {
    qsizetype take = std::min(length, text_.size() - pos_);
    // A UTF-8 file whose lengths count bytes: the character reading runs into the next field,
    // the byte reading ends where a value should.
    if (utf8_ && !endsValue(text_, pos_ + take)) {
        qsizetype bytes = 0, chars = 0;
        while (bytes < length && pos_ + chars < text_.size()) {
            const char16_t u = text_.at(pos_ + chars).unicode();
            if (QChar::isHighSurrogate(u) && pos_ + chars + 1 < text_.size()) {
                bytes += 4;
                chars += 2;
                continue;
            }
            bytes += u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
            ++chars;
        }
        if (bytes == length && chars < take && endsValue(text_, pos_ + chars)) take = chars;
    }
    const QString value = text_.mid(pos_, take);
    pos_ += take;
    return value;
}

bool Reader::next(Record& r) {
    r.fields.clear();
    r.complete = true;
    const qsizetype n = text_.size();
    for (;;) {
        const qsizetype open = pos_ < n ? text_.indexOf(QLatin1Char('<'), pos_) : -1;
        if (open < 0) {
            pos_ = n;
            // The file ends inside a record.
            r.complete = false;
            return !r.fields.isEmpty();
        }
        qsizetype j = open + 1;
        while (j < n) {
            const QChar c = text_.at(j);
            if (c == QLatin1Char(':') || c == QLatin1Char('>') || c == QLatin1Char('<') || c.isSpace()) break;
            ++j;
        }
        const QString name = text_.mid(open + 1, j - open - 1).toUpper();
        pos_ = open + 1; // a "<" that starts no specifier is plain text
        if (j >= n || name.isEmpty()) continue;
        if (text_.at(j) == QLatin1Char('>')) {
            pos_ = j + 1;
            if (name == QLatin1String("EOR")) {
                if (!r.fields.isEmpty()) return true;
            } else if (name == QLatin1String("EOH")) {
                r.fields.clear();
            }
            continue;
        }
        if (text_.at(j) != QLatin1Char(':')) continue;
        qsizetype k = j + 1;
        qint64 length = 0;
        while (k < n && text_.at(k).isDigit() && length < 100000000) {
            length = length * 10 + text_.at(k).digitValue();
            ++k;
        }
        if (k == j + 1 || k >= n) continue;
        if (text_.at(k) == QLatin1Char(':')) { // a data type
            ++k;
            while (k < n && text_.at(k).isLetter())
                ++k;
        }
        if (k >= n || text_.at(k) != QLatin1Char('>')) continue;
        pos_ = k + 1;
        const QString value = takeValue(length);
        if (!r.fields.contains(name)) r.fields.insert(name, value);
    }
}

} // namespace Adif

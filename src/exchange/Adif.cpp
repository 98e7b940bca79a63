#include "exchange/Adif.h"

#include "platform/Cp1251.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>

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

namespace {

const char* const kFieldNames[kFieldCount] = {
    "CALL", "QSO_DATE", "TIME_ON",  "BAND",     "FREQ",     "MODE",    "RST_SENT", "RST_RCVD", "NAME",
    "QTH",  "QSL_SENT", "QSL_RCVD", "QSLSDATE", "QSLRDATE", "QSL_VIA", "NOTES",    "COMMENT"};

// Bytes read in at a time; a record or value longer than this extends the window.
constexpr qint64 kWindow = 1 << 20;
// A kept value is copied up to this many bytes: every column it goes to is far shorter, so the
// cut is counted all the same.
constexpr qint64 kKeptBytes = 1 << 16;
// Longer declared lengths are no specifier.
constexpr qint64 kMaxLength = 100000000;

uchar upper(uchar c) {
    return c >= 'a' && c <= 'z' ? uchar(c - 32) : c;
}

bool nameIs(const uchar* p, qint64 n, const char* name) {
    for (qint64 i = 0; i < n; ++i)
        if (!name[i] || upper(p[i]) != uchar(name[i])) return false;
    return name[n] == 0;
}

int fieldOf(const uchar* p, qint64 n) {
    for (int f = 0; f < kFieldCount; ++f)
        if (nameIs(p, n, kFieldNames[f])) return f;
    return -1;
}

bool asciiSpace(uchar c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

int utf8Length(uchar lead) {
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

bool asciiOnly(const uchar* p, qint64 n) {
    for (qint64 i = 0; i < n; ++i)
        if (p[i] >= 0x80) return false;
    return true;
}

// Whether the bytes are UTF-8 without overlong forms, surrogates or codes past U+10FFFF.
bool validUtf8(const uchar* p, qint64 n) {
    const uchar* e = p + n;
    while (p < e) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const uchar c = *p;
        int more;
        char32_t code;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (e - p <= more) return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            code = code << 6 | (p[i] & 0x3F);
        }
        if ((more == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (more == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        p += more + 1;
    }
    return true;
}

} // namespace

const char* fieldName(Field f) {
    return kFieldNames[int(f)];
}

const QString& Record::value(Field f) const {
    static const QString none;
    return has(f) ? values[int(f)] : none;
}

bool Record::set(QStringView name, const QString& value) {
    const QByteArray latin = name.toLatin1();
    const int f = fieldOf(reinterpret_cast<const uchar*>(latin.constData()), latin.size());
    if (f < 0 || has(Field(f))) return false;
    values[f] = value;
    present |= 1u << f;
    return true;
}

Reader::Reader(QIODevice& in) : in_(in) {
    origin_ = in.isSequential() ? 0 : in.pos();
    size_ = in.isSequential() ? 0 : std::max<qint64>(0, in.size() - origin_);
    skipHeader();
}

bool Reader::fill(qint64 upTo) {
    while (available() < upTo && !atEnd_) {
        // The bytes before the record being read are done with.
        if (keep_ > base_) {
            const qint64 drop = std::min(keep_, available()) - base_;
            buf_.remove(0, qsizetype(drop));
            base_ += drop;
        }
        // A window at a time: a declared length may reach far past the end of the file.
        const qint64 want = kWindow;
        const qsizetype had = buf_.size();
        buf_.resize(had + qsizetype(want));
        const qint64 got = in_.read(buf_.data() + had, want);
        buf_.resize(had + qsizetype(std::max<qint64>(got, 0)));
        if (got <= 0) atEnd_ = true;
    }
    return available() >= upTo;
}

void Reader::skipHeader() {
    if (have(3) && std::memcmp(at(0), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
    keep_ = pos_;
    if (!have(pos_ + 1) || *at(pos_) == '<') return;
    // Free text before the first "<" is a header that <EOH> ends.
    const qint64 start = pos_;
    const bool seekable = !in_.isSequential();
    for (qint64 p = start; have(p + 5);) {
        const qint64 last = available() - 5;
        for (; p <= last; ++p) {
            if (*at(p) == '<' && nameIs(at(p + 1), 3, "EOH") && *at(p + 4) == '>') {
                pos_ = keep_ = p + 5;
                return;
            }
        }
        // A device that cannot go back keeps the text for the reading without a header.
        if (seekable) keep_ = p;
    }
    pos_ = start;
    if (seekable && keep_ > start) {
        in_.seek(origin_ + start);
        buf_.clear();
        base_ = keep_ = start;
        atEnd_ = false;
    }
}

bool Reader::endsValue(qint64 p, bool utf8) {
    if (!have(p + 1)) return true;
    const uchar c = *at(p);
    if (c == '<' || asciiSpace(c)) return true;
    if (c < 0x80) return false;
    if (!utf8) return c == 0xA0; // the code page's no-break space
    const int n = utf8Length(c);
    if (n == 1 || !have(p + n)) return false;
    const QString ch = QString::fromUtf8(reinterpret_cast<const char*>(at(p)), n);
    return ch.size() == 1 && ch.at(0).isSpace();
}

qint64 Reader::valueEnd(qint64 from, qint64 length, bool utf8) {
    have(from + length);
    qint64 end = from;
    if (!utf8) {
        end = std::min(from + length, available());
    } else {
        for (qint64 units = 0; units < length;) {
            if (!have(end + 1)) break;
            const uchar c = *at(end);
            const int n = c < 0x80 ? 1 : utf8Length(c);
            units += n == 4 ? 2 : 1;
            end += n;
        }
        if (!have(end)) end = available();
    }
    if (endsValue(end, utf8)) return end;
    // Lengths that count UTF-8 bytes.
    const qint64 byteEnd = from + length;
    if (utf8 && byteEnd < end && (*at(byteEnd) & 0xC0) != 0x80 && endsValue(byteEnd, utf8)) return byteEnd;
    // Line ends turned into bare LFs after the lengths were counted with CR LF.
    qint64 p = from, counted = 0;
    bool bareLf = false;
    while (counted < length && p < end) {
        const uchar c = *at(p);
        if (c == '\n' && (p == from || *at(p - 1) != '\r')) {
            bareLf = true;
            counted += 2;
            ++p;
        } else {
            const int n = utf8 && c >= 0x80 ? utf8Length(c) : 1;
            counted += n == 4 ? 2 : 1;
            p += n;
        }
    }
    if (bareLf && counted == length && p < end && endsValue(p, utf8)) return p;
    return end;
}

void Reader::take(Record& r, Field f, qint64 from, qint64 to, bool utf8) {
    const qint64 n = std::min(to - from, kKeptBytes);
    const uchar* p = at(from);
    QString& s = r.values[int(f)];
    if (asciiOnly(p, n)) {
        // Into the string's own storage, which the next record reuses.
        s.resize(qsizetype(n));
        QChar* d = s.data();
        for (qint64 i = 0; i < n; ++i)
            d[i] = QChar(p[i]);
    } else if (utf8) {
        s = QString::fromUtf8(reinterpret_cast<const char*>(p), qsizetype(n));
    } else {
        s = Cp1251::decode(QByteArray(reinterpret_cast<const char*>(p), qsizetype(n)));
    }
    r.present |= 1u << int(f);
}

bool Reader::parse(Record& r, bool utf8, qint64& first) {
    for (;;) {
        // The next "<"; text outside specifiers is read past.
        qint64 open = -1;
        while (open < 0) {
            if (!have(pos_ + 1)) {
                pos_ = available();
                // The file ends inside a record.
                r.complete = false;
                return false;
            }
            const uchar* p = at(pos_);
            const auto* hit = static_cast<const uchar*>(std::memchr(p, '<', size_t(available() - pos_)));
            if (hit) {
                open = pos_ + (hit - p);
            } else {
                pos_ = available();
                if (!r.anyField) keep_ = pos_;
            }
        }
        if (!r.anyField) keep_ = open;
        qint64 j = open + 1;
        while (have(j + 1)) {
            const uchar c = *at(j);
            if (c == ':' || c == '>' || c == '<' || c >= 0x80 || asciiSpace(c)) break;
            ++j;
        }
        pos_ = open + 1; // a "<" that starts no specifier is plain text
        if (!have(j + 1) || j == open + 1) continue;
        if (*at(j) == '>') {
            pos_ = j + 1;
            if (nameIs(at(open + 1), j - open - 1, "EOR")) {
                if (r.anyField) return true;
            } else if (nameIs(at(open + 1), j - open - 1, "EOH")) {
                r.clear();
                first = -1;
                keep_ = pos_;
            }
            continue;
        }
        if (*at(j) != ':') continue;
        const int field = fieldOf(at(open + 1), j - open - 1);
        qint64 k = j + 1, length = 0;
        while (have(k + 1) && *at(k) >= '0' && *at(k) <= '9' && length < kMaxLength) {
            length = length * 10 + (*at(k) - '0');
            ++k;
        }
        if (k == j + 1 || !have(k + 1)) continue;
        if (*at(k) == ':') { // a data type
            ++k;
            while (have(k + 1) && (*at(k) | 0x20) >= 'a' && (*at(k) | 0x20) <= 'z')
                ++k;
        }
        if (!have(k + 1) || *at(k) != '>') continue;
        if (!r.anyField) {
            r.anyField = true;
            first = open;
        }
        const qint64 from = k + 1, to = valueEnd(from, length, utf8);
        if (field >= 0 && !r.has(Field(field))) take(r, Field(field), from, to, utf8);
        pos_ = to;
    }
}

bool Reader::next(Record& r) {
    r.clear();
    qint64 first = -1;
    bool ended = parse(r, true, first);
    // A record's bytes decide its own code page: a stray byte elsewhere changes nothing here.
    if (r.anyField && !validUtf8(at(first), pos_ - first)) {
        pos_ = first;
        r.clear();
        ended = parse(r, false, first);
    }
    keep_ = pos_;
    return ended || r.anyField;
}

} // namespace Adif

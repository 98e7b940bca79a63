#include "exchange/ContestLog.h"

#include "platform/Cp1251.h"
#include "platform/DateText.h"

#include <QHash>
#include <QIODevice>
#include <algorithm>
#include <array>
#include <stdexcept>

namespace ContestLog {

namespace {

// 1-based columns of the QSO line's fields, in their order.
constexpr std::array<int, 11> kColumns{1, 6, 12, 15, 26, 31, 45, 49, 56, 70, 74};
// The blanks a line keeps beyond its fields' texts, so lines whose fields fit stay as they were.
constexpr int kSpareBlanks = 35;

} // namespace

QString frequency(const QString& band, Format format) {
    static const QHash<QString, QString> kHz{
        {"1.8", " 1800"}, {"3.5", " 3500"}, {"7", " 7000"},   {"10", "10100"}, {"14", "14000"},
        {"18", "18168"},  {"21", "21000"},  {"24", "24900"},  {"28", "28000"}, {"50", "   50"},
        {"144", "  144"}, {"430", "  430"}, {"1260", " 1260"}};
    if (format == Format::Cabrillo) {
        if (band == QLatin1String("430")) return QStringLiteral("  432");
        if (band == QLatin1String("1260")) return QStringLiteral(" 1.2G");
    }
    // The transceiver link writes 160 m and 80 m with a decimal comma.
    if (band == QLatin1String("1,8") || band == QLatin1String("3,5"))
        return kHz.value(QString(band).replace(',', '.'));
    return kHz.value(band, band);
}

QString mode(const QString& logMode, Format format) {
    if (logMode == QLatin1String("SSB")) return QStringLiteral("PH");
    if (logMode == QLatin1String("RTTY")) return QStringLiteral("RY");
    if (format == Format::Cabrillo) {
        for (const char* phone : {"AM", "USB", "LSB"})
            if (logMode == QLatin1String(phone)) return QStringLiteral("PH");
        if (logMode.size() > 2) return QStringLiteral("DG");
    }
    return logMode;
}

QString date(const QString& shortDate) {
    const QString day = shortDate.mid(0, 2), month = shortDate.mid(3, 2);
    if (shortDate.size() == 8) {
        const QString year = shortDate.mid(6, 2);
        return (year.toInt() > 40 ? QStringLiteral("19") : QStringLiteral("20")) + year + '-' + month + '-' +
               day;
    }
    if (shortDate.size() == 10) return shortDate.mid(6, 4) + '-' + month + '-' + day;
    return shortDate;
}

QString time(const QString& longTime) {
    if (longTime.size() > 1 && longTime.at(1) == QLatin1Char(':'))
        return QLatin1Char('0') + longTime.left(1) + longTime.mid(2, 2);
    return longTime.left(2) + longTime.mid(3, 2);
}

QString qsoLine(const QStringList& fields) {
    QString line;
    qsizetype texts = 0;
    for (qsizetype i = 0; i < fields.size() && i < qsizetype(kColumns.size()); ++i) {
        const QString& f = fields[i];
        texts += f.size();
        if (f.isEmpty()) continue;
        qsizetype used = line.size();
        while (used > 0 && line.at(used - 1) == QLatin1Char(' '))
            --used;
        const qsizetype at = used > 0 ? std::max<qsizetype>(kColumns[i] - 1, used + 1) : kColumns[i] - 1;
        line.resize(at, QLatin1Char(' '));
        line += f;
    }
    if (line.size() < kSpareBlanks + texts) line.resize(kSpareBlanks + texts, QLatin1Char(' '));
    return line;
}

QString csvValue(const QString& value) {
    static const QString kSpecial = QStringLiteral(";\"\r\n");
    if (std::none_of(value.begin(), value.end(), [](QChar c) { return kSpecial.contains(c); })) return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

Writer::Writer(QIODevice& out, Format format, const QString& ownCall)
    : out_(out), format_(format), ownCall_(ownCall) {}

void Writer::line(const QString& text) {
    const QByteArray bytes = Cp1251::encode(text) + "\r\n";
    if (out_.write(bytes) != bytes.size()) throw std::runtime_error(out_.errorString().toStdString());
}

void Writer::header(const CabrilloHeader& h) {
    line(QStringLiteral("START-OF-LOG: 2.0"));
    line(QStringLiteral("CREATED-BY: Zelmor Software by QX7ZV"));
    if (format_ == Format::Csv) {
        line(QString());
        line(QStringLiteral("Call;Date;Time;Freq;Mode;TX RST;TX Rprt;RX RST;RX Rprt"));
    }
    if (format_ != Format::Cabrillo) return;
    line(QStringLiteral("ARRL-SECTION:"));
    line(QStringLiteral("CONTEST: ") + h.contest);
    line(QStringLiteral("CALLSIGN: ") + ownCall_);
    line(QStringLiteral("CATEGORY: ") + h.category);
    line(QStringLiteral("CLAIMED-SCORE: ") + h.claimedScore);
    line(QStringLiteral("OPERATORS: ") + h.operators);
    line(QStringLiteral("CLUB: ") + h.club);
    for (int i = 0; i < 3; ++i)
        line(QStringLiteral("ADDRESS: ") + h.address.value(i));
    line(QStringLiteral("SOAPBOX: ") + h.soapbox);
}

bool Writer::contact(const Contact& c) {
    const QString d = date(DateText::shortDate(c.date));
    const QString t = time(DateText::longTime(c.time));
    const QString m = mode(c.mode, format_);
    const QString f = format_ == Format::Csv ? c.band : frequency(c.band, format_);
    if (c.call.isEmpty() || d.isEmpty() || t.isEmpty() || f.isEmpty() || m.isEmpty()) return false;
    if (format_ == Format::Csv) {
        QStringList values{c.call, d, t, f, m, c.txRst, c.sentExchange, c.rxRst, c.receivedExchange};
        for (QString& v : values)
            v = csvValue(v);
        line(values.join(QLatin1Char(';')));
    } else {
        line(qsoLine({QStringLiteral("QSO: "), f, m, d, t, ownCall_, c.txRst, c.sentExchange, c.call, c.rxRst,
                      c.receivedExchange}));
    }
    return true;
}

void Writer::end() {
    line(QStringLiteral("END-OF-LOG:"));
}

} // namespace ContestLog

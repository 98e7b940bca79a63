#include "station/TrxProtocol.h"

#include <QStringList>
#include <array>
#include <limits>

namespace {

struct BandRow {
    qint64 from;
    qint64 below;
    const char* band;
};
constexpr BandRow kBands[] = {{1'000'000, 3'000'000, "1,8"},         {3'000'000, 5'000'000, "3,5"},
                              {5'000'000, 9'000'000, "7"},           {9'000'000, 12'000'000, "10"},
                              {12'000'000, 16'000'000, "14"},        {16'000'000, 19'000'000, "18"},
                              {19'000'000, 23'000'000, "21"},        {23'000'000, 26'000'000, "24"},
                              {26'000'000, 35'000'000, "28"},        {45'000'000, 65'000'000, "50"},
                              {135'000'000, 160'000'000, "144"},     {400'000'000, 500'000'000, "430"},
                              {1'000'000'000, 2'000'000'000, "1260"}};

constexpr int kMenuRows = 52;
constexpr int kMenuValues = 13;
using MenuTable = std::array<std::array<QString, kMenuValues>, kMenuRows>;

// Built once: the reader looks texts up while a new link may be opening.
MenuTable buildMenuTable() {
    MenuTable t;
    const auto set = [&t](std::initializer_list<int> rows, const QStringList& texts) {
        for (int r : rows)
            for (int v = 0; v < texts.size(); ++v)
                t[r][v] = texts[v];
    };
    const auto counted = [](const QString& first, int from, int to) {
        QStringList out;
        if (!first.isEmpty()) out << first;
        for (int i = from; i <= to; ++i)
            out << QString::number(i);
        return out;
    };
    set({0}, {"OFF", "d4", "d3", "d2", "d1"});
    set({1, 21, 25, 34, 47}, counted("OFF", 1, 9));
    set({2}, {"100", "500", "1000"});
    set({3}, {"1", "5", "10"});
    set({4}, {"1", "5", "10", "12,5", "20", "25"});
    set({5, 7, 8, 9, 11, 22, 23, 26, 27, 28, 30, 36, 37, 38, 39, 48}, {"OFF", "ON"});
    set({6}, {"10", "9"});
    set({10}, {"TO", "CO"});
    set({12}, {"7,5", "20"});
    set({13}, {"2,4", "2"});
    set({14, 50}, {"OFF", "HB", "FP", "BB", "C"});
    set({15}, {"0", "5", "10", "15", "20", "25"});
    set({16}, counted({}, 0, 9));
    set({17}, {"Low", "High"});
    set({18}, {"88,5"});
    set({19}, {"B", "C"});
    QStringList pitch, voltage;
    for (int v = 0; v < kMenuValues; ++v) {
        pitch << QString::number(400 + 50 * v);
        voltage << QStringLiteral("%1,%2").arg((25 + v) / 10).arg((25 + v) % 10);
    }
    set({20}, pitch);
    set({24}, {"10"});
    set({29}, {"170", "200", "425", "850"});
    set({31}, {"1275", "2125"});
    set({32}, {"OFF", "1200", "300", "PSK"});
    set({33}, {"0", "1", "2"});
    set({35}, {"12-1", "24-1", "48-1", "48-2", "96-1", "192-1", "384-1", "576-1"});
    set({40}, {"OFF", "50", "144", "430"});
    set({41, 42, 43, 44, 45}, {"NO"});
    set({46}, {"OFF", "1800", "500", "270"});
    set({49}, voltage);
    set({51}, counted("Auto", 1, 9));
    return t;
}

const MenuTable& menuTable() {
    static const MenuTable table = buildMenuTable();
    return table;
}

// Reads fields at fixed positions (counted from 1) of one reply; a position past its end reads
// as empty. The first number that does not convert fails the reader for good.
class Fields {
public:
    explicit Fields(QStringView s) : s_(s) {}
    bool ok() const { return ok_; }

    QChar at(int pos) const { return pos >= 1 && pos <= s_.size() ? s_[pos - 1] : QChar(); }
    QString text(int from, int to) const { return range(from, to).toString(); }
    QString raw(int from, int to) const {
        if (from > s_.size()) return {};
        return s_.mid(from - 1, std::min<qsizetype>(to, s_.size()) - from + 1).toString();
    }
    // A signed 32-bit decimal number; on failure nothing is stored and decoding stops.
    bool number(int from, int to, qint32& out) {
        if (!ok_) return false;
        const QStringView t = range(from, to);
        bool converted = !t.isEmpty();
        qint64 v = 0;
        for (qsizetype i = 0; converted && i < t.size(); ++i) {
            const QChar c = t[i];
            if (i == 0 && (c == u'+' || c == u'-') && t.size() > 1) continue;
            if (c < u'0' || c > u'9')
                converted = false;
            else if ((v = v * 10 + (c.unicode() - u'0')) > qint64(std::numeric_limits<qint32>::max()) + 1)
                converted = false;
        }
        if (converted && t[0] == u'-') v = -v;
        if (converted && v > std::numeric_limits<qint32>::max()) converted = false;
        if (!converted) {
            ok_ = false;
            return false;
        }
        out = qint32(v);
        return true;
    }

private:
    QStringView range(int from, int to) const {
        if (from > s_.size()) return {};
        QStringView r = s_.mid(from - 1, std::min<qsizetype>(to, s_.size()) - from + 1);
        while (!r.isEmpty() && r.front() == u' ')
            r = r.mid(1);
        while (!r.isEmpty() && r.back() == u' ')
            r.chop(1);
        return r;
    }
    QStringView s_;
    bool ok_ = true;
};

QString oneOr(QChar c, const QString& one, const QString& other) {
    return c == u'1' ? one : other;
}

template <std::size_t N> void fromTable(QChar c, const std::array<QString, N>& texts, QString& field) {
    const int i = c.unicode() - u'0';
    if (i >= 0 && i < int(N)) field = texts[i];
}

void offOn(QChar c, QString& field) {
    static const std::array<QString, 2> texts{"OFF", "ON"};
    fromTable(c, texts, field);
}

void mode(QChar c, QString& field) {
    static const std::array<QString, 10> modes{"NOT SELECTION", "LSB", "USB",           "CW",  "FM", "AM",
                                               "RTTY",          "CW",  "NOT SELECTION", "RTTY"};
    fromTable(c, modes, field);
}

void vfo(QChar c, QString& field) {
    static const std::array<QString, 3> vfos{"VFO-A", "VFO-B", "MEMORY"};
    fromTable(c, vfos, field);
}

// Which two-letter codes occur anywhere in a reply, found in one pass over it.
class CodesPresent {
public:
    explicit CodesPresent(QStringView s) {
        for (qsizetype i = 0; i + 1 < s.size(); ++i) {
            const int a = index(s[i]), b = index(s[i + 1]);
            if (a >= 0 && b >= 0) pairs_[a * 26 + b] = true;
        }
    }
    bool operator()(const char* code) const { return pairs_[(code[0] - 'A') * 26 + (code[1] - 'A')]; }

private:
    static int index(QChar c) { return c >= u'A' && c <= u'Z' ? c.unicode() - u'A' : -1; }
    std::array<bool, 26 * 26> pairs_{};
};

bool frequency(Fields& f, qint32& freq, QString& band) {
    if (!f.number(3, 13, freq)) return false;
    band = trxBandOfFrequency(freq);
    return true;
}

} // namespace

QString trxBandOfFrequency(qint64 hz) {
    static const auto names = [] {
        std::array<QString, std::size(kBands)> n;
        for (std::size_t i = 0; i < n.size(); ++i)
            n[i] = QString::fromLatin1(kBands[i].band);
        return n;
    }();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (hz >= kBands[i].from && hz < kBands[i].below) return names[i];
    return QStringLiteral("NO");
}

QString trxMenuText(int number, int value) {
    if (number < 0 || number >= kMenuRows || value < 0 || value >= kMenuValues) return {};
    return menuTable()[number][value];
}

bool decodeTrxReply(QStringView reply, TrxStatus& st) {
    while (!reply.isEmpty() && reply.front() <= u' ')
        reply = reply.mid(1);
    while (!reply.isEmpty() && reply.back() <= u' ')
        reply.chop(1);
    Fields f(reply);
    InDataTRX& d = st.data;
    const CodesPresent has(reply);
    static const QString On = QStringLiteral("ON"), Off = QStringLiteral("OFF");
    static const QString Inline = QStringLiteral("INLINE"), Thru = QStringLiteral("THRU");
    const QChar c3 = f.at(3);

    if (has("FA") && !frequency(f, d.FreqA, d.BandA)) return false;
    if (has("FB") && !frequency(f, d.FreqB, d.BandB)) return false;
    if (has("AC")) {
        d.TunerRx = oneOr(c3, Inline, Thru);
        d.TunerTx = oneOr(f.at(4), Inline, Thru);
        d.TunerOn = oneOr(f.at(5), On, Off);
    }
    if (has("AG") && !f.number(3, 5, d.AfGain)) return false;
    if (has("AI") && !f.number(3, 3, d.AutoInfo)) return false;
    if (has("AN") && !f.number(3, 3, d.Antenna)) return false;
    static const std::array<QString, 3> beatCancel{"OFF", "ON", "ON ENHANCED"};
    if (has("BC")) fromTable(c3, beatCancel, d.BeatCancel);
    if (has("BY")) offOn(c3, d.Busy);
    if (has("CA")) offOn(c3, d.CwTune);
    if (has("FR")) vfo(c3, d.RxVfo);
    if (has("FT")) vfo(c3, d.TxVfo);
    if (has("FS")) offOn(c3, d.FineStep);
    if (has("FW") && !f.number(3, 6, d.FilterWidth)) return false;
    if (has("GT")) {
        const QString t = f.text(3, 5);
        if (t == u"002")
            d.AgcTime = QStringLiteral("FAST");
        else if (t == u"004")
            d.AgcTime = QStringLiteral("SLOW");
    }
    if (has("IS") && !f.number(3, 7, d.IfShift)) return false;
    if (has("KS") && !f.number(3, 5, d.KeySpeed)) return false;
    if (has("KY")) d.KeyerBuffer = c3 == u'0' ? QStringLiteral("OK") : QStringLiteral("NOT");
    if (has("LK")) d.Lock = c3 == u'0' ? QStringLiteral("UNLOCK") : QStringLiteral("LOCK");
    if (has("MC")) d.MemChannel = f.text(4, 6);
    if (has("MD")) mode(c3, d.Mode);
    if (has("MG") && !f.number(3, 5, d.MicGain)) return false;
    if (has("NB")) d.NoiseBlanker = oneOr(c3, On, Off);
    static const std::array<QString, 3> noiseReduction{"OFF", "NR-1", "NR-2"};
    if (has("NR")) fromTable(c3, noiseReduction, d.NoiseReduction);
    if (has("PA")) offOn(c3, d.PreAmp);
    if (has("PC") && !f.number(3, 5, d.Power)) return false;
    if (has("PR")) offOn(c3, d.Processor);
    if (has("PS")) offOn(c3, d.PowerSwitch);
    if (has("PT") && !f.number(3, 5, d.Pitch)) return false;
    if (has("RA")) {
        const QString t = f.text(3, 4);
        if (t == u"00")
            d.Attenuator = QStringLiteral("OFF");
        else if (t == u"01")
            d.Attenuator = QStringLiteral("ON");
    }
    if (has("RG") && !f.number(3, 5, d.RfGain)) return false;
    if (has("RM")) {
        if (!f.number(4, 7, d.Meter.Reading)) return false;
        if (c3 == u'0')
            d.Meter.Meter1 = d.Meter.Meter2 = d.Meter.Meter3 = 0;
        else if (c3 == u'1')
            d.Meter.Meter1 = 1;
        else if (c3 == u'2')
            d.Meter.Meter2 = 2;
        else if (c3 == u'3')
            d.Meter.Meter3 = 3;
    }
    if (has("RT")) offOn(c3, d.Rit);
    if (has("XT")) offOn(c3, d.Xit);
    if (has("SC")) offOn(c3, d.Scan);
    if (has("SD") && !f.number(3, 6, d.BreakInDelay)) return false;
    if (has("SH") && !f.number(3, 4, d.SlopeHigh)) return false;
    if (has("SL") && !f.number(3, 4, d.SlopeLow)) return false;
    if (has("SM") && !f.number(3, 6, d.SMeter)) return false;
    if (has("SQ") && !f.number(3, 5, d.Squelch)) return false;
    if (has("TN") && !f.number(3, 4, d.ToneNumber)) return false;
    if (has("TO")) offOn(c3, d.Tone);
    if (has("VD") && !f.number(3, 6, d.VoxDelay)) return false;
    if (has("VG") && !f.number(3, 5, d.VoxGain)) return false;
    if (has("VX")) offOn(c3, d.Vox);
    if (has("CN") && !f.number(3, 4, d.CtcssNumber)) return false;
    if (has("CT")) offOn(c3, d.Ctcss);
    if (has("ID")) {
        const QString t = f.text(3, 5);
        d.RadioId = QStringLiteral("Kenwood ");
        if (t == u"018")
            d.RadioId = QStringLiteral("Kenwood TS-570S");
        else if (t == u"017")
            d.RadioId = QStringLiteral("Kenwood TS-570D");
    }
    if (has("IF")) {
        InDataTRXInform& i = st.inform;
        if (!frequency(f, i.Freq, i.Band)) return false;
        i.Rit = oneOr(f.at(24), On, Off);
        i.Xit = oneOr(f.at(25), On, Off);
        i.MemChannel = f.text(27, 28);
        i.TxRx = oneOr(f.at(29), QStringLiteral("TX"), QStringLiteral("RX"));
        mode(f.at(30), i.Mode);
        vfo(f.at(31), i.Vfo);
        i.Scan = oneOr(f.at(32), On, Off);
        i.Split = oneOr(f.at(33), On, Off);
        i.Tone = oneOr(f.at(34), On, Off);
        i.ToneNumber = f.text(35, 36);
    }
    if (has("EX")) {
        InDataTRXMenu& m = st.menu;
        if (!f.number(3, 5, m.MenuNumber) || !f.number(6, 9, m.MenuValue)) return false;
        m.MenuText = (m.MenuNumber == 18 || m.MenuNumber == 24) ? QString::number(m.MenuValue)
                                                                : trxMenuText(m.MenuNumber, m.MenuValue);
    }
    if (has("MR")) {
        InDataTRXMemory& m = st.memory;
        m.MemKind = f.text(3, 3);
        m.Channel = f.text(5, 6);
        if (!f.number(7, 17, m.Freq)) return false;
        mode(f.at(18), m.Mode);
        m.LockOut = oneOr(f.at(19), QStringLiteral("LOCKED OUT"), QStringLiteral("NOT LOCKED OUT"));
        m.Tone = oneOr(f.at(20), On, Off);
        m.ToneNumber = f.raw(21, 22);
    }
    return true;
}

void TrxReplySplitter::feed(QByteArrayView bytes, const std::function<void(const QString& reply)>& onReply) {
    while (!bytes.isEmpty()) {
        const qsizetype end = bytes.indexOf(';');
        const QByteArrayView part = bytes.first(end < 0 ? bytes.size() : end);
        if (!overlong_ && pending_.size() + part.size() > MaxReply) {
            overlong_ = true;
            pending_.clear();
        }
        if (!overlong_) pending_.append(part);
        if (end < 0) return;
        if (!overlong_ && onReply) onReply(QString::fromLatin1(pending_));
        pending_.clear();
        overlong_ = false;
        bytes = bytes.sliced(end + 1);
    }
}

QString trxBandForEntry(const QString& bandA) {
    if (bandA.isEmpty() || bandA == u"NO") return {};
    if (bandA == u"1,8") return QStringLiteral("1.8");
    if (bandA == u"3,5") return QStringLiteral("3.5");
    return bandA;
}

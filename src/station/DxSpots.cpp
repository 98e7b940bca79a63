#include "station/DxSpots.h"

#include "dataset/Connection.h"
#include "dataset/StoredValue.h"
#include "platform/DateText.h"


namespace DxSpots {

namespace {

const QString kBlank = QStringLiteral(" ");
const QString kThirtyBlanks(30, QLatin1Char(' '));

// The text before the first blank (all of it when there is none).
QString firstWord(const QString& s) {
    const qsizetype at = s.indexOf(QLatin1Char(' '));
    return at < 0 ? s : s.left(at);
}

// s without its first `count` characters, trimmed.
QString rest(const QString& s, qsizetype count) {
    return s.mid(count).trimmed();
}

bool startsWithAny(const QString& w, std::initializer_list<const char*> heads) {
    for (const char* h : heads)
        if (w.startsWith(QLatin1String(h))) return true;
    return false;
}

} // namespace

QString pageText(const QStringList& elementTexts) {
    for (qsizetype i = elementTexts.size() - 10; i >= 0; --i)
        if (!elementTexts[i].isEmpty()) return elementTexts[i];
    return {};
}

QStringList splitSpotText(const QString& text) {
    QStringList lines;
    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype at = text.indexOf(QLatin1String("\r\n"), from);
        if (at < 0) at = text.size();
        lines.append(text.mid(from, at - from).trimmed());
        from = at + 2;
    }
    return lines;
}

Spot parseSpotLine(const QString& line) {
    Spot spot;
    QString s = line.trimmed();
    const QString dxText = firstWord(s).trimmed();
    spot.dx = dxText.left(dxText.indexOf(QLatin1String("-@")));
    // The call, its blank and one character more go.
    s = rest(s, dxText.size() + 2);
    auto takeWord = [&s](QString& field) {
        field = firstWord(s).trimmed();
        s = rest(s, field.size() + 1);
    };
    takeWord(spot.freq);
    // An empty comment column is 30 blanks after the spotter: looked for before they are trimmed
    // away, or the time and date would be read as the comment.
    spot.spotter = firstWord(s).trimmed();
    s = s.mid(spot.spotter.size() + 1);
    if (s.contains(kThirtyBlanks)) {
        s = s.trimmed();
    } else {
        s = s.trimmed();
        spot.comment = s.left(30).trimmed();
        s = rest(s, 30);
    }
    takeWord(spot.time);
    spot.date = s;
    return spot;
}

Band spotBand(const QString& freq) {
    Band b{freq, false};
    auto rule = [&](bool when, const char* band) {
        if (!when) return;
        b.text = QString::fromLatin1(band);
        b.known = true;
    };
    // Each rule looks at the text as the rules before it left it.
    const QString& w = b.text;
    rule(w.startsWith(QLatin1String("14")) && w.size() < 8, "14");
    rule(w.startsWith(QLatin1String("12")) && w.size() > 7, "1260");
    rule(startsWithAny(w, {"144", "145"}), "144");
    rule(startsWithAny(w, {"43", "44", "45", "46"}), "430");
    rule(w.startsWith(QLatin1String("35")), "3.5");
    rule(w.startsWith(QLatin1String("70")), "7");
    rule(w.startsWith(QLatin1String("10")), "10");
    rule(w.startsWith(QLatin1String("18")), "18");
    rule(w.startsWith(QLatin1String("21")), "21");
    rule(startsWithAny(w, {"24", "25"}), "24");
    rule(startsWithAny(w, {"28", "29"}), "28");
    rule(w.startsWith(QLatin1String("50")), "50");
    // 160, 80 and 40 m: their frequencies begin like other bands' or match no rule above.
    bool number = false;
    const double khz = freq.toDouble(&number);
    if (number) {
        rule(khz >= 1800 && khz <= 2000, "1.8");
        rule(khz >= 3500 && khz <= 4000, "3.5");
        rule(khz >= 7000 && khz <= 7300, "7");
    }
    return b;
}

QString spotMode(const QString& freq) {
    bool number = false;
    const double f = freq.toDouble(&number);
    QString mode = QStringLiteral("SSB");
    if (!number) return mode;
    struct Range {
        double from, to;
        bool fromIn, toIn;
        const char* mode;
    };
    static const Range kRanges[] = {
        {1800, 1841, true, false, "CW"},       {1841, 2000, true, true, "SSB"},
        {3500, 3580, true, false, "CW"},       {3580, 3599, true, true, "BPSK"},
        {3600, 3730, true, false, "SSB"},      {3730, 3740, true, true, "SSTV"},
        {3740, 4000, true, false, "SSB"},      {7000, 7034, true, true, "CW"},
        {7035, 7040, true, false, "BPSK"},     {7040, 7300, true, false, "SSB"},
        {10100, 10140, true, true, "CW"},      {10140, 10150, true, false, "BPSK"},
        {14000, 14070, true, false, "CW"},     {14070, 14075, true, false, "BPSK"},
        {14075, 14100, true, true, "RTTY"},    {14100, 14350, true, false, "SSB"},
        {14225, 14235, true, true, "SSTV"},    {18068, 18110, true, false, "CW"},
        {18100, 18110, true, true, "BPSK"},    {18110, 18168, true, false, "SSB"},
        {21000, 21450, true, true, "CW"},      {21080, 21120, true, false, "RTTY"},
        {21080, 21085, true, true, "BPSK"},    {21150, 21450, true, false, "SSB"},
        {21335, 21345, true, true, "SSTV"},    {24890, 24990, true, false, "CW"},
        {24920, 24930, true, false, "BPSK"},   {24930, 24990, true, false, "CW"},
        {28000, 30000, true, true, "CW"},      {28100, 28200, true, false, "RTTY"},
        {28100, 28106, true, false, "BPSK"},   {28675, 29700, true, false, "SSB"},
        {28800, 29300, true, false, "SSTV"},   {29550, 29700, true, false, "FM"},
        {100000, 1e300, false, false, "FM"},
    };
    for (const Range& r : kRanges) {
        const bool above = r.fromIn ? f >= r.from : f > r.from;
        const bool below = r.toIn ? f <= r.to : f < r.to;
        if (above && below) mode = QString::fromLatin1(r.mode);
    }
    return mode;
}

QString latestContact(Connection& log, const QString& call, qint64 book) {
    // The call index finds the rows; the second test keeps only the call in its exact case.
    QSqlQuery q = log.query(QStringLiteral("SELECT LogDate, LogTime FROM Log WHERE LogNameLog = ? AND LogCall = ? "
                                           "AND LogCall = ? COLLATE BINARY "
                                           "ORDER BY LogDate DESC, LogTime DESC LIMIT 1"),
                            {book, call, call});
    if (!q.next()) return {};
    const QString time = DateText::longTime(StoredValue::dateTimeOf(q.value(1)).time());
    const QString date = DateText::shortDate(StoredValue::dateTimeOf(q.value(0)).date());
    return time.left(5) + time.mid(8) + QStringLiteral(" / ") + date;
}

} // namespace DxSpots

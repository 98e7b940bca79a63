#pragma once
// The DX-spot page as values: its text cut into lines, each line into the fields of one spot,
// the band and mode a spot's frequency stands for, and the latest contact with a DX call.

#include <QString>
#include <QStringList>

class Connection;

namespace DxSpots {

// The grid holds this many spots; lines beyond them are not read.
inline constexpr int MaxSpots = 251;

struct Spot {
    QString dx, freq, spotter, comment, time, date;
    bool operator==(const Spot&) const = default;
};

// The page text among the document's element texts: the last non-empty one of all but the
// last nine elements (nothing when there are fewer than ten).
QString pageText(const QStringList& elementTexts);
// Lines ended by CR LF, each trimmed; a last line without a line break is a line too.
QStringList splitSpotText(const QString& text);
// The fields of one page line: DX call (cut at "-@"), frequency, spotter, a comment of 30
// characters, time and date, separated by blanks.
Spot parseSpotLine(const QString& line);

// The band a spot's frequency (kHz as the page writes it) stands for. known is false when no
// band covers it: text is then the frequency itself.
struct Band {
    QString text;
    bool known = false;
};
Band spotBand(const QString& freq);
// The mode usually heard at that frequency; "SSB" when none or not a number.
QString spotMode(const QString& freq);

// The latest contact with exactly this call in a log book: "HH:mm / dd.MM.yyyy", or empty.
QString latestContact(Connection& log, const QString& call, qint64 book);

} // namespace DxSpots

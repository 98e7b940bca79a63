#include "contest/ContestScoring.h"

#include "platform/NumberText.h"

namespace ContestScoring {

const QStringList& bandTexts() {
    static const QStringList t{"1.8", "3.5", "7",  "10",  "14",  "18",   "21",
                               "24",  "28",  "50", "144", "430", "1260", "Satellite"};
    return t;
}

const QStringList& bandLabels() {
    static const QStringList t{"1.8", "3.5", "7",  "10",  "14",  "18",   "21",
                               "24",  "28",  "50", "144", "430", "1260", "Sat"};
    return t;
}

const QStringList& bandKeys() {
    static const QStringList t{"18", "35", "7",  "10",  "14",  "180",  "21",
                               "24", "28", "50", "144", "430", "1260", "Sat"};
    return t;
}

static const char* const kSuffix[GroupCount] = {"", "s", "r", "o"};

QString cellName(int group, int band) {
    return QStringLiteral("Point") + bandKeys().at(band) + QLatin1String(kSuffix[group]);
}

QString upDownName(int group, int band) {
    return QStringLiteral("UpDown") + bandKeys().at(band) + QLatin1String(kSuffix[group]);
}

QString defaultCell(int group, int band) {
    // 10, 18, 24 and 50 MHz carry no contests.
    const QString key = bandKeys().at(band);
    if (key == "10" || key == "180" || key == "24" || key == "50") return QStringLiteral("0");
    return group == 1 ? QStringLiteral("1") : QStringLiteral("3");
}

int modeGroup(const QString& mode) {
    if (mode == QLatin1String("CW")) return 0;
    if (mode == QLatin1String("SSB") || mode == QLatin1String("USB") || mode == QLatin1String("LSB"))
        return 1;
    if (mode == QLatin1String("RTTY")) return 2;
    return 3;
}

int bandIndex(const QString& band) {
    QString b = band;
    if (b == QLatin1String("1,8") || b == QLatin1String("3,5")) b.replace(',', '.');
    return int(bandTexts().indexOf(b));
}

QString points(const QString& cellText, int factor) {
    double cell = 0;
    if (!NumberText::toFloat(cellText, cell)) return {};
    return NumberText::fromFloat(cell * factor);
}

static double number(const QString& text) {
    double v = 0;
    return NumberText::toFloat(text, v) ? v : 0;
}

QString addPoints(const QString& total, const QString& pts) {
    return NumberText::fromFloat(number(total) + number(pts));
}

QString replacePoints(const QString& total, const QString& was, const QString& now) {
    return NumberText::fromFloat(number(total) - number(was) + number(now));
}

QString padSerial(int n) {
    return QString::number(n).rightJustified(3, QLatin1Char('0'));
}

std::optional<QString> nextSerial(const QString& sent, const QString& step) {
    int s = 0, d = 0;
    if (!NumberText::toInt(sent, s) || !NumberText::toInt(step, d)) return std::nullopt;
    return padSerial(s + d);
}

bool beginsWithDigit(const QString& text) {
    return !text.isEmpty() && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('9');
}

} // namespace ContestScoring

#include "logbook/QthLocator.h"

#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

// Degrees per radian of the distance computation and of the azimuth computation; they differ,
// and both are kept exactly so that the results stay the ones the logbook has always shown.
constexpr double DegPerRadDistance = 57.295697;
constexpr double DegPerRadAzimuth = 57.296325;
constexpr double QuarterTurn = 1.570796;
constexpr double KmPerDegree = 111.2;
constexpr double HalfPi = 1.57079632679489661923;

// The letter `index` places after 'A', kept inside the grid's `count` letters: a value on the
// very edge (or one that floating-point rounding pushes there) stays in the last one.
QChar gridLetter(int index, int count) {
    return QChar(u'A' + std::clamp(index, 0, count - 1));
}

// Truncation of a non-negative grid offset. A value a hair below a whole number is taken as
// that number: the corner of a sub-square (5/60 of a degree is no exact binary fraction) would
// otherwise fall into the sub-square before it.
int cut(double v) {
    return static_cast<int>(std::trunc(v + 1e-9));
}

QChar gridDigit(int index) {
    return QChar(u'0' + std::clamp(index, 0, 9));
}

// arctan(v / sqrt(w)) for w >= 0, with the limit of a zero denominator instead of a division
// by zero.
double atanRatio(double v, double w) {
    if (w <= 0) return v > 0 ? HalfPi : (v < 0 ? -HalfPi : 0.0);
    return std::atan(v / std::sqrt(w));
}

double noNegativeZero(double v) {
    return v + 0.0;
}

} // namespace

std::optional<QString> CoordToLocator(double lon, double lat) {
    if (!(lon >= -180 && lon <= 180 && lat >= -90 && lat <= 90)) return std::nullopt;
    // The 180th meridian is the western edge of the first field.
    if (lon == 180) lon = -180;

    double x = lon + 180;
    double y = lat + 90;

    const int t = cut(x / 10) * 10;
    const QChar fieldLon = gridLetter(t / 20, 18);
    x -= t;
    if (t % 20 != 0) x += 10;
    const int squareLon = cut(x / 2);
    x -= 2 * squareLon;
    const QChar subLon = gridLetter(cut(x * 60 / 5), 24);

    QChar fieldLat, squareLat, subLat;
    if (lat == 90) {
        // The pole has no square north of it: it belongs to the top row.
        fieldLat = u'R';
        squareLat = u'9';
        subLat = u'X';
    } else {
        const int f = cut(y / 10);
        fieldLat = gridLetter(f, 18);
        y -= 10 * f;
        const int s = cut(y);
        squareLat = gridDigit(s);
        y -= s;
        subLat = gridLetter(cut(y * 60 / 2.5), 24);
    }

    QString loc;
    loc += fieldLon;
    loc += fieldLat;
    loc += gridDigit(squareLon);
    loc += squareLat;
    loc += subLon;
    loc += subLat;
    return loc;
}

std::optional<QString> CoordToLocator(const QString& lonText, const QString& latText) {
    double lon = 0, lat = 0;
    if (!NumberText::toFloat(lonText, lon) || !NumberText::toFloat(latText, lat)) return std::nullopt;
    return CoordToLocator(lon, lat);
}

std::optional<GeoPos> LocatorToCoord(const QString& locator) {
    const QString loc = locator.toUpper();
    if (loc.size() != 6) return std::nullopt;
    const auto inRange = [](QChar c, char16_t last) { return c >= u'A' && c <= last; };
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (!inRange(loc[0], u'R') || !inRange(loc[1], u'R') || !isDigit(loc[2]) || !isDigit(loc[3]) ||
        !inRange(loc[4], u'X') || !inRange(loc[5], u'X'))
        return std::nullopt;

    const auto from = [&](int i, char16_t base) { return static_cast<double>(loc[i].unicode() - base); };
    GeoPos p;
    p.lat = from(1, u'A') * 10 + from(3, u'0') + from(5, u'A') * 2.5 / 60 - 90;
    p.lon = from(0, u'A') * 20 + from(2, u'0') * 2 + from(4, u'A') * 5 / 60 - 180;
    return p;
}

QString coordinateText(double degrees) {
    // nearbyint rounds halves to even under the default rounding mode.
    return NumberText::fromFloat(std::nearbyint(degrees * 100) / 100);
}

DistAz DistanceAzimuth(GeoPos a, GeoPos b) {
    // The same place has neither distance nor direction (the formulas would give some 30 m
    // and a bearing of 90 degrees out of their constants' rounding).
    if (a.lon == b.lon && a.lat == b.lat) return {};
    const double k = DegPerRadDistance;
    const double x = std::sin(b.lat / k) * std::sin(a.lat / k) +
                     std::cos(a.lat / k) * std::cos(b.lat / k) * std::cos((360 + b.lon - a.lon) / k);

    // So near that rounding puts x at 1: no distance and no direction.
    if (x >= 1) return {};
    // x at -1 (antipodes) takes the limit of the arctangent instead of dividing by zero.
    const double d = (QuarterTurn - atanRatio(x, 1 - x * x)) * k;
    if (d <= 0) return {};

    DistAz r;
    r.distance = noNegativeZero(std::trunc(KmPerDegree * d));

    const double ka = DegPerRadAzimuth;
    const double denominator = std::sin(d / ka) * std::cos(a.lat / ka);
    if (x <= -1 || denominator == 0 || !std::isfinite(denominator)) return r; // every direction is as good

    const double y = (std::sin(b.lat / ka) - std::cos(d / ka) * std::sin(a.lat / ka)) / denominator;
    const double a0 = (QuarterTurn - atanRatio(y, std::fabs(1 - y * y))) * ka;

    const double delta = b.lon - a.lon;
    const double u = delta >= 0 ? 180 - delta : -delta - 180;
    r.azimuth = noNegativeZero(u >= 0 ? std::trunc(a0) : std::trunc(360 - a0));
    return r;
}

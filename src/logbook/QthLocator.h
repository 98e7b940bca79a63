#pragma once
// Maidenhead locators, coordinates, and the great-circle distance and bearing between two
// positions, computed with the logbook's own constants and truncations so that the numbers
// shown match what operators have always seen.

#include <QString>
#include <optional>

// Decimal degrees; longitude east-positive, latitude north-positive.
struct GeoPos {
    double lon = 0;
    double lat = 0;
};

// Both whole numbers held as floating values: km and degrees clockwise from north.
struct DistAz {
    double distance = 0;
    double azimuth = 0;
};

// The 6-character locator of a position; nullopt when the position lies outside
// -180..180 degrees of longitude or -90..90 of latitude.
std::optional<QString> CoordToLocator(double lon, double lat);
// The same from decimal-comma texts ("45,23", "-23,34"); nullopt when a text is not such a
// number or the position lies outside the globe.
std::optional<QString> CoordToLocator(const QString& lonText, const QString& latText);

// The south-west corner of the locator's sub-square. Lower-case letters are taken as upper
// case; nullopt unless the text is exactly two field letters A..R, two digits and two
// sub-square letters A..X.
std::optional<GeoPos> LocatorToCoord(const QString& locator);

// A coordinate as the locator window shows it: rounded to the nearest hundredth (halves to the
// even hundredth), decimal comma, no trailing zeros ("13,08", "-9,88", "0").
QString coordinateText(double degrees);

// Distance and azimuth from a to b. The same point, or points so close that the central angle
// comes out as zero (or rounding leaves the formulas undefined), give distance 0 and azimuth 0;
// antipodal points give the half circumference.
DistAz DistanceAzimuth(GeoPos a, GeoPos b);

// The locator maths as values, and the locator window driven after the real start-up.

#include "logbook/QthLocator.h"
#include "logbook/UQTHLoc.h"
#include "support/AppFixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Rad = Pi / 180;

// Great-circle distance by the haversine formula on a sphere of 6371 km, expressed in the
// logbook's convention of 111.2 km per degree of central angle.
double referenceDistance(GeoPos a, GeoPos b) {
    const double earthRadius = 6371.0;
    const double dLat = (b.lat - a.lat) * Rad;
    const double dLon = (b.lon - a.lon) * Rad;
    const double h = std::pow(std::sin(dLat / 2), 2) +
                     std::cos(a.lat * Rad) * std::cos(b.lat * Rad) * std::pow(std::sin(dLon / 2), 2);
    const double km = 2 * earthRadius * std::asin(std::min(1.0, std::sqrt(h)));
    return km * 111.2 / (earthRadius * Rad);
}

// Initial bearing from a to b, degrees clockwise from north in 0..360.
double referenceBearing(GeoPos a, GeoPos b) {
    const double p1 = a.lat * Rad, p2 = b.lat * Rad, dl = (b.lon - a.lon) * Rad;
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    const double deg = std::atan2(y, x) / Rad;
    return deg < 0 ? deg + 360 : deg;
}

double angleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360 - d);
}

const QString LocatorWarning = QStringLiteral("Допущена ошибка при вводе QTH-локатора! \n"
                                              "QTH-локатор должен быть введен по образцу AA99XX");
const QString CoordinatesWarning =
    QStringLiteral("Допущена ошибка при вводе координат! \n"
                   "Возможно вместо запятой стоит точка или введено буквенное значение\n"
                   "Координаты должны быть введен по образцу 45,23 или -23,34");

void typeInto(QLineEdit* e, const QString& text) {
    e->clear();
    QTest::keyClicks(e, text);
}

} // namespace

Q_DECLARE_METATYPE(GeoPos)

class TestQthLocator : public QObject {
    Q_OBJECT

private slots:
    // --- the maths ------------------------------------------------------------------------
    void coordinatesGiveLocator_data();
    void coordinatesGiveLocator();
    void coordinateTextsGiveLocator_data();
    void coordinateTextsGiveLocator();
    void locatorGivesSouthWestCorner_data();
    void locatorGivesSouthWestCorner();
    void locatorRoundTripsThroughItsCorner_data();
    void locatorRoundTripsThroughItsCorner();
    void badLocatorsAreRefused_data();
    void badLocatorsAreRefused();
    void workedDistancesAndBearings_data();
    void workedDistancesAndBearings();
    void directionSideFollowsLongitudeDifference_data();
    void directionSideFollowsLongitudeDifference();
    void distanceAndBearingMatchGreatCircle_data();
    void distanceAndBearingMatchGreatCircle();
    void degeneratePositionsGiveDefinedResults_data();
    void degeneratePositionsGiveDefinedResults();
    void coordinatesShownToTheHundredth_data();
    void coordinatesShownToTheHundredth();

    // --- the window -------------------------------------------------------------------------
    void windowStartsEmptyWithZeroResults();
    void locatorBoxesShowUpperCase();
    void locatorsToCoordinatesFillBoxesAndResult();
    void sameLocatorsShowMinusZero_data();
    void sameLocatorsShowMinusZero();
    void badLocatorWarnsAndKeepsEarlierSteps_data();
    void badLocatorWarnsAndKeepsEarlierSteps();
    void coordinatesToLocatorsFillBoxesAndResult();
    void coordinatesInOneSubSquareShowMinusZero();
    void badCoordinatesWarn_data();
    void badCoordinatesWarn();
    void clearEmptiesBoxesAndZeroesResult();
};

// --- the maths ------------------------------------------------------------------------------

void TestQthLocator::coordinatesGiveLocator_data() {
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("lat");
    QTest::addColumn<QString>("locator");
    QTest::newRow("origin") << 0.0 << 0.0 << "JJ00AA";
    QTest::newRow("north-east edge") << 179.99 << 89.99 << "RR99XX";
    QTest::newRow("upper half of a sub-square") << 13.4 << 52.5 << "JO62QM";
    QTest::newRow("south-west corner of the grid") << -180.0 << -90.0 << "AA00AA";
    QTest::newRow("north-west corner") << -180.0 << 89.99 << "AR09AX";
    QTest::newRow("south-east corner") << 179.99 << -90.0 << "RA90XA";
    QTest::newRow("just south-west of the origin") << -0.01 << -0.01 << "II99XX";
    QTest::newRow("odd ten degrees of longitude") << 15.1 << 47.2 << "JN77NE";
    QTest::newRow("even ten degrees of longitude") << 25.1 << 47.2 << "KN27NE";
    QTest::newRow("west and south") << -58.38 << -34.6 << "GF05TJ";
    QTest::newRow("180th meridian is the first field's edge") << 180.0 << 0.0 << "AJ00AA";
    QTest::newRow("north pole in the top row") << 0.0 << 90.0 << "JR09AX";
}

void TestQthLocator::coordinatesGiveLocator() {
    QFETCH(double, lon);
    QFETCH(double, lat);
    QFETCH(QString, locator);
    QCOMPARE(CoordToLocator(lon, lat), std::optional<QString>(locator));
}

void TestQthLocator::coordinateTextsGiveLocator_data() {
    QTest::addColumn<QString>("lon");
    QTest::addColumn<QString>("lat");
    QTest::addColumn<QString>("locator"); // empty: refused
    QTest::newRow("decimal commas") << "13,4"
                                    << "52,5"
                                    << "JO62QM";
    QTest::newRow("the pattern's examples") << "45,23"
                                            << "-23,34"
                                            << "LG26OP";
    QTest::newRow("whole numbers") << "0"
                                   << "0"
                                   << "JJ00AA";
    QTest::newRow("point instead of comma") << "45.23"
                                            << "-23,34"
                                            << "";
    QTest::newRow("letters") << "13,4"
                             << "north"
                             << "";
    QTest::newRow("empty") << ""
                           << "52,5"
                           << "";
    QTest::newRow("longitude beyond 180") << "180,01"
                                          << "0"
                                          << "";
    QTest::newRow("latitude beyond -90") << "0"
                                         << "-90,5"
                                         << "";
}

void TestQthLocator::coordinateTextsGiveLocator() {
    QFETCH(QString, lon);
    QFETCH(QString, lat);
    QFETCH(QString, locator);
    const std::optional<QString> got = CoordToLocator(lon, lat);
    if (locator.isEmpty())
        QVERIFY2(!got, qPrintable(got.value_or(QString())));
    else
        QCOMPARE(got, std::optional<QString>(locator));
}

void TestQthLocator::locatorGivesSouthWestCorner_data() {
    QTest::addColumn<QString>("locator");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("lat");
    QTest::newRow("origin") << "JJ00AA" << 0.0 << 0.0;
    QTest::newRow("lower case") << "jj00aa" << 0.0 << 0.0;
    QTest::newRow("south-west corner of the grid") << "AA00AA" << -180.0 << -90.0;
    QTest::newRow("north-east corner") << "RR99XX" << 180 - 5.0 / 60 << 90 - 2.5 / 60;
    QTest::newRow("north-west corner") << "AR09AX" << -180.0 << 90 - 2.5 / 60;
    QTest::newRow("south-east corner") << "RA90XA" << 180 - 5.0 / 60 << -90.0;
    QTest::newRow("Berlin's sub-square") << "JO62QM" << 12 + 16 * 5.0 / 60 << 52.5;
    QTest::newRow("mixed case") << "Ko85Ts" << 36 + 19 * 5.0 / 60 << 55 + 18 * 2.5 / 60;
}

void TestQthLocator::locatorGivesSouthWestCorner() {
    QFETCH(QString, locator);
    QFETCH(double, lon);
    QFETCH(double, lat);
    const std::optional<GeoPos> p = LocatorToCoord(locator);
    QVERIFY(p);
    QVERIFY2(std::fabs(p->lon - lon) < 1e-9, qPrintable(QString::number(p->lon, 'g', 17)));
    QVERIFY2(std::fabs(p->lat - lat) < 1e-9, qPrintable(QString::number(p->lat, 'g', 17)));
}

void TestQthLocator::locatorRoundTripsThroughItsCorner_data() {
    QTest::addColumn<QString>("locator");
    for (const char* l : {"AA00AA", "RR99XX", "AR09AX", "RA90XA", "JJ00AA", "JO62QM", "KO85TS", "FN20XR",
                          "QF56OD", "II99XX", "GF05TJ", "BL11BH"})
        QTest::newRow(l) << QString::fromLatin1(l);
}

void TestQthLocator::locatorRoundTripsThroughItsCorner() {
    QFETCH(QString, locator);
    const std::optional<GeoPos> corner = LocatorToCoord(locator);
    QVERIFY(corner);
    QCOMPARE(CoordToLocator(corner->lon, corner->lat), std::optional<QString>(locator));
    // and a point inside the sub-square, away from its edges
    QCOMPARE(CoordToLocator(corner->lon + 2.5 / 60, corner->lat + 1.25 / 60),
             std::optional<QString>(locator));
}

void TestQthLocator::badLocatorsAreRefused_data() {
    QTest::addColumn<QString>("locator");
    QTest::newRow("four characters") << "JO62";
    QTest::newRow("five characters") << "JO62Q";
    QTest::newRow("seven characters") << "JO62QMA";
    QTest::newRow("empty") << "";
    QTest::newRow("letter in the third place") << "JOA2QM";
    QTest::newRow("letter in the fourth place") << "JO6BQM";
    QTest::newRow("blank in a digit place") << "JO 2QM";
    QTest::newRow("field letter beyond R") << "SO62QM";
    QTest::newRow("second field letter beyond R") << "JZ62QM";
    QTest::newRow("sub-square letter beyond X") << "JO62YM";
    QTest::newRow("second sub-square letter beyond X") << "JO62QZ";
    QTest::newRow("digit in a letter place") << "J062QM";
    QTest::newRow("non-Latin digit") << QString::fromUtf8("JO\u0666\u0662QM");
}

void TestQthLocator::badLocatorsAreRefused() {
    QFETCH(QString, locator);
    QVERIFY(!LocatorToCoord(locator));
}

void TestQthLocator::workedDistancesAndBearings_data() {
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lat1");
    QTest::addColumn<double>("lon2");
    QTest::addColumn<double>("lat2");
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("azimuth");
    QTest::newRow("a quarter of the equator eastwards") << 0.0 << 0.0 << 90.0 << 0.0 << 10008.0 << 90.0;
    // The longitude difference enters as 360 + difference over a degree-per-radian value a little
    // short of the true one: westwards the central angle comes out slightly under 90 degrees, and
    // the azimuth is 360 minus a quarter turn of slightly more than 90 degrees, truncated.
    QTest::newRow("a quarter of the equator westwards") << 0.0 << 0.0 << -90.0 << 0.0 << 10007.0 << 269.0;
    QTest::newRow("due north from a west longitude") << -30.0 << 10.0 << -30.0 << 41.0 << 3447.0 << 0.0;
    QTest::newRow("north over the pole") << 0.0 << 40.0 << 180.0 << 61.0 << 8784.0 << 0.0;
}

void TestQthLocator::workedDistancesAndBearings() {
    QFETCH(double, lon1);
    QFETCH(double, lat1);
    QFETCH(double, lon2);
    QFETCH(double, lat2);
    QFETCH(double, distance);
    QFETCH(double, azimuth);
    const DistAz r = DistanceAzimuth({lon1, lat1}, {lon2, lat2});
    QCOMPARE(r.distance, distance);
    QCOMPARE(r.azimuth, azimuth);
    QVERIFY(!std::signbit(r.azimuth)); // shown as "0", never "-0"
}

void TestQthLocator::directionSideFollowsLongitudeDifference_data() {
    QTest::addColumn<double>("lon1");
    QTest::addColumn<double>("lon2");
    QTest::addColumn<bool>("east");
    QTest::newRow("due east from a west longitude") << -70.0 << 10.0 << true;
    QTest::newRow("due west") << 10.0 << -70.0 << false;
    QTest::newRow("east across the 180th meridian") << 170.0 << -170.0 << true;
    QTest::newRow("west across the 180th meridian") << -170.0 << 170.0 << false;
}

void TestQthLocator::directionSideFollowsLongitudeDifference() {
    QFETCH(double, lon1);
    QFETCH(double, lon2);
    QFETCH(bool, east);
    const DistAz r = DistanceAzimuth({lon1, 40}, {lon2, 40});
    if (east)
        QVERIFY2(r.azimuth > 0 && r.azimuth < 180, qPrintable(QString::number(r.azimuth)));
    else
        QVERIFY2(r.azimuth > 180 && r.azimuth < 360, qPrintable(QString::number(r.azimuth)));
}

void TestQthLocator::distanceAndBearingMatchGreatCircle_data() {
    QTest::addColumn<GeoPos>("a");
    QTest::addColumn<GeoPos>("b");
    QTest::newRow("Kyiv to New York") << GeoPos{30.52, 50.45} << GeoPos{-74.01, 40.71};
    QTest::newRow("London to Tokyo") << GeoPos{-0.13, 51.51} << GeoPos{139.69, 35.69};
    QTest::newRow("Sydney to Moscow") << GeoPos{151.21, -33.87} << GeoPos{37.62, 55.76};
    QTest::newRow("Cape Town to Buenos Aires") << GeoPos{18.42, -33.92} << GeoPos{-58.38, -34.6};
    QTest::newRow("Honolulu to Anchorage") << GeoPos{-157.86, 21.31} << GeoPos{-149.9, 61.22};
    QTest::newRow("east over the date line") << GeoPos{170.0, -40.0} << GeoPos{-170.0, -35.0};
    QTest::newRow("west over the date line") << GeoPos{-170.0, 10.0} << GeoPos{170.0, 12.0};
    QTest::newRow("a few kilometres") << GeoPos{13.4, 52.5} << GeoPos{13.5, 52.55};
    QTest::newRow("south-west") << GeoPos{37.62, 55.76} << GeoPos{-43.2, -22.9};
    QTest::newRow("over the north pole") << GeoPos{0.0, 40.0} << GeoPos{180.0, 60.0};
    QTest::newRow("over the south pole") << GeoPos{-100.0, -50.0} << GeoPos{80.0, -70.0};
    QTest::newRow("north-west from the south") << GeoPos{-70.65, -33.45} << GeoPos{-123.1, 49.28};
}

void TestQthLocator::distanceAndBearingMatchGreatCircle() {
    QFETCH(GeoPos, a);
    QFETCH(GeoPos, b);
    const DistAz r = DistanceAzimuth(a, b);
    // Truncation costs up to one unit; the logbook's constants shift the rest by far less.
    const double refDistance = referenceDistance(a, b);
    const double refBearing = referenceBearing(a, b);
    QVERIFY2(std::fabs(r.distance - refDistance) <= 1.5,
             qPrintable(QStringLiteral("%1 vs %2").arg(r.distance).arg(refDistance)));
    QVERIFY2(angleBetween(r.azimuth, refBearing) <= 1.5,
             qPrintable(QStringLiteral("%1 vs %2").arg(r.azimuth).arg(refBearing)));
    QCOMPARE(r.distance, std::trunc(r.distance));
    QCOMPARE(r.azimuth, std::trunc(r.azimuth));
    QVERIFY(r.azimuth >= 0 && r.azimuth < 360);
}

void TestQthLocator::degeneratePositionsGiveDefinedResults_data() {
    QTest::addColumn<GeoPos>("a");
    QTest::addColumn<GeoPos>("b");
    QTest::addColumn<double>("minDistance");
    QTest::addColumn<double>("maxDistance");
    QTest::newRow("same place") << GeoPos{13.4, 52.5} << GeoPos{13.4, 52.5} << 0.0 << 0.0;
    QTest::newRow("same place on the equator") << GeoPos{0, 0} << GeoPos{0, 0} << 0.0 << 0.0;
    QTest::newRow("same place at the pole") << GeoPos{0, 90} << GeoPos{0, 90} << 0.0 << 0.0;
    QTest::newRow("a millimetre apart") << GeoPos{13.4, 52.5} << GeoPos{13.4, 52.5 + 1e-8} << 0.0 << 0.0;
    QTest::newRow("a micrometre apart")
        << GeoPos{-74.01, 40.71} << GeoPos{-74.01 + 1e-11, 40.71} << 0.0 << 0.0;
    QTest::newRow("near the pole") << GeoPos{0, 89.9999999} << GeoPos{90, 89.9999999} << 0.0 << 0.0;
    QTest::newRow("antipodes on the equator") << GeoPos{0, 0} << GeoPos{180, 0} << 20014.0 << 20016.0;
    QTest::newRow("pole to pole") << GeoPos{0, 90} << GeoPos{0, -90} << 20014.0 << 20016.0;
    QTest::newRow("antipodes off the equator") << GeoPos{-60, 30} << GeoPos{120, -30} << 20014.0 << 20016.0;
}

void TestQthLocator::degeneratePositionsGiveDefinedResults() {
    QFETCH(GeoPos, a);
    QFETCH(GeoPos, b);
    QFETCH(double, minDistance);
    QFETCH(double, maxDistance);
    const DistAz r = DistanceAzimuth(a, b);
    QVERIFY(std::isfinite(r.distance) && std::isfinite(r.azimuth));
    QVERIFY2(r.distance >= minDistance && r.distance <= maxDistance, qPrintable(QString::number(r.distance)));
    QVERIFY2(r.azimuth >= 0 && r.azimuth < 360, qPrintable(QString::number(r.azimuth)));
    QVERIFY(!std::signbit(r.distance) && !std::signbit(r.azimuth));
    if (a.lon == b.lon && a.lat == b.lat) QCOMPARE(r.azimuth, 0.0);
}

void TestQthLocator::coordinatesShownToTheHundredth_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("whole") << -180.0 << "-180";
    QTest::newRow("no trailing zero") << 52.5 << "52,5";
    QTest::newRow("rounded down") << 13.0 + 1.0 / 12 << "13,08";
    QTest::newRow("rounded up") << 13.0 + 1.0 / 6 << "13,17";
    QTest::newRow("half to even below") << 0.125 << "0,12";
    QTest::newRow("half to even above") << 0.375 << "0,38";
    QTest::newRow("negative half to even") << -9.875 << "-9,88";
    QTest::newRow("negative half to even below") << -9.625 << "-9,62";
    QTest::newRow("tiny negative is zero") << -0.001 << "0";
}

void TestQthLocator::coordinatesShownToTheHundredth() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(coordinateText(value), text);
}

// --- the window --------------------------------------------------------------------------

void TestQthLocator::windowStartsEmptyWithZeroResults() {
    AppFixture app;
    QCOMPARE(FQTHLoc->windowTitle(), QStringLiteral("QTH Loc"));
    QCOMPARE(FQTHLoc->LabeAz->text(), QStringLiteral("0"));
    QCOMPARE(FQTHLoc->LabelR->text(), QStringLiteral("0"));
    QCOMPARE(FQTHLoc->EditMy->maxLength(), 6);
    QCOMPARE(FQTHLoc->EditCall->maxLength(), 6);
    for (QLineEdit* e :
         {FQTHLoc->EditMyLong, FQTHLoc->EditMyLat, FQTHLoc->EditCallLong, FQTHLoc->EditCallLat})
        QCOMPARE(e->maxLength(), 7);
    QCOMPARE(FQTHLoc->findControl(QStringLiteral("ButtonLocToCoord")), FQTHLoc->ButtonLocToCoord);
    QCOMPARE(FQTHLoc->ButtonLocToCoord->text(), QStringLiteral(">>"));
    QCOMPARE(FQTHLoc->ButtonCoordToLoc->text(), QStringLiteral("<<"));
}

void TestQthLocator::locatorBoxesShowUpperCase() {
    AppFixture app;
    typeInto(FQTHLoc->EditMy, QStringLiteral("ko85ts"));
    QCOMPARE(FQTHLoc->EditMy->text(), QStringLiteral("KO85TS"));
    FQTHLoc->EditCall->setText(QStringLiteral("jo62qm"));
    QCOMPARE(FQTHLoc->EditCall->text(), QStringLiteral("JO62QM"));
    typeInto(FQTHLoc->EditCall, QStringLiteral("jo62qmxx"));
    QCOMPARE(FQTHLoc->EditCall->text(), QStringLiteral("JO62QM"));
}

void TestQthLocator::locatorsToCoordinatesFillBoxesAndResult() {
    AppFixture app;
    typeInto(FQTHLoc->EditMy, QStringLiteral("JO62QM"));
    typeInto(FQTHLoc->EditCall, QStringLiteral("KO85TS"));
    FQTHLoc->ButtonLocToCoord->click();

    QCOMPARE(FQTHLoc->EditMyLong->text(), QStringLiteral("13,33"));
    QCOMPARE(FQTHLoc->EditMyLat->text(), QStringLiteral("52,5"));
    QCOMPARE(FQTHLoc->EditCallLong->text(), QStringLiteral("37,58"));
    QCOMPARE(FQTHLoc->EditCallLat->text(), QStringLiteral("55,75"));
    // from the unrounded corners, checked against an independent great circle
    const GeoPos my{12 + 16 * 5.0 / 60, 52.5}, call{36 + 19 * 5.0 / 60, 55.75};
    QVERIFY(std::fabs(FQTHLoc->LabelR->text().toDouble() - referenceDistance(my, call)) <= 1.5);
    QVERIFY(angleBetween(FQTHLoc->LabeAz->text().toDouble(), referenceBearing(my, call)) <= 1.5);
    const DistAz exact = DistanceAzimuth(*LocatorToCoord("JO62QM"), *LocatorToCoord("KO85TS"));
    QCOMPARE(FQTHLoc->LabelR->text(), QString::number(exact.distance));
    QCOMPARE(FQTHLoc->LabeAz->text(), QString::number(exact.azimuth));
    QVERIFY(app.dialogs().messages.isEmpty());
}

void TestQthLocator::sameLocatorsShowMinusZero_data() {
    QTest::addColumn<QString>("my");
    QTest::addColumn<QString>("call");
    QTest::newRow("equal locators") << "JO62QM"
                                    << "JO62QM";
    QTest::newRow("equal in different case") << "jo62qm"
                                             << "JO62QM";
    QTest::newRow("both empty") << ""
                                << "";
}

void TestQthLocator::sameLocatorsShowMinusZero() {
    QFETCH(QString, my);
    QFETCH(QString, call);
    AppFixture app;
    FQTHLoc->EditMy->setText(my);
    FQTHLoc->EditCall->setText(call);
    FQTHLoc->ButtonLocToCoordClick();
    QCOMPARE(FQTHLoc->LabeAz->text(), QStringLiteral("-0"));
    QCOMPARE(FQTHLoc->LabelR->text(), QStringLiteral("-0"));
    QVERIFY(app.dialogs().messages.isEmpty());
}

void TestQthLocator::badLocatorWarnsAndKeepsEarlierSteps_data() {
    QTest::addColumn<QString>("call");
    QTest::newRow("four characters") << "KO85";
    QTest::newRow("letter in the third place") << "KOA5TS";
    QTest::newRow("field letter beyond R") << "ZO85TS";
    QTest::newRow("sub-square letter beyond X") << "KO85ZS";
}

void TestQthLocator::badLocatorWarnsAndKeepsEarlierSteps() {
    QFETCH(QString, call);
    AppFixture app;
    FQTHLoc->EditMy->setText(QStringLiteral("JO62QM"));
    FQTHLoc->EditCall->setText(call);
    FQTHLoc->ButtonLocToCoord->click();

    QCOMPARE(app.dialogs().texts(), QStringList{LocatorWarning});
    QCOMPARE(app.dialogs().messages.first().type, DlgType::Warning);
    QCOMPARE(app.dialogs().messages.first().buttons, DlgButtons::Ok);
    // the own station's step was done, the rest skipped
    QCOMPARE(FQTHLoc->EditMyLong->text(), QStringLiteral("13,33"));
    QCOMPARE(FQTHLoc->EditMyLat->text(), QStringLiteral("52,5"));
    QVERIFY(FQTHLoc->EditCallLong->text().isEmpty());
    QVERIFY(FQTHLoc->LabeAz->text().isEmpty());
    QVERIFY(FQTHLoc->LabelR->text().isEmpty());
}

void TestQthLocator::coordinatesToLocatorsFillBoxesAndResult() {
    AppFixture app;
    typeInto(FQTHLoc->EditMyLong, QStringLiteral("45,23"));
    typeInto(FQTHLoc->EditMyLat, QStringLiteral("-23,34"));
    typeInto(FQTHLoc->EditCallLong, QStringLiteral("13,4"));
    typeInto(FQTHLoc->EditCallLat, QStringLiteral("52,5"));
    FQTHLoc->ButtonCoordToLoc->click();

    QVERIFY(app.dialogs().messages.isEmpty());
    QCOMPARE(FQTHLoc->EditMy->text(), QStringLiteral("LG26OP"));
    QCOMPARE(FQTHLoc->EditCall->text(), QStringLiteral("JO62QM"));
    const GeoPos my{45.23, -23.34}, call{13.4, 52.5};
    QVERIFY(std::fabs(FQTHLoc->LabelR->text().toDouble() - referenceDistance(my, call)) <= 1.5);
    QVERIFY(angleBetween(FQTHLoc->LabeAz->text().toDouble(), referenceBearing(my, call)) <= 1.5);
}

void TestQthLocator::coordinatesInOneSubSquareShowMinusZero() {
    AppFixture app;
    FQTHLoc->EditMyLong->setText(QStringLiteral("13,4"));
    FQTHLoc->EditMyLat->setText(QStringLiteral("52,5"));
    FQTHLoc->EditCallLong->setText(QStringLiteral("13,41"));
    FQTHLoc->EditCallLat->setText(QStringLiteral("52,51"));
    FQTHLoc->ButtonCoordToLocClick();
    QCOMPARE(FQTHLoc->EditMy->text(), QStringLiteral("JO62QM"));
    QCOMPARE(FQTHLoc->EditCall->text(), QStringLiteral("JO62QM"));
    QCOMPARE(FQTHLoc->LabeAz->text(), QStringLiteral("-0"));
    QCOMPARE(FQTHLoc->LabelR->text(), QStringLiteral("-0"));
}

void TestQthLocator::badCoordinatesWarn_data() {
    QTest::addColumn<QString>("lon");
    QTest::addColumn<QString>("lat");
    QTest::newRow("point instead of comma") << "45.23"
                                            << "-23,34";
    QTest::newRow("letters") << "45,23"
                             << "abc";
    QTest::newRow("beyond the pole") << "45,23"
                                     << "95";
    QTest::newRow("beyond 180 degrees") << "-181"
                                        << "10";
}

void TestQthLocator::badCoordinatesWarn() {
    QFETCH(QString, lon);
    QFETCH(QString, lat);
    AppFixture app;
    FQTHLoc->EditMy->setText(QStringLiteral("AA00AA"));
    FQTHLoc->EditMyLong->setText(lon);
    FQTHLoc->EditMyLat->setText(lat);
    FQTHLoc->ButtonCoordToLoc->click();
    QCOMPARE(app.dialogs().texts(), QStringList{CoordinatesWarning});
    QCOMPARE(app.dialogs().messages.first().type, DlgType::Warning);
    QCOMPARE(FQTHLoc->EditMy->text(), QStringLiteral("AA00AA"));
    QCOMPARE(FQTHLoc->LabeAz->text(), QStringLiteral("0"));
}

void TestQthLocator::clearEmptiesBoxesAndZeroesResult() {
    AppFixture app;
    FQTHLoc->EditMy->setText(QStringLiteral("JO62QM"));
    FQTHLoc->EditCall->setText(QStringLiteral("KO85TS"));
    FQTHLoc->ButtonLocToCoordClick();
    QVERIFY(FQTHLoc->LabelR->text() != QStringLiteral("0"));
    FQTHLoc->ButtonClear->click();
    for (QLineEdit* e : {FQTHLoc->EditMy, FQTHLoc->EditCall, FQTHLoc->EditMyLong, FQTHLoc->EditMyLat,
                         FQTHLoc->EditCallLong, FQTHLoc->EditCallLat})
        QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
    QCOMPARE(FQTHLoc->LabeAz->text(), QStringLiteral("0"));
    QCOMPARE(FQTHLoc->LabelR->text(), QStringLiteral("0"));
}

QTEST_MAIN(TestQthLocator)
#include "tst_qthlocator.moc"

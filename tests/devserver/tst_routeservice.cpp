#include "RouteService.h"
#include "StreetRouter.h"

#include <QGeoCoordinate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointF>
#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace devserver;

namespace {

// The town's streets as the tile painter draws them, written out again here.
constexpr double centreLat = 36.30;
constexpr double centreLon = 59.60;
constexpr double latStep = 0.005;
constexpr double lonStep = 0.006;

// Points are (latitude, longitude).
using Points = QList<QPointF>;

// Decodes Google's polyline on its own terms, so an encoder slip shows.
Points decodePolyline(const QString &text, int precision)
{
    Points points;
    qint64 values[2] = {0, 0};
    int which = 0;
    qint64 result = 0;
    int shift = 0;
    for (const QChar c : text) {
        const int chunk = c.unicode() - 63;
        result |= qint64(chunk & 0x1f) << shift;
        shift += 5;
        if (chunk & 0x20)
            continue;
        values[which] += (result & 1) ? ~(result >> 1) : (result >> 1);
        result = 0;
        shift = 0;
        which = 1 - which;
        if (which == 0) {
            const double factor = std::pow(10.0, precision);
            points.append(QPointF(values[0] / factor, values[1] / factor));
        }
    }
    return points;
}

Points decodeGeometry(const QJsonValue &geometry, const QString &format)
{
    if (format == QLatin1String("geojson")) {
        Points points;
        if (geometry[QLatin1String("type")].toString() != QLatin1String("LineString"))
            return points;
        for (const QJsonValue &pair : geometry[QLatin1String("coordinates")].toArray())
            points.append(QPointF(pair[1].toDouble(), pair[0].toDouble()));
        return points;
    }
    return decodePolyline(geometry.toString(), format == QLatin1String("polyline6") ? 6 : 5);
}

bool samePoints(const Points &actual, const Points &expected, double tolerance)
{
    if (actual.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < actual.size(); ++i) {
        if (std::abs(actual.at(i).x() - expected.at(i).x()) > tolerance ||
            std::abs(actual.at(i).y() - expected.at(i).y()) > tolerance)
            return false;
    }
    return true;
}

QString describe(const Points &points)
{
    QStringList parts;
    for (const QPointF &point : points)
        parts.append(
            QStringLiteral("(%1, %2)").arg(point.x(), 0, 'f', 6).arg(point.y(), 0, 'f', 6));
    return parts.join(QLatin1Char(' '));
}

Points withoutRepeats(const Points &points)
{
    Points kept;
    for (const QPointF &point : points)
        if (kept.isEmpty() || QLineF(kept.constLast(), point).length() > 1e-7)
            kept.append(point);
    return kept;
}

double metres(const Points &points)
{
    double length = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        length += QGeoCoordinate(points.at(i - 1).x(), points.at(i - 1).y())
                      .distanceTo(QGeoCoordinate(points.at(i).x(), points.at(i).y()));
    return length;
}

QJsonObject ask(const QString &path, const QString &query, int *status = nullptr)
{
    const RouteService::Reply reply = RouteService::handle(path, QUrlQuery(query));
    if (status)
        *status = reply.status;
    return QJsonDocument::fromJson(reply.body).object();
}

// Metres north-south plus metres east-west, on a flat town.
double blockwise(const QList<QGeoCoordinate> &points)
{
    const double metresPerDegree = 111320;
    const double lonShrink = std::cos(centreLat * M_PI / 180);
    double length = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        length +=
            std::abs(points.at(i).latitude() - points.at(i - 1).latitude()) * metresPerDegree +
            std::abs(points.at(i).longitude() - points.at(i - 1).longitude()) * metresPerDegree *
                lonShrink;
    return length;
}

bool onLine(double value, double centre, double step)
{
    const double steps = (value - centre) / step;
    return std::abs(steps - std::round(steps)) < 1e-7 && std::abs(std::round(steps)) <= 12;
}

} // namespace

class TestRouteService : public QObject
{
    Q_OBJECT

private slots:
    void walks_data();
    void walks();
    void geometryFormats_data();
    void geometryFormats();
    void refusals_data();
    void refusals();
    void walksKeepToTheStreets();
};

void TestRouteService::walks_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Points>("corners");
    QTest::addColumn<int>("legs");
    QTest::addColumn<QStringList>("maneuvers");

    QTest::newRow("along one street")
        << "v1/foot/59.601,36.3;59.605,36.3" << Points{{36.3, 59.601}, {36.3, 59.605}} << 1
        << QStringList{"depart", "arrive"};
    QTest::newRow("along a row, then up a column")
        << "v1/foot/59.601,36.3;59.618,36.3072"
        << Points{{36.3, 59.601}, {36.3, 59.618}, {36.3072, 59.618}} << 1
        << QStringList{"depart", "turn left", "arrive"};
    QTest::newRow("the same way back") << "v1/walking/59.618,36.3072;59.601,36.3"
                                       << Points{{36.3072, 59.618}, {36.3, 59.618}, {36.3, 59.601}}
                                       << 1 << QStringList{"depart", "turn right", "arrive"};
    QTest::newRow("off the streets at both ends")
        << "v1/foot/59.6013,36.3012;59.6123,36.3101"
        << Points{{36.3012, 59.6013},
                  {36.3012, 59.6},
                  {36.31, 59.6},
                  {36.31, 59.6123},
                  {36.3101, 59.6123}}
        << 1 << QStringList{"depart", "turn right", "turn right", "turn left", "arrive"};
    QTest::newRow("from beyond the town's corner")
        << "v1/foot/59.675,36.365;59.666,36.355"
        << Points{{36.365, 59.675}, {36.36, 59.672}, {36.36, 59.666}, {36.355, 59.666}} << 1
        << QStringList{"depart", "turn right", "turn left", "arrive"};
    QTest::newRow("to the same spot") << "v1/foot/59.6,36.3;59.6,36.3.json" << Points{{36.3, 59.6}}
                                      << 1 << QStringList{"depart", "arrive"};
    QTest::newRow("three waypoints")
        << "v1/foot/59.601,36.3;59.605,36.3;59.605,36.31"
        << Points{{36.3, 59.601}, {36.3, 59.605}, {36.3, 59.606}, {36.31, 59.606}, {36.31, 59.605}}
        << 2 << QStringList{"depart", "arrive", "depart", "turn left", "turn left", "arrive"};
}

// The request the map plugin sends, answered with a walk whose corners are known.
void TestRouteService::walks()
{
    QFETCH(QString, path);
    QFETCH(Points, corners);
    QFETCH(int, legs);
    QFETCH(QStringList, maneuvers);

    int status = 0;
    const QJsonObject reply =
        ask(path, "overview=full&steps=true&geometries=polyline6&alternatives=true", &status);
    QCOMPARE(status, 200);
    QCOMPARE(reply["code"].toString(), QStringLiteral("Ok"));
    const QJsonArray routes = reply["routes"].toArray();
    QCOMPARE(routes.size(), 1);
    const QJsonObject route = routes.first().toObject();

    const Points whole = decodePolyline(route["geometry"].toString(), 6);
    QVERIFY2(samePoints(whole, corners, 1e-6), qPrintable(describe(whole)));
    QVERIFY(std::abs(route["distance"].toDouble() - metres(corners)) < 0.06);
    QVERIFY(std::abs(route["duration"].toDouble() - metres(corners) / (5 / 3.6)) < 0.1);

    // The plugin draws the route from the steps' own geometries, one after another.
    Points drawn;
    QStringList seen;
    double legSum = 0;
    const QJsonArray legList = route["legs"].toArray();
    QCOMPARE(legList.size(), legs);
    for (const QJsonValue &leg : legList) {
        legSum += leg["distance"].toDouble();
        for (const QJsonValue &step : leg["steps"].toArray()) {
            const QJsonObject maneuver = step["maneuver"].toObject();
            const QString modifier = maneuver["modifier"].toString();
            seen.append(modifier.isEmpty() ? maneuver["type"].toString()
                                           : maneuver["type"].toString() + ' ' + modifier);
            const Points stretch = decodePolyline(step["geometry"].toString(), 6);
            QCOMPARE(stretch.size(), 2);
            // The plugin drops a route whose steps name no intersections.
            const QJsonArray location = maneuver["location"].toArray();
            QCOMPARE(step["intersections"][0]["location"].toArray(), location);
            QVERIFY(samePoints({QPointF(location[1].toDouble(), location[0].toDouble())},
                               {stretch.first()}, 1e-6));
            drawn.append(stretch);
        }
    }
    QCOMPARE(seen, maneuvers);
    QVERIFY2(samePoints(withoutRepeats(drawn), corners, 1e-6), qPrintable(describe(drawn)));
    QVERIFY(std::abs(legSum - route["distance"].toDouble()) < 0.1 * legs);

    // Each waypoint is reported where it joins the streets.
    const QJsonArray waypoints = reply["waypoints"].toArray();
    QCOMPARE(waypoints.size(), legs + 1);
    for (const QJsonValue &waypoint : waypoints) {
        const QJsonArray location = waypoint["location"].toArray();
        QVERIFY(onLine(location[1].toDouble(), centreLat, latStep) ||
                onLine(location[0].toDouble(), centreLon, lonStep));
    }
}

void TestRouteService::geometryFormats_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("overview");
    QTest::addColumn<bool>("steps");

    QTest::newRow("defaults") << "" << "polyline" << true << false;
    QTest::newRow("polyline") << "geometries=polyline&steps=true" << "polyline" << true << true;
    QTest::newRow("polyline6") << "geometries=polyline6" << "polyline6" << true << false;
    QTest::newRow("geojson") << "geometries=geojson&steps=true" << "geojson" << true << true;
    QTest::newRow("simplified overview") << "overview=simplified" << "polyline" << true << false;
    QTest::newRow("no overview") << "overview=false&steps=true" << "polyline" << false << true;
    QTest::newRow("no steps") << "steps=false&overview=full" << "polyline" << true << false;
    QTest::newRow("other options ignored") << "annotations=true&continue_straight=default"
                                           << "polyline" << true << false;
}

void TestRouteService::geometryFormats()
{
    QFETCH(QString, query);
    QFETCH(QString, format);
    QFETCH(bool, overview);
    QFETCH(bool, steps);

    const Points corners{{36.3, 59.601}, {36.3, 59.618}, {36.3072, 59.618}};
    int status = 0;
    const QJsonObject route =
        ask("v1/foot/59.601,36.3;59.618,36.3072", query, &status)["routes"][0].toObject();
    QCOMPARE(status, 200);
    const double tolerance = format == QLatin1String("polyline") ? 1e-5 : 1e-6;
    QCOMPARE(route.contains("geometry"), overview);
    if (overview)
        QVERIFY(samePoints(decodeGeometry(route["geometry"], format), corners, tolerance));

    const QJsonArray stepList = route["legs"][0]["steps"].toArray();
    QCOMPARE(stepList.size(), steps ? 3 : 0);
    Points drawn;
    for (const QJsonValue &step : stepList)
        drawn.append(decodeGeometry(step["geometry"], format));
    if (steps)
        QVERIFY(samePoints(withoutRepeats(drawn), corners, tolerance));
}

void TestRouteService::refusals_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("code");

    const QString twoPoints = QStringLiteral("59.6,36.3;59.61,36.31");
    QStringList many;
    for (int i = 0; i < 26; ++i)
        many.append(QStringLiteral("59.6,36.3"));

    QTest::newRow("nothing") << "" << "" << "InvalidUrl";
    QTest::newRow("no coordinates") << "v1/foot" << "" << "InvalidUrl";
    QTest::newRow("other version") << "v2/foot/" + twoPoints << "" << "InvalidVersion";
    QTest::newRow("driving") << "v1/driving/" + twoPoints << "" << "InvalidUrl";
    QTest::newRow("one coordinate") << "v1/foot/59.6,36.3" << "" << "InvalidOptions";
    QTest::newRow("empty coordinate") << "v1/foot/59.6,36.3;" << "" << "InvalidUrl";
    QTest::newRow("latitude missing") << "v1/foot/59.6,36.3;59.6" << "" << "InvalidUrl";
    QTest::newRow("letters") << "v1/foot/59.6,36.3;abc,36.3" << "" << "InvalidUrl";
    QTest::newRow("not a number") << "v1/foot/nan,36.3;59.6,36.3" << "" << "InvalidUrl";
    QTest::newRow("exponent") << "v1/foot/5.96e1,36.3;59.6,36.3" << "" << "InvalidUrl";
    QTest::newRow("huge") << "v1/foot/59.6,36.3;1" + QString(400, '0') + ",36.3" << ""
                          << "InvalidUrl";
    QTest::newRow("encoded polyline input") << "v1/foot/polyline(_p~iF~ps|U)" << ""
                                            << "InvalidUrl";
    QTest::newRow("latitude beyond the pole") << "v1/foot/59.6,90.5;59.6,36.3" << ""
                                              << "InvalidValue";
    QTest::newRow("longitude beyond 180") << "v1/foot/59.6,36.3;180.01,36.3" << ""
                                          << "InvalidValue";
    QTest::newRow("too many") << "v1/foot/" + many.join(';') << "" << "TooBig";
    QTest::newRow("far from town") << "v1/foot/0,0;59.6,36.3" << "" << "NoSegment";
    QTest::newRow("end just out of reach") << "v1/foot/59.6,36.3;59.6,36.3691" << ""
                                           << "NoSegment";
    QTest::newRow("unknown geometry") << "v1/foot/" + twoPoints << "geometries=wkt"
                                      << "InvalidOptions";
    QTest::newRow("steps yes") << "v1/foot/" + twoPoints << "steps=yes" << "InvalidOptions";
    QTest::newRow("overview half") << "v1/foot/" + twoPoints << "overview=half"
                                   << "InvalidOptions";
    QTest::newRow("alternatives maybe") << "v1/foot/" + twoPoints << "alternatives=maybe"
                                        << "InvalidOptions";
}

void TestRouteService::refusals()
{
    QFETCH(QString, path);
    QFETCH(QString, query);
    QFETCH(QString, code);

    int status = 0;
    const QJsonObject reply = ask(path, query, &status);
    QCOMPARE(status, 400);
    QCOMPARE(reply["code"].toString(), code);
    QVERIFY(!reply["message"].toString().isEmpty());
    QVERIFY(!reply.contains("routes"));
}

// Walks between random points of the town: exact ends, every inner stretch along one street,
// never back the way it came, and never longer than going by the crossings nearest the ends.
void TestRouteService::walksKeepToTheStreets()
{
    QRandomGenerator random(20240501);
    const double span = 12.4;
    const auto randomPoint = [&] {
        return QGeoCoordinate(centreLat + (random.generateDouble() * 2 - 1) * span * latStep,
                              centreLon + (random.generateDouble() * 2 - 1) * span * lonStep);
    };
    const auto nearestCrossing = [](const QGeoCoordinate &at) {
        const auto index = [](double steps) { return std::clamp(std::round(steps), -12.0, 12.0); };
        return QGeoCoordinate(centreLat + index((at.latitude() - centreLat) / latStep) * latStep,
                              centreLon + index((at.longitude() - centreLon) / lonStep) * lonStep);
    };

    for (int i = 0; i < 500; ++i) {
        const QGeoCoordinate from = randomPoint();
        const QGeoCoordinate to = randomPoint();
        const auto walk = StreetRouter::walk(from, to);
        QVERIFY(walk);
        QCOMPARE(walk->constFirst(), from);
        QCOMPARE(walk->constLast(), to);
        for (qsizetype k = 1; k < walk->size(); ++k) {
            const QGeoCoordinate &a = walk->at(k - 1);
            const QGeoCoordinate &b = walk->at(k);
            if (k == 1 || k == walk->size() - 1)
                continue;
            const bool alongRow =
                a.latitude() == b.latitude() && onLine(a.latitude(), centreLat, latStep);
            const bool alongColumn =
                a.longitude() == b.longitude() && onLine(a.longitude(), centreLon, lonStep);
            QVERIFY2(alongRow || alongColumn,
                     qPrintable(QStringLiteral("walk %1 stretch %2").arg(i).arg(k)));
        }
        for (qsizetype k = 2; k < walk->size(); ++k) {
            const double turn = std::abs(std::remainder(
                walk->at(k - 1).azimuthTo(walk->at(k)) - walk->at(k - 2).azimuthTo(walk->at(k - 1)),
                360.0));
            QVERIFY2(turn < 170, qPrintable(QStringLiteral("walk %1 turns back").arg(i)));
        }

        // The plain way: to the nearest crossing, along its row, up the column, then off.
        // Both are measured block-wise, as a walk between the blocks goes.
        const QGeoCoordinate start = nearestCrossing(from);
        const QGeoCoordinate end = nearestCrossing(to);
        const QGeoCoordinate corner(start.latitude(), end.longitude());
        const double plain = blockwise({from, start, corner, end, to});
        QVERIFY2(blockwise(*walk) <= plain + 1,
                 qPrintable(QStringLiteral("walk %1: %2 m against %3 m")
                                .arg(i)
                                .arg(blockwise(*walk))
                                .arg(plain)));
    }
}

QTEST_GUILESS_MAIN(TestRouteService)
#include "tst_routeservice.moc"

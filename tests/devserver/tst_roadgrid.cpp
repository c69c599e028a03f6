#include "RoadGrid.h"

#include <QTest>

#include <cmath>

using namespace devserver;

using RoadGrid::Crossing;

namespace {

bool onGridLine(double value, double centre, double step)
{
    const double index = (value - centre) / step;
    return std::abs(centre + std::round(index) * step - value) < 1e-9;
}

bool onStreet(const Position &p)
{
    return onGridLine(p.lat, RoadGrid::centreLat, RoadGrid::latStep) ||
           onGridLine(p.lon, RoadGrid::centreLon, RoadGrid::lonStep);
}

bool inGrid(const Crossing &c)
{
    return std::abs(c.row) <= RoadGrid::halfSpan && std::abs(c.col) <= RoadGrid::halfSpan;
}

} // namespace

class TstRoadGrid : public QObject
{
    Q_OBJECT

private slots:
    void nearest_data();
    void nearest();
    void routesFollowStreets_data();
    void routesFollowStreets();
    void drivePointsLieOnStreets_data();
    void drivePointsLieOnStreets();
    void driveCourse_data();
    void driveCourse();
    void driveSlowsAtTurns();
    void degenerateRoutes();
};

void TstRoadGrid::nearest_data()
{
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");

    QTest::newRow("centre") << 36.30 << 59.60 << 0 << 0;
    QTest::newRow("just off a crossing") << 36.3051 << 59.5941 << 1 << -1;
    QTest::newRow("between, rounds") << 36.3074 << 59.6089 << 1 << 1;
    QTest::newRow("far north-east, clamped") << 40.0 << 62.0 << 12 << 12;
    QTest::newRow("far south-west, clamped") << 30.0 << 50.0 << -12 << -12;
}

void TstRoadGrid::nearest()
{
    QFETCH(double, lat);
    QFETCH(double, lon);
    QFETCH(int, row);
    QFETCH(int, col);

    QCOMPARE(RoadGrid::nearest(QGeoCoordinate(lat, lon)), (Crossing{row, col}));
}

void TstRoadGrid::routesFollowStreets_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("turns");

    QTest::newRow("centre, straight") << 0 << 0 << 0;
    QTest::newRow("centre, five turns") << 0 << 0 << 5;
    QTest::newRow("corner of town") << 12 << -12 << 8;
    QTest::newRow("outside the grid") << 40 << 40 << 3;
}

void TstRoadGrid::routesFollowStreets()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, turns);

    for (quint32 seed = 1; seed <= 20; ++seed) {
        QRandomGenerator random(seed);
        const QList<Crossing> route = RoadGrid::randomRoute(random, Crossing{row, col}, turns);
        QCOMPARE(route.size(), turns + 2);
        for (qsizetype i = 0; i < route.size(); ++i) {
            QVERIFY(inGrid(route.at(i)));
            if (i == 0)
                continue;
            const Crossing a = route.at(i - 1);
            const Crossing b = route.at(i);
            QVERIFY2((a.row == b.row) != (a.col == b.col), "consecutive crossings share a street");
            if (i >= 2) // every inner crossing is a turn
                QVERIFY((route.at(i - 2).row == a.row) != (a.row == b.row));
        }
    }
}

void TstRoadGrid::drivePointsLieOnStreets_data()
{
    QTest::addColumn<int>("interval");

    QTest::newRow("every 10 s") << 10;
    QTest::newRow("every 2 s") << 2;
    QTest::newRow("every 60 s") << 60;
}

void TstRoadGrid::drivePointsLieOnStreets()
{
    QFETCH(int, interval);

    QRandomGenerator random(7);
    const QList<Crossing> route = RoadGrid::randomRoute(random, Crossing{2, -3}, 6);
    const QList<Position> points = RoadGrid::drive(route, 1'700'000'000, interval, random);
    QVERIFY(points.size() > 2);
    QCOMPARE(points.first().time, 1'700'000'000);
    const QGeoCoordinate start = RoadGrid::coordinate(route.first());
    const QGeoCoordinate end = RoadGrid::coordinate(route.last());
    QCOMPARE(points.first().lat, start.latitude());
    QCOMPARE(points.first().lon, start.longitude());
    QCOMPARE(points.last().lat, end.latitude());
    QCOMPARE(points.last().lon, end.longitude());
    for (qsizetype i = 0; i < points.size(); ++i) {
        const Position &p = points.at(i);
        QVERIFY2(onStreet(p), qPrintable(QStringLiteral("point %1 off the streets").arg(i)));
        // Moving between 8 and 17 m/s; standing at the destination.
        if (i + 1 < points.size())
            QVERIFY(p.speed >= 8 && p.speed <= 17);
        else
            QCOMPARE(p.speed, 0.0);
        QVERIFY(p.alt >= 990 && p.alt <= 1010);
        QVERIFY(p.accuracy >= 60 && p.accuracy <= 100);
        if (i > 0) {
            QCOMPARE(p.time - points.at(i - 1).time, interval);
            const QGeoCoordinate from(points.at(i - 1).lat, points.at(i - 1).lon);
            // Never further than the top speed allows.
            QVERIFY(from.distanceTo(QGeoCoordinate(p.lat, p.lon)) <= 17.0 * interval + 1);
        }
    }
}

void TstRoadGrid::driveCourse_data()
{
    QTest::addColumn<Crossing>("to");
    QTest::addColumn<double>("course");

    QTest::newRow("north") << Crossing{3, 0} << 0.0;
    QTest::newRow("east") << Crossing{0, 3} << 90.0;
    QTest::newRow("south") << Crossing{-3, 0} << 180.0;
    QTest::newRow("west") << Crossing{0, -3} << 270.0;
}

void TstRoadGrid::driveCourse()
{
    QFETCH(Crossing, to);
    QFETCH(double, course);

    QRandomGenerator random(3);
    const QList<Position> points = RoadGrid::drive({Crossing{}, to}, 0, 10, random);
    QVERIFY(points.size() > 5);
    for (const Position &p : points)
        QCOMPARE(p.course, course);
    // Heading north or east, the coordinate along the street only grows.
    for (qsizetype i = 1; i < points.size(); ++i) {
        const double moved = course == 0 || course == 180 ? points.at(i).lat - points.at(i - 1).lat
                                                          : points.at(i).lon - points.at(i - 1).lon;
        QVERIFY(course < 135 ? moved > 0 : moved < 0);
    }
}

void TstRoadGrid::driveSlowsAtTurns()
{
    QRandomGenerator random(11);
    const QList<Position> points =
        RoadGrid::drive({Crossing{0, 0}, Crossing{0, 4}, Crossing{4, 4}}, 0, 2, random);
    const QGeoCoordinate corner = RoadGrid::coordinate(Crossing{0, 4});
    double slowest = 100;
    double fastest = 0;
    for (const Position &p : points) {
        const double away = corner.distanceTo(QGeoCoordinate(p.lat, p.lon));
        if (away < 30)
            slowest = std::min(slowest, p.speed);
        if (away > 500)
            fastest = std::max(fastest, p.speed);
    }
    QVERIFY(slowest < 10);
    QVERIFY(fastest > 10);
}

void TstRoadGrid::degenerateRoutes()
{
    QRandomGenerator random(1);
    QVERIFY(RoadGrid::drive({}, 0, 10, random).isEmpty());
    QVERIFY(RoadGrid::drive({Crossing{}, Crossing{0, 2}}, 0, 0, random).isEmpty());

    const QList<Position> parked = RoadGrid::drive({Crossing{1, 1}, Crossing{1, 1}}, 5, 10, random);
    QCOMPARE(parked.size(), 1);
    QCOMPARE(parked.first().time, 5);

    // A diagonal step goes round the corner instead of across the blocks.
    const QList<Position> diagonal = RoadGrid::drive({Crossing{}, Crossing{2, 2}}, 0, 10, random);
    QVERIFY(diagonal.size() > 2);
    for (const Position &p : diagonal)
        QVERIFY(onStreet(p));

    QCOMPARE(RoadGrid::nearest(QGeoCoordinate()), Crossing{});
}

QTEST_GUILESS_MAIN(TstRoadGrid)
#include "tst_roadgrid.moc"

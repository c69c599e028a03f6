#include "TripDay.h"

#include <QGeoCoordinate>
#include <QTest>

namespace {

// A point's record as the cutter keeps it; a negative speed leaves the speed out.
QVariantMap record(double lat, double lon, double speed)
{
    QVariantMap point{{QStringLiteral("lat"), lat}, {QStringLiteral("lon"), lon}};
    if (speed >= 0)
        point.insert(QStringLiteral("speed"), speed);
    return point;
}

// A trip keyed by seconds, its points moving north-east a thousandth of a degree each.
QVariantMap trip(const QList<qint64> &times, const QList<double> &speeds = {})
{
    QVariantMap points;
    for (qsizetype i = 0; i < times.size(); ++i)
        points.insert(QString::number(times[i]),
                      record(36.3 + double(i) / 1000, 59.6 + double(i) / 1000,
                             speeds.isEmpty() ? 5 : speeds[i]));
    return points;
}

} // namespace

class TestTripDay : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void pointAt_data();
    void pointAt();
    void motion_data();
    void motion();
    void corners_data();
    void corners();
};

void TestTripDay::order_data()
{
    QTest::addColumn<QList<qint64>>("times");
    QTest::addColumn<QList<qint64>>("ordered");

    QTest::newRow("ten digits") << QList<qint64>{1710892810, 1710892800, 1710892805}
                                << QList<qint64>{1710892800, 1710892805, 1710892810};
    // As strings "999999999" sorts after "1000000000".
    QTest::newRow("across a digit") << QList<qint64>{999999999, 1000000000, 1000000001}
                                    << QList<qint64>{999999999, 1000000000, 1000000001};
    QTest::newRow("one point") << QList<qint64>{1710892800} << QList<qint64>{1710892800};
}

// Times, line and records stay in step, in time order.
void TestTripDay::order()
{
    QFETCH(QList<qint64>, times);
    QFETCH(QList<qint64>, ordered);

    QVariantMap points;
    for (qint64 time : times)
        points.insert(QString::number(time), record(double(time % 1000) / 100, 0, 0));
    TripDay day;
    day.setPaths({points});
    QCOMPARE(day.count(), 1);
    QCOMPARE(day.pointCount(0), int(ordered.size()));
    const QGeoPath path = day.path(0);
    QCOMPARE(path.size(), ordered.size());
    for (int i = 0; i < ordered.size(); ++i) {
        QCOMPARE(day.timeAt(0, i), double(ordered[i]));
        QCOMPARE(path.coordinateAt(i).latitude(), double(ordered[i] % 1000) / 100);
        QCOMPARE(day.pointAt(0, double(ordered[i])).toMap().value("lat").toDouble(),
                 double(ordered[i] % 1000) / 100);
    }
}

void TestTripDay::pointAt_data()
{
    QTest::addColumn<int>("trip");
    QTest::addColumn<double>("second");
    QTest::addColumn<double>("lat"); // 0: no point

    QTest::newRow("first") << 0 << 100.0 << 36.3;
    QTest::newRow("last") << 0 << 160.0 << 36.302;
    QTest::newRow("between two points") << 0 << 130.0 << 0.0;
    QTest::newRow("a fraction past a point") << 0 << 100.5 << 0.0;
    QTest::newRow("before the trip") << 0 << 99.0 << 0.0;
    QTest::newRow("after the trip") << 0 << 161.0 << 0.0;
    QTest::newRow("second trip") << 1 << 501.0 << 36.301;
    QTest::newRow("no such trip") << 2 << 100.0 << 0.0;
    QTest::newRow("negative trip") << -1 << 100.0 << 0.0;
    QTest::newRow("not a number") << 0 << qQNaN() << 0.0;
}

void TestTripDay::pointAt()
{
    QFETCH(int, trip);
    QFETCH(double, second);
    QFETCH(double, lat);

    TripDay day;
    day.setPaths({::trip({100, 120, 160}), ::trip({500, 501})});
    const QVariant point = day.pointAt(trip, second);
    QCOMPARE(point.isValid(), lat != 0);
    if (lat != 0)
        QCOMPARE(point.toMap().value("lat").toDouble(), lat);
}

void TestTripDay::motion_data()
{
    QTest::addColumn<QList<qint64>>("times");
    QTest::addColumn<QList<double>>("speeds"); // negative: no speed in the record
    QTest::addColumn<QList<double>>("positions");
    QTest::addColumn<QList<bool>>("moving");

    QTest::newRow("stands, moves, stands")
        << QList<qint64>{0, 10, 20, 40} << QList<double>{0, 1, 0.9, 0} << QList<double>{0.25, 0.5}
        << QList<bool>{true, false};
    QTest::newRow("moving from the first point")
        << QList<qint64>{0, 50, 100} << QList<double>{3, 3, 0} << QList<double>{0, 1}
        << QList<bool>{true, false};
    QTest::newRow("no speed stands") << QList<qint64>{0, 10, 20} << QList<double>{5, -1, 5}
                                     << QList<double>{0, 0.5, 1} << QList<bool>{true, false, true};
    QTest::newRow("one point") << QList<qint64>{0} << QList<double>{5} << QList<double>{}
                               << QList<bool>{};
}

void TestTripDay::motion()
{
    QFETCH(QList<qint64>, times);
    QFETCH(QList<double>, speeds);
    QFETCH(QList<double>, positions);
    QFETCH(QList<bool>, moving);

    QList<qint64> seconds;
    for (qint64 time : times)
        seconds << 1710892800 + time;
    TripDay day;
    day.setPaths({trip(seconds, speeds)});
    const QVariantList changes = day.motionChanges(0);
    QCOMPARE(changes.size(), positions.size());
    for (qsizetype i = 0; i < changes.size(); ++i) {
        QCOMPARE(changes[i].toMap().value("position").toDouble(), positions[i]);
        QCOMPARE(changes[i].toMap().value("moving").toBool(), moving[i]);
    }
}

void TestTripDay::corners_data()
{
    QTest::addColumn<int>("trips");
    QTest::addColumn<QList<double>>("box"); // south, west, north, east; empty: no corners

    QTest::newRow("all trips") << 2 << QList<double>{36.3, 59.0, 36.302, 59.602};
    QTest::newRow("the first trip") << 1 << QList<double>{36.3, 59.6, 36.302, 59.602};
    QTest::newRow("more than there are") << 5 << QList<double>{36.3, 59.0, 36.302, 59.602};
    QTest::newRow("none") << 0 << QList<double>{};
}

void TestTripDay::corners()
{
    QFETCH(int, trips);
    QFETCH(QList<double>, box);

    TripDay day;
    day.setPaths(
        {trip({100, 110, 120}), QVariantMap{{QStringLiteral("500"), record(36.301, 59.0, 0)}}});
    const QVariantList corners = day.corners(trips);
    if (box.isEmpty()) {
        QVERIFY(corners.isEmpty());
        return;
    }
    const QList<QGeoCoordinate> expected{
        {box[0], box[1]}, {box[2], box[1]}, {box[2], box[3]}, {box[0], box[3]}};
    QCOMPARE(corners.size(), expected.size());
    for (qsizetype i = 0; i < corners.size(); ++i)
        QCOMPARE(corners[i].value<QGeoCoordinate>(), expected[i]);
}

QTEST_GUILESS_MAIN(TestTripDay)
#include "tst_tripday.moc"

#include "TripHistory.h"

#include <QTest>
#include <QTimeZone>

using namespace devserver;

namespace {

qint64 secondsAt(const QDate &date, int hour)
{
    return QDateTime(date, QTime(hour, 0), QTimeZone::UTC).toSecsSinceEpoch();
}

// The app's own rule: a gap of 1200 s or more ends a path.
QList<QList<Position>> cutAtLongGaps(const QList<Position> &points)
{
    QList<QList<Position>> paths;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (i == 0 || points.at(i).time - points.at(i - 1).time >= 1200)
            paths.append(QList<Position>{});
        paths.last().append(points.at(i));
    }
    return paths;
}

} // namespace

class TstTripHistory : public QObject
{
    Q_OBJECT

private slots:
    void dayShape_data();
    void dayShape();
    void tripsChainAndStopLong();
    void sameSeedSameDay();
    void invalidDate();
};

void TstTripHistory::dayShape_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<quint32>("seed");

    QTest::newRow("ordinary day") << QDate(2025, 5, 14) << 1u;
    QTest::newRow("new year's eve") << QDate(2024, 12, 31) << 2u;
    QTest::newRow("leap day") << QDate(2024, 2, 29) << 3u;
    for (quint32 seed = 10; seed < 40; ++seed)
        QTest::addRow("seed %u", seed) << QDate(2025, 3, 21) << seed;
}

void TstTripHistory::dayShape()
{
    QFETCH(QDate, date);
    QFETCH(quint32, seed);

    QRandomGenerator random(seed);
    const QList<Position> points = TripHistory::day(date, random);
    QVERIFY(!points.isEmpty());
    QVERIFY(points.first().time >= secondsAt(date, 6));
    QVERIFY(points.last().time <= secondsAt(date, 22));
    for (qsizetype i = 1; i < points.size(); ++i) {
        const qint64 step = points.at(i).time - points.at(i - 1).time;
        QVERIFY2(step == 10 || step >= 1500,
                 qPrintable(QStringLiteral("step of %1 s at %2").arg(step).arg(i)));
    }

    const QList<QList<Position>> paths = cutAtLongGaps(points);
    QVERIFY(paths.size() >= 3);
    QVERIFY(paths.size() <= 6);
    for (const QList<Position> &path : paths) {
        QVERIFY(path.size() > 9);
        QVERIFY(path.last().time - path.first().time >= 180);
    }
}

void TstTripHistory::tripsChainAndStopLong()
{
    QRandomGenerator random(5);
    const RoadGrid::Crossing home{-4, 7};
    const QList<QList<Position>> trips = TripHistory::trips(QDate(2025, 6, 1), random, home);
    QVERIFY(trips.size() >= 3);
    const QGeoCoordinate homeAt = RoadGrid::coordinate(home);
    QCOMPARE(trips.first().first().lat, homeAt.latitude());
    QCOMPARE(trips.first().first().lon, homeAt.longitude());
    for (qsizetype i = 1; i < trips.size(); ++i) {
        const Position &arrived = trips.at(i - 1).last();
        const Position &left = trips.at(i).first();
        QCOMPARE(left.lat, arrived.lat);
        QCOMPARE(left.lon, arrived.lon);
        QVERIFY(left.time - arrived.time >= 25 * 60);
        QVERIFY(left.time - arrived.time <= 180 * 60);
    }
}

void TstTripHistory::sameSeedSameDay()
{
    QRandomGenerator first(42);
    QRandomGenerator second(42);
    QRandomGenerator other(43);
    const QDate date(2025, 1, 1);
    const QList<Position> a = TripHistory::day(date, first);
    const QList<Position> b = TripHistory::day(date, second);
    const QList<Position> c = TripHistory::day(date, other);
    QCOMPARE(a.size(), b.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        QCOMPARE(a.at(i).time, b.at(i).time);
        QCOMPARE(a.at(i).lat, b.at(i).lat);
        QCOMPARE(a.at(i).lon, b.at(i).lon);
        QCOMPARE(a.at(i).speed, b.at(i).speed);
    }
    QVERIFY(a.size() != c.size() || a.first().time != c.first().time ||
            a.last().lat != c.last().lat);
}

void TstTripHistory::invalidDate()
{
    QRandomGenerator random(1);
    QVERIFY(TripHistory::day(QDate(), random).isEmpty());
}

QTEST_GUILESS_MAIN(TstTripHistory)
#include "tst_triphistory.moc"

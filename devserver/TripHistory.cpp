#include "TripHistory.h"

#include <QTimeZone>

namespace devserver {

namespace TripHistory {

namespace {

constexpr int fewestTrips = 3;
constexpr int mostTrips = 6;
constexpr qint64 shortestTrip = 3 * 60;
constexpr qint64 shortestStop = 25 * 60; // well over the 20 minutes that split paths
constexpr qint64 longestStop = 180 * 60;
constexpr qint64 latestFirstStart = 90 * 60; // after 06:00

qint64 secondsAt(const QDate &date, int hour)
{
    return QDateTime(date, QTime(hour, 0), QTimeZone::UTC).toSecsSinceEpoch();
}

// One trip of at least three minutes; more turns make a longer route.
QList<Position> trip(QRandomGenerator &random, const RoadGrid::Crossing &from, qint64 start)
{
    for (int turns = 3;; ++turns) {
        const QList<Position> points = RoadGrid::drive(RoadGrid::randomRoute(random, from, turns),
                                                       start, pointInterval, random);
        if (points.constLast().time - start >= shortestTrip)
            return points;
    }
}

} // namespace

QList<QList<Position>> trips(const QDate &date, QRandomGenerator &random,
                             const RoadGrid::Crossing &from)
{
    QList<QList<Position>> day;
    if (!date.isValid())
        return day;
    const qint64 end = secondsAt(date, 22);
    const int count = int(random.bounded(fewestTrips, mostTrips + 1));
    qint64 start = secondsAt(date, 6) + random.bounded(latestFirstStart);
    RoadGrid::Crossing at = from;
    for (int i = 0; i < count; ++i) {
        const QList<Position> points = trip(random, at, start);
        // Three trips with the longest stops still end by early afternoon; later ones that
        // would run past the evening are left out.
        if (points.constLast().time > end)
            break;
        day.append(points);
        const Position &last = points.constLast();
        at = RoadGrid::nearest(QGeoCoordinate(last.lat, last.lon));
        start = last.time + random.bounded(shortestStop, longestStop + 1);
    }
    return day;
}

QList<Position> day(const QDate &date, QRandomGenerator &random)
{
    QList<Position> points;
    for (const QList<Position> &trip : trips(date, random, RoadGrid::Crossing{}))
        points.append(trip);
    return points;
}

} // namespace TripHistory

} // namespace devserver

#include "TripDay.h"

#include <QGeoCoordinate>
#include <QVariantMap>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A car slower than this, in metres a second, stands.
constexpr double movingSpeed = 1;

} // namespace

TripDay::Trips TripDay::fromPaths(const QVariantList &paths)
{
    Trips trips;
    trips.reserve(paths.size());
    for (const QVariant &path : paths) {
        const QVariantMap points = path.toMap();
        // Keys order as strings: sort by their numbers, as ten-digit seconds always did.
        QList<std::pair<qint64, QVariant>> timed;
        timed.reserve(points.size());
        for (auto it = points.cbegin(); it != points.cend(); ++it)
            timed.append({it.key().toLongLong(), it.value()});
        std::stable_sort(timed.begin(), timed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });

        Trip trip;
        QList<QGeoCoordinate> coordinates;
        coordinates.reserve(timed.size());
        trip.times.reserve(timed.size());
        trip.points.reserve(timed.size());
        double south = std::numeric_limits<double>::infinity(), west = south;
        double north = -south, east = -south;
        for (const auto &[time, point] : std::as_const(timed)) {
            const QVariantMap record = point.toMap();
            const double lat = record.value(QStringLiteral("lat")).toDouble();
            const double lon = record.value(QStringLiteral("lon")).toDouble();
            coordinates.append(QGeoCoordinate(lat, lon));
            trip.times.append(time);
            trip.points.append(point);
            south = std::min(south, lat);
            north = std::max(north, lat);
            west = std::min(west, lon);
            east = std::max(east, lon);
        }
        trip.path.setPath(coordinates);
        trip.south = south;
        trip.west = west;
        trip.north = north;
        trip.east = east;
        trips.append(std::move(trip));
    }
    return trips;
}

TripDay::TripDay(QObject *parent) : QObject(parent) {}

void TripDay::setTrips(Trips trips)
{
    m_trips = std::move(trips);
    emit tripsChanged();
}

const TripDay::Trip *TripDay::tripAt(int trip) const
{
    return trip >= 0 && trip < m_trips.size() ? &m_trips.at(trip) : nullptr;
}

QGeoPath TripDay::path(int trip) const
{
    const Trip *found = tripAt(trip);
    return found ? found->path : QGeoPath();
}

int TripDay::pointCount(int trip) const
{
    const Trip *found = tripAt(trip);
    return found ? int(found->times.size()) : 0;
}

double TripDay::timeAt(int trip, int index) const
{
    const Trip *found = tripAt(trip);
    if (!found || index < 0 || index >= found->times.size())
        return 0;
    return double(found->times.at(index));
}

QVariant TripDay::pointAt(int trip, double second) const
{
    const Trip *found = tripAt(trip);
    if (!found || !std::isfinite(second))
        return {};
    const auto at =
        std::lower_bound(found->times.cbegin(), found->times.cend(), second,
                         [](qint64 time, double wanted) { return double(time) < wanted; });
    if (at == found->times.cend() || double(*at) != second)
        return {};
    return found->points.at(at - found->times.cbegin());
}

QVariantList TripDay::motionChanges(int trip) const
{
    QVariantList changes;
    const Trip *found = tripAt(trip);
    if (!found || found->times.size() < 2)
        return changes;
    const double start = double(found->times.first());
    const double length = double(found->times.last()) - start;
    bool moving = false;
    for (qsizetype i = 0; i < found->times.size(); ++i) {
        // A record without a speed, or with one that is no number, stands.
        bool isNumber = false;
        const double speed =
            found->points.at(i).toMap().value(QStringLiteral("speed")).toDouble(&isNumber);
        const bool nowMoving = isNumber && speed >= movingSpeed;
        if (nowMoving == moving)
            continue;
        moving = nowMoving;
        changes.append(QVariantMap{
            {QStringLiteral("position"), (double(found->times.at(i)) - start) / length},
            {QStringLiteral("moving"), moving},
        });
    }
    return changes;
}

QVariantList TripDay::corners(int trips) const
{
    double south = std::numeric_limits<double>::infinity(), west = south;
    double north = -south, east = -south;
    for (qsizetype i = 0; i < std::min<qsizetype>(trips, m_trips.size()); ++i) {
        const Trip &trip = m_trips.at(i);
        south = std::min(south, trip.south);
        north = std::max(north, trip.north);
        west = std::min(west, trip.west);
        east = std::max(east, trip.east);
    }
    if (!(south <= north && west <= east))
        return {};
    return {QVariant::fromValue(QGeoCoordinate(south, west)),
            QVariant::fromValue(QGeoCoordinate(north, west)),
            QVariant::fromValue(QGeoCoordinate(north, east)),
            QVariant::fromValue(QGeoCoordinate(south, east))};
}

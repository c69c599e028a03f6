#include "RoadGrid.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace devserver {

namespace RoadGrid {

namespace {

constexpr double slowSpeed = 8;      // m/s through a crossing
constexpr double fastSpeed = 17;     // m/s, the top of town driving
constexpr double speedUpRate = 0.04; // m/s gained per metre away from a crossing
constexpr int longestLeg = 5;        // blocks driven straight before turning

int clampIndex(int index)
{
    return std::clamp(index, -halfSpan, halfSpan);
}

// A new street index for one straight leg: 1 to longestLeg blocks away, turning back from the
// edge of town.
int legEnd(QRandomGenerator &random, int from)
{
    const int blocks = int(random.bounded(1, longestLeg + 1));
    const int forward = random.bounded(2) == 0 ? blocks : -blocks;
    const int end = clampIndex(from + forward);
    return end != from ? end : clampIndex(from - forward);
}

// Consecutive crossings that share no street get the corner between them, and repeats go, so
// every leg runs along one street.
QList<Crossing> streetLegs(const QList<Crossing> &route)
{
    QList<Crossing> legs;
    for (const Crossing &next : route) {
        if (!legs.isEmpty()) {
            const Crossing last = legs.constLast();
            if (last == next)
                continue;
            if (last.row != next.row && last.col != next.col)
                legs.append(Crossing{last.row, next.col});
        }
        legs.append(next);
    }
    return legs;
}

double courseOf(const Crossing &from, const Crossing &to)
{
    if (to.row > from.row)
        return 0;
    if (to.col > from.col)
        return 90;
    if (to.row < from.row)
        return 180;
    return 270;
}

// A gentle rise and fall of the town's ground, so altitudes stay between 990 and 1010 m.
double groundAltitude(const QGeoCoordinate &at, QRandomGenerator &random)
{
    const double hills = 6 * std::sin(at.latitude() * 300) + 3 * std::cos(at.longitude() * 250);
    return 1000 + hills + random.bounded(2.0) - 1;
}

} // namespace

QGeoCoordinate coordinate(const Crossing &crossing)
{
    return QGeoCoordinate(centreLat + crossing.row * latStep, centreLon + crossing.col * lonStep);
}

Crossing nearest(const QGeoCoordinate &coordinate)
{
    const double row = (coordinate.latitude() - centreLat) / latStep;
    const double col = (coordinate.longitude() - centreLon) / lonStep;
    if (!std::isfinite(row) || !std::isfinite(col))
        return Crossing{};
    const auto index = [](double value) {
        return int(std::clamp(std::round(value), double(-halfSpan), double(halfSpan)));
    };
    return Crossing{index(row), index(col)};
}

QList<Crossing> randomRoute(QRandomGenerator &random, const Crossing &from, int turns)
{
    Crossing at{clampIndex(from.row), clampIndex(from.col)};
    QList<Crossing> route{at};
    bool alongRow = random.bounded(2) == 0;
    for (int leg = 0; leg <= std::max(turns, 0); ++leg) {
        if (alongRow)
            at.col = legEnd(random, at.col);
        else
            at.row = legEnd(random, at.row);
        route.append(at);
        alongRow = !alongRow;
    }
    return route;
}

QList<Position> drive(const QList<Crossing> &route, qint64 startTime, int intervalSeconds,
                      QRandomGenerator &random)
{
    QList<Position> points;
    const QList<Crossing> legs = streetLegs(route);
    if (legs.isEmpty() || intervalSeconds <= 0)
        return points;

    struct Leg
    {
        QGeoCoordinate from;
        QGeoCoordinate to;
        double course = 0;
        double start = 0; // metres from the route's start
        double length = 0;
        double cruise = 0;
    };
    QList<Leg> plan;
    double total = 0;
    for (qsizetype i = 1; i < legs.size(); ++i) {
        Leg leg;
        leg.from = coordinate(legs.at(i - 1));
        leg.to = coordinate(legs.at(i));
        leg.course = courseOf(legs.at(i - 1), legs.at(i));
        leg.start = total;
        leg.length = leg.from.distanceTo(leg.to);
        leg.cruise = 11 + random.bounded(5.0);
        total += leg.length;
        plan.append(leg);
    }

    const auto point = [&](qint64 time, const QGeoCoordinate &at, double course, double speed) {
        Position position;
        position.time = time;
        position.lat = at.latitude();
        position.lon = at.longitude();
        position.alt = groundAltitude(at, random);
        position.course = course;
        position.speed = speed;
        // The app shows this as the GPS signal quality, in percent.
        position.accuracy = int(random.bounded(60, 101));
        points.append(position);
    };

    qint64 time = startTime;
    double travelled = 0;
    qsizetype current = 0;
    while (travelled < total) {
        while (current + 1 < plan.size() &&
               travelled >= plan.at(current).start + plan.at(current).length)
            ++current;
        const Leg &leg = plan.at(current);
        const double along = travelled - leg.start;
        const double fraction = along / leg.length;
        // Each leg runs along one street, so one coordinate stays exactly on its grid line.
        const QGeoCoordinate at(
            leg.from.latitude() == leg.to.latitude()
                ? leg.from.latitude()
                : leg.from.latitude() + fraction * (leg.to.latitude() - leg.from.latitude()),
            leg.from.longitude() == leg.to.longitude()
                ? leg.from.longitude()
                : leg.from.longitude() + fraction * (leg.to.longitude() - leg.from.longitude()));
        const double toCrossing = std::min(along, leg.length - along);
        const double speed = std::clamp(
            std::min(leg.cruise + random.bounded(2.0) - 1, slowSpeed + speedUpRate * toCrossing),
            slowSpeed, fastSpeed);
        point(time, at, leg.course, speed);
        travelled += speed * intervalSeconds;
        time += intervalSeconds;
    }
    // The car stands at its destination: a parked car reports no speed.
    const double lastCourse = plan.isEmpty() ? 0 : plan.constLast().course;
    point(time, coordinate(legs.constLast()), lastCourse, 0);
    return points;
}

} // namespace RoadGrid

} // namespace devserver

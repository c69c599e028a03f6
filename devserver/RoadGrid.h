#pragma once

#include "Store.h"

#include <QGeoCoordinate>
#include <QList>
#include <QRandomGenerator>

namespace devserver {

// The synthetic town the simulated cars drive in: straight streets along fixed latitudes and
// longitudes around the map's initial view. The tile painter draws exactly these streets, so a
// car is always seen on a road.
namespace RoadGrid {

inline constexpr double centreLat = 36.30;
inline constexpr double centreLon = 59.60;
inline constexpr double latStep = 0.005; // between east-west streets, about 555 m
inline constexpr double lonStep = 0.006; // between north-south streets, about 540 m
inline constexpr int halfSpan = 12;      // streets on each side of the centre lines

// A crossing, by street indexes from -halfSpan to halfSpan.
struct Crossing
{
    int row = 0; // east-west street, northwards
    int col = 0; // north-south street, eastwards
    bool operator==(const Crossing &) const = default;
};

QGeoCoordinate coordinate(const Crossing &crossing);
// The crossing nearest to a coordinate, clamped into the grid.
Crossing nearest(const QGeoCoordinate &coordinate);

// A route along the streets from `from`, turning at `turns` crossings chosen at random; every
// point is a crossing, consecutive points share a street.
QList<Crossing> randomRoute(QRandomGenerator &random, const Crossing &from, int turns);

// Samples a drive along a route, one point every `intervalSeconds`, starting at `startTime`
// and ending at the route's last crossing. Speed varies between city-street values.
QList<Position> drive(const QList<Crossing> &route, qint64 startTime, int intervalSeconds,
                      QRandomGenerator &random);

} // namespace RoadGrid

} // namespace devserver

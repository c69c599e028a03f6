#pragma once

#include <QGeoCoordinate>
#include <QList>

#include <optional>

namespace devserver {

// Walks on the road grid: from a point to the nearest street, along the streets, and off the
// street to the end point.
namespace StreetRouter {

// Farther than this from every street, a point is not in the town.
inline constexpr double reachMetres = 1000;

// The point of the streets nearest to `at`, or nothing beyond reach.
std::optional<QGeoCoordinate> nearestStreetPoint(const QGeoCoordinate &at);

// The corners of the shortest walk from `from` to `to`, both ends included exactly; among
// walks of the same length the one with the fewest turns. Every leg but the first and the last
// runs along one street, and no two consecutive legs lie on one line. A walk to the same place
// is the one point. Nothing when either end is beyond reach.
std::optional<QList<QGeoCoordinate>> walk(const QGeoCoordinate &from, const QGeoCoordinate &to);

} // namespace StreetRouter

} // namespace devserver

#pragma once

#include <QByteArray>
#include <QString>
#include <QUrlQuery>

namespace devserver {

// The walking routes under /route/, in the JSON of the route API the map plugin reads: one
// route along the road grid's streets, with a leg between each two waypoints and a step for
// each stretch along one street. Refusals are that API's error objects with status 400.
namespace RouteService {

inline constexpr double walkingSpeed = 5 / 3.6; // metres per second

struct Reply
{
    int status = 200;
    QByteArray body;
};

// `path` below /route/, e.g. "v1/foot/59.6,36.3;59.61,36.31".
Reply handle(const QString &path, const QUrlQuery &query);

} // namespace RouteService

} // namespace devserver

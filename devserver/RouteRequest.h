#pragma once

#include <QGeoCoordinate>
#include <QList>
#include <QString>
#include <QUrlQuery>

#include <variant>

namespace devserver {

// A request of the route API the map plugin speaks, read from the path below "/route/":
// "v1/<profile>/<lon>,<lat>;<lon>,<lat>[;...][.json]" and the options of its query.
struct RouteRequest
{
    enum class Geometry { Polyline, Polyline6, GeoJson };

    // Only walking: the server has no other way about town.
    static inline const QStringList profiles = {QStringLiteral("foot"), QStringLiteral("walking")};
    static constexpr int maxWaypoints = 25;

    QList<QGeoCoordinate> waypoints;
    bool steps = false;
    Geometry geometry = Geometry::Polyline;
    bool overview = true; // "overview=false" leaves out the geometry of the whole route
};

// Why a request is refused, in the API's own terms ("InvalidUrl", "InvalidValue", ...).
struct RouteError
{
    QString code;
    QString message;
};

std::variant<RouteRequest, RouteError> parseRouteRequest(const QString &path,
                                                         const QUrlQuery &query);

} // namespace devserver

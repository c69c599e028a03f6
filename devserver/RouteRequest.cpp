#include "RouteRequest.h"

#include <QRegularExpression>

namespace devserver {

namespace {

RouteError invalidUrl(const QString &message)
{
    return {QStringLiteral("InvalidUrl"), message};
}

RouteError invalidOptions(const QString &message)
{
    return {QStringLiteral("InvalidOptions"), message};
}

// Plain decimals only: no exponents, signs other than minus, infinities or NaN.
std::variant<QGeoCoordinate, RouteError> coordinate(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(-?[0-9]{1,3}(?:\\.[0-9]{1,15})?),(-?[0-9]{1,3}(?:\\.[0-9]{1,15})?)$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return invalidUrl(QStringLiteral("Coordinate \"%1\" is not longitude,latitude").arg(text));
    const double lon = match.captured(1).toDouble();
    const double lat = match.captured(2).toDouble();
    if (lon < -180 || lon > 180 || lat < -90 || lat > 90)
        return RouteError{QStringLiteral("InvalidValue"),
                          QStringLiteral("Coordinate \"%1\" is out of range").arg(text)};
    return QGeoCoordinate(lat, lon);
}

std::optional<RouteError> readOptions(const QUrlQuery &query, RouteRequest &request)
{
    const auto option = [&query](const char *key) {
        return query.queryItemValue(QString::fromLatin1(key), QUrl::FullyDecoded);
    };
    const auto hasOption = [&query](const char *key) {
        return query.hasQueryItem(QString::fromLatin1(key));
    };
    static const QRegularExpression trueFalse(QStringLiteral("^(true|false)$"));
    static const QRegularExpression alternatives(QStringLiteral("^(true|false|[0-9]{1,2})$"));

    if (hasOption("steps")) {
        if (!trueFalse.match(option("steps")).hasMatch())
            return invalidOptions(QStringLiteral("steps must be true or false"));
        request.steps = option("steps") == QLatin1String("true");
    }
    if (hasOption("geometries")) {
        const QString geometries = option("geometries");
        if (geometries == QLatin1String("polyline"))
            request.geometry = RouteRequest::Geometry::Polyline;
        else if (geometries == QLatin1String("polyline6"))
            request.geometry = RouteRequest::Geometry::Polyline6;
        else if (geometries == QLatin1String("geojson"))
            request.geometry = RouteRequest::Geometry::GeoJson;
        else
            return invalidOptions(
                QStringLiteral("geometries must be polyline, polyline6 or geojson"));
    }
    if (hasOption("overview")) {
        const QString overview = option("overview");
        if (overview != QLatin1String("full") && overview != QLatin1String("simplified") &&
            overview != QLatin1String("false"))
            return invalidOptions(QStringLiteral("overview must be full, simplified or false"));
        request.overview = overview != QLatin1String("false");
    }
    // Asking for alternatives is allowed; a grid walk has none to offer.
    if (hasOption("alternatives") && !alternatives.match(option("alternatives")).hasMatch())
        return invalidOptions(QStringLiteral("alternatives must be true, false or a number"));
    return std::nullopt;
}

} // namespace

std::variant<RouteRequest, RouteError> parseRouteRequest(const QString &path,
                                                         const QUrlQuery &query)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return invalidUrl(QStringLiteral("Expected v1/<profile>/<coordinates>"));
    if (parts.at(0) != QLatin1String("v1"))
        return RouteError{QStringLiteral("InvalidVersion"),
                          QStringLiteral("Only version v1 is served")};
    if (!RouteRequest::profiles.contains(parts.at(1)))
        return invalidUrl(QStringLiteral("Unknown profile \"%1\"; this server walks: %2")
                              .arg(parts.at(1), RouteRequest::profiles.join(QLatin1String(", "))));

    QString list = parts.at(2);
    if (list.endsWith(QLatin1String(".json")))
        list.chop(5);
    const QStringList texts = list.split(QLatin1Char(';'));
    if (texts.size() > RouteRequest::maxWaypoints)
        return RouteError{QStringLiteral("TooBig"),
                          QStringLiteral("At most %1 coordinates").arg(RouteRequest::maxWaypoints)};

    RouteRequest request;
    for (const QString &text : texts) {
        const auto parsed = coordinate(text);
        if (const auto *error = std::get_if<RouteError>(&parsed))
            return *error;
        request.waypoints.append(std::get<QGeoCoordinate>(parsed));
    }
    if (request.waypoints.size() < 2)
        return invalidOptions(QStringLiteral("Number of coordinates needs to be at least two"));
    if (const std::optional<RouteError> error = readOptions(query, request))
        return *error;
    return request;
}

} // namespace devserver

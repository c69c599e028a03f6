#include "RouteService.h"

#include "RouteRequest.h"
#include "StreetRouter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <optional>

namespace devserver {

namespace RouteService {

namespace {

double tenths(double value)
{
    return std::round(value * 10) / 10;
}

int bearing(const QGeoCoordinate &from, const QGeoCoordinate &to)
{
    return int(std::lround(from.azimuthTo(to))) % 360;
}

QJsonArray lonLat(const QGeoCoordinate &at)
{
    return {at.longitude(), at.latitude()};
}

// Google's polyline: each number the difference from the last, zigzag-coded in 5-bit groups.
QString polyline(const QList<QGeoCoordinate> &points, int precision)
{
    const double factor = std::pow(10.0, precision);
    QString text;
    qint64 lastLat = 0;
    qint64 lastLon = 0;
    const auto append = [&text](qint64 delta) {
        quint64 value = delta < 0 ? ~(quint64(delta) << 1) : quint64(delta) << 1;
        while (value >= 0x20) {
            text.append(QChar(char((0x20 | (value & 0x1f)) + 63)));
            value >>= 5;
        }
        text.append(QChar(char(value + 63)));
    };
    for (const QGeoCoordinate &point : points) {
        const qint64 lat = std::llround(point.latitude() * factor);
        const qint64 lon = std::llround(point.longitude() * factor);
        append(lat - lastLat);
        append(lon - lastLon);
        lastLat = lat;
        lastLon = lon;
    }
    return text;
}

QJsonValue geometry(const QList<QGeoCoordinate> &points, RouteRequest::Geometry format)
{
    switch (format) {
    case RouteRequest::Geometry::Polyline:
        return polyline(points, 5);
    case RouteRequest::Geometry::Polyline6:
        return polyline(points, 6);
    case RouteRequest::Geometry::GeoJson:
        break;
    }
    QJsonArray coordinates;
    for (const QGeoCoordinate &point : points)
        coordinates.append(lonLat(point));
    return QJsonObject{{QStringLiteral("type"), QStringLiteral("LineString")},
                       {QStringLiteral("coordinates"), coordinates}};
}

QString turnModifier(int before, int after)
{
    const int turn = ((after - before) % 360 + 540) % 360 - 180; // -180 to 179, right positive
    const int size = std::abs(turn);
    const QString side = turn > 0 ? QStringLiteral("right") : QStringLiteral("left");
    if (size < 20)
        return QStringLiteral("straight");
    if (size < 60)
        return QStringLiteral("slight ") + side;
    if (size < 120)
        return side;
    if (size < 170)
        return QStringLiteral("sharp ") + side;
    return QStringLiteral("uturn");
}

// Where a step starts, as the streets meet there for this walk: the way in (none on departure)
// and the way out (none on arrival).
QJsonArray intersections(const QGeoCoordinate &at, const QString &type, int before, int after)
{
    const std::optional<int> in =
        type == QLatin1String("depart") ? std::nullopt : std::optional<int>((before + 180) % 360);
    const std::optional<int> out =
        type == QLatin1String("arrive") ? std::nullopt : std::optional<int>(after);
    QList<int> bearings;
    for (const std::optional<int> &bearing : {in, out})
        if (bearing && !bearings.contains(*bearing))
            bearings.append(*bearing);
    std::sort(bearings.begin(), bearings.end());

    QJsonArray sorted;
    QJsonArray entries;
    for (const int bearing : bearings) {
        sorted.append(bearing);
        entries.append(true);
    }
    QJsonObject crossing{{QStringLiteral("location"), lonLat(at)},
                         {QStringLiteral("bearings"), sorted},
                         {QStringLiteral("entry"), entries}};
    if (in)
        crossing.insert(QStringLiteral("in"), int(bearings.indexOf(*in)));
    if (out)
        crossing.insert(QStringLiteral("out"), int(bearings.indexOf(*out)));
    return {crossing};
}

QJsonObject step(const QList<QGeoCoordinate> &stretch, const QString &type, int before, int after,
                 RouteRequest::Geometry format)
{
    QJsonObject maneuver{{QStringLiteral("type"), type},
                         {QStringLiteral("location"), lonLat(stretch.constFirst())},
                         {QStringLiteral("bearing_before"), before},
                         {QStringLiteral("bearing_after"), after}};
    if (type == QLatin1String("turn"))
        maneuver.insert(QStringLiteral("modifier"), turnModifier(before, after));
    const double distance = stretch.constFirst().distanceTo(stretch.constLast());
    return {
        {QStringLiteral("geometry"), geometry(stretch, format)},
        {QStringLiteral("maneuver"), maneuver},
        {QStringLiteral("intersections"), intersections(stretch.constFirst(), type, before, after)},
        {QStringLiteral("distance"), tenths(distance)},
        {QStringLiteral("duration"), tenths(distance / walkingSpeed)},
        {QStringLiteral("weight"), tenths(distance / walkingSpeed)},
        {QStringLiteral("name"), QString()},
        {QStringLiteral("mode"), QStringLiteral("walking")},
        {QStringLiteral("driving_side"), QStringLiteral("right")}};
}

// One step per stretch between corners, then the arrival.
QJsonArray steps(const QList<QGeoCoordinate> &corners, RouteRequest::Geometry format)
{
    QJsonArray list;
    int before = 0;
    for (qsizetype i = 0; i + 1 < corners.size(); ++i) {
        const int after = bearing(corners.at(i), corners.at(i + 1));
        list.append(step({corners.at(i), corners.at(i + 1)},
                         i == 0 ? QStringLiteral("depart") : QStringLiteral("turn"), before, after,
                         format));
        before = after;
    }
    const QGeoCoordinate end = corners.constLast();
    // A walk to where one stands is a departure and an arrival on the spot.
    if (corners.size() == 1)
        list.append(step({end, end}, QStringLiteral("depart"), 0, 0, format));
    list.append(step({end, end}, QStringLiteral("arrive"), before, 0, format));
    return list;
}

double lengthOf(const QList<QGeoCoordinate> &corners)
{
    double length = 0;
    for (qsizetype i = 1; i < corners.size(); ++i)
        length += corners.at(i - 1).distanceTo(corners.at(i));
    return length;
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

Reply refusal(const RouteError &error)
{
    return {400, json({{QStringLiteral("code"), error.code},
                       {QStringLiteral("message"), error.message}})};
}

} // namespace

Reply handle(const QString &path, const QUrlQuery &query)
{
    const auto parsed = parseRouteRequest(path, query);
    if (const auto *error = std::get_if<RouteError>(&parsed))
        return refusal(*error);
    const RouteRequest &request = std::get<RouteRequest>(parsed);

    QJsonArray waypoints;
    for (const QGeoCoordinate &at : request.waypoints) {
        const std::optional<QGeoCoordinate> street = StreetRouter::nearestStreetPoint(at);
        if (!street)
            return refusal({QStringLiteral("NoSegment"),
                            QStringLiteral("Could not find a matching segment for coordinate "
                                           "%1,%2: it is not in the town")
                                .arg(at.longitude())
                                .arg(at.latitude())});
        waypoints.append(QJsonObject{{QStringLiteral("name"), QString()},
                                     {QStringLiteral("location"), lonLat(*street)},
                                     {QStringLiteral("distance"), tenths(at.distanceTo(*street))},
                                     {QStringLiteral("hint"), QString()}});
    }

    QJsonArray legs;
    QList<QGeoCoordinate> whole;
    double distance = 0;
    for (qsizetype i = 0; i + 1 < request.waypoints.size(); ++i) {
        // Both ends are in reach, so there is a walk.
        const QList<QGeoCoordinate> corners =
            *StreetRouter::walk(request.waypoints.at(i), request.waypoints.at(i + 1));
        const double length = lengthOf(corners);
        distance += length;
        whole.append(whole.isEmpty() ? corners : corners.mid(1));
        legs.append(QJsonObject{{QStringLiteral("distance"), tenths(length)},
                                {QStringLiteral("duration"), tenths(length / walkingSpeed)},
                                {QStringLiteral("weight"), tenths(length / walkingSpeed)},
                                {QStringLiteral("summary"), QString()},
                                {QStringLiteral("steps"),
                                 request.steps ? steps(corners, request.geometry) : QJsonArray()}});
    }

    QJsonObject route{{QStringLiteral("distance"), tenths(distance)},
                      {QStringLiteral("duration"), tenths(distance / walkingSpeed)},
                      {QStringLiteral("weight"), tenths(distance / walkingSpeed)},
                      {QStringLiteral("weight_name"), QStringLiteral("duration")},
                      {QStringLiteral("legs"), legs}};
    if (request.overview)
        route.insert(QStringLiteral("geometry"), geometry(whole, request.geometry));
    return {200, json({{QStringLiteral("code"), QStringLiteral("Ok")},
                       {QStringLiteral("routes"), QJsonArray{route}},
                       {QStringLiteral("waypoints"), waypoints}})};
}

} // namespace RouteService

} // namespace devserver

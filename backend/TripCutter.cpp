#include "TripCutter.h"

#include "DataChannelRecords.h"

#include <QDateTime>

#include <algorithm>
#include <limits>

namespace {

constexpr qint64 pathGapSeconds = 1200;
constexpr qint64 drivingGapSeconds = 30;
// Shorter paths are GPS noise around a parked car.
constexpr qsizetype minimumPathEntries = 10;

QString keyOf(qint64 seconds)
{
    return QString::number(seconds);
}

qint64 timeOf(const QVariantMap &point)
{
    return point.value(QStringLiteral("dateTime")).toDateTime().toSecsSinceEpoch();
}

uint saturated(quint64 value)
{
    return uint(qMin<quint64>(value, std::numeric_limits<uint>::max()));
}

} // namespace

std::optional<TripCutter::Trip> TripCutter::cut(QByteArrayView reply)
{
    using namespace DataChannelRecords;
    const quint32 count = tripPointCount(reply);
    QList<std::pair<qint64, QVariantMap>> points;
    points.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        auto point = readTripPoint(
            reply.sliced(TripHeaderSize + qsizetype(i) * TripPointSize, TripPointSize));
        if (!point)
            return std::nullopt;
        points.append({timeOf(*point), std::move(*point)});
    }
    // Stable, so that of two points in the same second the later listed still wins.
    std::stable_sort(points.begin(), points.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });

    TripCutter cutter;
    for (const auto &[time, point] : std::as_const(points))
        cutter.addPoint(time, point);
    cutter.closePath();
    return cutter.m_trip;
}

void TripCutter::addPoint(qint64 time, const QVariantMap &point)
{
    const QGeoCoordinate coordinate(point.value(QStringLiteral("lat")).toDouble(),
                                    point.value(QStringLiteral("lon")).toDouble());

    if (!m_started) {
        m_started = true;
        m_path.insert(keyOf(time), point);
        m_lastTime = time;
        m_lastCoordinate = coordinate;
        return;
    }

    const qint64 gap = time - m_lastTime;
    if (gap >= pathGapSeconds) {
        closePath();
        const QVariant carried = m_path.last();
        m_path.clear();
        m_path.insert(keyOf(time - 1), carried);
        resetFigures();
    } else if (gap <= drivingGapSeconds) {
        m_drivingTime += quint64(gap);
    } else {
        m_stopTime += quint64(gap);
    }

    m_path.insert(keyOf(time), point);
    m_distance += m_lastCoordinate.distanceTo(coordinate);
    const double speed = point.value(QStringLiteral("speed")).toDouble();
    if (speed > double(m_maxSpeed))
        m_maxSpeed = quint64(speed);
    m_speedSum += speed;
    m_lastTime = time;
    m_lastCoordinate = coordinate;
}

void TripCutter::closePath()
{
    if (m_path.size() < minimumPathEntries)
        return;
    m_trip.paths.append(m_path);
    m_trip.figures.append(QVariantMap{
        {QStringLiteral("distance"), saturated(quint64(m_distance))},
        {QStringLiteral("drivingTime"), saturated(m_drivingTime)},
        {QStringLiteral("stopTime"), saturated(m_stopTime)},
        {QStringLiteral("maxSpeed"), saturated(m_maxSpeed)},
        {QStringLiteral("avrageSpeed"), qint64(m_speedSum / double(m_path.size()))},
    });
}

void TripCutter::resetFigures()
{
    m_distance = 0;
    m_drivingTime = 0;
    m_stopTime = 0;
    m_maxSpeed = 0;
    m_speedSum = 0;
}

#pragma once

#include <QByteArrayView>
#include <QGeoCoordinate>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// Cuts the points of a trip into paths wherever the car stood still for 20 minutes or more, and
// sums up every path that is long enough to show. Each path after the first starts with the last
// point before the gap, keyed one second before the path's own first point, so that the trip
// dialog can draw where the car set off from. Points are taken in time order, whatever order the
// reply lists them in.
class TripCutter
{
public:
    struct Trip
    {
        QVariantList paths;   // maps keyed by the decimal Unix seconds of each point
        QVariantList figures; // one statistics map per kept path, same order
    };

    // `reply` is a trip reply already accepted by DataChannelRecords::tripReplyError(). Nothing
    // when one of its points is malformed. Safe to run on any thread.
    static std::optional<Trip> cut(QByteArrayView reply);

private:
    void addPoint(qint64 time, const QVariantMap &point);
    void closePath();
    void resetFigures();

    Trip m_trip;
    QVariantMap m_path;
    bool m_started = false;
    qint64 m_lastTime = 0;
    QGeoCoordinate m_lastCoordinate;
    // Metres and metres per second keep their fractions while a path grows; only the figures
    // reported are whole numbers, or a second-by-second day would lose up to a metre a point.
    double m_distance = 0;
    quint64 m_drivingTime = 0;
    quint64 m_stopTime = 0;
    quint64 m_maxSpeed = 0;
    double m_speedSum = 0;
};

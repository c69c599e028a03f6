#pragma once

#include <QGeoPath>
#include <QList>
#include <QObject>
#include <QVariant>
#include <QVariantList>

// A day's trips as the map and the playback bar read them: each trip's line as one QGeoPath, and
// its points by the second, asked for one at a time. Built once, off the interface thread, so
// that a day of 86,400 points is never converted point by point into script.
class TripDay : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY tripsChanged)

public:
    struct Trip
    {
        QGeoPath path;
        QList<qint64> times; // ascending Unix seconds, one per point
        QVariantList points; // the location record of each time
        double south = 0, west = 0, north = 0, east = 0;
    };
    using Trips = QList<Trip>;

    // Paths as TripCutter makes them: maps keyed by the decimal Unix seconds of each point, whose
    // records carry "lat" and "lon". Safe to run on any thread.
    static Trips fromPaths(const QVariantList &paths);

    explicit TripDay(QObject *parent = nullptr);

    void setTrips(Trips trips);
    // The same, from script values.
    Q_INVOKABLE void setPaths(const QVariantList &paths) { setTrips(fromPaths(paths)); }

    int count() const { return int(m_trips.size()); }
    Q_INVOKABLE QGeoPath path(int trip) const;
    Q_INVOKABLE int pointCount(int trip) const;
    // The Unix seconds of point `index` of `trip`; 0 outside the trip.
    Q_INVOKABLE double timeAt(int trip, int index) const;
    // The record of `trip` at exactly `second`; undefined when the car left none that second.
    Q_INVOKABLE QVariant pointAt(int trip, double second) const;
    // Where along the trip's first to last second the car starts or stops moving, as
    // [{ position, moving }], the time before the first point counting as standing.
    Q_INVOKABLE QVariantList motionChanges(int trip) const;
    // The corners of the area the first `trips` trips cover, south-west first and on round; empty
    // without points.
    Q_INVOKABLE QVariantList corners(int trips) const;

signals:
    void tripsChanged();

private:
    const Trip *tripAt(int trip) const;

    Trips m_trips;
};

#pragma once

#include <QObject>

class LocationServiceCheck;

// The phone's location-service switch. The state is process-wide: the first instance constructed
// holds it and every other instance reads and writes through that one. With KOVA_NMEA_SOURCE the
// position comes from that NMEA source and GPS is on; otherwise, on Linux, from the platform's
// location service (GeoClue2) through its positioning plugin, and GPS is on once that service
// gives this app a position. The map's position source follows positionPluginName and its
// parameters.
class GpsManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool gpsIsOn READ gpsIsOn WRITE setGpsIsOn NOTIFY gpsIsOnChanged)
    // "nmea" with a source, "geoclue2" with the platform's location service, else empty.
    Q_PROPERTY(QString positionPluginName READ positionPluginName CONSTANT)
    // The "nmea" plugin's "nmea.source" parameter; empty without a source.
    Q_PROPERTY(QString nmeaSource READ nmeaSource CONSTANT)
    // The "geoclue2" plugin's "desktopId" parameter: the location service asks the user about,
    // and remembers, the app by it.
    Q_PROPERTY(QString desktopId READ desktopId CONSTANT)

public:
    explicit GpsManager(QObject *parent = nullptr);
    ~GpsManager() override;

    bool gpsIsOn() const;
    QString positionPluginName() const { return m_pluginName; }
    QString nmeaSource() const { return m_nmeaSource; }
    QString desktopId() const;

    // A Linux phone's location service cannot be switched from here: this asks it again, and
    // gpsIsOn follows its answer.
    Q_INVOKABLE void turnOnGps();

    // How long a check of the location service may wait for a first position.
    void setLocationCheckBound(int ms);

public slots:
    void setGpsIsOn(bool gpsIsOn);

signals:
    void gpsIsOnChanged();

private:
    static GpsManager *shared();
    void takeSharedState();

    bool m_gpsIsOn = false;
    QString m_nmeaSource;
    QString m_pluginName;
    LocationServiceCheck *m_locationCheck = nullptr;
};

#pragma once

#include <QObject>

// The phone's location-service switch. The state is process-wide: the first instance constructed
// holds it and every other instance reads and writes through that one. The desktop has no switch:
// gpsIsOn starts true only when KOVA_NMEA_SOURCE gives a position source, which the map's
// position source then uses through positionPluginName and nmeaSource.
class GpsManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool gpsIsOn READ gpsIsOn WRITE setGpsIsOn NOTIFY gpsIsOnChanged)
    // "nmea" with a source, else empty: the platform's own position source.
    Q_PROPERTY(QString positionPluginName READ positionPluginName CONSTANT)
    // The "nmea" plugin's "nmea.source" parameter; empty without a source.
    Q_PROPERTY(QString nmeaSource READ nmeaSource CONSTANT)

public:
    explicit GpsManager(QObject *parent = nullptr);
    ~GpsManager() override;

    bool gpsIsOn() const;
    QString positionPluginName() const;
    QString nmeaSource() const { return m_nmeaSource; }

    Q_INVOKABLE void turnOnGps();

public slots:
    void setGpsIsOn(bool gpsIsOn);

signals:
    void gpsIsOnChanged();

private:
    static GpsManager *shared();

    bool m_gpsIsOn = false;
    QString m_nmeaSource;
};

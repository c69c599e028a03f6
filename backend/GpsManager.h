#pragma once

#include <QObject>

// The phone's location-service switch. The state is process-wide: the first instance constructed
// holds it and every other instance reads and writes through that one. The desktop has no switch,
// so gpsIsOn stays false unless something writes it.
class GpsManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool gpsIsOn READ gpsIsOn WRITE setGpsIsOn NOTIFY gpsIsOnChanged)

public:
    explicit GpsManager(QObject *parent = nullptr);
    ~GpsManager() override;

    bool gpsIsOn() const;

    Q_INVOKABLE void turnOnGps();

public slots:
    void setGpsIsOn(bool gpsIsOn);

signals:
    void gpsIsOnChanged();

private:
    static GpsManager *shared();

    bool m_gpsIsOn = false;
};

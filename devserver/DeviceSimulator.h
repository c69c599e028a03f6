#pragma once

#include "Clock.h"
#include "RoadGrid.h"
#include "Store.h"

#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

#include <map>

namespace devserver {

struct DeviceSettings;
struct DeviceStatus;

// Drives every registered car of the store around the road grid: it parks for a while, drives
// again, logs a point every 2 s while driving, keeps the status record in step with what
// happens, and now and then raises an alarm event.
class DeviceSimulator : public QObject
{
    Q_OBJECT

public:
    DeviceSimulator(Store &store, Clock clock, quint32 seed, QObject *parent = nullptr);

    void start();
    // One step of every car, as the timer does every 2 s; tests call it directly.
    void step();

    static constexpr int stepMs = 2000;
    // gsmSignal and gpsSignal are reported in percent, the scale the dashboard's gauges read.
    static constexpr int signalMin = 35;

private:
    enum class Phase {
        Parked,    // waiting for departAt
        Boarding,  // a door is open just before the drive
        Driving,   // one point of the plan per step
        Alighting, // a door is open just after the drive
    };

    // What one car is doing; rebuilt from the store when the simulator starts.
    struct Car
    {
        explicit Car(const QRandomGenerator &generator) : random(generator) {}
        QRandomGenerator random; // per car, so adding a device does not change the others
        Phase phase = Phase::Parked;
        qint64 departAt = 0;
        QList<Position> plan; // the drive, sampled every 2 s
        int nextPoint = 0;
        double battery = 100; // percent, kept finer than the record's whole numbers
        int trunkOpenSteps = 0;
        int stepsSinceCredit = 0;
        bool overSpeeding = false;
    };

    Car &car(quint64 imei, const DeviceStatus &status, qint64 now);
    void stepCar(const Device &device, qint64 now);
    void move(quint64 imei, Car &car, const DeviceSettings &settings, DeviceStatus &status,
              qint64 now);
    void beginDrive(quint64 imei, Car &car, qint64 now);
    void park(Car &car, DeviceStatus &status, qint64 now);
    void updateSupply(Car &car, const DeviceSettings &settings, DeviceStatus &status);
    void updateRadio(Car &car, DeviceStatus &status);
    void maybeOpenTrunk(quint64 imei, Car &car, const DeviceSettings &settings,
                        DeviceStatus &status, qint64 now);
    void raiseIf(bool condition, quint64 imei, quint32 bit, qint64 now);

    Store &m_store;
    Clock m_clock;
    quint32 m_seed;
    std::map<quint64, Car> m_cars;
    QTimer m_timer;
};

} // namespace devserver

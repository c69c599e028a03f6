#include "DeviceSimulator.h"

#include "DeviceSettings.h"
#include "DeviceStatus.h"

#include <QGeoCoordinate>

#include <algorithm>

namespace devserver {

namespace {

// Event bits as the app reads them.
constexpr quint32 doorEvent = 1;
constexpr quint32 trunkEvent = 2;
constexpr quint32 switchEvent = 4;
constexpr quint32 overSpeedEvent = 128;
constexpr quint32 shockEvent = 256;

constexpr int minParkSeconds = 30;
constexpr int maxParkSeconds = 120;
constexpr int minTurns = 2;
constexpr int maxTurns = 5;

// Chances per 2 s step while parked.
constexpr int trunkChance = 300; // about every ten minutes
constexpr int shockChance = 900; // about every half hour

constexpr double chargePerStep = 0.5;
constexpr double drainPerStep = 0.05;     // without the car's supply: 1.5 % a minute
constexpr double selfDrainPerStep = 0.02; // a full battery on the supply sags slowly...
constexpr double rechargeBelow = 97;      // ...and charges again below this
constexpr int creditStepsPerUnit = 30;    // one unit of SIM credit a minute
constexpr quint16 initialCredit = 25000;
constexpr quint8 initialSignal = 80;

qint64 parkingTime(QRandomGenerator &random)
{
    return random.bounded(minParkSeconds, maxParkSeconds + 1);
}

quint8 wander(QRandomGenerator &random, quint8 value)
{
    const int start = value < DeviceSimulator::signalMin ? initialSignal : value;
    return quint8(std::clamp(start + random.bounded(-5, 6), DeviceSimulator::signalMin, 100));
}

} // namespace

DeviceSimulator::DeviceSimulator(Store &store, Clock clock, quint32 seed, QObject *parent)
    : QObject(parent), m_store(store), m_clock(std::move(clock)), m_seed(seed)
{
    m_timer.setInterval(stepMs);
    connect(&m_timer, &QTimer::timeout, this, &DeviceSimulator::step);
}

void DeviceSimulator::start()
{
    m_timer.start();
}

void DeviceSimulator::step()
{
    const qint64 now = m_clock().toSecsSinceEpoch();
    const QList<Device> devices = m_store.allDevices();
    for (const Device &device : devices) {
        if (device.registered)
            stepCar(device, now);
    }
}

DeviceSimulator::Car &DeviceSimulator::car(quint64 imei, const DeviceStatus &status, qint64 now)
{
    auto found = m_cars.find(imei);
    if (found != m_cars.end())
        return found->second;
    const quint32 seedWords[] = {m_seed, quint32(imei), quint32(imei >> 32)};
    Car &fresh = m_cars.try_emplace(imei, QRandomGenerator(seedWords, 3)).first->second;
    fresh.battery = std::min<double>(status.battryPercent, 100);
    fresh.departAt = now + parkingTime(fresh.random);
    return fresh;
}

void DeviceSimulator::stepCar(const Device &device, qint64 now)
{
    const quint64 imei = device.imei;
    const DeviceSettings settings = DeviceSettings::fromPayload(m_store.settingsRecord(imei));
    DeviceStatus status = DeviceStatus::fromRecord(m_store.statusRecord(imei));
    const bool known = m_cars.count(imei) != 0;
    Car &c = car(imei, status, now);
    if (!known) // a record left by an earlier run may still show a drive in progress
        status.carSwitch = 0;

    updateSupply(c, settings, status);
    move(imei, c, settings, status, now);
    maybeOpenTrunk(imei, c, settings, status, now);
    raiseIf(c.phase == Phase::Parked && c.random.bounded(shockChance) == 0, imei, shockEvent, now);
    updateRadio(c, status);
    m_store.setStatusRecord(imei, status.toRecord());
}

void DeviceSimulator::updateSupply(Car &car, const DeviceSettings &settings, DeviceStatus &status)
{
    // Output 3 cuts the car's supply to the tracker.
    const bool powered = settings.sw3 != 1;
    status.powerDetect = powered ? 1 : 0;
    if (!powered) {
        car.battery = std::max(0.0, car.battery - drainPerStep);
        status.charging = 0;
    } else if (status.charging == 0) {
        car.battery = std::min(100.0, car.battery + chargePerStep);
        if (car.battery >= 100)
            status.charging = 1;
    } else {
        car.battery = std::max(0.0, car.battery - selfDrainPerStep);
        if (car.battery < rechargeBelow)
            status.charging = 0;
    }
    status.battryPercent = quint16(qRound(car.battery));
}

void DeviceSimulator::move(quint64 imei, Car &car, const DeviceSettings &settings,
                           DeviceStatus &status, qint64 now)
{
    const bool powered = status.powerDetect != 0;
    const bool armed = settings.multiAlarm != 0;
    switch (car.phase) {
    case Phase::Parked:
        if (now < car.departAt)
            return;
        if (!powered) { // without its supply the car cannot start; look again later
            car.departAt = now + parkingTime(car.random);
            return;
        }
        status.door = 0;
        raiseIf(armed, imei, doorEvent, now);
        car.phase = Phase::Boarding;
        return;
    case Phase::Boarding:
        status.door = 1;
        if (!powered) {
            park(car, status, now);
            return;
        }
        beginDrive(imei, car, now);
        if (car.phase != Phase::Driving) {
            park(car, status, now);
            return;
        }
        status.carSwitch = 1;
        raiseIf(armed, imei, switchEvent, now);
        break;
    case Phase::Driving:
        break;
    case Phase::Alighting:
        status.door = 1;
        park(car, status, now);
        return;
    }

    // Driving: the next point of the plan, reported now.
    Position point = car.plan.at(car.nextPoint++);
    point.time = now;
    const bool arrived = car.nextPoint >= car.plan.size();
    if (!powered || arrived)
        point.speed = 0;
    m_store.addPositions(imei, {point});

    const bool over = settings.overSpeed > 0 && point.speed * 3.6 > settings.overSpeed;
    raiseIf(over && !car.overSpeeding, imei, overSpeedEvent, now);
    car.overSpeeding = over;

    if (!powered) { // the supply was cut under way: the engine dies where it is
        park(car, status, now);
    } else if (arrived) {
        status.carSwitch = 0;
        status.door = 0;
        raiseIf(armed, imei, doorEvent, now);
        car.phase = Phase::Alighting;
    }
}

void DeviceSimulator::beginDrive(quint64 imei, Car &car, qint64 now)
{
    RoadGrid::Crossing from;
    if (const std::optional<Position> last = m_store.lastPosition(imei))
        from = RoadGrid::nearest(QGeoCoordinate(last->lat, last->lon));
    const QList<RoadGrid::Crossing> route =
        RoadGrid::randomRoute(car.random, from, car.random.bounded(minTurns, maxTurns + 1));
    car.plan = RoadGrid::drive(route, now, stepMs / 1000, car.random);
    car.nextPoint = 0;
    car.overSpeeding = false;
    if (car.plan.size() >= 2)
        car.phase = Phase::Driving;
}

void DeviceSimulator::park(Car &car, DeviceStatus &status, qint64 now)
{
    status.carSwitch = 0;
    car.phase = Phase::Parked;
    car.plan.clear();
    car.nextPoint = 0;
    car.overSpeeding = false;
    car.departAt = now + parkingTime(car.random);
}

void DeviceSimulator::maybeOpenTrunk(quint64 imei, Car &car, const DeviceSettings &settings,
                                     DeviceStatus &status, qint64 now)
{
    if (car.trunkOpenSteps > 0) {
        if (--car.trunkOpenSteps == 0)
            status.trunk = 1;
        return;
    }
    if (car.phase != Phase::Parked || car.random.bounded(trunkChance) != 0)
        return;
    status.trunk = 0;
    car.trunkOpenSteps = car.random.bounded(3, 11);
    raiseIf(settings.multiAlarm != 0, imei, trunkEvent, now);
}

void DeviceSimulator::updateRadio(Car &car, DeviceStatus &status)
{
    status.gsmSignal = wander(car.random, status.gsmSignal);
    status.gpsSignal = wander(car.random, status.gpsSignal);
    if (status.simCharge == 0xFFFF)
        status.simCharge = initialCredit;
    if (++car.stepsSinceCredit >= creditStepsPerUnit) {
        car.stepsSinceCredit = 0;
        if (status.simCharge > 0)
            --status.simCharge;
    }
}

void DeviceSimulator::raiseIf(bool condition, quint64 imei, quint32 bit, qint64 now)
{
    if (condition)
        m_store.raiseEvent(imei, bit, now);
}

} // namespace devserver

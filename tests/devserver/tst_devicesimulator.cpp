#include "DeviceSettings.h"
#include "DeviceSimulator.h"
#include "DeviceStatus.h"
#include "RoadGrid.h"
#include "Seed.h"
#include "Store.h"

#include <QTest>
#include <QTimeZone>

#include <cmath>
#include <memory>

using namespace devserver;

namespace {

constexpr quint64 carImei = 358000000000001;
constexpr quint64 idleImei = 358000000000002; // not registered: never driven
constexpr qint64 startTime = 1709280000;      // 2024-03-01 08:00 UTC

bool onStreet(double value, double centre, double step)
{
    const double index = (value - centre) / step;
    return std::abs(index - std::round(index)) < 1e-4 && std::abs(index) <= RoadGrid::halfSpan;
}

// One store with one registered car and one unregistered device, a pinned clock that moves 2 s
// per step, and a record of what every step left behind.
struct Town
{
    explicit Town(quint32 seed, const DeviceSettings &settings = DeviceSettings::factoryDefaults())
    {
        if (!store.open(QStringLiteral(":memory:")))
            qFatal("cannot open the store");
        for (quint64 imei : {carImei, idleImei}) {
            Device device;
            device.imei = imei;
            device.registered = imei == carImei;
            store.addDevice(device);
            store.setSettingsRecord(imei, settings.toPayload());
            store.setStatusRecord(imei, DeviceStatus().toRecord());
        }
        simulator = std::make_unique<DeviceSimulator>(
            store, [this] { return QDateTime::fromSecsSinceEpoch(now, QTimeZone::UTC); }, seed);
    }

    void setSettings(const DeviceSettings &settings)
    {
        store.setSettingsRecord(carImei, settings.toPayload());
    }

    DeviceStatus status() const { return DeviceStatus::fromRecord(store.statusRecord(carImei)); }

    // True when the step reported a point.
    bool step()
    {
        now += 2;
        simulator->step();
        const std::optional<Position> last = store.lastPosition(carImei);
        return last && last->time == now;
    }

    QList<Position> track() const { return store.positions(carImei, 0, now); }

    Store store;
    qint64 now = startTime;
    std::unique_ptr<DeviceSimulator> simulator;
};

} // namespace

class TestDeviceSimulator : public QObject
{
    Q_OBJECT

private slots:
    void drivesOnStreetsAndParksAgain();
    void statusFollowsTheDrive();
    void powerCutKeepsTheCarParked();
    void powerCutStopsADrive();
    void events_data();
    void events();
    void sameSeedSameTown();
    void seededCarsCarryOn();
};

void TestDeviceSimulator::drivesOnStreetsAndParksAgain()
{
    Town town(7);
    int arrivals = 0;
    for (int i = 0; i < 20000 && arrivals < 2; ++i) {
        if (town.step() && town.status().carSwitch == 0)
            ++arrivals;
    }
    QCOMPARE(arrivals, 2);

    const QList<Position> track = town.track();
    QVERIFY(track.size() > 10);
    int stops = 0;
    for (qsizetype i = 0; i < track.size(); ++i) {
        const Position &p = track.at(i);
        QVERIFY2(onStreet(p.lat, RoadGrid::centreLat, RoadGrid::latStep) ||
                     onStreet(p.lon, RoadGrid::centreLon, RoadGrid::lonStep),
                 qPrintable(QStringLiteral("%1, %2 is off the streets").arg(p.lat).arg(p.lon)));
        if (i == 0)
            continue;
        const Position &before = track.at(i - 1);
        const qint64 gap = p.time - before.time;
        if (gap != 2) {
            // Between drives the car stands for at least half a minute, and sets off again
            // from where it stopped.
            QVERIFY2(gap >= 30, qPrintable(QStringLiteral("gap of %1 s").arg(gap)));
            QCOMPARE(before.speed, 0.0);
            QVERIFY(std::abs(p.lat - before.lat) < 1e-6 && std::abs(p.lon - before.lon) < 1e-6);
            ++stops;
        }
    }
    QCOMPARE(stops, 1);
    QCOMPARE(track.last().speed, 0.0);
    QVERIFY(town.store.positions(idleImei, 0, town.now).isEmpty());
}

void TestDeviceSimulator::statusFollowsTheDrive()
{
    Town town(11);
    bool doorBeforeDrive = false;
    bool doorAfterDrive = false;
    bool lastWasPoint = false;
    bool lastDoorOpen = false;
    int pointsWithIgnition = 0;
    quint16 credit = 0xFFFF;
    for (int i = 0; i < 4000 && !doorAfterDrive; ++i) {
        const bool reported = town.step();
        const DeviceStatus status = town.status();
        const std::optional<Position> last = town.store.lastPosition(carImei);
        if (reported && last->speed > 0) {
            QCOMPARE(status.carSwitch, quint8(1));
            QCOMPARE(status.door, quint8(1));
            ++pointsWithIgnition;
        }
        if (reported && !lastWasPoint)
            doorBeforeDrive = lastDoorOpen;
        if (reported && status.carSwitch == 0) {
            // Arrived: standing, engine off, a door opens.
            QCOMPARE(last->speed, 0.0);
            doorAfterDrive = status.door == 0;
            QVERIFY(doorAfterDrive);
        }
        if (!reported && !lastWasPoint && status.door != 0)
            QCOMPARE(status.carSwitch, quint8(0));

        QVERIFY(status.gsmSignal >= DeviceSimulator::signalMin && status.gsmSignal <= 100);
        QVERIFY(status.gpsSignal >= DeviceSimulator::signalMin && status.gpsSignal <= 100);
        QVERIFY(status.battryPercent <= 100);
        QCOMPARE(status.powerDetect, quint8(1));
        QVERIFY(status.simCharge != 0xFFFF);
        QVERIFY(status.simCharge <= credit);
        credit = status.simCharge;
        lastWasPoint = reported;
        lastDoorOpen = status.door == 0;
    }
    QVERIFY(pointsWithIgnition > 5);
    QVERIFY(doorBeforeDrive);
    QVERIFY(doorAfterDrive);
    QVERIFY(credit < 0xFFFF);
    // The unregistered device's record is left as it was.
    QCOMPARE(town.store.statusRecord(idleImei), DeviceStatus().toRecord());
}

void TestDeviceSimulator::powerCutKeepsTheCarParked()
{
    DeviceSettings settings = DeviceSettings::factoryDefaults();
    settings.sw3 = 1;
    Town town(3, settings);
    for (int i = 0; i < 600; ++i) { // twenty minutes, many times the longest stop
        QVERIFY(!town.step());
        const DeviceStatus status = town.status();
        QCOMPARE(status.powerDetect, quint8(0));
        QCOMPARE(status.carSwitch, quint8(0));
        QCOMPARE(status.charging, quint8(0));
    }
    QVERIFY(town.track().isEmpty());
    const int drained = town.status().battryPercent;
    QVERIFY(drained < 100);

    settings.sw3 = 0;
    town.setSettings(settings);
    bool drove = false;
    for (int i = 0; i < 200 && !drove; ++i)
        drove = town.step();
    QVERIFY(drove);
    const DeviceStatus status = town.status();
    QCOMPARE(status.powerDetect, quint8(1));
    QVERIFY(status.battryPercent > drained); // charging again on the car's supply
}

void TestDeviceSimulator::powerCutStopsADrive()
{
    Town town(5);
    int points = 0;
    for (int i = 0; i < 200 && points < 3; ++i)
        points += town.step() ? 1 : 0;
    QCOMPARE(points, 3);

    DeviceSettings settings = DeviceSettings::factoryDefaults();
    settings.sw3 = 1;
    town.setSettings(settings);
    QVERIFY(town.step()); // where the engine died, standing
    const Position stop = *town.store.lastPosition(carImei);
    QCOMPARE(stop.speed, 0.0);
    QCOMPARE(town.status().carSwitch, quint8(0));
    for (int i = 0; i < 300; ++i)
        QVERIFY(!town.step());
    QCOMPARE(town.store.lastPosition(carImei)->time, stop.time);
}

void TestDeviceSimulator::events_data()
{
    QTest::addColumn<int>("multiAlarm");
    QTest::addColumn<int>("overSpeed");
    QTest::addColumn<quint32>("raised");
    QTest::addColumn<quint32>("neverRaised");

    QTest::newRow("alarm off") << 0 << 0 << 0u << (1u | 2u | 4u | 128u);
    QTest::newRow("alarm on: doors and ignition") << 1 << 0 << (1u | 4u) << 128u;
    QTest::newRow("speed limit 1 km/h") << 0 << 1 << 128u << (1u | 2u | 4u);
    QTest::newRow("speed limit out of reach") << 0 << 500 << 0u << 128u;
}

void TestDeviceSimulator::events()
{
    QFETCH(int, multiAlarm);
    QFETCH(int, overSpeed);
    QFETCH(quint32, raised);
    QFETCH(quint32, neverRaised);

    DeviceSettings settings = DeviceSettings::factoryDefaults();
    settings.multiAlarm = quint8(multiAlarm);
    settings.overSpeed = quint16(overSpeed);
    Town town(9, settings);
    // Until the first drive has ended: each raise is checked the step it happens.
    quint32 seen = 0;
    int points = 0;
    for (int i = 0; i < 4000 && (points == 0 || town.status().carSwitch != 0); ++i) {
        points += town.step() ? 1 : 0;
        const DeviceEvents events = town.store.events(carImei);
        const quint32 fresh = events.bits & ~seen;
        for (quint32 bit = 1; bit <= 256; bit <<= 1) {
            if (fresh & bit)
                QCOMPARE(events.times.value(bit), town.now);
        }
        seen |= events.bits;
        town.store.clearEvents(carImei);
    }
    QVERIFY(points > 0);
    QCOMPARE(seen & raised, raised);
    QCOMPARE(seen & neverRaised, 0u);
}

void TestDeviceSimulator::sameSeedSameTown()
{
    auto run = [](quint32 seed) {
        Town town(seed);
        for (int i = 0; i < 400; ++i)
            town.step();
        QList<QVariantList> track;
        for (const Position &p : town.track())
            track.append({p.time, p.lat, p.lon, p.alt, p.course, p.speed, p.accuracy});
        return std::make_pair(track, town.store.statusRecord(carImei));
    };
    const auto first = run(21);
    QVERIFY(!first.first.isEmpty());
    QCOMPARE(run(21), first);
    QVERIFY(run(22) != first);
}

void TestDeviceSimulator::seededCarsCarryOn()
{
    Store store;
    QVERIFY(store.open(QStringLiteral(":memory:")));
    qint64 now = startTime;
    Seed::populate(store, 1, QDateTime::fromSecsSinceEpoch(now, QTimeZone::UTC));
    DeviceSimulator simulator(
        store, [&now] { return QDateTime::fromSecsSinceEpoch(now, QTimeZone::UTC); }, 1);

    const QList<Device> devices = store.allDevices();
    QHash<quint64, std::optional<Position>> seeded;
    for (const Device &device : devices)
        seeded.insert(device.imei, store.lastPosition(device.imei));
    for (int i = 0; i < 300; ++i) {
        now += 2;
        simulator.step();
    }
    for (const Device &device : devices) {
        const QList<Position> fresh = store.positions(device.imei, startTime + 1, now);
        QCOMPARE(fresh.isEmpty(), !device.registered);
        if (fresh.isEmpty() || !seeded.value(device.imei))
            continue;
        // The first drive sets off from the crossing nearest to where the history ended.
        const Position last = *seeded.value(device.imei);
        const QGeoCoordinate start =
            RoadGrid::coordinate(RoadGrid::nearest(QGeoCoordinate(last.lat, last.lon)));
        QVERIFY(std::abs(fresh.first().lat - start.latitude()) < 1e-6);
        QVERIFY(std::abs(fresh.first().lon - start.longitude()) < 1e-6);
    }
}

QTEST_GUILESS_MAIN(TestDeviceSimulator)
#include "tst_devicesimulator.moc"

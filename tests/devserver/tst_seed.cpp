#include "DeviceSettings.h"
#include "DeviceStatus.h"
#include "RoadGrid.h"
#include "Seed.h"
#include "Store.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <cmath>

using namespace devserver;

namespace {

const QDateTime now(QDate(2025, 5, 14), QTime(15, 30), QTimeZone::UTC);

qint64 dayStart(int daysBack)
{
    return QDateTime(now.date().addDays(-daysBack), QTime(0, 0), QTimeZone::UTC).toSecsSinceEpoch();
}

// Points per path as the app cuts them: at gaps of 1200 s or more.
QList<int> pathSizes(const QList<Position> &points)
{
    QList<int> sizes;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (i == 0 || points.at(i).time - points.at(i - 1).time >= 1200)
            sizes.append(0);
        ++sizes.last();
    }
    return sizes;
}

} // namespace

class TstSeed : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void loginsByDigest_data();
    void loginsByDigest();
    void devices_data();
    void devices();
    void linkedDevices();
    void recordsForEveryDevice();
    void sevenDaysOfTrips_data();
    void sevenDaysOfTrips();
    void todayUpToNow();
    void parkedOnACrossing();
    void sameSeedSameHistory();

private:
    QList<Position> all(Store &store, quint64 imei) const;
    QTemporaryDir dir;
    Store store;
};

QList<Position> TstSeed::all(Store &s, quint64 imei) const
{
    return s.positions(imei, 0, std::numeric_limits<qint64>::max());
}

void TstSeed::initTestCase()
{
    QVERIFY(store.open(dir.filePath(QStringLiteral("seed.sqlite"))));
    QVERIFY(store.isEmpty());
    Seed::populate(store, 1, now);
    QVERIFY(!store.isEmpty());
}

void TstSeed::loginsByDigest_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("root");

    QTest::newRow("owner") << "358000000000001" << false;
    QTest::newRow("unregistered") << "358000000000002" << false;
    QTest::newRow("root") << "root" << true;
}

void TstSeed::loginsByDigest()
{
    QFETCH(QString, name);
    QFETCH(bool, root);

    const std::optional<Account> account = store.accountByLoginName(name);
    QVERIFY(account);
    // Base64 of the MD5 digest of "582901".
    QCOMPARE(account->passwordDigest, QStringLiteral("9lgkQJhVTWa4hM5jhQtNFQ=="));
    QCOMPARE(Seed::passwordDigest(QStringLiteral("582901")), account->passwordDigest);
    QCOMPARE(account->root, root);
    QVERIFY(account->alias.isEmpty());
}

void TstSeed::devices_data()
{
    QTest::addColumn<quint64>("imei");
    QTest::addColumn<QString>("sim");
    QTest::addColumn<bool>("registered");

    QTest::newRow("owner's car") << quint64(358000000000001) << "09120000001" << true;
    QTest::newRow("unregistered") << quint64(358000000000002) << "09120000002" << false;
    QTest::newRow("root's third") << quint64(358000000000003) << "09120000003" << true;
}

void TstSeed::devices()
{
    QFETCH(quint64, imei);
    QFETCH(QString, sim);
    QFETCH(bool, registered);

    const std::optional<Device> device = store.device(imei);
    QVERIFY(device);
    QCOMPARE(device->simNumber, sim);
    QCOMPARE(device->registered, registered);
    QCOMPARE(store.deviceBySimNumber(sim)->imei, imei);
    QVERIFY(device->firstUse.isValid());
    QVERIFY(device->firstUse <= now.date());
    for (const QString &field : {device->ownerName, device->ownerLastname, device->ownerPhoneNumber,
                                 device->vehicleCompany, device->vehicleModel, device->vehicleColor,
                                 device->vehiclePlaque})
        QCOMPARE(field.isEmpty(), !registered);
    if (imei == Seed::ownerImei) {
        QCOMPARE(device->ownerName, QStringLiteral("علی"));
        QCOMPARE(device->ownerLastname, QStringLiteral("رضایی"));
        QCOMPARE(device->vehicleCompany, QStringLiteral("پژو"));
        QCOMPARE(device->vehicleModel, QStringLiteral("۲۰۶"));
    }
}

void TstSeed::linkedDevices()
{
    const qint64 root = store.accountByLoginName(QStringLiteral("root"))->id;
    const qint64 owner = store.accountByLoginName(QStringLiteral("358000000000001"))->id;
    const qint64 newcomer = store.accountByLoginName(QStringLiteral("358000000000002"))->id;
    QCOMPARE(store.devicesOf(root).size(), 3);
    QCOMPARE(store.devicesOf(owner).size(), 1);
    QCOMPARE(store.devicesOf(owner).first().imei, Seed::ownerImei);
    QCOMPARE(store.devicesOf(newcomer).size(), 1);
    QCOMPARE(store.devicesOf(newcomer).first().imei, Seed::unregisteredImei);
}

void TstSeed::recordsForEveryDevice()
{
    for (const Device &device : store.allDevices()) {
        QCOMPARE(store.settingsRecord(device.imei), DeviceSettings::factoryDefaults().toPayload());
        QCOMPARE(store.settingsRecord(device.imei).size(), DeviceSettings::payloadSize);
        QCOMPARE(store.statusRecord(device.imei), DeviceStatus{}.toRecord());
        QCOMPARE(store.events(device.imei).bits, 0u);
    }
    QVERIFY(all(store, Seed::unregisteredImei).isEmpty());
}

void TstSeed::sevenDaysOfTrips_data()
{
    QTest::addColumn<quint64>("imei");
    QTest::addColumn<int>("daysBack");

    for (int daysBack = 1; daysBack <= 7; ++daysBack) {
        QTest::addRow("owner's car, %d days ago", daysBack) << Seed::ownerImei << daysBack;
        QTest::addRow("third car, %d days ago", daysBack) << Seed::rootOnlyImei << daysBack;
    }
}

void TstSeed::sevenDaysOfTrips()
{
    QFETCH(quint64, imei);
    QFETCH(int, daysBack);

    const QList<Position> day =
        store.positions(imei, dayStart(daysBack), dayStart(daysBack - 1) - 1);
    const QList<int> sizes = pathSizes(day);
    QVERIFY(sizes.size() >= 3);
    for (const int size : sizes)
        QVERIFY(size > 9); // the app drops paths of nine points or fewer
}

void TstSeed::todayUpToNow()
{
    const QList<Position> points = all(store, Seed::ownerImei);
    QVERIFY(points.first().time >= dayStart(7));
    QVERIFY(points.last().time <= now.toSecsSinceEpoch());
    QVERIFY(store.positions(Seed::ownerImei, dayStart(8), dayStart(7) - 1).isEmpty());
    // By half past three the day's first trips are over.
    QVERIFY(!store.positions(Seed::ownerImei, dayStart(0), now.toSecsSinceEpoch()).isEmpty());
}

void TstSeed::parkedOnACrossing()
{
    for (const quint64 imei : {Seed::ownerImei, Seed::rootOnlyImei}) {
        const std::optional<Position> last = store.lastPosition(imei);
        QVERIFY(last);
        const QGeoCoordinate at(last->lat, last->lon);
        const QGeoCoordinate crossing = RoadGrid::coordinate(RoadGrid::nearest(at));
        QVERIFY(std::abs(crossing.latitude() - at.latitude()) < 1e-9);
        QVERIFY(std::abs(crossing.longitude() - at.longitude()) < 1e-9);
    }
}

void TstSeed::sameSeedSameHistory()
{
    QTemporaryDir otherDir;
    Store same;
    Store different;
    QVERIFY(same.open(otherDir.filePath(QStringLiteral("same.sqlite"))));
    QVERIFY(different.open(otherDir.filePath(QStringLiteral("different.sqlite"))));
    Seed::populate(same, 1, now);
    Seed::populate(different, 2, now);

    const QList<Position> mine = all(store, Seed::ownerImei);
    const QList<Position> again = all(same, Seed::ownerImei);
    QCOMPARE(again.size(), mine.size());
    for (qsizetype i = 0; i < mine.size(); i += 97) {
        QCOMPARE(again.at(i).time, mine.at(i).time);
        QCOMPARE(again.at(i).lat, mine.at(i).lat);
        QCOMPARE(again.at(i).lon, mine.at(i).lon);
        QCOMPARE(again.at(i).speed, mine.at(i).speed);
    }
    const QList<Position> other = all(different, Seed::ownerImei);
    QVERIFY(other.size() != mine.size() || other.first().time != mine.first().time);
}

QTEST_GUILESS_MAIN(TstSeed)
#include "tst_seed.moc"

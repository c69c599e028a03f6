#include "Seed.h"

#include "DeviceSettings.h"
#include "DeviceStatus.h"
#include "RoadGrid.h"
#include "Store.h"
#include "TripHistory.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace devserver {

namespace Seed {

namespace {

const QString defaultPassword = QStringLiteral("582901");

// Days of trips up to `now`, each day starting where the one before ended; today keeps only
// the trips already over.
QList<Position> history(QRandomGenerator &random, const QDateTime &now)
{
    const QDate today = now.toUTC().date();
    const qint64 nowSeconds = now.toSecsSinceEpoch();
    RoadGrid::Crossing at{int(random.bounded(-3, 4)), int(random.bounded(-3, 4))};
    QList<Position> points;
    for (int daysBack = historyDays; daysBack >= 0; --daysBack) {
        for (const QList<Position> &trip :
             TripHistory::trips(today.addDays(-daysBack), random, at)) {
            if (trip.constLast().time > nowSeconds)
                break;
            points.append(trip);
        }
        if (!points.isEmpty())
            at = RoadGrid::nearest(QGeoCoordinate(points.constLast().lat, points.constLast().lon));
    }
    return points;
}

qint64 addLogin(Store &store, const QString &username, bool root)
{
    Account account;
    account.username = username;
    account.passwordDigest = passwordDigest(defaultPassword);
    account.root = root;
    return store.addAccount(account);
}

} // namespace

QString passwordDigest(const QString &password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(password.toLatin1(), QCryptographicHash::Md5).toBase64());
}

void populate(Store &store, quint32 seed, const QDateTime &now)
{
    QRandomGenerator random(seed);
    const QDate today = now.toUTC().date();

    Device owned;
    owned.imei = ownerImei;
    owned.simNumber = QStringLiteral("09120000001");
    owned.registered = true;
    owned.ownerName = QStringLiteral("علی");
    owned.ownerLastname = QStringLiteral("رضایی");
    owned.ownerPhoneNumber = QStringLiteral("09151234567");
    owned.ownerMeliCode = QStringLiteral("0921234567");
    owned.vehicleCompany = QStringLiteral("پژو");
    owned.vehicleModel = QStringLiteral("۲۰۶");
    owned.vehicleColor = QStringLiteral("سفید");
    owned.vehiclePlaque = QStringLiteral("۱۲ ب ۳۴۵ ایران ۳۶");
    owned.firstUse = today.addDays(-120);

    Device unregistered;
    unregistered.imei = unregisteredImei;
    unregistered.simNumber = QStringLiteral("09120000002");
    unregistered.firstUse = today.addDays(-2);

    Device fleet;
    fleet.imei = rootOnlyImei;
    fleet.simNumber = QStringLiteral("09120000003");
    fleet.registered = true;
    fleet.ownerName = QStringLiteral("مریم");
    fleet.ownerLastname = QStringLiteral("احمدی");
    fleet.ownerPhoneNumber = QStringLiteral("09157654321");
    fleet.ownerMeliCode = QStringLiteral("0937654321");
    fleet.vehicleCompany = QStringLiteral("ایران‌خودرو");
    fleet.vehicleModel = QStringLiteral("سمند");
    fleet.vehicleColor = QStringLiteral("نقره‌ای");
    fleet.vehiclePlaque = QStringLiteral("۴۵ ج ۶۷۸ ایران ۱۲");
    fleet.firstUse = today.addDays(-400);

    const qint64 owner = addLogin(store, QString::number(ownerImei), false);
    const qint64 newcomer = addLogin(store, QString::number(unregisteredImei), false);
    const qint64 root = addLogin(store, QStringLiteral("root"), true);

    for (const Device &device : {owned, unregistered, fleet}) {
        store.addDevice(device);
        store.linkDevice(root, device.imei);
        // An unregistered tracker is already in a car and reports; it just has no owner yet.
        store.setSettingsRecord(device.imei, DeviceSettings::factoryDefaults().toPayload());
        store.setStatusRecord(device.imei, DeviceStatus{}.toRecord());
        if (device.registered)
            store.addPositions(device.imei, history(random, now));
    }
    store.linkDevice(owner, ownerImei);
    store.linkDevice(newcomer, unregisteredImei);
}

} // namespace Seed

} // namespace devserver

#include "DbusMock.h"
#include "GpsManager.h"
#include "PhoneServices.h"

#include <QDBusArgument>
#include <QGeoPositionInfoSource>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QString geoclue = QStringLiteral("org.freedesktop.GeoClue2");
const QString managerPath = QStringLiteral("/org/freedesktop/GeoClue2/Manager");

// What the double knows of each client the app made: its settings and how often it was started
// and stopped.
QList<QVariantMap> clients(const DbusMock &service)
{
    const QDBusMessage reply = service.control(managerPath, QStringLiteral("GetClientSettings"));
    QList<QVariantMap> found;
    if (reply.type() != QDBusMessage::ReplyMessage)
        return found;
    const QDBusArgument list = reply.arguments().first().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QVariantMap client;
        list >> client;
        found.append(client);
    }
    list.endArray();
    return found;
}

void setLocation(const DbusMock &service, double latitude, double longitude)
{
    const QDBusMessage reply =
        service.control(managerPath, QStringLiteral("SetLocation"), {latitude, longitude, 12.0});
    QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
}

} // namespace

class TestLocation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void locationServiceDecidesGps_data();
    void locationServiceDecidesGps();
    void lateFixTurnsGpsOn();
    void turnOnGpsAsksAgain();
    void checkWithoutAnswerEnds();
    void mapSourceGetsThePosition();
    void otherSourcesWin_data();
    void otherSourcesWin();
};

void TestLocation::initTestCase()
{
    // The positioning library hides plugins not marked testable from test processes; the
    // location service here is a double on a private bus.
    qunsetenv("QT_QTESTLIB_RUNNING");
    QVERIFY(QGeoPositionInfoSource::availableSources().contains(QStringLiteral("geoclue2")));
}

void TestLocation::init()
{
    qunsetenv("KOVA_PHONE_SERVICES");
    qunsetenv("KOVA_NMEA_SOURCE");
}

void TestLocation::locationServiceDecidesGps_data()
{
    QTest::addColumn<bool>("serviceRuns");
    QTest::addColumn<bool>("refuses");
    QTest::addColumn<bool>("hasFix");
    QTest::addColumn<bool>("gpsOn");

    QTest::newRow("a position arrives") << true << false << true << true;
    QTest::newRow("the user refused") << true << true << true << false;
    QTest::newRow("no location service") << false << false << false << false;
}

// GPS is on exactly when the platform's location service gives this app a position; either way
// the check ends with the service's client stopped.
void TestLocation::locationServiceDecidesGps()
{
    QFETCH(bool, serviceRuns);
    QFETCH(bool, refuses);
    QFETCH(bool, hasFix);
    QFETCH(bool, gpsOn);

    DbusMock service(DbusMock::templateFile(QStringLiteral("geoclue2.py")), {{"refuse", refuses}});
    if (serviceRuns) {
        QVERIFY(service.start(geoclue));
        if (hasFix)
            setLocation(service, 36.30, 59.60);
    }

    GpsManager gps;
    QCOMPARE(gps.positionPluginName(), QStringLiteral("geoclue2"));
    QSignalSpy changed(&gps, &GpsManager::gpsIsOnChanged);
    if (gpsOn)
        QVERIFY(changed.wait(10000));
    else
        QTest::qWait(1500);
    QCOMPARE(gps.gpsIsOn(), gpsOn);
    QCOMPARE(changed.count(), gpsOn ? 1 : 0);
    if (!serviceRuns)
        return;

    QTRY_COMPARE_WITH_TIMEOUT(clients(service).size(), 1, 5000);
    const QVariantMap client = clients(service).first();
    QCOMPARE(client.value("DesktopId").toString(), PhoneServices::desktopId());
    QCOMPARE(client.value("RequestedAccuracyLevel").toUInt(), 8u); // exact: a walking route
    QCOMPARE(client.value("Starts").toUInt(), 1u);
    QTRY_VERIFY_WITH_TIMEOUT(!clients(service).first().value("Active").toBool(), 5000);
}

void TestLocation::lateFixTurnsGpsOn()
{
    DbusMock service(DbusMock::templateFile(QStringLiteral("geoclue2.py")));
    QVERIFY(service.start(geoclue));
    GpsManager gps;
    QSignalSpy changed(&gps, &GpsManager::gpsIsOnChanged);
    QTest::qWait(1000);
    QVERIFY(!gps.gpsIsOn());

    setLocation(service, 36.30, 59.60);
    QVERIFY(changed.wait(10000));
    QVERIFY(gps.gpsIsOn());
    QCOMPARE(changed.count(), 1);
}

// The switch is the user's, in the phone's settings: turning GPS on asks the service again.
void TestLocation::turnOnGpsAsksAgain()
{
    DbusMock refusing(DbusMock::templateFile(QStringLiteral("geoclue2.py")), {{"refuse", true}});
    QVERIFY(refusing.start(geoclue));
    GpsManager gps;
    QTRY_COMPARE_WITH_TIMEOUT(clients(refusing).value(0).value("Starts").toUInt(), 1u, 5000);
    QTest::qWait(500);
    gps.turnOnGps();
    QTRY_VERIFY_WITH_TIMEOUT(clients(refusing).value(0).value("Starts").toUInt() >= 2u, 5000);
    QVERIFY(!gps.gpsIsOn());
    refusing.stop();

    // Allowed now, with a fix.
    DbusMock allowing(DbusMock::templateFile(QStringLiteral("geoclue2.py")));
    QVERIFY(allowing.start(geoclue));
    setLocation(allowing, 36.30, 59.60);
    QSignalSpy changed(&gps, &GpsManager::gpsIsOnChanged);
    gps.turnOnGps();
    QVERIFY(changed.wait(10000));
    QVERIFY(gps.gpsIsOn());
}

void TestLocation::checkWithoutAnswerEnds()
{
    DbusMock service(DbusMock::templateFile(QStringLiteral("geoclue2.py")));
    QVERIFY(service.start(geoclue));
    GpsManager gps;
    gps.setLocationCheckBound(1000);
    QTRY_VERIFY_WITH_TIMEOUT(clients(service).value(0).value("Active").toBool(), 5000);
    // No fix within the bound: the service is let go, and GPS is as it was.
    QTRY_VERIFY_WITH_TIMEOUT(!clients(service).value(0).value("Active").toBool(), 5000);
    QVERIFY(!gps.gpsIsOn());
}

// The map's position source, made from the manager's answers as the map makes it once GPS is on,
// follows the location service's fixes. The service gives a process one client, so the check
// must be over by then, and asking again while GPS is on must not stop the map's source.
void TestLocation::mapSourceGetsThePosition()
{
    DbusMock service(DbusMock::templateFile(QStringLiteral("geoclue2.py")));
    QVERIFY(service.start(geoclue));
    setLocation(service, 36.30, 59.60);
    GpsManager gps;
    QTRY_VERIFY_WITH_TIMEOUT(gps.gpsIsOn(), 10000);
    std::unique_ptr<QGeoPositionInfoSource> source(QGeoPositionInfoSource::createSource(
        gps.positionPluginName(), {{QStringLiteral("desktopId"), gps.desktopId()}}, nullptr));
    QVERIFY(source);
    QSignalSpy updates(source.get(), &QGeoPositionInfoSource::positionUpdated);
    source->startUpdates();
    const auto lastFixIsAt = [&updates](double latitude, double longitude) {
        if (updates.isEmpty())
            return false;
        const QGeoCoordinate fix = updates.last().first().value<QGeoPositionInfo>().coordinate();
        return fix.distanceTo(QGeoCoordinate(latitude, longitude)) < 0.01;
    };
    QTRY_VERIFY_WITH_TIMEOUT(lastFixIsAt(36.30, 59.60), 10000);

    gps.turnOnGps();
    setLocation(service, 36.31, 59.61);
    QTRY_VERIFY_WITH_TIMEOUT(lastFixIsAt(36.31, 59.61), 10000);
    QTest::qWait(1000);
    setLocation(service, 36.32, 59.62);
    QTRY_VERIFY_WITH_TIMEOUT(lastFixIsAt(36.32, 59.62), 10000);
}

void TestLocation::otherSourcesWin_data()
{
    QTest::addColumn<QByteArray>("services");
    QTest::addColumn<QByteArray>("nmeaSource");
    QTest::addColumn<QString>("plugin");
    QTest::addColumn<bool>("gpsOn");

    QTest::newRow("nmea source") << QByteArray() << QByteArray("serial:/dev/ttyUSB0")
                                 << QStringLiteral("nmea") << true;
    QTest::newRow("phone services off") << QByteArray("off") << QByteArray() << QString() << false;
}

// An NMEA source, or the fixed desktop answers, leave the location service alone.
void TestLocation::otherSourcesWin()
{
    QFETCH(QByteArray, services);
    QFETCH(QByteArray, nmeaSource);
    QFETCH(QString, plugin);
    QFETCH(bool, gpsOn);

    DbusMock service(DbusMock::templateFile(QStringLiteral("geoclue2.py")));
    QVERIFY(service.start(geoclue));
    setLocation(service, 36.30, 59.60);
    if (!services.isEmpty())
        qputenv("KOVA_PHONE_SERVICES", services);
    if (!nmeaSource.isEmpty())
        qputenv("KOVA_NMEA_SOURCE", nmeaSource);

    GpsManager gps;
    QCOMPARE(gps.positionPluginName(), plugin);
    gps.turnOnGps();
    QTest::qWait(1000);
    QCOMPARE(gps.gpsIsOn(), gpsOn);
    QCOMPARE(clients(service).size(), 0);
}

QTEST_GUILESS_MAIN(TestLocation)
#include "tst_location.moc"

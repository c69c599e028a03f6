#include "DevServer.h"

#include <QGeoCoordinate>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace devserver;

// The map plugin the app uses, pointed at a running development server: its map types and
// its walking routes come from there.
class TestMapPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void mapTypesStreetThenSatellite_data();
    void mapTypesStreetThenSatellite();
    void walkingRoutes_data();
    void walkingRoutes();

private:
    // The document made of `qml`, or nothing with the component's errors logged.
    std::unique_ptr<QObject> create(const QString &qml);
    QString plainUrl() const
    {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server->httpPort());
    }

    QTemporaryDir m_data;
    QQmlEngine m_engine;
    std::unique_ptr<DevServer> m_server;
};

void TestMapPlugin::initTestCase()
{
    DevServerOptions options;
    options.dataDir = m_data.path();
    options.httpsPort = 0;
    options.httpPort = 0;
    options.simulate = false;
    m_server = std::make_unique<DevServer>(options);
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
}

void TestMapPlugin::mapTypesStreetThenSatellite_data()
{
    QTest::addColumn<QString>("repositoryPath");
    QTest::addColumn<bool>("listed");

    QTest::newRow("the server's repository") << "/map/" << true;
    // Shows that the types come from the repository and not from elsewhere.
    QTest::newRow("no repository there") << "/nothing/" << false;
}

std::unique_ptr<QObject> TestMapPlugin::create(const QString &qml)
{
    QQmlComponent component(&m_engine);
    component.setData(qml.toUtf8(), QUrl());
    std::unique_ptr<QObject> object(component.create());
    if (!object)
        qWarning("%s", qPrintable(component.errorString()));
    return object;
}

void TestMapPlugin::mapTypesStreetThenSatellite()
{
    QFETCH(QString, repositoryPath);
    QFETCH(bool, listed);

    QTemporaryDir cache;
    const std::unique_ptr<QObject> map =
        create(QStringLiteral(R"(
        import QtQuick
        import QtLocation
        Map {
            readonly property bool streetThenSatellite: supportedMapTypes.length >= 2
                && supportedMapTypes[0].style === MapType.StreetMap
                && supportedMapTypes[1].style === MapType.SatelliteMapDay
            plugin: Plugin {
                name: "osm"
                PluginParameter { name: "osm.mapping.providersrepository.address"; value: "%1" }
                PluginParameter { name: "osm.mapping.highdpi_tiles"; value: "true" }
                PluginParameter { name: "osm.mapping.cache.directory"; value: "%2" }
            }
        })")
                   .arg(plainUrl() + repositoryPath, cache.path()));
    QVERIFY(map);
    if (listed) {
        QTRY_VERIFY_WITH_TIMEOUT(map->property("streetThenSatellite").toBool(), 10000);
    } else {
        QTest::qWait(2000);
        QVERIFY(!map->property("streetThenSatellite").toBool());
    }
}

void TestMapPlugin::walkingRoutes_data()
{
    QTest::addColumn<QGeoCoordinate>("from");
    QTest::addColumn<QGeoCoordinate>("to");
    QTest::addColumn<QList<QGeoCoordinate>>("corners");

    QTest::newRow("across town") << QGeoCoordinate(36.3012, 59.6013)
                                 << QGeoCoordinate(36.3101, 59.6123)
                                 << QList<QGeoCoordinate>{{36.3012, 59.6013},
                                                          {36.3012, 59.6},
                                                          {36.31, 59.6},
                                                          {36.31, 59.6123},
                                                          {36.3101, 59.6123}};
    QTest::newRow("down the street") << QGeoCoordinate(36.3, 59.5968) << QGeoCoordinate(36.3, 59.59)
                                     << QList<QGeoCoordinate>{{36.3, 59.5968}, {36.3, 59.59}};
    QTest::newRow("from far away")
        << QGeoCoordinate(35.7, 51.4) << QGeoCoordinate(36.3, 59.6) << QList<QGeoCoordinate>{};
}

void TestMapPlugin::walkingRoutes()
{
    QFETCH(QGeoCoordinate, from);
    QFETCH(QGeoCoordinate, to);
    QFETCH(QList<QGeoCoordinate>, corners);

    const std::unique_ptr<QObject> model = create(QStringLiteral(R"(
        import QtQuick
        import QtLocation
        import QtPositioning
        RouteModel {
            readonly property bool settled: status === RouteModel.Ready || failed
            readonly property bool failed: status === RouteModel.Error
            autoUpdate: false
            plugin: Plugin {
                name: "osm"
                PluginParameter { name: "osm.routing.host"; value: "%1" }
            }
            query: RouteQuery {
                travelModes: RouteQuery.PedestrianTravel
                routeOptimizations: RouteQuery.ShortestRoute | RouteQuery.FastestRoute
            }
            function ask(fromLat: real, fromLon: real, toLat: real, toLon: real): void {
                query.clearWaypoints();
                query.addWaypoint(QtPositioning.coordinate(fromLat, fromLon));
                query.addWaypoint(QtPositioning.coordinate(toLat, toLon));
                update();
            }
            // Latitude and longitude of every point, one after the other.
            function path(): list<real> {
                const numbers = [];
                const route = count > 0 ? get(0).path : [];
                for (let i = 0; i < route.length; ++i)
                    numbers.push(route[i].latitude, route[i].longitude);
                return numbers;
            }
            function distance(): real {
                return count > 0 ? get(0).distance : -1;
            }
        })")
                                                      .arg(plainUrl() + "/route/v1/foot/"));
    QVERIFY(model);
    QVERIFY(QMetaObject::invokeMethod(model.get(), "ask", Q_ARG(double, from.latitude()),
                                      Q_ARG(double, from.longitude()), Q_ARG(double, to.latitude()),
                                      Q_ARG(double, to.longitude())));
    QTRY_VERIFY_WITH_TIMEOUT(model->property("settled").toBool(), 10000);
    // A refusal is the model's error, with no route to draw.
    QCOMPARE(model->property("failed").toBool(), corners.isEmpty());

    QList<double> path;
    QVERIFY(QMetaObject::invokeMethod(model.get(), "path", Q_RETURN_ARG(QList<double>, path)));
    QList<QGeoCoordinate> drawn;
    for (qsizetype i = 0; i + 1 < path.size(); i += 2) {
        const QGeoCoordinate at(path.at(i), path.at(i + 1));
        if (drawn.isEmpty() || drawn.constLast().distanceTo(at) > 0.05)
            drawn.append(at);
    }
    QCOMPARE(drawn.size(), corners.size());
    if (corners.isEmpty())
        return;
    double length = 0;
    for (qsizetype i = 0; i < corners.size(); ++i) {
        QVERIFY2(drawn.at(i).distanceTo(corners.at(i)) < 0.05, qPrintable(QString::number(i)));
        if (i > 0)
            length += corners.at(i - 1).distanceTo(corners.at(i));
    }
    double distance = 0;
    QVERIFY(QMetaObject::invokeMethod(model.get(), "distance", Q_RETURN_ARG(double, distance)));
    QVERIFY(std::abs(distance - length) < 0.1);
}

QTEST_MAIN(TestMapPlugin)
#include "tst_mapplugin.moc"

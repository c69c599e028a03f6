#include "BuildConfig.h"
#include "FakePeer.h"
#include "PeakMemory.h"
#include "Server.h"

#include <QGeoCoordinate>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

#include <cstring>
#include <memory>

namespace {

enum class Operation { LastLocation, Trip, Settings };
enum class Failure { Refused, Dropped, NotFound };

constexpr quint64 imei = 356938035643809;
constexpr quint32 tripStart = 1710909000;

QByteArray le(quint64 value, int size)
{
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(char(value >> (8 * i)));
    return bytes;
}

QByteArray le(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return le(bits, 8);
}

struct Point
{
    quint32 time = 0;
    quint32 lat = 356000000;
    quint32 lon = 514000000;
    quint32 alt = 1000000;
    quint16 course = 0;
    quint32 speed = 0;
    quint8 accuracy = 5;
};

QByteArray pointRecord(const Point &p)
{
    return le(p.time, 4) + le(p.lat, 4) + le(p.lon, 4) + le(p.alt, 3) + le(p.course, 2) +
           le(p.speed, 3) + le(p.accuracy, 1);
}

QByteArray locationReply(const Point &p, quint8 major, quint8 minor, quint8 patch)
{
    return QByteArray(1, 1) + pointRecord(p) + le(major, 1) + le(minor, 1) + le(patch, 1);
}

QByteArray tripReply(const QList<Point> &points)
{
    QByteArray reply = QByteArray(1, 2) + le(quint64(points.size()), 4);
    for (const Point &p : points)
        reply += pointRecord(p);
    return reply;
}

// Points from `tripStart` on, each `gaps[i]` seconds after the one before.
QList<Point> pointsWithGaps(const QList<int> &gaps)
{
    QList<Point> points{Point{tripStart}};
    for (int gap : gaps)
        points.append(Point{points.last().time + quint32(gap)});
    return points;
}

QList<int> repeated(int gap, int count)
{
    return QList<int>(count, gap);
}

void put(QByteArray &record, int offset, const QByteArray &bytes)
{
    record.replace(offset, bytes.size(), bytes);
}

// Seconds since the epoch two days from now: later than any device clock can read.
quint32 twoDaysAhead()
{
    return quint32(QDateTime::currentSecsSinceEpoch() + 2 * 86400);
}

QGeoCoordinate fencePoint(int i)
{
    return QGeoCoordinate(35.70 + i * 0.01, 51.40 + i * 0.02);
}

// A settings reply with a distinct value in every field, reserved bytes filled with 0xff.
QByteArray settingsReply()
{
    QByteArray r(553, '\0');
    r[0] = 4;
    put(r, 1, le(0xff, 1));
    put(r, 2, "1234");
    put(r, 17, QByteArray(50, 's'));
    put(r, 67, "/track/in.php");
    put(r, 117, le(5050, 2));
    put(r, 119, "+989121234567");
    put(r, 134, "\xd9\x85\xd8\xb1\xda\xa9\xd8\xb2");
    put(r, 149, le(300, 2));
    put(r, 151, "\xff\xff");
    put(r, 153, le(0xf0000001, 4));
    put(r, 157, le(200, 1));
    put(r, 158, le(1, 1));
    put(r, 159, le(0xfffe, 2));
    put(r, 161, "09120000001");
    put(r, 176, "09120000002");
    put(r, 206, "\xff\xff\xff");
    for (int i = 0; i < 9; ++i)
        put(r, 209 + 16 * i, le(fencePoint(i).latitude()) + le(fencePoint(i).longitude()));
    put(r, 353, le(3, 1));
    put(r, 354, "*140*11#");
    put(r, 369, "ABCDEFGHIJKLMNO");
    put(r, 384, QByteArray::fromHex("010001"));
    put(r, 387, QByteArray::fromHex("0100"));
    put(r, 389, le(120, 2));
    put(r, 391, QByteArray::fromHex("01050203010203010203"));
    put(r, 401, "ota.example.net");
    put(r, 451, "/fw");
    put(r, 501, le(8080, 2));
    put(r, 503, "mtnirancell");
    put(r, 523, QByteArray::fromHex("01ff"));
    put(r, 525, le(123456, 4));
    put(r, 529, QByteArray::fromHex("001fa0ff123456789abcdef00badc0de"));
    put(r, 545, QByteArray::fromHex("022380ffffffffff"));
    return r;
}

} // namespace

class TestServer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addresses_data();
    void addresses();
    void requestBodies_data();
    void requestBodies();
    void lastLocation_data();
    void lastLocation();
    void lastLocationRejected_data();
    void lastLocationRejected();
    void tripRejected_data();
    void tripRejected();
    void tripPaths_data();
    void tripPaths();
    void tripInTimeOrder_data();
    void tripInTimeOrder();
    void fullDayTripCutWhileInterfaceRuns();
    void tripCarriesPointAcrossGap();
    void tripFigures();
    void tripFiguresKeepFractions();
    void settings();
    void settingsRejected_data();
    void settingsRejected();
    void settingsAtTheirLimits_data();
    void settingsAtTheirLimits();
    void oversizedReply_data();
    void oversizedReply();
    void timeOut_data();
    void timeOut();
    void endWaitingPolls_data();
    void endWaitingPolls();
    void transportError_data();
    void transportError();
    void newTripSupersedesUnanswered();
    void newTripSupersedesOneBeingCut();

private:
    void start(Server *server, Operation operation);
    std::unique_ptr<QSignalSpy> replySpy(Server *server, Operation operation);
    std::unique_ptr<QSignalSpy> errorSpy(Server *server, Operation operation);
    QVariantMap answerLocation(const QByteArray &reply);
    int answerTrip(const QByteArray &reply);
    void comparePaths();

    std::unique_ptr<FakePeer> m_peer;
    std::unique_ptr<Server> m_server;
};

void TestServer::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestServer::init()
{
    m_peer = std::make_unique<FakePeer>();
    QVERIFY(m_peer->listen());
    qputenv("KOVA_SERVER_URL", m_peer->baseUrl().toUtf8());
    m_server = std::make_unique<Server>();
    // A failing test should not hang for the real 40 s.
    m_server->setRequestTimeouts(5000, 5000);
}

void TestServer::cleanup()
{
    m_server.reset();
    m_peer.reset();
    qunsetenv("KOVA_SERVER_URL");
}

void TestServer::start(Server *server, Operation operation)
{
    switch (operation) {
    case Operation::LastLocation:
        server->getLastLocation(imei);
        break;
    case Operation::Trip:
        server->getDebriefingPath(imei, QDateTime::fromSecsSinceEpoch(tripStart, QTimeZone::UTC),
                                  QDateTime::fromSecsSinceEpoch(tripStart + 86399, QTimeZone::UTC));
        break;
    case Operation::Settings:
        server->getSettings(imei);
        break;
    }
}

std::unique_ptr<QSignalSpy> TestServer::replySpy(Server *server, Operation operation)
{
    switch (operation) {
    case Operation::LastLocation:
        return std::make_unique<QSignalSpy>(server, &Server::lastLocationReply);
    case Operation::Trip:
        return std::make_unique<QSignalSpy>(server, &Server::debriefingReply);
    case Operation::Settings:
        return std::make_unique<QSignalSpy>(server, &Server::settingsReply);
    }
    return {};
}

std::unique_ptr<QSignalSpy> TestServer::errorSpy(Server *server, Operation operation)
{
    switch (operation) {
    case Operation::LastLocation:
        return std::make_unique<QSignalSpy>(server, &Server::lastLocationError);
    case Operation::Trip:
        return std::make_unique<QSignalSpy>(server, &Server::debriefingError);
    case Operation::Settings:
        return std::make_unique<QSignalSpy>(server, &Server::settingsError);
    }
    return {};
}

// The decoded record, or an empty map with a failed check when the client reported an error.
QVariantMap TestServer::answerLocation(const QByteArray &reply)
{
    m_peer->enqueue(FakePeer::reply(reply));
    QSignalSpy replies(m_server.get(), &Server::lastLocationReply);
    QSignalSpy errors(m_server.get(), &Server::lastLocationError);
    m_server->getLastLocation(imei);
    if (!QTest::qWaitFor([&] { return !replies.isEmpty() || !errors.isEmpty(); }))
        return {};
    return replies.isEmpty() ? QVariantMap{{"errorCode", errors.first().first()}}
                             : replies.first().first().toMap();
}

// The trip error code, or -1 when the client reported the trip as filled in.
int TestServer::answerTrip(const QByteArray &reply)
{
    m_peer->enqueue(FakePeer::reply(reply));
    QSignalSpy replies(m_server.get(), &Server::debriefingReply);
    QSignalSpy errors(m_server.get(), &Server::debriefingError);
    start(m_server.get(), Operation::Trip);
    if (!QTest::qWaitFor([&] { return !replies.isEmpty() || !errors.isEmpty(); }))
        return -2;
    return errors.isEmpty() ? -1 : errors.first().first().toInt();
}

void TestServer::addresses_data()
{
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<QByteArray>("mapEnvironment");
    QTest::addColumn<QByteArray>("routingEnvironment");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("routing");

    const QString builtInHost = QUrl(QString::fromUtf8(BuildConfig::serverUrl)).host();
    QTest::newRow("built in") << QByteArray() << QByteArray() << QByteArray()
                              << QString::fromUtf8(BuildConfig::serverUrl)
                              << QStringLiteral("http://%1/map/").arg(builtInHost)
                              << QStringLiteral("http://%1/route/v1/foot/").arg(builtInHost);
    QTest::newRow("from environment")
        << QByteArray("https://dev.example:8443") << QByteArray() << QByteArray()
        << QStringLiteral("https://dev.example:8443") << QStringLiteral("http://dev.example/map/")
        << QStringLiteral("http://dev.example/route/v1/foot/");
    QTest::newRow("trailing slash dropped")
        << QByteArray("http://127.0.0.1:8080/") << QByteArray("http://127.0.0.1:9090/map/")
        << QByteArray("http://127.0.0.1:9090/route/v1/foot/")
        << QStringLiteral("http://127.0.0.1:8080") << QStringLiteral("http://127.0.0.1:9090/map/")
        << QStringLiteral("http://127.0.0.1:9090/route/v1/foot/");
    QTest::newRow("IPv6 host") << QByteArray("https://[::1]:8443") << QByteArray() << QByteArray()
                               << QStringLiteral("https://[::1]:8443")
                               << QStringLiteral("http://[::1]/map/")
                               << QStringLiteral("http://[::1]/route/v1/foot/");
    QTest::newRow("routing elsewhere, map on the host")
        << QByteArray("https://dev.example") << QByteArray()
        << QByteArray("https://osrm.example/route/v1/walking/")
        << QStringLiteral("https://dev.example") << QStringLiteral("http://dev.example/map/")
        << QStringLiteral("https://osrm.example/route/v1/walking/");
}

void TestServer::addresses()
{
    QFETCH(QByteArray, environment);
    QFETCH(QByteArray, mapEnvironment);
    QFETCH(QByteArray, routingEnvironment);
    QFETCH(QString, base);
    QFETCH(QString, map);
    QFETCH(QString, routing);

    qputenv("KOVA_SERVER_URL", environment);
    qputenv("KOVA_MAP_URL", mapEnvironment);
    qputenv("KOVA_ROUTING_URL", routingEnvironment);
    Server server;
    qunsetenv("KOVA_MAP_URL");
    qunsetenv("KOVA_ROUTING_URL");
    QCOMPARE(server.mapProvidersUrl(), map);
    QCOMPARE(server.routingUrl(), routing);
    QCOMPARE(server.serverHostUrl(), base);
    QCOMPARE(server.appInterfaceUrl(), base + "/kova/appInterface.php");
    QCOMPARE(server.communicationUrl(), base + "/kova/appCommunication.php");
}

void TestServer::requestBodies_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("last location") << 0 << QByteArray::fromHex("0100a145d21ca2440100");
    QTest::newRow("first last location") << 1 << QByteArray::fromHex("0101a145d21ca2440100");
    QTest::newRow("trip") << 2 << QByteArray::fromHex("02a145d21ca24401004866fa654747fb65");
    QTest::newRow("settings") << 3 << QByteArray::fromHex("04a145d21ca2440100");
}

void TestServer::requestBodies()
{
    QFETCH(int, operation);
    QFETCH(QByteArray, body);

    // Local times at +03:30 must go out as UTC seconds.
    const QTimeZone tehran = QTimeZone::fromSecondsAheadOfUtc(12600);
    switch (operation) {
    case 0:
        m_server->getLastLocation(imei);
        break;
    case 1:
        m_server->getLastLocation(imei, true);
        break;
    case 2:
        m_server->getDebriefingPath(imei, QDateTime(QDate(2024, 3, 20), QTime(8, 0), tehran),
                                    QDateTime(QDate(2024, 3, 20), QTime(23, 59, 59), tehran));
        break;
    case 3:
        m_server->getSettings(imei);
        break;
    }

    QTRY_COMPARE(m_peer->requests().size(), 1);
    const FakePeer::Request &request = m_peer->requests().first();
    QCOMPARE(request.method, "POST");
    QCOMPARE(request.path, "/kova/appCommunication.php");
    QCOMPARE(request.contentType, "KovaApp");
    QCOMPARE(request.body.toHex(), body.toHex());
}

void TestServer::lastLocation_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<double>("lat");
    QTest::addColumn<double>("lon");
    QTest::addColumn<double>("alt");
    QTest::addColumn<double>("course");
    QTest::addColumn<double>("speed");
    QTest::addColumn<int>("accuracy");
    QTest::addColumn<QString>("version");

    const QByteArray typical =
        locationReply(Point{1710921600, 356000000, 514000000, 1000000, 36000, 125000, 7}, 3, 12, 0);
    QTest::newRow("typical") << typical
                             << QDateTime(QDate(2024, 3, 20), QTime(8, 0), QTimeZone::UTC) << 35.6
                             << 51.4 << 0.0 << 360.0 << 12.5 << 7 << "3.12.0";
    QTest::newRow("longer reply") << typical + '\0'
                                  << QDateTime(QDate(2024, 3, 20), QTime(8, 0), QTimeZone::UTC)
                                  << 35.6 << 51.4 << 0.0 << 360.0 << 12.5 << 7 << "3.12.0";
    QTest::newRow("field limits") << locationReply(Point{1710921600, 900000000, 1800000000, 1123456,
                                                         36000, 1500000, 255},
                                                   255, 0, 9)
                                  << QDateTime(QDate(2024, 3, 20), QTime(8, 0), QTimeZone::UTC)
                                  << 90.0 << 180.0 << 123.456 << 360.0 << 150.0 << 255 << "255.0.9";
    QTest::newRow("below sea level") << locationReply(Point{86400, 0, 0, 0, 1, 1, 0}, 0, 0, 0)
                                     << QDateTime(QDate(1970, 1, 2), QTime(0, 0), QTimeZone::UTC)
                                     << 0.0 << 0.0 << -1000.0 << 0.01 << 0.0001 << 0 << "0.0.0";
}

void TestServer::lastLocation()
{
    QFETCH(QByteArray, reply);

    const QVariantMap location = answerLocation(reply);
    QVERIFY2(!location.contains("errorCode"), qPrintable(location.value("errorCode").toString()));
    QTEST(location.value("dateTime").toDateTime(), "dateTime");
    QCOMPARE(location.value("dateTime").toDateTime().timeSpec(), Qt::UTC);
    QTEST(location.value("lat").toDouble(), "lat");
    QTEST(location.value("lon").toDouble(), "lon");
    QTEST(location.value("alt").toDouble(), "alt");
    QTEST(location.value("course").toDouble(), "course");
    QTEST(location.value("speed").toDouble(), "speed");
    QTEST(location.value("accuracy").toInt(), "accuracy");
    QTEST(location.value("version").toString(), "version");
}

void TestServer::lastLocationRejected_data()
{
    QTest::addColumn<QByteArray>("reply");

    const QByteArray whole = locationReply(Point{1710921600}, 1, 2, 3);
    QByteArray wrongType = whole;
    wrongType[0] = 2;
    QTest::newRow("21 bytes") << whole.first(21);
    QTest::newRow("22 bytes") << whole.first(22);
    QTest::newRow("24 bytes") << whole.first(24);
    QTest::newRow("wrong type") << wrongType;
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("all 0xff") << QByteArray(1, 1) + QByteArray(24, '\xff');
    QTest::newRow("latitude over 90") << locationReply(Point{1710921600, 900000001}, 1, 2, 3);
    QTest::newRow("longitude over 180")
        << locationReply(Point{1710921600, 356000000, 1800000001}, 1, 2, 3);
    QTest::newRow("two days ahead") << locationReply(Point{twoDaysAhead()}, 1, 2, 3);
    QTest::newRow("course past a circle")
        << locationReply(Point{1710921600, 356000000, 514000000, 1000000, 36001}, 1, 2, 3);
    QTest::newRow("6,000 km/h") << locationReply(
        Point{1710921600, 356000000, 514000000, 1000000, 0, 16666667}, 1, 2, 3);
    QTest::newRow("just over 150 m/s")
        << locationReply(Point{1710921600, 356000000, 514000000, 1000000, 0, 1500001}, 1, 2, 3);
}

void TestServer::lastLocationRejected()
{
    QFETCH(QByteArray, reply);

    QCOMPARE(answerLocation(reply), QVariantMap({{"errorCode", 0}}));
}

void TestServer::tripRejected_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("errorCode");

    const QByteArray twoPoints = tripReply(pointsWithGaps({10}));
    QByteArray wrongType = twoPoints;
    wrongType[0] = 1;
    QTest::newRow("one byte short") << twoPoints.chopped(1) << 0;
    QTest::newRow("one byte over") << twoPoints + '\0' << 0;
    QTest::newRow("wrong type") << wrongType << 0;
    QTest::newRow("no trip") << QByteArray(1, 4) << 10000;
    QTest::newRow("single other byte") << QByteArray(1, 2) << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("2 bytes") << twoPoints.first(2) << 0;
    QTest::newRow("4 bytes") << twoPoints.first(4) << 0;
    QTest::newRow("header without points") << tripReply({}) << 0;
    QTest::newRow("huge count, short body")
        << QByteArray::fromHex("02ffffffff") + pointRecord(Point{tripStart}) << 0;
    // 5 + 21 × 204522253 is 22 once wrapped to 32 bits.
    QTest::newRow("count wrapping to the length")
        << QByteArray::fromHex("020dc3300c") + pointRecord(Point{tripStart}).first(17) << 0;

    QList<Point> offGlobe = pointsWithGaps(repeated(10, 11));
    offGlobe[5].lat = 900000001;
    QList<Point> eastOfTheWorld = pointsWithGaps(repeated(10, 11));
    eastOfTheWorld[5].lon = 1800000001;
    QList<Point> ahead = pointsWithGaps(repeated(10, 11));
    ahead.last().time = twoDaysAhead();
    QByteArray allOnes = tripReply(pointsWithGaps(repeated(10, 11)));
    allOnes.replace(5 + 21 * 3, 21, QByteArray(21, '\xff'));
    QTest::newRow("point latitude over 90") << tripReply(offGlobe) << 0;
    QTest::newRow("point longitude over 180") << tripReply(eastOfTheWorld) << 0;
    QTest::newRow("point two days ahead") << tripReply(ahead) << 0;
    QTest::newRow("point of all 0xff") << allOnes << 0;
}

void TestServer::tripRejected()
{
    QFETCH(QByteArray, reply);

    QTEST(answerTrip(reply), "errorCode");
    QVERIFY(m_server->debriefingPath().isEmpty());
    QVERIFY(m_server->pathsAdvanceInfo().isEmpty());
}

// The paths of the last trip reply against the row's pathSizes, drivingTimes and stopTimes.
void TestServer::comparePaths()
{
    QFETCH(QList<int>, pathSizes);
    QFETCH(QList<uint>, drivingTimes);
    QFETCH(QList<uint>, stopTimes);

    const QVariantList paths = m_server->debriefingPath();
    const QVariantList figures = m_server->pathsAdvanceInfo();
    QCOMPARE(paths.size(), pathSizes.size());
    QCOMPARE(figures.size(), pathSizes.size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QCOMPARE(paths[i].toMap().size(), pathSizes[i]);
        QCOMPARE(figures[i].toMap().value("drivingTime").toUInt(), drivingTimes[i]);
        QCOMPARE(figures[i].toMap().value("stopTime").toUInt(), stopTimes[i]);
    }
    // The map and the playback bar read the same paths natively.
    const TripDay *trips = m_server->trips();
    QVERIFY(trips);
    QCOMPARE(trips->count(), pathSizes.size());
    for (int i = 0; i < trips->count(); ++i) {
        QCOMPARE(trips->pointCount(i), pathSizes[i]);
        QCOMPARE(trips->path(i).size(), pathSizes[i]);
    }
}

void TestServer::tripPaths_data()
{
    QTest::addColumn<QList<int>>("gaps");
    QTest::addColumn<QList<int>>("pathSizes");
    QTest::addColumn<QList<uint>>("drivingTimes");
    QTest::addColumn<QList<uint>>("stopTimes");

    using Ints = QList<int>;
    using UInts = QList<uint>;
    QTest::newRow("12 points 10 s apart") << repeated(10, 11) << Ints{12} << UInts{110} << UInts{0};
    QTest::newRow("30 s is driving")
        << repeated(10, 9) + Ints{30} << Ints{11} << UInts{120} << UInts{0};
    QTest::newRow("31 s is a stop")
        << repeated(10, 9) + Ints{31} << Ints{11} << UInts{90} << UInts{31};
    QTest::newRow("1199 s is a stop")
        << repeated(10, 9) + Ints{1199} << Ints{11} << UInts{90} << UInts{1199};
    QTest::newRow("1200 s starts a path") << repeated(10, 11) + Ints{1200} + repeated(10, 11)
                                          << Ints{12, 13} << UInts{110, 110} << UInts{0, 0};
    QTest::newRow("10 entries kept") << repeated(10, 9) << Ints{10} << UInts{90} << UInts{0};
    QTest::newRow("9 entries dropped") << repeated(10, 8) << Ints{} << UInts{} << UInts{};
    QTest::newRow("all paths dropped")
        << repeated(10, 4) + Ints{1500} + repeated(10, 3) << Ints{} << UInts{} << UInts{};
    QTest::newRow("short path before a long one")
        << repeated(10, 4) + Ints{1500} + repeated(10, 11) << Ints{13} << UInts{110} << UInts{0};
    QTest::newRow("same second replaces")
        << repeated(10, 5) + Ints{0} + repeated(10, 4) << Ints{10} << UInts{90} << UInts{0};
    QTest::newRow("single point") << Ints{} << Ints{} << UInts{} << UInts{};
}

void TestServer::tripPaths()
{
    QFETCH(QList<int>, gaps);

    QCOMPARE(answerTrip(tripReply(pointsWithGaps(gaps))), -1);
    comparePaths();
}

void TestServer::tripInTimeOrder_data()
{
    QTest::addColumn<QList<int>>("order");
    QTest::addColumn<QList<int>>("pathSizes");
    QTest::addColumn<QList<uint>>("drivingTimes");
    QTest::addColumn<QList<uint>>("stopTimes");

    // Indexes into 50 points 10 s apart: a 490 s drive, whatever order the points come in.
    QList<int> reversed;
    QList<int> strided;
    QList<int> lastFirst{49};
    for (int i = 0; i < 50; ++i) {
        reversed.prepend(i);
        strided.append(i * 7 % 50);
        if (i < 49)
            lastFirst.append(i);
    }
    QTest::newRow("reversed") << reversed << QList<int>{50} << QList<uint>{490} << QList<uint>{0};
    QTest::newRow("strided") << strided << QList<int>{50} << QList<uint>{490} << QList<uint>{0};
    QTest::newRow("last first") << lastFirst << QList<int>{50} << QList<uint>{490}
                                << QList<uint>{0};
}

void TestServer::tripInTimeOrder()
{
    QFETCH(QList<int>, order);

    const QList<Point> inTime = pointsWithGaps(repeated(10, 49));
    QList<Point> arriving;
    for (int i : order)
        arriving.append(inTime[i]);

    QCOMPARE(answerTrip(tripReply(arriving)), -1);
    comparePaths();
}

void TestServer::fullDayTripCutWhileInterfaceRuns()
{
    // A tracker logging every second all day long.
    m_server->setRequestTimeouts(60000, 60000);
    m_peer->enqueue(FakePeer::reply(tripReply(pointsWithGaps(repeated(1, 86399)))));
    QSignalSpy replies(m_server.get(), &Server::debriefingReply);
    QSignalSpy errors(m_server.get(), &Server::debriefingError);

    // Counts the turns of the event loop once the client has taken the whole reply in.
    int turns = 0;
    bool replyIn = false;
    QTimer ticker;
    ticker.setInterval(0);
    connect(&ticker, &QTimer::timeout, this, [&] { turns += replyIn ? 1 : 0; });
    int turnsBeforeTrip = -1;
    connect(m_server.get(), &Server::debriefingReply, this, [&] { turnsBeforeTrip = turns; });
    ticker.start();

    start(m_server.get(), Operation::Trip);
    // Connected after the client's own handler, so this runs once that handler has returned.
    auto *reply = m_server->findChild<QNetworkReply *>();
    QVERIFY(reply);
    connect(reply, &QNetworkReply::finished, this, [&] { replyIn = true; });
    QVERIFY(QTest::qWaitFor([&] { return !replies.isEmpty() || !errors.isEmpty(); }, 120000));
    QCOMPARE(errors.size(), 0);
    QCOMPARE_GT(turnsBeforeTrip, 0);
    QCOMPARE(m_server->debriefingPath().size(), 1);
    QCOMPARE(m_server->debriefingPath().first().toMap().size(), 86400);
    QCOMPARE(m_server->pathsAdvanceInfo().first().toMap().value("drivingTime").toUInt(), 86399u);
}

void TestServer::tripCarriesPointAcrossGap()
{
    const QList<Point> points =
        pointsWithGaps(repeated(10, 4) + QList<int>{1500} + repeated(10, 11));
    QCOMPARE(answerTrip(tripReply(points)), -1);
    QCOMPARE(m_server->debriefingPath().size(), 1);

    const QVariantMap path = m_server->debriefingPath().first().toMap();
    QStringList keys;
    keys << QString::number(points[5].time - 1);
    for (qsizetype i = 5; i < points.size(); ++i)
        keys << QString::number(points[i].time);
    QCOMPARE(path.keys(), keys);
    QCOMPARE(path.first().toMap().value("dateTime").toDateTime().toSecsSinceEpoch(),
             points[4].time);
    QCOMPARE(path.last().toMap().value("dateTime").toDateTime().toSecsSinceEpoch(),
             points.last().time);
}

void TestServer::tripFigures()
{
    // Eleven points 10 s apart heading north-east; speeds 2.3456 m/s apart. The first point's
    // speed is not part of the figures: nothing was driven before it.
    QList<Point> points = pointsWithGaps(repeated(10, 10));
    points[0].speed = 500000;
    for (int i = 1; i < points.size(); ++i) {
        points[i].lat = 356000000 + 5000 * i;
        points[i].lon = 514000000 + 3000 * i;
        points[i].speed = 23456 * i + 1;
    }
    double exactDistance = 0;
    for (int i = 1; i < points.size(); ++i) {
        const QGeoCoordinate from(points[i - 1].lat / 1e7, points[i - 1].lon / 1e7);
        exactDistance += from.distanceTo(QGeoCoordinate(points[i].lat / 1e7, points[i].lon / 1e7));
    }
    const quint64 distance = quint64(exactDistance);

    QCOMPARE(answerTrip(tripReply(points)), -1);
    QCOMPARE(m_server->pathsAdvanceInfo().size(), 1);
    const QVariantMap figures = m_server->pathsAdvanceInfo().first().toMap();
    QCOMPARE(figures.value("distance").toULongLong(), distance);
    QVERIFY(distance > 600 && distance < 700);
    QCOMPARE(figures.value("drivingTime").toUInt(), 100u);
    QCOMPARE(figures.value("stopTime").toUInt(), 0u);
    QCOMPARE(figures.value("maxSpeed").toUInt(), 23u);
    // (2 + 4 + 7 + 9 + 11 + 14 + 16 + 18 + 21 + 23) / 11
    QCOMPARE(figures.value("avrageSpeed").toLongLong(), 11);
    QCOMPARE(figures.value("avrageSpeed").typeId(), QMetaType::LongLong);
    QCOMPARE(figures.value("distance").typeId(), QMetaType::UInt);
}

// Ten minutes sampled every second: steps of a metre and a half at 2.9 m/s. The figures are the
// whole parts of the exact sums, not sums of whole parts (which gave 1 m a step and 1.99 m/s).
void TestServer::tripFiguresKeepFractions()
{
    QList<Point> points = pointsWithGaps(repeated(1, 599));
    for (int i = 0; i < points.size(); ++i) {
        points[i].lat = 356000000 + 135 * i;
        points[i].speed = 29000;
    }
    const double step = QGeoCoordinate(35.6, 51.4).distanceTo(QGeoCoordinate(35.6000135, 51.4));

    QCOMPARE(answerTrip(tripReply(points)), -1);
    const QVariantMap figures = m_server->pathsAdvanceInfo().first().toMap();
    QCOMPARE(figures.value("distance").toULongLong(), quint64(599 * step));
    QVERIFY(figures.value("distance").toULongLong() > 890);
    // 599 points at 2.9 m/s after the first, over 600 points.
    QCOMPARE(figures.value("avrageSpeed").toLongLong(), 2);
    QCOMPARE(figures.value("drivingTime").toUInt(), 599u);
}

void TestServer::settings()
{
    m_peer->enqueue(FakePeer::reply(settingsReply()));
    QSignalSpy replies(m_server.get(), &Server::settingsReply);
    m_server->getSettings(imei);
    QVERIFY(replies.wait());
    const QVariantMap settings = replies.first().first().toMap();

    const QVariantMap expected{
        {"gsmConfiged", -1},
        {"password", "1234"},
        {"serverUrlAddress", QString(50, 's')},
        {"serverUrlPath", "/track/in.php"},
        {"serverUrlPort", 5050},
        {"reportCenter1", "+989121234567"},
        {"reportCenter2", QStringLiteral("مرکز")},
        {"sendRate", 300},
        {"expireTime", 0xf0000001u},
        {"activeDays", 200},
        {"disable", 1},
        {"logResolation", 65534},
        {"listen_Users1", "09120000001"},
        {"listen_Users2", "09120000002"},
        {"listen_Users3", ""},
        {"geoFenceInOut", 3},
        {"simChargeCommand", "*140*11#"},
        {"simChargeSearchKeyword", "ABCDEFGHIJKLMNO"},
        {"sw1", 1},
        {"sw2", 0},
        {"sw3", 1},
        {"tamper", 1},
        {"autoLock", 0},
        {"overSpeed", 120},
        {"multiAlarm", 1},
        {"shockSensitivity", 5},
        {"geoFenceAlarmType", 2},
        {"overSpeedAlarmType", 3},
        {"doorAlarmType", 1},
        {"trunkAlarmType", 2},
        {"switchAlarmType", 3},
        {"powerDisconnectAlarmType", 1},
        {"carryingAlarmType", 2},
        {"shockAlertType", 3},
        {"otaUrlAddress", "ota.example.net"},
        {"otaUrlPath", "/fw"},
        {"otaUrlPort", 8080},
        {"otaApn", "mtnirancell"},
        {"updateAvailable", 1},
        {"appLength", 123456u},
        {"cryptoKey", QByteArray("001FA0FF123456789ABCDEF00BADC0DE")},
        {"mobileOperator", 2},
        {"forceUnlockNumber1", 3},
        {"forceUnlockNumber2", 2},
        {"stored", -128},
    };
    QStringList keys = expected.keys();
    keys << "geoFencePolygon";
    keys.sort();
    QCOMPARE(settings.keys(), keys);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QVERIFY2(settings.value(it.key()) == it.value(), qPrintable(it.key()));
        QVERIFY2(settings.value(it.key()).typeId() == it.value().typeId(), qPrintable(it.key()));
    }

    const QVariantList polygon = settings.value("geoFencePolygon").toList();
    QCOMPARE(polygon.size(), 9);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(polygon[i].value<QGeoCoordinate>(), fencePoint(i));
}

void TestServer::settingsRejected_data()
{
    QTest::addColumn<QByteArray>("reply");

    QByteArray wrongType = settingsReply();
    wrongType[0] = 1;
    QTest::newRow("payload one byte short") << settingsReply().chopped(1);
    QTest::newRow("wrong type") << wrongType;
    QTest::newRow("type byte only") << QByteArray(1, 4);
    QTest::newRow("empty") << QByteArray();

    QByteArray noise(553, Qt::Uninitialized);
    QRandomGenerator random(553);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    noise[0] = 4;
    QTest::newRow("random bytes") << noise;
    QTest::newRow("one byte over the longest")
        << settingsReply() + QByteArray(1024 - 553 + 1, '\0');

    const struct
    {
        const char *name;
        int offset;
        QByteArray bytes;
    } outOfRange[] = {
        {"fence latitude over 90", 209 + 16 * 4, le(90.5)},
        {"fence longitude under -180", 209 + 16 * 8 + 8, le(-180.5)},
        {"fence latitude NaN", 209, le(qQNaN())},
        {"fence longitude infinite", 209 + 8, le(qInf())},
        {"geofence mode 4", 353, le(4, 1)},
        {"over-speed 1001 km/h", 389, le(1001, 2)},
        {"shock sensitivity 6", 392, le(6, 1)},
        {"geofence alarm type 4", 393, le(4, 1)},
        {"over-speed alarm type 4", 394, le(4, 1)},
        {"door alarm type 4", 395, le(4, 1)},
        {"trunk alarm type 4", 396, le(4, 1)},
        {"switch alarm type 4", 397, le(4, 1)},
        {"power alarm type 4", 398, le(4, 1)},
        {"towing alarm type 4", 399, le(4, 1)},
        {"shock alert type 255", 400, le(255, 1)},
        {"first emergency digit 6", 546, le(0x26, 1)},
        {"second emergency digit 6", 546, le(0x62, 1)},
    };
    for (const auto &row : outOfRange) {
        QByteArray reply = settingsReply();
        put(reply, row.offset, row.bytes);
        QTest::newRow(row.name) << reply;
    }
}

void TestServer::settingsRejected()
{
    QFETCH(QByteArray, reply);

    m_peer->enqueue(FakePeer::reply(reply));
    QSignalSpy replies(m_server.get(), &Server::settingsReply);
    QSignalSpy errors(m_server.get(), &Server::settingsError);
    m_server->getSettings(imei);
    QVERIFY(errors.wait());
    QCOMPARE(errors.first().first().toInt(), 0);
    QCOMPARE(replies.size(), 0);
}

void TestServer::settingsAtTheirLimits_data()
{
    QTest::addColumn<QByteArray>("reply");

    QByteArray highest = settingsReply();
    put(highest, 353, le(3, 1));
    put(highest, 389, le(1000, 2));
    put(highest, 392, le(5, 1));
    put(highest, 393, QByteArray(8, '\x03'));
    put(highest, 546, le(0x55, 1));
    put(highest, 209, le(90.0) + le(180.0) + le(-90.0) + le(-180.0));
    QByteArray lowest = settingsReply();
    put(lowest, 353, le(0, 1));
    put(lowest, 389, le(0, 2));
    put(lowest, 392, le(0, 1));
    put(lowest, 393, QByteArray(8, '\0'));
    put(lowest, 546, le(0, 1));
    put(lowest, 209, QByteArray(144, '\0'));
    QTest::newRow("highest values") << highest;
    QTest::newRow("lowest values") << lowest;
    QTest::newRow("longest reply") << settingsReply() + QByteArray(1024 - 553, '\0');
}

void TestServer::settingsAtTheirLimits()
{
    QFETCH(QByteArray, reply);

    m_peer->enqueue(FakePeer::reply(reply));
    QSignalSpy replies(m_server.get(), &Server::settingsReply);
    QSignalSpy errors(m_server.get(), &Server::settingsError);
    m_server->getSettings(imei);
    QVERIFY(replies.wait());
    QCOMPARE(errors.size(), 0);
}

void TestServer::oversizedReply_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<qsizetype>("excess");

    // Whole records with this much after them; for the trip, this many points.
    QTest::newRow("location with 50 MB behind it")
        << Operation::LastLocation << qsizetype(50 << 20);
    QTest::newRow("settings with 50 MB behind it") << Operation::Settings << qsizetype(50 << 20);
    QTest::newRow("trip of 2^20 points") << Operation::Trip << qsizetype(1 << 20);
    QTest::newRow("trip of three days and a second") << Operation::Trip << qsizetype(3 * 86400 + 1);
}

// Refused as malformed, and cut off before the client holds it in memory.
void TestServer::oversizedReply()
{
    QFETCH(Operation, operation);
    QFETCH(qsizetype, excess);

    QByteArray prefix;
    QByteArray unit(1, '\0');
    qsizetype size = 0;
    switch (operation) {
    case Operation::LastLocation:
        prefix = locationReply(Point{1710921600}, 1, 2, 3);
        size = prefix.size() + excess;
        break;
    case Operation::Settings:
        prefix = settingsReply();
        size = prefix.size() + excess;
        break;
    case Operation::Trip:
        prefix = QByteArray(1, 2) + le(quint64(excess), 4);
        unit = pointRecord(Point{tripStart});
        size = prefix.size() + unit.size() * excess;
        break;
    }
    FakePeer peer;
    peer.setFallback(FakePeer::stream(prefix, unit, size));
    QVERIFY(peer.listen());
    qputenv("KOVA_SERVER_URL", peer.baseUrl().toUtf8());
    Server server;
    server.setRequestTimeouts(60000, 60000);
    const auto replies = replySpy(&server, operation);
    const auto errors = errorSpy(&server, operation);

    QVERIFY(resetPeakMemory());
    const qint64 baseline = peakMemoryKiB();
    QVERIFY(baseline > 0);
    start(&server, operation);
    QVERIFY(QTest::qWaitFor([&] { return !replies->isEmpty() || !errors->isEmpty(); }, 120000));
    const qint64 grownKiB = peakMemoryKiB() - baseline;
    qInfo("peak grew by %lld KiB for a reply of %lld KiB", grownKiB, qint64(size / 1024));
    if (peakMemoryIsTheCodes)
        QCOMPARE_LT(grownKiB, size / 1024 / 4);
    QCOMPARE(replies->size(), 0);
    QCOMPARE(errors->size(), 1);
    QCOMPARE(errors->first().first().toInt(), 0);
}

void TestServer::timeOut_data()
{
    QTest::addColumn<Operation>("operation");

    QTest::newRow("last location") << Operation::LastLocation;
    QTest::newRow("trip") << Operation::Trip;
    QTest::newRow("settings") << Operation::Settings;
}

void TestServer::timeOut()
{
    QFETCH(Operation, operation);

    m_server->setRequestTimeouts(500, 500);
    const auto replies = replySpy(m_server.get(), operation);
    const auto errors = errorSpy(m_server.get(), operation);
    start(m_server.get(), operation);
    QTRY_COMPARE(m_peer->requests().size(), 1);
    QVERIFY(errors->wait());
    QCOMPARE(errors->first().first().toInt(), 0);

    // The request is abandoned: its connection goes, so a late answer has nowhere to land.
    QTRY_VERIFY(m_peer->requests().value(0).connectionClosed);
    QVERIFY(!m_peer->answer(0, QByteArray(1, 4)));
    QTRY_VERIFY(m_server->findChildren<QTimer *>().isEmpty());
    QTRY_VERIFY(m_server->findChildren<QNetworkReply *>().isEmpty());
    QCOMPARE(errors->size(), 1);
    QCOMPARE(replies->size(), 0);
}

void TestServer::endWaitingPolls_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<bool>("ended");

    QTest::newRow("last location") << Operation::LastLocation << true;
    QTest::newRow("settings") << Operation::Settings << true;
    QTest::newRow("trip, which the owner waits for") << Operation::Trip << false;
}

// Once the server is back after a stall, the polls it held end at once, as a time-out would,
// and let their connections go; a trip asked for keeps waiting.
void TestServer::endWaitingPolls()
{
    QFETCH(Operation, operation);
    QFETCH(bool, ended);

    m_server->setRequestTimeouts(60000, 60000);
    const auto errors = errorSpy(m_server.get(), operation);
    start(m_server.get(), operation);
    QTRY_COMPARE(m_peer->requests().size(), 1);
    m_server->endWaitingPolls();
    if (!ended) {
        QVERIFY(!errors->wait(500));
        QVERIFY(!m_peer->requests().value(0).connectionClosed);
        return;
    }
    QVERIFY(errors->wait(1000));
    QCOMPARE(errors->first().first().toInt(), 0);
    QTRY_VERIFY(m_peer->requests().value(0).connectionClosed);
    m_server->endWaitingPolls();
    QTest::qWait(200);
    QCOMPARE(errors->size(), 1);
}

void TestServer::transportError_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("errorCode");

    const QList<std::pair<const char *, Operation>> operations{
        {"last location", Operation::LastLocation},
        {"trip", Operation::Trip},
        {"settings", Operation::Settings}};
    for (const auto &[name, operation] : operations) {
        QTest::addRow("%s, connection refused", name) << operation << Failure::Refused << 1;
        QTest::addRow("%s, remote host closed", name) << operation << Failure::Dropped << 2;
        QTest::addRow("%s, not found", name) << operation << Failure::NotFound << 203;
    }
}

void TestServer::transportError()
{
    QFETCH(Operation, operation);
    QFETCH(Failure, failure);

    switch (failure) {
    case Failure::Refused:
        // The peer stops listening: its port refuses the connection.
        m_peer->stop();
        break;
    case Failure::Dropped:
        // The client retries a dropped request; drop every attempt.
        m_peer->setFallback(FakePeer::close());
        break;
    case Failure::NotFound:
        m_peer->enqueue(FakePeer::status(404));
        break;
    }

    const auto replies = replySpy(m_server.get(), operation);
    const auto errors = errorSpy(m_server.get(), operation);
    start(m_server.get(), operation);
    QVERIFY(errors->wait());
    QTEST(errors->first().first().toInt(), "errorCode");
    QCOMPARE(replies->size(), 0);
    if (failure == Failure::NotFound) {
        // The kept-alive connection is dropped after a failure, so the next request starts afresh.
        QTRY_VERIFY(m_peer->requests().value(0).connectionClosed);
    }
}

void TestServer::newTripSupersedesUnanswered()
{
    const QList<Point> firstDay = pointsWithGaps(repeated(10, 11));
    QList<Point> secondDay = firstDay;
    for (Point &p : secondDay)
        p.time += 86400;

    m_peer->enqueue(FakePeer::hold());
    m_peer->enqueue(FakePeer::reply(tripReply(secondDay)));
    QSignalSpy replies(m_server.get(), &Server::debriefingReply);
    QSignalSpy errors(m_server.get(), &Server::debriefingError);

    start(m_server.get(), Operation::Trip);
    QTRY_COMPARE(m_peer->requests().size(), 1);
    m_server->getDebriefingPath(imei, QDateTime::fromSecsSinceEpoch(tripStart + 86400),
                                QDateTime::fromSecsSinceEpoch(tripStart + 2 * 86400 - 1));
    QVERIFY(replies.wait());

    // The first request was cut off, and neither its answer nor its error shows.
    QTRY_VERIFY(m_peer->requests().value(0).connectionClosed);
    QVERIFY(!m_peer->answer(0, tripReply(firstDay)));
    QCOMPARE(replies.size(), 1);
    QCOMPARE(errors.size(), 0);

    QCOMPARE(m_server->debriefingPath().size(), 1);
    const QVariantMap path = m_server->debriefingPath().first().toMap();
    QCOMPARE(path.size(), 12);
    QCOMPARE(path.firstKey(), QString::number(secondDay.first().time));
    QCOMPARE(m_server->pathsAdvanceInfo().size(), 1);

    // The next trip request starts from empty lists.
    m_peer->setFallback(FakePeer::hold());
    start(m_server.get(), Operation::Trip);
    QVERIFY(m_server->debriefingPath().isEmpty());
    QVERIFY(m_server->pathsAdvanceInfo().isEmpty());
}

void TestServer::newTripSupersedesOneBeingCut()
{
    const QList<Point> firstDay = pointsWithGaps(repeated(10, 11));
    QList<Point> secondDay = firstDay;
    for (Point &p : secondDay)
        p.time += 86400;
    m_peer->enqueue(FakePeer::reply(tripReply(firstDay)));
    m_peer->enqueue(FakePeer::reply(tripReply(secondDay)));
    QSignalSpy replies(m_server.get(), &Server::debriefingReply);
    QSignalSpy errors(m_server.get(), &Server::debriefingError);

    start(m_server.get(), Operation::Trip);
    // Runs after the client's own handler: the first trip is in and being cut.
    auto *reply = m_server->findChild<QNetworkReply *>();
    QVERIFY(reply);
    connect(reply, &QNetworkReply::finished, this, [this] {
        m_server->getDebriefingPath(imei, QDateTime::fromSecsSinceEpoch(tripStart + 86400),
                                    QDateTime::fromSecsSinceEpoch(tripStart + 2 * 86400 - 1));
    });

    QVERIFY(replies.wait());
    QCOMPARE(replies.size(), 1);
    QCOMPARE(errors.size(), 0);
    QCOMPARE(m_peer->requests().size(), 2);
    QCOMPARE(m_server->debriefingPath().size(), 1);
    QCOMPARE(m_server->debriefingPath().first().toMap().firstKey(),
             QString::number(secondDay.first().time));
}

QTEST_GUILESS_MAIN(TestServer)
#include "tst_server.moc"

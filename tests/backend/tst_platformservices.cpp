#include "Biometric.h"
#include "Call.h"
#include "FakePeer.h"
#include "GpsManager.h"
#include "Notification.h"
#include "SmsManager.h"

#include <QDir>
#include <QFileInfo>
#include <QGeoPositionInfoSource>
#include <QJSEngine>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

QList<QPair<QtMsgType, QString>> loggedLines;

void recordMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    loggedLines.append({type, text});
}

// Collects what is logged while it lives.
class LogCapture
{
public:
    LogCapture() : m_previous(qInstallMessageHandler(recordMessage)) { loggedLines.clear(); }
    ~LogCapture() { qInstallMessageHandler(m_previous); }

private:
    QtMessageHandler m_previous;
};

using GatewayRequest = FakePeer::Request;

const QString walkLog = QStringLiteral(WALK_NMEA);

QJsonObject inboxEntry(int id, const QString &from, const QString &text)
{
    return {{"id", id}, {"from", from}, {"text", text}};
}

} // namespace

// The development SMS gateway on the shared fake peer: /send answers {}, /inbox?after=ID the
// messages newer than ID, or a canned reply, or nothing while polls are held.
class FakeGateway
{
public:
    FakeGateway()
    {
        m_peer.listen();
        m_peer.setFallback([this](const GatewayRequest &request) {
            if (!request.path.endsWith(QLatin1String("/inbox")))
                return FakePeer::reply("{}", 200, "application/json");
            if (holdInbox)
                return FakePeer::hold();
            if (!cannedInbox.isEmpty())
                return FakePeer::reply(cannedInbox, cannedStatus, "application/json");
            return FakePeer::reply(inboxBody(request), 200, "application/json");
        });
    }

    QString url() const { return m_peer.baseUrl(); }

    QList<GatewayRequest> requestsTo(const QString &suffix) const
    {
        QList<GatewayRequest> found;
        for (const GatewayRequest &request : m_peer.requests())
            if (request.path.endsWith(suffix))
                found.append(request);
        return found;
    }
    int requestCount() const { return int(m_peer.requests().size()); }

    QJsonArray messages;
    bool replayAll = false;
    QByteArray cannedInbox;
    int cannedStatus = 200;
    bool holdInbox = false;

    // Answers every poll still held; answered ones are left alone.
    void releaseHeld()
    {
        for (int i = 0; i < m_peer.requests().size(); ++i) {
            const GatewayRequest &request = m_peer.requests().at(i);
            if (request.path.endsWith(QLatin1String("/inbox")))
                m_peer.answer(i, inboxBody(request), 200, "application/json");
        }
    }

private:
    QByteArray inboxBody(const GatewayRequest &poll) const
    {
        const qint64 after = poll.query.queryItemValue("after").toLongLong();
        QJsonArray newer;
        for (const QJsonValue &message : messages)
            if (replayAll || message["id"].toInteger() > after)
                newer.append(message);
        return QJsonDocument(QJsonObject{{"messages", newer}}).toJson(QJsonDocument::Compact);
    }

    FakePeer m_peer;
};

class TestPlatformServices : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void simSlotSignalsChanges_data();
    void simSlotSignalsChanges();
    void simSlotFromScript();
    void isDualSimIsFalse();
    void directCallLogsOneLine_data();
    void directCallLogsOneLine();
    void notifyAndAuthStaySilent();
    void gpsStateIsShared();
    void gpsSharedInstanceReplaced();
    void gpsFromNmeaSource_data();
    void gpsFromNmeaSource();
    void nmeaPluginReadsTheWalk();

    void withoutGatewayNothingIsSent();
    void gatewaySend_data();
    void gatewaySend();
    void gatewayRefusesAllButOneFrame_data();
    void gatewayRefusesAllButOneFrame();
    void gatewayInbox_data();
    void gatewayInbox();
    void gatewayIgnoresMalformedInbox_data();
    void gatewayIgnoresMalformedInbox();
    void gatewayPollsOneAtATime();
};

void TestPlatformServices::init()
{
    // The fixed desktop answers, whatever services this machine runs.
    qputenv("KOVA_PHONE_SERVICES", "off");
    qunsetenv("KOVA_SMS_GATEWAY");
    qunsetenv("KOVA_NMEA_SOURCE");
}

void TestPlatformServices::cleanup()
{
    qunsetenv("KOVA_SMS_GATEWAY");
    qunsetenv("KOVA_NMEA_SOURCE");
}

void TestPlatformServices::simSlotSignalsChanges_data()
{
    QTest::addColumn<QList<int>>("writes");
    QTest::addColumn<QList<int>>("signalled");

    QTest::newRow("start value") << QList<int>{0} << QList<int>{};
    QTest::newRow("second sim once") << QList<int>{1, 1} << QList<int>{1};
    QTest::newRow("back and forth") << QList<int>{1, 0, 0, 1} << QList<int>{1, 0, 1};
}

void TestPlatformServices::simSlotSignalsChanges()
{
    QFETCH(QList<int>, writes);
    QFETCH(QList<int>, signalled);

    SmsManager sms;
    QCOMPARE(sms.simSlot(), quint8(0));
    QSignalSpy changed(&sms, &SmsManager::simSlotChanged);
    for (int slot : writes)
        QVERIFY(sms.setProperty("simSlot", slot));
    QList<int> seen;
    for (const QList<QVariant> &arguments : changed)
        seen.append(arguments.first().value<quint8>());
    QCOMPARE(seen, signalled);
    QCOMPARE(int(sms.simSlot()), writes.last());
}

// The screens write the slot from script and show it plus one in their messages.
void TestPlatformServices::simSlotFromScript()
{
    SmsManager sms;
    QJSEngine::setObjectOwnership(&sms, QJSEngine::CppOwnership);
    QJSEngine engine;
    engine.globalObject().setProperty(QStringLiteral("sms"), engine.newQObject(&sms));
    QSignalSpy changed(&sms, &SmsManager::simSlotChanged);

    const QJSValue shown = engine.evaluate(QStringLiteral("sms.simSlot = 1; sms.simSlot + 1"));
    QVERIFY2(!shown.isError(), qPrintable(shown.toString()));
    QCOMPARE(shown.toInt(), 2);
    QCOMPARE(sms.simSlot(), quint8(1));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(engine.evaluate(QStringLiteral("sms.isDualSim")).toBool(), false);
}

void TestPlatformServices::isDualSimIsFalse()
{
    SmsManager sms;
    QCOMPARE(sms.property("isDualSim"), QVariant(false));
    const QMetaObject *meta = sms.metaObject();
    QVERIFY(!meta->property(meta->indexOfProperty("isDualSim")).isWritable());
}

void TestPlatformServices::directCallLogsOneLine_data()
{
    QTest::addColumn<QString>("number");

    QTest::newRow("device sim") << QStringLiteral("+989121234567");
    QTest::newRow("empty") << QString();
    QTest::newRow("not a number") << QStringLiteral("*140# ☎");
}

void TestPlatformServices::directCallLogsOneLine()
{
    QFETCH(QString, number);

    Call call;
    LogCapture capture;
    QVERIFY(QMetaObject::invokeMethod(&call, "directCall", Q_ARG(QString, number)));
    QCOMPARE(loggedLines.size(), 1);
    QCOMPARE(loggedLines.first().first, QtDebugMsg);
    QCOMPARE(loggedLines.first().second, QStringLiteral("CALL No Os Suport..."));
}

void TestPlatformServices::notifyAndAuthStaySilent()
{
    Notification notification;
    Biometric biometric;
    QSignalSpy success(&biometric, &Biometric::authSuccess);
    QSignalSpy failure(&biometric, &Biometric::authError);
    LogCapture capture;

    notification.notify(QStringLiteral("هشدار"), QStringLiteral("1403/01/01"),
                        QStringLiteral("icon"));
    QCOMPARE(biometric.isBiometricSupported(), false);
    biometric.auth();
    QVERIFY(!success.wait(300));
    QCOMPARE(failure.count(), 0);
    QVERIFY(loggedLines.isEmpty());
}

void TestPlatformServices::gpsStateIsShared()
{
    GpsManager first;
    GpsManager second;
    QSignalSpy firstChanged(&first, &GpsManager::gpsIsOnChanged);
    QSignalSpy secondChanged(&second, &GpsManager::gpsIsOnChanged);
    QVERIFY(!first.gpsIsOn());

    second.turnOnGps();
    QVERIFY(!first.gpsIsOn());
    QVERIFY(!second.gpsIsOn());
    QCOMPARE(firstChanged.count(), 0);

    QVERIFY(second.setProperty("gpsIsOn", true));
    QVERIFY(first.gpsIsOn());
    QVERIFY(second.gpsIsOn());
    first.setGpsIsOn(true);
    QCOMPARE(firstChanged.count(), 1);
    QCOMPARE(secondChanged.count(), 1);

    first.setGpsIsOn(false);
    QVERIFY(!second.gpsIsOn());
    QCOMPARE(secondChanged.count(), 2);
}

// Once the shared instance is gone, the next one starts afresh instead of reading freed state.
void TestPlatformServices::gpsSharedInstanceReplaced()
{
    auto first = std::make_unique<GpsManager>();
    first->setGpsIsOn(true);
    first.reset();

    GpsManager second;
    QVERIFY(!second.gpsIsOn());
    second.turnOnGps();
    QVERIFY(!second.gpsIsOn());

    GpsManager third;
    second.setGpsIsOn(true);
    QVERIFY(third.gpsIsOn());
}

void TestPlatformServices::gpsFromNmeaSource_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("warns");

    const QFileInfo log(walkLog);
    QTest::newRow("unset") << QString() << QString() << false;
    QTest::newRow("log file") << walkLog << walkLog << false;
    QTest::newRow("file url") << QUrl::fromLocalFile(walkLog).toString() << walkLog << false;
    QTest::newRow("relative to the working folder")
        << QDir::current().relativeFilePath(walkLog) << walkLog << false;
    QTest::newRow("serial port") << "serial:/dev/ttyUSB0" << "serial:/dev/ttyUSB0" << false;
    QTest::newRow("any serial port") << "serial:" << "serial:" << false;
    QTest::newRow("socket") << "socket://127.0.0.1:22222" << "socket://127.0.0.1:22222" << false;
    QTest::newRow("missing file") << log.absolutePath() + "/none.nmea" << QString() << true;
    QTest::newRow("folder") << log.absolutePath() << QString() << true;
    QTest::newRow("file url to nothing") << "file:///none/walk.nmea" << QString() << true;
}

// With a source the phone's GPS is on and turning it on keeps it so; without one, or with a
// log that cannot be read, it is off and stays off.
void TestPlatformServices::gpsFromNmeaSource()
{
    QFETCH(QString, variable);
    QFETCH(QString, source);
    QFETCH(bool, warns);

    if (!variable.isEmpty())
        qputenv("KOVA_NMEA_SOURCE", variable.toUtf8());
    const bool on = !source.isEmpty();
    LogCapture log;
    GpsManager gps;
    GpsManager other;
    QCOMPARE(loggedLines.size(), warns ? 1 : 0);
    for (const GpsManager *instance : {&gps, &other}) {
        QCOMPARE(instance->gpsIsOn(), on);
        QCOMPARE(instance->property("positionPluginName").toString(),
                 on ? QStringLiteral("nmea") : QString());
        QCOMPARE(instance->property("nmeaSource").toString(), source);
    }

    other.setGpsIsOn(false);
    QSignalSpy changed(&gps, &GpsManager::gpsIsOnChanged);
    other.turnOnGps();
    QCOMPARE(gps.gpsIsOn(), on);
    QCOMPARE(changed.count(), on ? 1 : 0);
}

// The positioning plugin the map uses, set up from the manager's answers, reads the walk: one
// fix a second from 06:30 UTC, eastwards along the street at latitude 36.30 at 1.4 m/s.
void TestPlatformServices::nmeaPluginReadsTheWalk()
{
    qputenv("KOVA_NMEA_SOURCE", walkLog.toUtf8());
    GpsManager gps;
    // The positioning library hides plugins not marked testable from test processes; this one
    // only reads a file here.
    qunsetenv("QT_QTESTLIB_RUNNING");
    std::unique_ptr<QGeoPositionInfoSource> source(QGeoPositionInfoSource::createSource(
        gps.positionPluginName(), {{QStringLiteral("nmea.source"), gps.nmeaSource()}}, nullptr));
    QVERIFY(source);
    QSignalSpy updates(source.get(), &QGeoPositionInfoSource::positionUpdated);
    source->startUpdates();
    QTRY_VERIFY_WITH_TIMEOUT(updates.size() >= 3, 10000);

    const QDateTime start(QDate(2025, 3, 21), QTime(6, 30), QTimeZone::UTC);
    QGeoCoordinate last(36.30, 59.5968);
    for (int i = 0; i < 3; ++i) {
        const auto fix = updates.at(i).first().value<QGeoPositionInfo>();
        QVERIFY(fix.isValid());
        QCOMPARE(fix.timestamp(), start.addSecs(i));
        QVERIFY(std::abs(fix.coordinate().latitude() - 36.30) < 1e-7);
        QVERIFY(std::abs(fix.coordinate().distanceTo(last) - (i == 0 ? 0 : 1.4)) < 0.02);
        QVERIFY(std::abs(fix.attribute(QGeoPositionInfo::GroundSpeed) - 1.4) < 0.01);
        last = fix.coordinate();
    }
    QVERIFY(last.longitude() > 59.5968);
}

void TestPlatformServices::withoutGatewayNothingIsSent()
{
    FakeGateway gateway;
    gateway.messages.append(inboxEntry(1, "09121234567", "{\"id\":55}"));
    SmsManager sms;
    QSignalSpy received(&sms, &SmsManager::smsReceived);
    // The variable is read when the manager is made; setting it later changes nothing.
    qputenv("KOVA_SMS_GATEWAY", gateway.url().toUtf8());

    sms.sendSms(QStringLiteral("09121234567"), QStringLiteral("[oribel,55]}]"));
    QTest::qWait(1500);
    QCOMPARE(gateway.requestCount(), 0);
    QCOMPARE(received.count(), 0);
}

void TestPlatformServices::gatewaySend_data()
{
    QTest::addColumn<QString>("basePath");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("simSlot");
    QTest::addColumn<QString>("expectedPath");

    QTest::newRow("first sim") << QString() << "+989121234567"
                               << "[oribel,55]}]" << 0 << "/send";
    QTest::newRow("second sim") << QString() << "09121234567"
                                << "[oribel,14,3,1]}]" << 1 << "/send";
    QTest::newRow("quoted ussd") << QString() << "0912"
                                 << "[oribel,16,at+cusd=1,\"*141*1#\"]}]" << 0 << "/send";
    QTest::newRow("server address")
        << QString() << "0912"
        << "[oribel,12,track.example.net,/kova/in.php,5050]}]" << 0 << "/send";
    QTest::newRow("geofence block")
        << QString() << "0912"
        << "[oribel,18,2,"
           "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA==]}]"
        << 0 << "/send";
    QTest::newRow("alarms off") << QString() << "0912"
                                << "[oribel,30,0]}]" << 0 << "/send";
    QTest::newRow("base with path") << "/gw"
                                    << "0912"
                                    << "[oribel,0]}]" << 0 << "/gw/send";
    QTest::newRow("base with slash") << "/gw/"
                                     << "0912"
                                     << "[oribel,0]}]" << 0 << "/gw/send";
    QTest::newRow("empty number") << QString() << QString() << "[oribel,55]}]" << 0 << QString();
    QTest::newRow("empty message") << QString() << "0912" << QString() << 0 << QString();
}

void TestPlatformServices::gatewaySend()
{
    QFETCH(QString, basePath);
    QFETCH(QString, number);
    QFETCH(QString, message);
    QFETCH(int, simSlot);
    QFETCH(QString, expectedPath);

    FakeGateway gateway;
    qputenv("KOVA_SMS_GATEWAY", (gateway.url() + basePath).toUtf8());
    SmsManager sms;
    sms.setSimSlot(quint8(simSlot));
    sms.sendSms(number, message);
    // A last message that is always sent marks when everything before it has had its chance.
    sms.sendSms(QStringLiteral("end"), QStringLiteral("[oribel,55]}]"));

    const int expectedCount = expectedPath.isEmpty() ? 1 : 2;
    QTRY_COMPARE_WITH_TIMEOUT(gateway.requestsTo("/send").size(), expectedCount, 5000);
    QTest::qWait(300);
    const QList<GatewayRequest> sent = gateway.requestsTo("/send");
    QCOMPARE(sent.size(), expectedCount);
    if (expectedPath.isEmpty())
        return;

    const bool endFirst =
        QJsonDocument::fromJson(sent.first().body).object().value("to").toString() == "end";
    const GatewayRequest &request = endFirst ? sent.last() : sent.first();
    QCOMPARE(request.method, QByteArray("POST"));
    QCOMPARE(request.path, expectedPath);
    QCOMPARE(request.contentType, QByteArray("application/json"));
    const QJsonObject expected{{"to", number}, {"text", message}, {"simSlot", simSlot}};
    QCOMPARE(QJsonDocument::fromJson(request.body).object(), expected);
}

void TestPlatformServices::gatewayRefusesAllButOneFrame_data()
{
    QTest::addColumn<QString>("message");

    QTest::newRow("two frames") << "[oribel,11,0912]}][oribel,1,x]}]";
    QTest::newRow("second frame after the first") << "[oribel,55]}][oribel,1]}]";
    QTest::newRow("text before") << "x[oribel,55]}]";
    QTest::newRow("text after") << "[oribel,55]}]x";
    QTest::newRow("no terminator") << "[oribel,55";
    QTest::newRow("newline inside") << "[oribel,11,0912\n,x]}]";
    QTest::newRow("trailing newline") << "[oribel,55]}]\n";
    QTest::newRow("carriage return") << "[oribel,55\r]}]";
    QTest::newRow("bracket in a field") << "[oribel,11,09]12,x]}]";
    QTest::newRow("opening bracket in a field") << "[oribel,11,[0912,x]}]";
    QTest::newRow("no code") << "[oribel,]}]";
    QTest::newRow("code not a number") << "[oribel,a1]}]";
    QTest::newRow("opening only") << "[oribel,]}";
    QTest::newRow("plain text") << QStringLiteral("سلام");
}

void TestPlatformServices::gatewayRefusesAllButOneFrame()
{
    QFETCH(QString, message);

    FakeGateway gateway;
    qputenv("KOVA_SMS_GATEWAY", gateway.url().toUtf8());
    SmsManager sms;
    {
        LogCapture log;
        sms.sendSms(QStringLiteral("0912"), message);
        QCOMPARE(loggedLines.size(), 1);
        QCOMPARE(loggedLines.first().first, QtWarningMsg);
    }
    // The one frame sent after it is the only one that arrives.
    sms.sendSms(QStringLiteral("end"), QStringLiteral("[oribel,55]}]"));
    QTRY_COMPARE_WITH_TIMEOUT(gateway.requestsTo("/send").size(), 1, 5000);
    QTest::qWait(300);
    const QList<GatewayRequest> sent = gateway.requestsTo("/send");
    QCOMPARE(sent.size(), 1);
    QCOMPARE(QJsonDocument::fromJson(sent.first().body).object().value("to").toString(), "end");
}

void TestPlatformServices::gatewayInbox_data()
{
    QTest::addColumn<bool>("replayAll");
    QTest::addColumn<bool>("shuffled");

    QTest::newRow("gateway honours after") << false << false;
    QTest::newRow("gateway replays everything") << true << false;
    QTest::newRow("gateway replays out of order") << true << true;
}

void TestPlatformServices::gatewayInbox()
{
    QFETCH(bool, replayAll);
    QFETCH(bool, shuffled);

    FakeGateway gateway;
    gateway.replayAll = replayAll;
    const QJsonObject one = inboxEntry(1, "09121234567", "a");
    const QJsonObject two = inboxEntry(2, "09121234567", "b");
    const QJsonObject three = inboxEntry(3, "+989121234567", "c");
    gateway.messages = shuffled ? QJsonArray{two, three, one} : QJsonArray{one, two, three};
    qputenv("KOVA_SMS_GATEWAY", gateway.url().toUtf8());
    SmsManager sms;
    QSignalSpy received(&sms, &SmsManager::smsReceived);

    QTRY_COMPARE_WITH_TIMEOUT(received.count(), 3, 5000);
    gateway.messages.append(inboxEntry(5, "0912", "e"));
    gateway.messages.append(inboxEntry(4, "0912", "d"));
    QTRY_COMPARE_WITH_TIMEOUT(received.count(), 5, 5000);
    const int polls = int(gateway.requestsTo("/inbox").size());
    QTRY_VERIFY_WITH_TIMEOUT(gateway.requestsTo("/inbox").size() >= polls + 2, 5000);
    QCOMPARE(received.count(), 5);

    const QList<QList<QVariant>> expected{{"09121234567", "a"},
                                          {"09121234567", "b"},
                                          {"+989121234567", "c"},
                                          {"0912", "d"},
                                          {"0912", "e"}};
    QCOMPARE(QList<QList<QVariant>>(received), expected);

    QList<qint64> afters;
    for (const GatewayRequest &request : gateway.requestsTo("/inbox"))
        afters.append(request.query.queryItemValue("after").toLongLong());
    QCOMPARE(afters.first(), qint64(0));
    QVERIFY(std::is_sorted(afters.begin(), afters.end()));
    QVERIFY(afters.contains(3));
    QCOMPARE(afters.last(), qint64(5));
}

void TestPlatformServices::gatewayIgnoresMalformedInbox_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("delivered");

    const QByteArray valid = R"({"messages":[{"id":1,"from":"0912","text":"t"}]})";
    QTest::newRow("not json") << QByteArray("not json") << 200 << QStringList();
    QTest::newRow("truncated") << valid.left(valid.size() - 3) << 200 << QStringList();
    QTest::newRow("top-level list")
        << QByteArray(R"([{"id":1,"from":"0912","text":"t"}])") << 200 << QStringList();
    QTest::newRow("messages not a list")
        << QByteArray(R"({"messages":{"id":1,"from":"0912","text":"t"}})") << 200 << QStringList();
    QTest::newRow("server error") << valid << 500 << QStringList();
    QTest::newRow("bad entries skipped")
        << QByteArray(
               R"({"messages":[7,null,"x",{"id":"2","from":"a","text":"string id"},)"
               R"({"id":2.5,"from":"a","text":"fraction"},{"from":"a","text":"no id"},)"
               R"({"id":3,"from":5,"text":"number sender"},{"id":4,"from":"a"},)"
               R"({"id":-1,"from":"a","text":"negative"},{"id":1e300,"from":"a","text":"huge"},)"
               R"({"id":6,"from":"0912","text":"ok"}]})")
        << 200 << QStringList{"ok"};
}

// Bad replies deliver nothing and stop nothing: the next good message still arrives.
void TestPlatformServices::gatewayIgnoresMalformedInbox()
{
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QStringList, delivered);

    FakeGateway gateway;
    gateway.cannedInbox = body;
    gateway.cannedStatus = status;
    qputenv("KOVA_SMS_GATEWAY", gateway.url().toUtf8());
    SmsManager sms;
    QSignalSpy received(&sms, &SmsManager::smsReceived);

    QTRY_VERIFY_WITH_TIMEOUT(gateway.requestsTo("/inbox").size() >= 2, 5000);
    QStringList texts;
    for (const QList<QVariant> &arguments : received)
        texts.append(arguments.at(1).toString());
    QCOMPARE(texts, delivered);

    gateway.cannedInbox.clear();
    gateway.messages.append(inboxEntry(10, "0912", "later"));
    QTRY_COMPARE_WITH_TIMEOUT(received.count(), delivered.size() + 1, 5000);
    QCOMPARE(received.last().at(1).toString(), QStringLiteral("later"));
}

void TestPlatformServices::gatewayPollsOneAtATime()
{
    FakeGateway gateway;
    gateway.holdInbox = true;
    gateway.messages.append(inboxEntry(1, "0912", "held"));
    qputenv("KOVA_SMS_GATEWAY", gateway.url().toUtf8());
    SmsManager sms;
    QSignalSpy received(&sms, &SmsManager::smsReceived);

    QTRY_COMPARE_WITH_TIMEOUT(gateway.requestsTo("/inbox").size(), 1, 3000);
    QTest::qWait(2500);
    QCOMPARE(gateway.requestsTo("/inbox").size(), 1);

    gateway.holdInbox = false;
    gateway.releaseHeld();
    QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, 3000);
    QTRY_VERIFY_WITH_TIMEOUT(gateway.requestsTo("/inbox").size() >= 2, 3000);
    QCOMPARE(gateway.requestsTo("/inbox").last().query.queryItemValue("after"),
             QStringLiteral("1"));
}

QTEST_GUILESS_MAIN(TestPlatformServices)
#include "tst_platformservices.moc"

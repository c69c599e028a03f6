#include "DevServer.h"
#include "FaultGate.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace devserver;

namespace {

const QString routePath = QStringLiteral("/route/v1/foot/59.6,36.3;59.61,36.31");

// What a client saw of one request.
struct Exchange
{
    bool finished = false;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    int pieces = 0; // separate arrivals of body bytes
};

} // namespace

// The faults of --faults as a client sees them, against a server on free ports.
class TestFaultGate : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void faultsSeenByAClient_data();
    void faultsSeenByAClient();
    void stallHoldsOnlyItsKind();
    void slowReplyIsWholeButArrivesInPieces();
    void truncatedReplyEndsShort();
    void outageHoldsThenDropsAndEnds_data();
    void outageHoldsThenDropsAndEnds();
    void outageControlRefusesBadDurations_data();
    void outageControlRefusesBadDurations();
    void countsOfAppliedFaults();

private:
    void startServer(const QString &faults);
    // Trusting the server's certificate; harmless on the plain port.
    QNetworkRequest secureRequest(const QUrl &url) const;
    // Sends one request and waits up to `waitMs` for its end; an unfinished one is aborted.
    Exchange exchange(const QString &method, const QUrl &url, int waitMs = 10000);
    QUrl secure(const QString &path) const
    {
        return QUrl(QStringLiteral("https://127.0.0.1:%1%2").arg(m_server->httpsPort()).arg(path));
    }
    QUrl plain(const QString &path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server->httpPort()).arg(path));
    }

    std::unique_ptr<QTemporaryDir> m_data;
    std::unique_ptr<DevServer> m_server;
    std::unique_ptr<QNetworkAccessManager> m_network;
};

void TestFaultGate::startServer(const QString &faults)
{
    m_data = std::make_unique<QTemporaryDir>();
    DevServerOptions options;
    options.dataDir = m_data->path();
    options.httpsPort = 0;
    options.httpPort = 0;
    options.simulate = false;
    QString error;
    if (!faults.isEmpty()) {
        const std::optional<FaultPlan> plan = FaultPlan::parse(faults, &error);
        QVERIFY2(plan, qPrintable(error));
        options.faults = *plan;
    }
    m_server = std::make_unique<DevServer>(options);
    QVERIFY2(m_server->start(&error), qPrintable(error));
    m_network = std::make_unique<QNetworkAccessManager>();
}

void TestFaultGate::cleanup()
{
    m_network.reset();
    m_server.reset();
    m_data.reset();
}

QNetworkRequest TestFaultGate::secureRequest(const QUrl &url) const
{
    QNetworkRequest request(url);
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(m_server->certificatePath()));
    request.setSslConfiguration(tls);
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/octet-stream");
    return request;
}

Exchange TestFaultGate::exchange(const QString &method, const QUrl &url, int waitMs)
{
    QNetworkReply *reply = m_network->sendCustomRequest(secureRequest(url), method.toLatin1(),
                                                        QByteArray(method == "POST" ? "x" : ""));
    Exchange seen;
    connect(reply, &QIODevice::readyRead, reply, [reply, &seen] {
        seen.body += reply->readAll();
        ++seen.pieces;
    });
    QSignalSpy finished(reply, &QNetworkReply::finished);
    seen.finished = finished.wait(waitMs);
    seen.body += reply->readAll();
    seen.error = reply->error();
    seen.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    reply->abort();
    delete reply;
    return seen;
}

void TestFaultGate::faultsSeenByAClient_data()
{
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("secureSide");
    QTest::addColumn<int>("status");       // 0: no HTTP answer
    QTest::addColumn<bool>("transportOk"); // no network error but the HTTP status
    QTest::addColumn<QByteArray>("body");  // empty: any

    QTest::newRow("no faults") << "" << "GET" << "/" << true << 200 << true
                               << QByteArray("Kova development tracking server\n");
    QTest::newRow("a share of none") << "probe:reset=0" << "GET" << "/" << true << 200 << true
                                     << QByteArray("Kova development tracking server\n");
    QTest::newRow("reset") << "probe:reset=1" << "GET" << "/" << true << 0 << false << QByteArray();
    QTest::newRow("500") << "data:500=1" << "POST" << "/kova/appCommunication.php" << true << 500
                         << false << QByteArray("injected fault\n");
    QTest::newRow("404") << "sms:404=1" << "GET" << "/sms/inbox" << false << 404 << false
                         << QByteArray("injected fault\n");
    QTest::newRow("all covers a kind") << "all:500=1" << "GET" << "/map/street" << false << 500
                                       << false << QByteArray("injected fault\n");
    QTest::newRow("other kinds untouched") << "app:500=1" << "GET" << "/sms/inbox" << false << 200
                                           << true << QByteArray(R"({"messages":[]})");
    QTest::newRow("unfaultable path untouched")
        << "all:500=1" << "GET" << "/nowhere" << false << 404 << false << QByteArray();
}

void TestFaultGate::faultsSeenByAClient()
{
    QFETCH(QString, faults);
    QFETCH(QString, method);
    QFETCH(QString, path);
    QFETCH(bool, secureSide);
    QFETCH(int, status);
    QFETCH(bool, transportOk);
    QFETCH(QByteArray, body);
    startServer(faults);
    const Exchange seen = exchange(method, secureSide ? secure(path) : plain(path));
    QVERIFY(seen.finished);
    QCOMPARE(seen.status, status);
    QCOMPARE(seen.error == QNetworkReply::NoError, transportOk);
    if (!body.isEmpty())
        QCOMPARE(seen.body, body);
}

void TestFaultGate::stallHoldsOnlyItsKind()
{
    startServer("app:stall=1");
    const Exchange stalled = exchange("POST", secure("/kova/appInterface.php"), 1500);
    QVERIFY(!stalled.finished);
    QVERIFY(stalled.body.isEmpty());
    const Exchange probe = exchange("GET", secure("/"));
    QVERIFY(probe.finished);
    QCOMPARE(probe.status, 200);

    // Held until the server stops, which ends it without an answer.
    QNetworkReply *held = m_network->post(secureRequest(secure("/kova/appInterface.php")), "x");
    QSignalSpy ended(held, &QNetworkReply::finished);
    QVERIFY(!ended.wait(500));
    m_server.reset();
    QVERIFY(ended.wait(5000));
    QCOMPARE(held->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 0);
    delete held;
}

void TestFaultGate::slowReplyIsWholeButArrivesInPieces()
{
    startServer("");
    const Exchange normal = exchange("GET", plain(routePath));
    QCOMPARE(normal.status, 200);
    cleanup();
    startServer("route:slow=1");
    const Exchange slow = exchange("GET", plain(routePath));
    QVERIFY(slow.finished);
    QCOMPARE(slow.error, QNetworkReply::NoError);
    QCOMPARE(slow.status, 200);
    QCOMPARE(slow.body, normal.body);
    QVERIFY2(slow.pieces >= FaultGate::slowSteps / 2, qPrintable(QString::number(slow.pieces)));
}

void TestFaultGate::truncatedReplyEndsShort()
{
    startServer("");
    const Exchange normal = exchange("GET", plain(routePath));
    QCOMPARE(normal.status, 200);
    cleanup();
    startServer("route:truncate=1");
    const Exchange truncated = exchange("GET", plain(routePath));
    QVERIFY(truncated.finished);
    QVERIFY(truncated.error != QNetworkReply::NoError ||
            truncated.body.size() < normal.body.size());
    QVERIFY(normal.body.startsWith(truncated.body));
}

void TestFaultGate::outageHoldsThenDropsAndEnds_data()
{
    QTest::addColumn<QString>("held");
    QTest::addColumn<bool>("dropped");

    QTest::newRow("dropped when it ends") << QString() << true;
    QTest::newRow("kept unanswered for good") << QStringLiteral("&held=keep") << false;
}

void TestFaultGate::outageHoldsThenDropsAndEnds()
{
    QFETCH(QString, held);
    QFETCH(bool, dropped);

    startServer("");
    QElapsedTimer outage;
    outage.start();
    QCOMPARE(exchange("POST", plain("/control/outage?seconds=2" + held)).status, 200);

    // On a bare connection, as the network stack would resend a dropped request by itself.
    QTcpSocket client;
    QSignalSpy disconnected(&client, &QAbstractSocket::disconnected);
    client.connectToHost(QHostAddress::LocalHost, m_server->httpPort());
    QVERIFY(client.waitForConnected(5000));
    client.write("GET /sms/inbox HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");

    // Held on both ports, while the controls still answer.
    QVERIFY(!exchange("GET", secure("/"), 500).finished);
    const QJsonObject during =
        QJsonDocument::fromJson(exchange("GET", plain("/control/faults")).body).object();
    QCOMPARE(during.value("outage").toBool(), true);

    // Held to the end, then dropped rather than answered late, or left as a lost request.
    QCOMPARE(disconnected.wait(dropped ? 5000 : 3500), dropped);
    QVERIFY(outage.elapsed() >= 2000);
    QVERIFY(client.readAll().isEmpty());

    QCOMPARE(exchange("GET", secure("/")).status, 200);
    const QJsonObject after =
        QJsonDocument::fromJson(exchange("GET", plain("/control/faults")).body).object();
    QCOMPARE(after.value("outage").toBool(), false);
    QCOMPARE(after.value("total")["outage"].toInt(), 2);
}

void TestFaultGate::outageControlRefusesBadDurations_data()
{
    QTest::addColumn<QString>("query");
    QTest::newRow("missing") << "";
    QTest::newRow("zero") << "?seconds=0";
    QTest::newRow("negative") << "?seconds=-5";
    QTest::newRow("not a number") << "?seconds=soon";
    QTest::newRow("over a day") << "?seconds=86401";
}

void TestFaultGate::outageControlRefusesBadDurations()
{
    QFETCH(QString, query);
    startServer("");
    QCOMPARE(exchange("POST", plain("/control/outage" + query)).status, 400);
    QCOMPARE(exchange("GET", secure("/")).status, 200);
}

void TestFaultGate::countsOfAppliedFaults()
{
    // Not resets: the network stack resends a reset request by itself, which counts again.
    startServer("probe:500=1,sms:garbage=1");
    for (int i = 0; i < 3; ++i)
        QCOMPARE(exchange("GET", secure("/")).status, 500);
    const Exchange garbage = exchange("GET", plain("/sms/inbox"));
    QCOMPARE(garbage.status, 200);
    QVERIFY(garbage.body.size() >= 64);
    QVERIFY(QJsonDocument::fromJson(garbage.body).isNull());

    const QJsonObject counts =
        QJsonDocument::fromJson(exchange("GET", plain("/control/faults")).body).object();
    QCOMPARE(counts.value("probe")["500"].toInt(), 3);
    QCOMPARE(counts.value("sms")["garbage"].toInt(), 1);
    QCOMPARE(counts.value("total")["500"].toInt(), 3);
    QCOMPARE(counts.value("total")["garbage"].toInt(), 1);
}

QTEST_MAIN(TestFaultGate)
#include "tst_faultgate.moc"

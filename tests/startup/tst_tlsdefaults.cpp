#include "FakePeer.h"
#include "Server.h"
#include "ServerCertificate.h"
#include "TlsDefaults.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QtTest>

// The peer's certificate is trusted only when KOVA_CA_CERTIFICATES names it; nothing in the
// process accepts an unverified peer, neither the documents' requests nor the data channel.
class TestTlsDefaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void documentRequests_data();
    void documentRequests();
    void dataChannel_data();
    void dataChannel();

private:
    void installDefault(bool trustPeer);

    QTemporaryDir m_dir;
    QString m_pemPath;
    FakePeer m_peer;
};

void TestTlsDefaults::initTestCase()
{
    const devserver::ServerCertificate identity = devserver::ServerCertificate::create();
    QVERIFY(!identity.certificate.isNull());
    m_pemPath = m_dir.filePath(QStringLiteral("peer.pem"));
    QFile pem(m_pemPath);
    QVERIFY(pem.open(QIODevice::WriteOnly));
    pem.write(identity.certificate.toPem());
    pem.close();

    QVERIFY(m_peer.listenTls(identity.certificate, identity.key));
    QVERIFY(m_peer.baseUrl().startsWith(QLatin1String("https://127.0.0.1:")));
    m_peer.setFallback(FakePeer::reply("not a record"));
}

void TestTlsDefaults::installDefault(bool trustPeer)
{
    if (trustPeer)
        qputenv("KOVA_CA_CERTIFICATES", m_pemPath.toLocal8Bit());
    else
        qunsetenv("KOVA_CA_CERTIFICATES");
    installVerifyingTlsDefault();
}

void TestTlsDefaults::documentRequests_data()
{
    QTest::addColumn<bool>("trustPeer");
    QTest::addColumn<int>("error");
    QTest::newRow("unknown peer") << false << int(QNetworkReply::SslHandshakeFailedError);
    QTest::newRow("trusted peer") << true << int(QNetworkReply::NoError);
}

void TestTlsDefaults::documentRequests()
{
    QFETCH(bool, trustPeer);
    QFETCH(int, error);
    installDefault(trustPeer);
    const qsizetype before = m_peer.requests().size();

    QNetworkAccessManager manager;
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(QUrl(m_peer.baseUrl()))));
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
    QCOMPARE(int(reply->error()), error);
    QCOMPARE(m_peer.requests().size() - before, trustPeer ? 1 : 0);
}

void TestTlsDefaults::dataChannel_data()
{
    QTest::addColumn<bool>("trustPeer");
    QTest::addColumn<int>("errorCode");
    QTest::newRow("unknown peer") << false << int(QNetworkReply::SslHandshakeFailedError);
    // Reached and answered, but the answer is no settings record.
    QTest::newRow("trusted peer") << true << 0;
}

void TestTlsDefaults::dataChannel()
{
    QFETCH(bool, trustPeer);
    QFETCH(int, errorCode);
    installDefault(trustPeer);
    qputenv("KOVA_SERVER_URL", m_peer.baseUrl().toUtf8());

    Server server;
    QSignalSpy failed(&server, &Server::settingsError);
    server.getSettings(358000000000001ULL);
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 10000);
    QCOMPARE(failed.first().first().toInt(), errorCode);
}

QTEST_GUILESS_MAIN(TestTlsDefaults)
#include "tst_tlsdefaults.moc"

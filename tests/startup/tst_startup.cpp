#include "FakePeer.h"
#include "Tools.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

namespace {

constexpr quint16 sinkPort = 7755;

// Bytes waiting in the receive queue of the UDP socket bound to 127.0.0.1:port, or -1.
int udpReceiveQueue(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/udp"));
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray local =
        "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 4 && fields.at(1) == local)
            return fields.at(4).split(':').value(1).toInt(nullptr, 16);
    }
    return -1;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void refusesAnyArgument_data();
    void refusesAnyArgument();
    void twoCopiesRunAndAnnounceThemselves();
    void drainsABurstOfDatagrams();

private:
    QProcess *startApp(const QStringList &arguments = {});
    QList<QJsonObject> appOpenRequests() const;

    Tools m_tools;
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<FakePeer> m_peer;
    QList<QProcess *> m_apps;
};

void TestStartup::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_peer = std::make_unique<FakePeer>();
    QVERIFY(m_peer->listen());
    m_peer->setFallback(FakePeer::reply(m_tools.xcrypt(R"({"isValid":true})")));
}

void TestStartup::cleanup()
{
    for (QProcess *app : std::as_const(m_apps)) {
        app->kill();
        app->waitForFinished(5000);
        delete app;
    }
    m_apps.clear();
}

QProcess *TestStartup::startApp(const QStringList &arguments)
{
    auto *app = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home->filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("KOVA_SERVER_URL"), m_peer->baseUrl());
    app->setProcessEnvironment(env);
    app->start(QStringLiteral(KOVA_APP_PATH), arguments);
    m_apps.append(app);
    return app;
}

QList<QJsonObject> TestStartup::appOpenRequests() const
{
    QList<QJsonObject> found;
    for (const FakePeer::Request &request : m_peer->requests()) {
        if (request.path != "/kova/appInterface.php")
            continue;
        const QJsonObject body = QJsonDocument::fromJson(m_tools.xcrypt(request.body)).object();
        if (body.value(QStringLiteral("command")) == QStringLiteral("appOpen"))
            found.append(body);
    }
    return found;
}

void TestStartup::refusesAnyArgument_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("empty") << QStringList{QString()};
    QTest::newRow("word") << QStringList{QStringLiteral("run")};
    QTest::newRow("option") << QStringList{QStringLiteral("--help")};
    QTest::newRow("two") << QStringList{QStringLiteral("a"), QStringLiteral("b")};
}

void TestStartup::refusesAnyArgument()
{
    QFETCH(QStringList, arguments);
    QProcess *app = startApp(arguments);
    QVERIFY(app->waitForFinished(10000));
    QCOMPARE(app->exitStatus(), QProcess::NormalExit);
    QCOMPARE(app->exitCode(), 255); // -1 as the shell sees it
    // It ends before Qt exists: nothing printed, nothing asked of the server.
    QCOMPARE(app->readAllStandardError(), QByteArray());
    QCOMPARE(m_peer->requests().size(), 0);
}

void TestStartup::twoCopiesRunAndAnnounceThemselves()
{
    QProcess *first = startApp();
    QProcess *second = startApp();
    QTRY_COMPARE_WITH_TIMEOUT(appOpenRequests().size(), 2, 30000);
    QCOMPARE(first->state(), QProcess::Running);
    QCOMPARE(second->state(), QProcess::Running);

    const QJsonObject request = appOpenRequests().first();
    QCOMPARE(request.value("appName").toString(), QStringLiteral("KovaApp"));
    QCOMPARE(request.value("appVersion").toString(), QStringLiteral("4.2.0"));
    QCOMPARE(request.value("version_major").toInt(), 4);
    QCOMPARE(request.value("version_minor").toInt(), 2);
    QCOMPARE(request.value("version_patch").toInt(), 0);
    QCOMPARE(request.value("os").toString(), QStringLiteral("linux"));

    // The pages keep the password digest there: owner only, before anything is written to it.
    const QFileInfo pageSettings(m_home->filePath(QStringLiteral("config/ORIBEL/Kova App.conf")));
    QVERIFY(pageSettings.exists());
    QCOMPARE(pageSettings.permissions() & ~(QFile::ReadUser | QFile::WriteUser),
             QFile::ReadOwner | QFile::WriteOwner);
}

void TestStartup::drainsABurstOfDatagrams()
{
    QVERIFY2(udpReceiveQueue(sinkPort) < 0, "port 7755 is already bound on this machine");
    QProcess *app = startApp();
    QTRY_COMPARE_WITH_TIMEOUT(appOpenRequests().size(), 1, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(udpReceiveQueue(sinkPort) >= 0, 10000);

    QUdpSocket sender;
    const QByteArray datagram(1200, 'k');
    for (int i = 0; i < 400; ++i)
        sender.writeDatagram(datagram, QHostAddress::LocalHost, sinkPort);
    QTRY_COMPARE_WITH_TIMEOUT(udpReceiveQueue(sinkPort), 0, 10000);
    QCOMPARE(app->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"

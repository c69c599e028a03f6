#include "BusProbe.h"
#include "OpenedLinks.h"
#include "PhoneServices.h"
#include "ProcessSetup.h"
#include "ProcessTime.h"
#include "Registration.h"
#include "ResidentMemory.h"
#include "TestHttpServer.h"

#include <QGuiApplication>
#include <QObject>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTcpServer>
#include <QtQml/qqml.h>
#include <QtQuickTest/quicktest.h>

namespace {

// Documents under test must never reach the real tracking server: unless the caller names a
// server, they get a loopback address whose port a test may take with TestHttpServer.
void pointAtLoopback()
{
    if (qEnvironmentVariableIsSet("KOVA_SERVER_URL"))
        return;
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    qputenv("KOVA_SERVER_URL", "http://127.0.0.1:" + QByteArray::number(probe.serverPort()));
}

// The development server's SMS gateway, where the cars' frames can be read: the app's own, or the
// one behind the modem double when the app sends through a modem.
QString smsGateway()
{
    const QString behindModem = qEnvironmentVariable("KOVA_TEST_SMS_GATEWAY");
    return behindModem.isEmpty() ? qEnvironmentVariable("KOVA_SMS_GATEWAY") : behindModem;
}

} // namespace

// Prepares the process as start-up does, so the documents see the same types and identity.
class Setup : public QObject
{
    Q_OBJECT
public slots:
    void applicationAvailable()
    {
        pointAtLoopback();
        setUpProcess();
        registerKovaTypes();
        qmlRegisterType<TestHttpServer>("kova.testing", 1, 0, "TestHttpServer");
        qmlRegisterType<OpenedLinks>("kova.testing", 1, 0, "OpenedLinks");
        qmlRegisterType<BusProbe>("kova.testing", 1, 0, "BusProbe");
        qmlRegisterType<ResidentMemory>("kova.testing", 1, 0, "ResidentMemory");
        qmlRegisterType<ProcessTime>("kova.testing", 1, 0, "ProcessTime");
    }

    // System tests look at what the development SMS gateway received; the tour saves its
    // screenshots in a folder of the caller's; the soak runs for the caller's minutes.
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        setUpEngine(engine);
        // The positioning library hides plugins not marked testable from test processes, the
        // "nmea" and "geoclue2" ones among them; a test that names an NMEA log wants it to read
        // that log, and one with the phone's services wants the location service's double.
        if (qEnvironmentVariableIsSet("KOVA_NMEA_SOURCE") || PhoneServices::enabled())
            qunsetenv("QT_QTESTLIB_RUNNING");
        engine->rootContext()->setContextProperty(
            QStringLiteral("testEnvironment"),
            QVariantMap{
                {QStringLiteral("smsGateway"), smsGateway()},
                {QStringLiteral("screenshotDir"), qEnvironmentVariable("KOVA_SCREENSHOT_DIR")},
                {QStringLiteral("soakMinutes"), qEnvironmentVariableIntValue("KOVA_SOAK_MINUTES")},
                {QStringLiteral("soakScreens"), qEnvironmentVariable("KOVA_SOAK_SCREENS")},
                {QStringLiteral("benchCar"), qEnvironmentVariable("KOVA_BENCH_CAR")}});
    }
};

QUICK_TEST_MAIN_WITH_SETUP(kova, Setup)

#include "main.moc"

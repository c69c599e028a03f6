#include "DevServer.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Tiles are painted with QPainter; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("kova-devserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kova development tracking server"));
    parser.addHelpOption();
    const QCommandLineOption data(QStringLiteral("data"), QStringLiteral("Data folder."),
                                  QStringLiteral("DIR"), QStringLiteral("devserver-data"));
    const QCommandLineOption httpsPort(QStringLiteral("https-port"),
                                       QStringLiteral("HTTPS port (0: any free port)."),
                                       QStringLiteral("N"), QStringLiteral("8443"));
    const QCommandLineOption httpPort(QStringLiteral("http-port"),
                                      QStringLiteral("Plain HTTP port (0: any free port)."),
                                      QStringLiteral("N"), QStringLiteral("8080"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the generated history and the cars."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption smsDelay(
        QStringLiteral("sms-delay"),
        QStringLiteral("Milliseconds a device takes to act on an SMS."), QStringLiteral("MS"),
        QStringLiteral("3000"));
    const QCommandLineOption notice(QStringLiteral("notice"),
                                    QStringLiteral("Greet every app start with a notice."));
    const QCommandLineOption still(QStringLiteral("no-simulation"),
                                   QStringLiteral("Keep the cars parked."));
    const QCommandLineOption faults(
        QStringLiteral("faults"),
        QStringLiteral("Misbehave on purpose, e.g. 'app:stall=0.05,probe:reset=0.1,outage=35s,"
                       "outage-after=20s' (see README)."),
        QStringLiteral("PLAN"));
    parser.addOptions({data, httpsPort, httpPort, seed, smsDelay, notice, still, faults});
    parser.process(app);

    devserver::DevServerOptions options;
    options.dataDir = parser.value(data);
    bool ok = true;
    options.httpsPort = parser.value(httpsPort).toUShort(&ok);
    if (ok)
        options.httpPort = parser.value(httpPort).toUShort(&ok);
    if (ok)
        options.seed = parser.value(seed).toUInt(&ok);
    if (ok)
        options.smsDelayMs = parser.value(smsDelay).toInt(&ok);
    if (!ok || options.smsDelayMs < 0) {
        QTextStream(stderr) << "kova-devserver: ports, seed and delay are whole numbers\n";
        return 2;
    }
    options.simulate = !parser.isSet(still);
    options.notice = parser.isSet(notice);
    if (parser.isSet(faults)) {
        QString error;
        const std::optional<devserver::FaultPlan> plan =
            devserver::FaultPlan::parse(parser.value(faults), &error);
        if (!plan) {
            QTextStream(stderr) << "kova-devserver: --faults: " << error << '\n';
            return 2;
        }
        options.faults = *plan;
    }

    devserver::DevServer server(options);
    QString error;
    if (!server.start(&error)) {
        QTextStream(stderr) << "kova-devserver: " << error << '\n';
        return 1;
    }
    QTextStream(stdout) << "listening https://127.0.0.1:" << server.httpsPort()
                        << " http://127.0.0.1:" << server.httpPort() << Qt::endl;
    return app.exec();
}

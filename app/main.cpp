#include "DatagramSink.h"
#include "Registration.h"
#include "TlsDefaults.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char *argv[])
{
    // Configuration comes from the environment; any argument is refused before Qt starts.
    if (argc > 1)
        return -1;

    // High-DPI scaling is always on in Qt 6, so there is no attribute left to set.
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("ORIBEL"));
    QGuiApplication::setOrganizationDomain(QStringLiteral("oribel.example"));
    QGuiApplication::setApplicationName(QStringLiteral("Kova App"));

    installVerifyingTlsDefault();
    registerKovaTypes();

    QQmlApplicationEngine engine;
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return -1;

    DatagramSink sink;
    return app.exec();
}

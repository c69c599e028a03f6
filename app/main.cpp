#include "DatagramSink.h"
#include "ProcessSetup.h"
#include "Registration.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>

int main(int argc, char *argv[])
{
    // Configuration comes from the environment; any argument is refused before Qt starts.
    if (argc > 1)
        return -1;

    // High-DPI scaling is always on in Qt 6, so there is no attribute left to set.
    QGuiApplication app(argc, argv);
    setUpProcess();
    registerKovaTypes();

    QQmlApplicationEngine engine;
    setUpEngine(&engine);
    engine.load(QUrl(QStringLiteral("qrc:/main.qml")));
    if (engine.rootObjects().isEmpty())
        return -1;

    DatagramSink sink;
    return app.exec();
}

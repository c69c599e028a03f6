#include "Registration.h"

#include "Biometric.h"
#include "Call.h"
#include "DeviceCommands.h"
#include "Globals.h"
#include "GpsManager.h"
#include "MySettings.h"
#include "Notification.h"
#include "ReleasingNetworkAccess.h"
#include "Server.h"
#include "SmsManager.h"
#include "Tools.h"

#include <QQmlEngine>

namespace {

// One store for the whole process, whichever engine asks first; it is never handed over to an
// engine, so a second engine cannot delete it under the first.
QObject *mySettingsSingleton(QQmlEngine *, QJSEngine *)
{
    static MySettings *instance = nullptr;
    if (!instance) {
        instance = new MySettings;
        QQmlEngine::setObjectOwnership(instance, QQmlEngine::CppOwnership);
    }
    return instance;
}

} // namespace

void setUpEngine(QQmlEngine *engine)
{
    // The engine does not own its factory; one serves every engine of the process.
    static ReleasingNetworkAccessFactory factory;
    engine->setNetworkAccessManagerFactory(&factory);
}

void registerKovaTypes()
{
    qmlRegisterType<Tools>("kova.tools", 1, 0, "Tools");
    qmlRegisterType<Server>("kova.tools", 1, 0, "Server");
    qmlRegisterType<Globals>("globals", 1, 0, "Globals");
    qmlRegisterType<DeviceCommands>("kova.tools", 1, 0, "DeviceCommands");
    qmlRegisterType<Call>("call", 1, 0, "Call");
    qmlRegisterType<SmsManager>("smsManager", 1, 0, "SmsManager");
    qmlRegisterType<GpsManager>("kova.services", 1, 0, "GpsManager");
    qmlRegisterType<Notification>("notification", 1, 0, "Notification");
    qmlRegisterType<Biometric>("kova", 1, 0, "Biometric");
    qmlRegisterSingletonType<MySettings>("mySettings", 1, 0, "MySettings", mySettingsSingleton);
}

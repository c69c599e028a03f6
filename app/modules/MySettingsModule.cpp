#include "MySettingsModule.h"

#include <QQmlEngine>

MySettings *MySettingsForeign::create(QQmlEngine *, QJSEngine *)
{
    static MySettings *instance = nullptr;
    if (!instance) {
        instance = new MySettings;
        QQmlEngine::setObjectOwnership(instance, QQmlEngine::CppOwnership);
    }
    return instance;
}

#pragma once

#include "MySettings.h"

#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// mySettings: the stored login and choices, one store for the whole process.
struct MySettingsForeign
{
    Q_GADGET
    QML_FOREIGN(MySettings)
    QML_NAMED_ELEMENT(MySettings)
    QML_SINGLETON

public:
    // Whichever engine asks first; never handed over to an engine, so a second engine cannot
    // delete it under the first.
    static MySettings *create(QQmlEngine *, QJSEngine *);
};

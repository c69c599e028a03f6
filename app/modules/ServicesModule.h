#pragma once

#include "GpsManager.h"

#include <QtQml/qqmlregistration.h>

// kova.services: the phone's location switch.
struct GpsManagerForeign
{
    Q_GADGET
    QML_FOREIGN(GpsManager)
    QML_NAMED_ELEMENT(GpsManager)
};

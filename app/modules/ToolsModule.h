#pragma once

#include "DeviceCommands.h"
#include "Server.h"
#include "Tools.h"
#include "TripDay.h"

#include <QtQml/qqmlregistration.h>

// kova.tools: the helpers, the tracking server's client, a day's trips and the device commands.
struct ToolsForeign
{
    Q_GADGET
    QML_FOREIGN(Tools)
    QML_NAMED_ELEMENT(Tools)
};

struct ServerForeign
{
    Q_GADGET
    QML_FOREIGN(Server)
    QML_NAMED_ELEMENT(Server)
};

struct TripDayForeign
{
    Q_GADGET
    QML_FOREIGN(TripDay)
    QML_NAMED_ELEMENT(TripDay)
};

struct DeviceCommandsForeign
{
    Q_GADGET
    QML_FOREIGN(DeviceCommands)
    QML_NAMED_ELEMENT(DeviceCommands)
};

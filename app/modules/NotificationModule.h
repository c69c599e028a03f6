#pragma once

#include "Notification.h"

#include <QtQml/qqmlregistration.h>

// notification: alarm notifications.
struct NotificationForeign
{
    Q_GADGET
    QML_FOREIGN(Notification)
    QML_NAMED_ELEMENT(Notification)
};

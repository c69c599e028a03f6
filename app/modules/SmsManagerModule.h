#pragma once

#include "SmsManager.h"

#include <QtQml/qqmlregistration.h>

// smsManager: commands to the tracker's SIM and its answers by SMS.
struct SmsManagerForeign
{
    Q_GADGET
    QML_FOREIGN(SmsManager)
    QML_NAMED_ELEMENT(SmsManager)
};

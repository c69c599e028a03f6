#pragma once

#include "Biometric.h"

#include <QtQml/qqmlregistration.h>

// kova: the fingerprint check.
struct BiometricForeign
{
    Q_GADGET
    QML_FOREIGN(Biometric)
    QML_NAMED_ELEMENT(Biometric)
};

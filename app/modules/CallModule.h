#pragma once

#include "Call.h"

#include <QtQml/qqmlregistration.h>

// call: phone calls.
struct CallForeign
{
    Q_GADGET
    QML_FOREIGN(Call)
    QML_NAMED_ELEMENT(Call)
};

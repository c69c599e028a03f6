#include "PhoneServices.h"

namespace PhoneServices {

bool enabled()
{
    return qEnvironmentVariable("KOVA_PHONE_SERVICES")
               .compare(QLatin1String("off"), Qt::CaseInsensitive) != 0;
}

QString desktopId()
{
    return QStringLiteral("example.oribel.Kova");
}

} // namespace PhoneServices

#include "Fprintd.h"

#include <pwd.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcFingerprint, "kova.fingerprint")

namespace Fprintd {

QString userName()
{
    const passwd *entry = getpwuid(getuid());
    return entry && entry->pw_name ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

} // namespace Fprintd

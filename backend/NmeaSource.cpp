#include "NmeaSource.h"

#include <QFileInfo>
#include <QUrl>

namespace NmeaSource {

QString fromEnvironment()
{
    const QString configured = qEnvironmentVariable("KOVA_NMEA_SOURCE");
    if (configured.isEmpty())
        return {};
    // Devices may come and go; the plugin waits for them itself.
    if (configured.startsWith(QLatin1String("serial:")) ||
        configured.startsWith(QLatin1String("socket://")))
        return configured;

    const QString path =
        configured.startsWith(QLatin1String("file:")) ? QUrl(configured).toLocalFile() : configured;
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || !file.isReadable()) {
        qWarning("KOVA_NMEA_SOURCE: cannot read the NMEA log \"%s\"; GPS stays off",
                 qUtf8Printable(configured));
        return {};
    }
    return file.absoluteFilePath();
}

} // namespace NmeaSource

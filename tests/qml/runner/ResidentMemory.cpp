#include "ResidentMemory.h"

#include <QFile>

namespace {

// One "Name:   1234 kB" line of /proc/self/status. The file reports a size of 0, so it is read to
// its end rather than by its size.
qint64 statusKib(QByteArrayView name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = name.toByteArray() + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (!line.startsWith(prefix))
            continue;
        const QList<QByteArray> words = line.mid(prefix.size()).simplified().split(' ');
        bool ok = false;
        const qint64 value = words.value(0).toLongLong(&ok);
        return ok && words.value(1) == "kB" ? value : -1;
    }
    return -1;
}

} // namespace

qint64 ResidentMemory::currentKib() const
{
    return statusKib("VmRSS");
}

qint64 ResidentMemory::peakKib() const
{
    return statusKib("VmHWM");
}

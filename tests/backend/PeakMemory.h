#pragma once

#include <QFile>
#include <QRegularExpression>

// In the sanitizer build freed blocks wait in quarantine and the heap has shadow memory, a few
// MiB on the peak that the code never held: bounds on the peak are only checked without it.
#ifdef KOVA_SANITIZED
inline constexpr bool peakMemoryIsTheCodes = false;
#else
inline constexpr bool peakMemoryIsTheCodes = true;
#endif

// Lowers the peak that peakMemoryKiB() reports to the memory held now, so that a later reading
// shows what happened since (Linux: writing 5 to clear_refs resets VmHWM).
inline bool resetPeakMemory()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

// The most resident memory this process has held since start or the last resetPeakMemory(), in
// KiB (VmHWM of /proc/self/status); -1 where the file or the line is missing.
inline qint64 peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression line(QStringLiteral("^VmHWM:\\s*(\\d+) kB$"),
                                         QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

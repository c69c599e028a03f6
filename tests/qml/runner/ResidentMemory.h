#pragma once

#include <QObject>

// The test process's memory as the kernel counts it, for the soak: resident now and at its
// highest so far, in KiB; -1 when /proc cannot be read.
class ResidentMemory : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE qint64 currentKib() const;
    Q_INVOKABLE qint64 peakKib() const;
};

#pragma once

#include <QObject>

// The CPU time this process has used, every thread together, for the screens' benchmark.
class ProcessTime : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Milliseconds of user and system time; -1 when the system cannot tell.
    Q_INVOKABLE double cpuMs() const;
};

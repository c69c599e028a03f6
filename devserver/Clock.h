#pragma once

#include <QDateTime>

#include <functional>

namespace devserver {

// The server's notion of now; tests pin it.
using Clock = std::function<QDateTime()>;

inline Clock systemClock()
{
    return [] { return QDateTime::currentDateTimeUtc(); };
}

} // namespace devserver

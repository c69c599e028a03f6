#pragma once

#include <QByteArray>

namespace devserver {

class Store;

// The binary data channel: a type 1, 2 or 4 request in, the record of the same type out (or the
// single byte 4 for a day without trips). Malformed requests get an empty body.
class DataChannel
{
public:
    explicit DataChannel(Store &store);

    QByteArray handle(const QByteArray &request);

    // The firmware version the simulated trackers report in a location record.
    static constexpr quint8 firmwareMajor = 1;
    static constexpr quint8 firmwareMinor = 4;
    static constexpr quint8 firmwarePatch = 2;

private:
    QByteArray location(quint64 imei) const;
    QByteArray trip(quint64 imei, qint64 fromTime, qint64 toTime) const;
    QByteArray settings(quint64 imei) const;

    Store &m_store;
};

} // namespace devserver

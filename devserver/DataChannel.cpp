#include "DataChannel.h"

#include "Store.h"

#include <QtEndian>

#include <cmath>

namespace devserver {

namespace {

enum RecordType : quint8 { LocationType = 1, TripType = 2, SettingsType = 4 };

constexpr int locationRequestSize = 10;
constexpr int tripRequestSize = 17;
constexpr int settingsRequestSize = 9;
constexpr int settingsPayloadSize = 552;
constexpr char noTrip = 4;

// Appends the low `width` bytes of a value, low byte first.
void appendLittleEndian(QByteArray &out, quint64 value, int width)
{
    for (int i = 0; i < width; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// A measurement scaled to the field's unit, rounded to nearest and kept inside the field: the
// format has no sign and no room for more, so a value outside is pinned to the nearest end.
quint64 scaled(double value, double factor, quint64 max)
{
    const double raw = std::round(value * factor);
    if (!(raw > 0)) // also catches NaN
        return 0;
    if (raw >= double(max))
        return max;
    return quint64(raw);
}

quint64 readImei(const QByteArray &request)
{
    return qFromLittleEndian<quint64>(request.constData() + 1);
}

// Time, position, height, course, speed and accuracy: the 21 bytes a location record and every
// trip point share.
void appendPoint(QByteArray &out, const Position &p)
{
    appendLittleEndian(out, scaled(double(p.time), 1, 0xFFFFFFFF), 4);
    appendLittleEndian(out, scaled(p.lat, 1e7, 0xFFFFFFFF), 4);
    appendLittleEndian(out, scaled(p.lon, 1e7, 0xFFFFFFFF), 4);
    appendLittleEndian(out, scaled(p.alt + 1000, 1000, 0xFFFFFF), 3);
    appendLittleEndian(out, scaled(p.course, 100, 0xFFFF), 2);
    appendLittleEndian(out, scaled(p.speed, 10000, 0xFFFFFF), 3);
    appendLittleEndian(out, scaled(p.accuracy, 1, 0xFF), 1);
}

} // namespace

DataChannel::DataChannel(Store &store) : m_store(store) {}

QByteArray DataChannel::handle(const QByteArray &request)
{
    if (request.isEmpty())
        return {};
    switch (quint8(request.at(0))) {
    case LocationType:
        if (request.size() != locationRequestSize)
            return {};
        return location(qFromLittleEndian<quint64>(request.constData() + 2));
    case TripType:
        if (request.size() != tripRequestSize)
            return {};
        return trip(readImei(request), qFromLittleEndian<quint32>(request.constData() + 9),
                    qFromLittleEndian<quint32>(request.constData() + 13));
    case SettingsType:
        if (request.size() != settingsRequestSize)
            return {};
        return settings(readImei(request));
    default:
        return {};
    }
}

QByteArray DataChannel::location(quint64 imei) const
{
    if (!m_store.device(imei))
        return {};
    const std::optional<Position> last = m_store.lastPosition(imei);
    if (!last)
        return {};
    QByteArray out;
    out.reserve(25);
    out.append(char(LocationType));
    appendPoint(out, *last);
    out.append(char(firmwareMajor));
    out.append(char(firmwareMinor));
    out.append(char(firmwarePatch));
    return out;
}

QByteArray DataChannel::trip(quint64 imei, qint64 fromTime, qint64 toTime) const
{
    if (!m_store.device(imei))
        return {};
    const QList<Position> points = m_store.positions(imei, fromTime, toTime);
    if (points.isEmpty())
        return QByteArray(1, noTrip);
    QByteArray out;
    out.reserve(5 + 21 * points.size());
    out.append(char(TripType));
    appendLittleEndian(out, quint64(points.size()), 4);
    for (const Position &p : points)
        appendPoint(out, p);
    return out;
}

QByteArray DataChannel::settings(quint64 imei) const
{
    if (!m_store.device(imei))
        return {};
    const QByteArray payload = m_store.settingsRecord(imei);
    if (payload.size() != settingsPayloadSize)
        return {};
    return char(SettingsType) + payload;
}

} // namespace devserver

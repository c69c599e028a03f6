#include "DataChannelRecords.h"

#include <QGeoCoordinate>
#include <QTimeZone>
#include <QVariantList>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace DataChannelRecords {

namespace {

// Unsigned little-endian integer of 1 to 4 bytes.
quint32 readUnsigned(QByteArrayView data, qsizetype at, qsizetype size)
{
    quint32 value = 0;
    for (qsizetype i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(data[at + i]);
    return value;
}

double readDouble(QByteArrayView data, qsizetype at)
{
    const quint64 bits = qFromLittleEndian<quint64>(data.data() + at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// UTF-8 up to the first zero byte; a field filled to its width has none.
QString readText(QByteArrayView data, qsizetype at, qsizetype width)
{
    QByteArrayView field = data.sliced(at, width);
    const qsizetype end = field.indexOf('\0');
    return QString::fromUtf8(end < 0 ? field : field.first(end));
}

template <typename T> void appendLittleEndian(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

quint32 toWireTime(const QDateTime &time)
{
    return time.isValid() ? quint32(time.toUTC().toSecsSinceEpoch()) : 0;
}

// The location fields shared by the location reply and the trip point record, starting with
// the time field at `at`; nothing when the position is off the globe, the course past a full
// circle, the speed beyond any car's, or the time lies ahead.
std::optional<QVariantMap> readPointFields(QByteArrayView data, qsizetype at)
{
    const qint64 seconds = readUnsigned(data, at, 4);
    const double lat = readUnsigned(data, at + 4, 4) / 1e7;
    const double lon = readUnsigned(data, at + 8, 4) / 1e7;
    const double course = readUnsigned(data, at + 15, 2) / 1e2;
    const double speed = readUnsigned(data, at + 17, 3) / 1e4;
    if (lat > 90.0 || lon > 180.0 || course > 360.0 || speed > MaxSpeedMetresPerSecond ||
        seconds > QDateTime::currentSecsSinceEpoch() + FutureToleranceSeconds)
        return std::nullopt;
    QVariantMap point;
    point.insert(QStringLiteral("dateTime"),
                 QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::UTC));
    point.insert(QStringLiteral("lat"), lat);
    point.insert(QStringLiteral("lon"), lon);
    point.insert(QStringLiteral("alt"), readUnsigned(data, at + 12, 3) / 1e3 - 1000.0);
    point.insert(QStringLiteral("course"), course);
    point.insert(QStringLiteral("speed"), speed);
    point.insert(QStringLiteral("accuracy"), int(quint8(data[at + 20])));
    return point;
}

enum class Kind { Text, Int, SignedInt, UInt };

struct Field
{
    const char *key;
    qsizetype offset;
    qsizetype size;
    Kind kind;
    // The values a device writes; a number field outside them marks the record as garbage.
    qint64 min = std::numeric_limits<qint64>::min();
    qint64 max = std::numeric_limits<qint64>::max();
};

// Alarm types are two bits: call and SMS.
constexpr qint64 alarmTypeMax = 3;

// The plain fields of the settings payload; offsets count the type byte as 0.
constexpr Field settingsFields[] = {
    {"gsmConfiged", 1, 1, Kind::SignedInt},
    {"password", 2, 15, Kind::Text},
    {"serverUrlAddress", 17, 50, Kind::Text},
    {"serverUrlPath", 67, 50, Kind::Text},
    {"serverUrlPort", 117, 2, Kind::Int},
    {"reportCenter1", 119, 15, Kind::Text},
    {"reportCenter2", 134, 15, Kind::Text},
    {"sendRate", 149, 2, Kind::Int},
    {"expireTime", 153, 4, Kind::UInt},
    {"activeDays", 157, 1, Kind::Int},
    {"disable", 158, 1, Kind::Int},
    {"logResolation", 159, 2, Kind::Int},
    {"listen_Users1", 161, 15, Kind::Text},
    {"listen_Users2", 176, 15, Kind::Text},
    {"listen_Users3", 191, 15, Kind::Text},
    {"geoFenceInOut", 353, 1, Kind::Int, 0, 3},
    {"simChargeCommand", 354, 15, Kind::Text},
    {"simChargeSearchKeyword", 369, 15, Kind::Text},
    {"sw1", 384, 1, Kind::Int},
    {"sw2", 385, 1, Kind::Int},
    {"sw3", 386, 1, Kind::Int},
    {"tamper", 387, 1, Kind::Int},
    {"autoLock", 388, 1, Kind::Int},
    {"overSpeed", 389, 2, Kind::Int, 0, 1000},
    {"multiAlarm", 391, 1, Kind::Int},
    {"shockSensitivity", 392, 1, Kind::Int, 0, 5},
    {"geoFenceAlarmType", 393, 1, Kind::Int, 0, alarmTypeMax},
    {"overSpeedAlarmType", 394, 1, Kind::Int, 0, alarmTypeMax},
    {"doorAlarmType", 395, 1, Kind::Int, 0, alarmTypeMax},
    {"trunkAlarmType", 396, 1, Kind::Int, 0, alarmTypeMax},
    {"switchAlarmType", 397, 1, Kind::Int, 0, alarmTypeMax},
    {"powerDisconnectAlarmType", 398, 1, Kind::Int, 0, alarmTypeMax},
    {"carryingAlarmType", 399, 1, Kind::Int, 0, alarmTypeMax},
    {"shockAlertType", 400, 1, Kind::Int, 0, alarmTypeMax},
    {"otaUrlAddress", 401, 50, Kind::Text},
    {"otaUrlPath", 451, 50, Kind::Text},
    {"otaUrlPort", 501, 2, Kind::Int},
    {"otaApn", 503, 20, Kind::Text},
    {"updateAvailable", 523, 1, Kind::Int},
    {"appLength", 525, 4, Kind::UInt},
    {"mobileOperator", 545, 1, Kind::Int},
    {"stored", 547, 1, Kind::SignedInt},
};

constexpr qsizetype geoFenceOffset = 209;
constexpr int geoFencePoints = 9;
constexpr qsizetype cryptoKeyOffset = 529;
constexpr qsizetype cryptoKeySize = 16;
constexpr qsizetype forceUnlockOffset = 546;
// Each digit of the emergency code is 1 to 5; 0 is a slot never set.
constexpr int forceUnlockDigitMax = 5;

QVariant readField(QByteArrayView data, const Field &field)
{
    switch (field.kind) {
    case Kind::Text:
        return readText(data, field.offset, field.size);
    case Kind::Int:
        return int(readUnsigned(data, field.offset, field.size));
    case Kind::SignedInt:
        return int(qint8(data[field.offset]));
    case Kind::UInt:
        return uint(readUnsigned(data, field.offset, field.size));
    }
    return {};
}

bool inRange(const QVariant &value, const Field &field)
{
    const qint64 number = value.toLongLong();
    return field.kind == Kind::Text || (number >= field.min && number <= field.max);
}

// Nothing when a point is not a coordinate: NaN, infinite or off the globe.
std::optional<QVariantList> readGeoFence(QByteArrayView data)
{
    QVariantList polygon;
    for (int i = 0; i < geoFencePoints; ++i) {
        const qsizetype at = geoFenceOffset + i * 16;
        const QGeoCoordinate point(readDouble(data, at), readDouble(data, at + 8));
        if (!point.isValid())
            return std::nullopt;
        polygon.append(QVariant::fromValue(point));
    }
    return polygon;
}

} // namespace

QByteArray lastLocationRequest(quint64 imei, bool isFirst)
{
    QByteArray body;
    body.append(LocationType);
    body.append(char(isFirst ? 1 : 0));
    appendLittleEndian(body, imei);
    return body;
}

QByteArray tripRequest(quint64 imei, const QDateTime &startTime, const QDateTime &endTime)
{
    QByteArray body;
    body.append(TripType);
    appendLittleEndian(body, imei);
    appendLittleEndian(body, toWireTime(startTime));
    appendLittleEndian(body, toWireTime(endTime));
    return body;
}

QByteArray settingsRequest(quint64 imei)
{
    QByteArray body;
    body.append(SettingsType);
    appendLittleEndian(body, imei);
    return body;
}

std::optional<QVariantMap> readLocationReply(QByteArrayView reply)
{
    if (reply.size() < LocationReplySize || reply[0] != LocationType)
        return std::nullopt;
    std::optional<QVariantMap> location = readPointFields(reply, 1);
    if (!location)
        return std::nullopt;
    location->insert(QStringLiteral("version"), QStringLiteral("%1.%2.%3")
                                                    .arg(quint8(reply[22]))
                                                    .arg(quint8(reply[23]))
                                                    .arg(quint8(reply[24])));
    return location;
}

std::optional<QVariantMap> readSettingsReply(QByteArrayView reply)
{
    if (reply.size() < SettingsReplySize || reply[0] != SettingsType)
        return std::nullopt;
    QVariantMap settings;
    for (const Field &field : settingsFields) {
        const QVariant value = readField(reply, field);
        if (!inRange(value, field))
            return std::nullopt;
        settings.insert(QLatin1StringView(field.key), value);
    }
    const std::optional<QVariantList> geoFence = readGeoFence(reply);
    if (!geoFence)
        return std::nullopt;
    settings.insert(QStringLiteral("geoFencePolygon"), *geoFence);
    settings.insert(QStringLiteral("cryptoKey"),
                    reply.sliced(cryptoKeyOffset, cryptoKeySize).toByteArray().toHex().toUpper());
    const quint8 forceUnlock = quint8(reply[forceUnlockOffset]);
    if ((forceUnlock & 0x0f) > forceUnlockDigitMax || (forceUnlock >> 4) > forceUnlockDigitMax)
        return std::nullopt;
    settings.insert(QStringLiteral("forceUnlockNumber1"), int(forceUnlock & 0x0f));
    settings.insert(QStringLiteral("forceUnlockNumber2"), int(forceUnlock >> 4));
    return settings;
}

std::optional<int> tripReplyError(QByteArrayView reply)
{
    if (reply.size() == 1)
        return reply[0] == NoTripReply ? NoTripErrorCode : MalformedErrorCode;
    if (reply.size() <= TripHeaderSize || reply[0] != TripType)
        return MalformedErrorCode;
    // 64 bits: a count near 2^32 must not wrap into a length that happens to match.
    const quint64 expected = TripHeaderSize + quint64(TripPointSize) * tripPointCount(reply);
    if (quint64(reply.size()) != expected)
        return MalformedErrorCode;
    return std::nullopt;
}

quint32 tripPointCount(QByteArrayView reply)
{
    return readUnsigned(reply, 1, 4);
}

std::optional<QVariantMap> readTripPoint(QByteArrayView record)
{
    return readPointFields(record, 0);
}

} // namespace DataChannelRecords

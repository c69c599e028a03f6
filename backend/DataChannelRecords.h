#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QVariantMap>

#include <optional>

// The binary records of the tracking server's data channel: request bodies out, replies in.
// Every integer is little-endian; byte 0 of every record is its type.
namespace DataChannelRecords {

enum RecordType : char {
    LocationType = 1,
    TripType = 2,
    SettingsType = 4,
};

// The whole answer to a trip request when the car made no trip in the interval.
inline constexpr char NoTripReply = 4;

inline constexpr qsizetype LocationReplySize = 25;
inline constexpr qsizetype TripHeaderSize = 5;
inline constexpr qsizetype TripPointSize = 21;
inline constexpr qsizetype SettingsReplySize = 553;

// The longest replies the client reads; it cuts off anything longer as it arrives. A device sends
// the sizes above; the room beyond them is for a later, longer record, not for whatever a broken
// or hostile server streams after it. A trip holds up to three days of one-second points.
inline constexpr qsizetype LocationReplyMaxSize = 64;
inline constexpr qsizetype SettingsReplyMaxSize = 1024;
inline constexpr quint32 TripMaxPoints = 3 * 86400;
inline constexpr qsizetype TripReplyMaxSize = TripHeaderSize + TripPointSize * TripMaxPoints;

// A record time later than this many seconds after now is no device's: its clock reads GPS time.
inline constexpr qint64 FutureToleranceSeconds = 86400;
// 150 m/s is 540 km/h: no tracked car reports more, and garbage easily does.
inline constexpr double MaxSpeedMetresPerSecond = 150.0;

// Reported for a malformed reply (and by the client for its own time-out).
inline constexpr int MalformedErrorCode = 0;
// Reported when the server has no trip in the asked interval.
inline constexpr int NoTripErrorCode = 10000;

QByteArray lastLocationRequest(quint64 imei, bool isFirst);
QByteArray tripRequest(quint64 imei, const QDateTime &startTime, const QDateTime &endTime);
QByteArray settingsRequest(quint64 imei);

// The location record, or nothing when the reply is not a whole type 1 record or holds a
// position or time that no device sends.
std::optional<QVariantMap> readLocationReply(QByteArrayView reply);

// The device settings record, or nothing when the reply is not a whole type 4 record or holds a
// value out of the range the device uses.
std::optional<QVariantMap> readSettingsReply(QByteArrayView reply);

// The error code a trip reply stands for, or nothing when it holds a well-formed point list.
std::optional<int> tripReplyError(QByteArrayView reply);

// The point count of a trip reply that tripReplyError() accepted.
quint32 tripPointCount(QByteArrayView reply);

// One 21-byte point record of a trip reply: the location fields without type and version, or
// nothing for a position or time that no device sends.
std::optional<QVariantMap> readTripPoint(QByteArrayView record);

} // namespace DataChannelRecords

#pragma once

#include <QByteArray>
#include <QGeoCoordinate>
#include <QList>
#include <QString>

namespace devserver {

// The tracker's settings as it reports them: the 552-byte payload that follows the type byte
// of a settings record. Field order and widths are the device's; texts are UTF-8, zero-padded.
struct DeviceSettings
{
    static constexpr int payloadSize = 552;

    qint8 gsmConfiged = 1;
    QString password;         // 15
    QString serverUrlAddress; // 50
    QString serverUrlPath;    // 50
    quint16 serverUrlPort = 0;
    QString reportCenter1 = QStringLiteral("x"); // 15
    QString reportCenter2 = QStringLiteral("x"); // 15
    quint16 sendRate = 60;
    quint32 expireTime = 0;
    quint8 activeDays = 0;
    quint8 disable = 0;
    quint16 logResolation = 30;
    QString listenUsers1 = QStringLiteral(" "); // 15 each
    QString listenUsers2 = QStringLiteral(" ");
    QString listenUsers3 = QStringLiteral(" ");
    QList<QGeoCoordinate> geoFencePolygon; // nine points on the wire
    quint8 geoFenceInOut = 2;
    QString simChargeCommand;       // 15
    QString simChargeSearchKeyword; // 15
    quint8 sw1 = 0;
    quint8 sw2 = 0;
    quint8 sw3 = 0;
    quint8 tamper = 0;
    quint8 autoLock = 0;
    quint16 overSpeed = 0;
    quint8 multiAlarm = 0;
    quint8 shockSensitivity = 0;
    quint8 geoFenceAlarmType = 0;
    quint8 overSpeedAlarmType = 0;
    quint8 doorAlarmType = 0;
    quint8 trunkAlarmType = 0;
    quint8 switchAlarmType = 0;
    quint8 powerDisconnectAlarmType = 0;
    quint8 carryingAlarmType = 0;
    quint8 shockAlertType = 0;
    QString otaUrlAddress; // 50
    QString otaUrlPath;    // 50
    quint16 otaUrlPort = 0;
    QString otaApn; // 20
    quint8 updateAvailable = 0;
    quint32 appLength = 0;
    QByteArray cryptoKey = QByteArray(16, '\0'); // 16 raw bytes
    quint8 mobileOperator = 0;
    quint8 forceUnlockNumber1 = 1; // low nibble of one byte
    quint8 forceUnlockNumber2 = 1; // high nibble
    qint8 stored = 1;

    // What a new tracker reports before anyone configured it.
    static DeviceSettings factoryDefaults();

    // The device keeps nine fence points: a shorter polygon is closed by repeating its first
    // point, a longer one is cut. A text longer than its field is cut at a character boundary.
    QByteArray toPayload() const;
    // A payload of the wrong size gives the factory defaults.
    static DeviceSettings fromPayload(const QByteArray &payload);

    static constexpr int fencePointCount = 9;
};

} // namespace devserver

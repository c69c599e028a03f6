#include "DeviceCommands.h"

#include "DeviceFrame.h"
#include "GeoCoordinates.h"

#include <QtEndian>

namespace {

// Geofence points go to the device as degrees times 10^7, truncated toward zero.
constexpr double geofenceScale = 10000000.0;

QByteArray scaledDegrees(double degrees)
{
    // Valid coordinates stay within +-180 degrees, so the product fits a signed 32-bit value.
    QByteArray bytes(sizeof(qint32), Qt::Uninitialized);
    qToLittleEndian(static_cast<qint32>(degrees * geofenceScale), bytes.data());
    return bytes;
}

} // namespace

DeviceCommands::DeviceCommands(QObject *parent) : QObject(parent) {}

QString DeviceCommands::frame(Code code, const QList<QByteArray> &arguments)
{
    QByteArray text = "[oribel," + QByteArray::number(int(code));
    for (const QByteArray &argument : arguments)
        text += ',' + argument;
    text += "]}]";
    // Text arguments arrive in the local 8-bit encoding; the frame is read back as UTF-8.
    return QString::fromUtf8(text);
}

QByteArray DeviceCommands::geofenceBlock(const QVariantList &coords)
{
    QByteArray points;
    for (const QGeoCoordinate &coordinate : GeoCoordinates::fromVariantList(coords))
        points += scaledDegrees(coordinate.latitude()) + scaledDegrees(coordinate.longitude());
    return points.toBase64();
}

QString DeviceCommands::createRebootPacket() const
{
    return frame(Reboot);
}

QString DeviceCommands::createResetToFactoryPacket() const
{
    return frame(ResetToFactory);
}

QString DeviceCommands::createClearAllDataPacket() const
{
    return frame(ClearAllData);
}

QString DeviceCommands::createReportNumberPacket(const QString &reportNumber1,
                                                 const QString &reportNumber2) const
{
    if (!DeviceFrame::isPhoneField(reportNumber1) || !DeviceFrame::isPhoneField(reportNumber2))
        return {};
    return frame(ReportNumbers, {reportNumber1.toLocal8Bit(), reportNumber2.toLocal8Bit()});
}

QString DeviceCommands::createDigitalOutputPacket(quint8 portNumber, bool active) const
{
    return frame(DigitalOutput, {QByteArray::number(portNumber), active ? "1" : "0"});
}

QString DeviceCommands::createListenUsersPacket(const QString &num1, const QString &num2,
                                                const QString &num3) const
{
    if (!DeviceFrame::isPhoneField(num1) || !DeviceFrame::isPhoneField(num2) ||
        !DeviceFrame::isPhoneField(num3))
        return {};
    return frame(ListenUsers, {num1.toLocal8Bit(), num2.toLocal8Bit(), num3.toLocal8Bit()});
}

QString DeviceCommands::createGeofencePacket(const QVariantList &coords, int inOut) const
{
    return frame(Geofence, {QByteArray::number(inOut), geofenceBlock(coords)});
}

QString DeviceCommands::createGeofenceAlarmTypePacket(quint8 alarmType) const
{
    return frame(GeofenceAlarmType, {QByteArray::number(alarmType)});
}

QString DeviceCommands::createOverSpeedPacket(int speed, quint8 alarmType) const
{
    return frame(OverSpeed, {QByteArray::number(speed), QByteArray::number(alarmType)});
}

QString DeviceCommands::createDoorAlarmPacket(quint8 alarmType) const
{
    return frame(DoorAlarm, {QByteArray::number(alarmType)});
}

QString DeviceCommands::createCarSwitchAlarmPacket(quint8 alarmType) const
{
    return frame(CarSwitchAlarm, {QByteArray::number(alarmType)});
}

QString DeviceCommands::createDigitalOutput_AllPinPacket(quint16 out1State, quint16 out2State,
                                                         quint16 out3State) const
{
    return frame(DigitalOutputAllPins,
                 {QByteArray::number(out1State), QByteArray::number(out2State),
                  QByteArray::number(out3State)});
}

QString DeviceCommands::createTrunkAlarmPacket(quint8 alarmType) const
{
    return frame(TrunkAlarm, {QByteArray::number(alarmType)});
}

QString DeviceCommands::createPowerDissconnectAlarmPacket(quint8 alarmType) const
{
    return frame(PowerDisconnectAlarm, {QByteArray::number(alarmType)});
}

#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantList>

// Builders of the device command frames "[oribel,CODE,ARG,...]}]" sent to the tracker by SMS.
// Frames have no escaping, so the builders that take phone numbers return an empty text for
// anything but a number or an empty-slot placeholder: a comma or bracket in it would change what
// the device is told to do. Numeric arguments are written as given; their ranges are the
// screens' job.
class DeviceCommands : public QObject
{
    Q_OBJECT

public:
    explicit DeviceCommands(QObject *parent = nullptr);

    Q_INVOKABLE QString createRebootPacket() const;
    Q_INVOKABLE QString createResetToFactoryPacket() const;
    Q_INVOKABLE QString createClearAllDataPacket() const;
    Q_INVOKABLE QString createReportNumberPacket(const QString &reportNumber1,
                                                 const QString &reportNumber2) const;
    Q_INVOKABLE QString createDigitalOutputPacket(quint8 portNumber, bool active) const;
    Q_INVOKABLE QString createListenUsersPacket(const QString &num1, const QString &num2,
                                                const QString &num3) const;
    Q_INVOKABLE QString createGeofencePacket(const QVariantList &coords, int inOut) const;
    Q_INVOKABLE QString createGeofenceAlarmTypePacket(quint8 alarmType) const;
    Q_INVOKABLE QString createOverSpeedPacket(int speed, quint8 alarmType) const;
    Q_INVOKABLE QString createDoorAlarmPacket(quint8 alarmType) const;
    Q_INVOKABLE QString createCarSwitchAlarmPacket(quint8 alarmType) const;
    Q_INVOKABLE QString createDigitalOutput_AllPinPacket(quint16 out1State, quint16 out2State,
                                                         quint16 out3State) const;
    Q_INVOKABLE QString createTrunkAlarmPacket(quint8 alarmType) const;
    Q_INVOKABLE QString createPowerDissconnectAlarmPacket(quint8 alarmType) const;

private:
    enum Code {
        Reboot = 0,
        ResetToFactory = 1,
        ClearAllData = 2,
        ReportNumbers = 11,
        DigitalOutput = 14,
        ListenUsers = 15,
        Geofence = 18,
        GeofenceAlarmType = 19,
        OverSpeed = 22,
        DoorAlarm = 23,
        CarSwitchAlarm = 24,
        DigitalOutputAllPins = 25,
        TrunkAlarm = 26,
        PowerDisconnectAlarm = 27,
    };

    static QString frame(Code code, const QList<QByteArray> &arguments = {});
    static QByteArray geofenceBlock(const QVariantList &coords);
};

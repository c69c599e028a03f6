#pragma once

#include <QByteArray>

namespace devserver {

// The tracker's 12-byte status record, little-endian, all fields unsigned.
struct DeviceStatus
{
    static constexpr int recordSize = 12;

    quint8 door = 1;            // non-zero: closed
    quint8 trunk = 1;           // non-zero: closed
    quint8 carSwitch = 0;       // non-zero: ignition on
    quint8 powerDetect = 1;     // non-zero: the car's supply is connected
    quint8 charging = 1;        // with power: non-zero full, zero charging
    quint8 carring = 0;         // being towed
    quint16 simCharge = 0xFFFF; // SIM credit; 0xFFFF: no reading
    quint16 battryPercent = 100;
    quint8 gsmSignal = 0;
    quint8 gpsSignal = 0;

    QByteArray toRecord() const;
    // A record of the wrong size gives the defaults.
    static DeviceStatus fromRecord(const QByteArray &record);
};

} // namespace devserver

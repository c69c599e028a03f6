#include "DeviceStatus.h"

#include <QtEndian>

namespace devserver {

QByteArray DeviceStatus::toRecord() const
{
    QByteArray record(recordSize, '\0');
    char *bytes = record.data();
    bytes[0] = char(door);
    bytes[1] = char(trunk);
    bytes[2] = char(carSwitch);
    bytes[3] = char(powerDetect);
    bytes[4] = char(charging);
    bytes[5] = char(carring);
    qToLittleEndian(simCharge, bytes + 6);
    qToLittleEndian(battryPercent, bytes + 8);
    bytes[10] = char(gsmSignal);
    bytes[11] = char(gpsSignal);
    return record;
}

DeviceStatus DeviceStatus::fromRecord(const QByteArray &record)
{
    DeviceStatus status;
    if (record.size() != recordSize)
        return status;
    const auto *bytes = reinterpret_cast<const uchar *>(record.constData());
    status.door = bytes[0];
    status.trunk = bytes[1];
    status.carSwitch = bytes[2];
    status.powerDetect = bytes[3];
    status.charging = bytes[4];
    status.carring = bytes[5];
    status.simCharge = qFromLittleEndian<quint16>(bytes + 6);
    status.battryPercent = qFromLittleEndian<quint16>(bytes + 8);
    status.gsmSignal = bytes[10];
    status.gpsSignal = bytes[11];
    return status;
}

} // namespace devserver

#include "DeviceSettings.h"

#include <QtEndian>

#include <cstring>

namespace devserver {

namespace {

constexpr int geoFenceOffset = 208;

// Walks the payload's fields in order; the writer and the reader share this one map of
// offsets, so the two directions cannot drift apart.
template <typename Io, typename Settings> void mapFields(Io &io, Settings &s)
{
    io.integer(0, s.gsmConfiged);
    io.text(1, 15, s.password);
    io.text(16, 50, s.serverUrlAddress);
    io.text(66, 50, s.serverUrlPath);
    io.integer(116, s.serverUrlPort);
    io.text(118, 15, s.reportCenter1);
    io.text(133, 15, s.reportCenter2);
    io.integer(148, s.sendRate);
    io.integer(152, s.expireTime);
    io.integer(156, s.activeDays);
    io.integer(157, s.disable);
    io.integer(158, s.logResolation);
    io.text(160, 15, s.listenUsers1);
    io.text(175, 15, s.listenUsers2);
    io.text(190, 15, s.listenUsers3);
    io.polygon(geoFenceOffset, s.geoFencePolygon);
    io.integer(352, s.geoFenceInOut);
    io.text(353, 15, s.simChargeCommand);
    io.text(368, 15, s.simChargeSearchKeyword);
    io.integer(383, s.sw1);
    io.integer(384, s.sw2);
    io.integer(385, s.sw3);
    io.integer(386, s.tamper);
    io.integer(387, s.autoLock);
    io.integer(388, s.overSpeed);
    io.integer(390, s.multiAlarm);
    io.integer(391, s.shockSensitivity);
    io.integer(392, s.geoFenceAlarmType);
    io.integer(393, s.overSpeedAlarmType);
    io.integer(394, s.doorAlarmType);
    io.integer(395, s.trunkAlarmType);
    io.integer(396, s.switchAlarmType);
    io.integer(397, s.powerDisconnectAlarmType);
    io.integer(398, s.carryingAlarmType);
    io.integer(399, s.shockAlertType);
    io.text(400, 50, s.otaUrlAddress);
    io.text(450, 50, s.otaUrlPath);
    io.integer(500, s.otaUrlPort);
    io.text(502, 20, s.otaApn);
    io.integer(522, s.updateAvailable);
    io.integer(524, s.appLength);
    io.bytes(528, 16, s.cryptoKey);
    io.integer(544, s.mobileOperator);
    io.nibbles(545, s.forceUnlockNumber1, s.forceUnlockNumber2);
    io.integer(546, s.stored);
}

// The longest prefix of the text's UTF-8 form that fits the width without splitting a
// character (continuation bytes are 10xxxxxx).
QByteArray fitUtf8(const QString &text, int width)
{
    QByteArray utf8 = text.toUtf8();
    if (utf8.size() <= width)
        return utf8;
    int end = width;
    while (end > 0 && (static_cast<quint8>(utf8.at(end)) & 0xC0) == 0x80)
        --end;
    return utf8.left(end);
}

class Writer
{
public:
    QByteArray payload = QByteArray(DeviceSettings::payloadSize, '\0');

    template <typename T> void integer(int offset, T value)
    {
        qToLittleEndian(value, payload.data() + offset);
    }
    void text(int offset, int width, const QString &value)
    {
        const QByteArray utf8 = fitUtf8(value, width);
        std::memcpy(payload.data() + offset, utf8.constData(), utf8.size());
    }
    void bytes(int offset, int width, const QByteArray &value)
    {
        std::memcpy(payload.data() + offset, value.constData(), qMin(width, int(value.size())));
    }
    void nibbles(int offset, quint8 low, quint8 high)
    {
        payload[offset] = char((low & 0x0F) | ((high & 0x0F) << 4));
    }
    void polygon(int offset, const QList<QGeoCoordinate> &points)
    {
        for (int i = 0; i < DeviceSettings::fencePointCount && !points.isEmpty(); ++i) {
            const QGeoCoordinate &point = i < points.size() ? points.at(i) : points.first();
            real(offset + i * 16, point.latitude());
            real(offset + i * 16 + 8, point.longitude());
        }
    }

private:
    void real(int offset, double value)
    {
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        integer(offset, bits);
    }
};

class Reader
{
public:
    explicit Reader(const QByteArray &payload) : m_payload(payload) {}

    template <typename T> void integer(int offset, T &value)
    {
        value = qFromLittleEndian<T>(m_payload.constData() + offset);
    }
    void text(int offset, int width, QString &value)
    {
        const QByteArray field = m_payload.mid(offset, width);
        const qsizetype end = field.indexOf('\0');
        value = QString::fromUtf8(end < 0 ? field : field.left(end));
    }
    void bytes(int offset, int width, QByteArray &value) { value = m_payload.mid(offset, width); }
    void nibbles(int offset, quint8 &low, quint8 &high)
    {
        const auto byte = static_cast<quint8>(m_payload.at(offset));
        low = byte & 0x0F;
        high = byte >> 4;
    }
    void polygon(int offset, QList<QGeoCoordinate> &points)
    {
        points.clear();
        for (int i = 0; i < DeviceSettings::fencePointCount; ++i)
            points.append(QGeoCoordinate(real(offset + i * 16), real(offset + i * 16 + 8)));
    }

private:
    double real(int offset) const
    {
        const auto bits = qFromLittleEndian<quint64>(m_payload.constData() + offset);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    const QByteArray &m_payload;
};

} // namespace

DeviceSettings DeviceSettings::factoryDefaults()
{
    DeviceSettings settings;
    settings.password = QStringLiteral("123456");
    settings.serverUrlAddress = QStringLiteral("127.0.0.1");
    settings.serverUrlPath = QStringLiteral("/kova");
    settings.serverUrlPort = 5050;
    settings.simChargeCommand = QStringLiteral("*140#");
    settings.simChargeSearchKeyword = QStringLiteral("ریال");
    settings.mobileOperator = 1;
    // A small octagon around the grid's centre, closed by repeating its first point.
    const QGeoCoordinate centre(36.30, 59.60);
    for (int i = 0; i < 8; ++i)
        settings.geoFencePolygon.append(centre.atDistanceAndAzimuth(2000, i * 45.0));
    settings.geoFencePolygon.append(settings.geoFencePolygon.first());
    settings.cryptoKey = QByteArray::fromHex("0f1e2d3c4b5a69788796a5b4c3d2e1f0");
    return settings;
}

QByteArray DeviceSettings::toPayload() const
{
    Writer writer;
    mapFields(writer, *this);
    return writer.payload;
}

DeviceSettings DeviceSettings::fromPayload(const QByteArray &payload)
{
    if (payload.size() != payloadSize)
        return factoryDefaults();
    DeviceSettings settings;
    Reader reader(payload);
    mapFields(reader, settings);
    return settings;
}

} // namespace devserver

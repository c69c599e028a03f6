#include "FrameInterpreter.h"

#include <QHash>
#include <QRegularExpression>
#include <QtEndian>

#include <array>
#include <optional>

namespace devserver {

namespace {

const QLatin1StringView framePrefix("[oribel,");
const QLatin1StringView frameTerminator("]}]");
constexpr int fenceCorners = 8;

struct Frame
{
    int code = 0;
    QStringList arguments;
};

// How many arguments each known code takes.
const QHash<int, int> &argumentCounts()
{
    static const QHash<int, int> counts = {
        {0, 0},  {1, 0},  {2, 0},  {11, 2}, {12, 3}, {13, 2}, {14, 2}, {15, 3},
        {16, 2}, {18, 2}, {19, 1}, {22, 2}, {23, 1}, {24, 1}, {25, 3}, {26, 1},
        {27, 1}, {28, 1}, {30, 1}, {33, 2}, {34, 2}, {55, 0},
    };
    return counts;
}

bool isPrintableAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

bool matches(const QString &text, const QString &pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern)).match(text).hasMatch();
}

// Decimal without leading zeros or junk, within [min, max].
std::optional<int> number(const QString &text, int min, int max)
{
    if (!matches(text, QStringLiteral("0|-?[1-9][0-9]{0,8}")))
        return std::nullopt;
    const int value = text.toInt();
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

// A phone number as the device stores it (15 bytes), or the slot's empty placeholder.
bool isPhoneSlot(const QString &text, QLatin1StringView placeholder)
{
    return text == placeholder || matches(text, QStringLiteral("\\+?[0-9]{1,14}"));
}

std::optional<Frame> parse(const QString &text, QString *reason)
{
    if (!isPrintableAscii(text)) {
        *reason = QStringLiteral("not printable ASCII");
        return std::nullopt;
    }
    if (!text.startsWith(framePrefix)) {
        *reason = QStringLiteral("does not begin with \"[oribel,\"");
        return std::nullopt;
    }
    if (!text.endsWith(frameTerminator)) {
        *reason = QStringLiteral("does not end with the terminator");
        return std::nullopt;
    }
    const QString body =
        text.sliced(framePrefix.size(), text.size() - framePrefix.size() - frameTerminator.size());
    if (body.contains(frameTerminator)) {
        *reason = QStringLiteral("text after the terminator");
        return std::nullopt;
    }
    Frame frame;
    frame.arguments = body.split(QLatin1Char(','));
    const auto code = number(frame.arguments.takeFirst(), 0, 999);
    if (!code) {
        *reason = QStringLiteral("malformed code");
        return std::nullopt;
    }
    frame.code = *code;
    const auto count = argumentCounts().constFind(frame.code);
    if (count == argumentCounts().constEnd()) {
        *reason = QStringLiteral("unknown code %1").arg(frame.code);
        return std::nullopt;
    }
    if (frame.arguments.size() != *count) {
        *reason = QStringLiteral("code %1 takes %2 arguments, not %3")
                      .arg(frame.code)
                      .arg(*count)
                      .arg(frame.arguments.size());
        return std::nullopt;
    }
    return frame;
}

// A restarted device has no network and no fix until it registers again.
void restart(DeviceStatus &status)
{
    status.gsmSignal = 0;
    status.gpsSignal = 0;
}

// Eight corners as signed 32-bit little-endian pairs of degrees × 1e7, in canonical Base64.
std::optional<QList<QGeoCoordinate>> fenceCornersFrom(const QString &block)
{
    const QByteArray bytes = QByteArray::fromBase64(block.toLatin1());
    if (bytes.size() != fenceCorners * 8 || bytes.toBase64() != block.toLatin1())
        return std::nullopt;
    QList<QGeoCoordinate> corners;
    for (int i = 0; i < fenceCorners; ++i) {
        // Dividing rounds once, so 363000000 gives exactly the double nearest 36.3.
        const double lat = qFromLittleEndian<qint32>(bytes.constData() + i * 8) / 1e7;
        const double lon = qFromLittleEndian<qint32>(bytes.constData() + i * 8 + 4) / 1e7;
        if (qAbs(lat) > 90 || qAbs(lon) > 180)
            return std::nullopt;
        corners.append(QGeoCoordinate(lat, lon));
    }
    return corners;
}

// Codes whose one argument is an alarm type, and the setting it goes to.
quint8 DeviceSettings::*alarmTypeSetting(int code)
{
    switch (code) {
    case 19:
        return &DeviceSettings::geoFenceAlarmType;
    case 23:
        return &DeviceSettings::doorAlarmType;
    case 24:
        return &DeviceSettings::switchAlarmType;
    case 26:
        return &DeviceSettings::trunkAlarmType;
    case 27:
        return &DeviceSettings::powerDisconnectAlarmType;
    case 28:
        return &DeviceSettings::carryingAlarmType;
    default:
        return nullptr;
    }
}

constexpr std::array outputs = {&DeviceSettings::sw1, &DeviceSettings::sw2, &DeviceSettings::sw3};

// Carries out a well-formed frame on copies of the records; false when an argument is out of
// range.
bool obey(const Frame &frame, DeviceSettings &s, DeviceStatus &status,
          FrameInterpreter::Result &result)
{
    const QStringList &a = frame.arguments;
    result.effect = FrameInterpreter::Effect::Applied;
    if (const auto setting = alarmTypeSetting(frame.code)) {
        const auto type = number(a[0], 0, 3);
        if (type)
            s.*setting = *type;
        return type.has_value();
    }
    switch (frame.code) {
    case 0:
        restart(status);
        result.effect = FrameInterpreter::Effect::Restart;
        return true;
    case 1:
        s = DeviceSettings::factoryDefaults();
        restart(status);
        return true;
    case 2:
        result.erasesMemory = true;
        return true;
    case 11:
        if (!isPhoneSlot(a[0], QLatin1StringView("x")) ||
            !isPhoneSlot(a[1], QLatin1StringView("x")))
            return false;
        s.reportCenter1 = a[0];
        s.reportCenter2 = a[1];
        return true;
    case 12: {
        const auto port = number(a[2], 1, 65535);
        if (!matches(a[0], QStringLiteral("[A-Za-z0-9.-]{1,50}")) ||
            !matches(a[1], QStringLiteral("/[!-~]{0,49}")) || !port)
            return false;
        s.serverUrlAddress = a[0];
        s.serverUrlPath = a[1];
        s.serverUrlPort = *port;
        return true;
    }
    case 13: {
        const auto rate = number(a[0], 60, 3600);
        const auto resolution = number(a[1], 30, 10000);
        if (!rate || !resolution)
            return false;
        s.sendRate = *rate;
        s.logResolation = *resolution;
        return true;
    }
    case 14: {
        const auto port = number(a[0], 1, 3);
        const auto flag = number(a[1], 0, 1);
        if (!port || !flag)
            return false;
        s.*outputs[*port - 1] = *flag;
        return true;
    }
    case 15:
        for (const QString &slot : a) {
            if (!isPhoneSlot(slot, QLatin1StringView(" ")))
                return false;
        }
        s.listenUsers1 = a[0];
        s.listenUsers2 = a[1];
        s.listenUsers3 = a[2];
        return true;
    case 16:
        if (a[0] != QLatin1StringView("at+cusd=1") ||
            !matches(a[1], QStringLiteral("\"[0-9*#+]{1,20}\"")))
            return false;
        result.ussdCode = a[1].mid(1, a[1].size() - 2);
        return true;
    case 18: {
        const auto mode = number(a[0], 1, 3);
        auto corners = fenceCornersFrom(a[1]);
        if (!mode || !corners)
            return false;
        corners->append(corners->first());
        s.geoFencePolygon = *corners;
        s.geoFenceInOut = *mode;
        return true;
    }
    case 22: {
        const auto speed = number(a[0], 0, 1000);
        const auto type = number(a[1], 0, 3);
        if (!speed || !type)
            return false;
        s.overSpeed = *speed;
        s.overSpeedAlarmType = *type;
        return true;
    }
    case 25: {
        std::array<std::optional<int>, 3> states;
        for (int i = 0; i < 3; ++i)
            states[i] = number(a[i], 0, 65535);
        if (!states[0] || !states[1] || !states[2])
            return false;
        // The outputs are on or off: any non-zero state switches one on.
        for (int i = 0; i < 3; ++i)
            s.*outputs[i] = *states[i] != 0;
        return true;
    }
    case 30: {
        const auto flag = number(a[0], 0, 1);
        if (flag)
            s.multiAlarm = *flag;
        return flag.has_value();
    }
    case 33: {
        const auto sensitivity = number(a[0], 0, 5);
        const auto type = number(a[1], 0, 3);
        if (!sensitivity || !type)
            return false;
        s.shockSensitivity = *sensitivity;
        s.shockAlertType = *type;
        return true;
    }
    case 34: {
        const auto first = number(a[0], 1, 5);
        const auto second = number(a[1], 1, 5);
        if (!first || !second)
            return false;
        s.forceUnlockNumber1 = *first;
        s.forceUnlockNumber2 = *second;
        return true;
    }
    case 55:
        result.effect = FrameInterpreter::Effect::Answer55;
        return true;
    }
    return false;
}

} // namespace

FrameInterpreter::Result FrameInterpreter::apply(const QString &frame, DeviceSettings &settings,
                                                 DeviceStatus &status)
{
    Result result;
    const auto parsed = parse(frame, &result.reason);
    if (!parsed)
        return result;
    DeviceSettings newSettings = settings;
    DeviceStatus newStatus = status;
    if (!obey(*parsed, newSettings, newStatus, result)) {
        Result ignored;
        ignored.reason =
            QStringLiteral("code %1: argument malformed or out of range").arg(parsed->code);
        return ignored;
    }
    settings = newSettings;
    status = newStatus;
    return result;
}

} // namespace devserver

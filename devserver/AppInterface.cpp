#include "AppInterface.h"

#include "BodyCipher.h"
#include "DeviceStatus.h"
#include "RefusalTexts.h"
#include "RequestFields.h"

#include <QJsonDocument>
#include <QJsonParseError>

#include <array>

namespace devserver {

namespace {

// The notice appOpen hands out: declarative content the app checks, then shows in its
// server-message popup as wide as the popup.
const char *const noticeSource = R"(import QtQuick
import QtQuick.Controls

Label {
    padding: 10
    wrapMode: Text.WordWrap
    horizontalAlignment: Text.AlignHCenter
    text: "این سرور آزمایشی است: خودروها، مسیرها و هشدارهای آن شبیه‌سازی شده‌اند."
}
)";

struct EventField
{
    quint32 bit;
    const char *timeKey;
};

// Alarm bits and the reply field that carries the time of each.
constexpr std::array<EventField, 9> eventFields{{
    {1, "doorTime"},
    {2, "trunkTime"},
    {4, "carSwitchTime"},
    {8, "powerDisconnectTime"},
    {16, "geoFenceInTime"},
    {32, "geoFenceOutTime"},
    {64, "carringTime"},
    {128, "overSpeedTime"},
    {256, "shockTime"},
}};

} // namespace

AppInterface::AppInterface(Store &store, Clock clock) : m_store(store), m_clock(std::move(clock)) {}

void AppInterface::setTrackingUrl(const QString &url)
{
    m_trackingUrl = url;
}

QJsonObject AppInterface::refusal(const QString &errorText)
{
    return QJsonObject{{QStringLiteral("isValid"), false},
                       {QStringLiteral("errorText"), errorText}};
}

QByteArray AppInterface::handle(const QByteArray &encipheredBody)
{
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(BodyCipher::apply(encipheredBody), &error);
    const QJsonObject reply = error.error == QJsonParseError::NoError && document.isObject()
                                  ? handleCommand(document.object())
                                  : refusal(RefusalTexts::unreadableBody());
    return BodyCipher::apply(QJsonDocument(reply).toJson(QJsonDocument::Compact));
}

QJsonObject AppInterface::handleCommand(const QJsonObject &request)
{
    using Handler = QJsonObject (AppInterface::*)(const QJsonObject &);
    static const QHash<QString, Handler> handlers{
        {QStringLiteral("appOpen"), &AppInterface::appOpen},
        {QStringLiteral("getStatus"), &AppInterface::getStatus},
        {QStringLiteral("login"), &AppInterface::login},
        {QStringLiteral("forgetPassword"), &AppInterface::forgetPassword},
        {QStringLiteral("setAliasUsername"), &AppInterface::setAliasUsername},
        {QStringLiteral("changePassword"), &AppInterface::changePassword},
        {QStringLiteral("setOwnerInfo"), &AppInterface::setOwnerInfo},
        {QStringLiteral("setVehicleInfo"), &AppInterface::setVehicleInfo},
        {QStringLiteral("addDeviceConfig"), &AppInterface::addDeviceConfig},
        {QStringLiteral("setDeviceSimNumber"), &AppInterface::setDeviceSimNumber},
        {QStringLiteral("getShareToken"), &AppInterface::getShareToken},
        {QStringLiteral("createShareToken"), &AppInterface::createShareToken},
        {QStringLiteral("dropShareToken"), &AppInterface::dropShareToken},
    };
    const std::optional<QString> command = RequestFields::text(request, QStringLiteral("command"));
    if (!command)
        return refusal(RefusalTexts::badRequest());
    const Handler handler = handlers.value(*command, nullptr);
    if (!handler)
        return refusal(RefusalTexts::unknownCommand());
    return (this->*handler)(request);
}

QJsonObject AppInterface::appOpen(const QJsonObject &)
{
    QJsonObject configs{
        {QStringLiteral("support_tels"), QStringLiteral("05138000000;09150000000")}};
    if (!m_trackingUrl.isEmpty())
        configs.insert(QStringLiteral("trackingurl"), m_trackingUrl);
    QJsonObject reply{
        {QStringLiteral("isValid"), true},
        {QStringLiteral("appConfigs"), configs},
    };
    if (m_noticeShown) {
        reply.insert(QStringLiteral("title"), QStringLiteral("سرور آزمایشی"));
        reply.insert(QStringLiteral("message"), QString::fromUtf8(noticeSource));
    }
    return reply;
}

QJsonObject AppInterface::getStatus(const QJsonObject &request)
{
    QJsonObject refused;
    const std::optional<Device> device = requestedDevice(request, QStringLiteral("imei"), &refused);
    if (!device)
        return refused;

    QByteArray record = m_store.statusRecord(device->imei);
    if (record.size() != DeviceStatus::recordSize)
        record = DeviceStatus().toRecord();
    QJsonObject reply{
        {QStringLiteral("isValid"), true},
        {QStringLiteral("status"), QString::fromLatin1(record.toBase64())},
    };

    // Each alarm is reported once: the app notifies on every reply that carries its bit.
    const DeviceEvents events = m_store.events(device->imei);
    reply.insert(QStringLiteral("events"), qint64(events.bits));
    for (const EventField &field : eventFields) {
        if (events.bits & field.bit)
            reply.insert(QLatin1String(field.timeKey), events.times.value(field.bit));
    }
    if (events.bits != 0)
        m_store.clearEvents(device->imei);
    return reply;
}

std::optional<Device> AppInterface::requestedDevice(const QJsonObject &request, const QString &key,
                                                    QJsonObject *refused) const
{
    const std::optional<quint64> imei = RequestFields::imei(request, key);
    if (!imei) {
        *refused = refusal(RefusalTexts::badRequest());
        return std::nullopt;
    }
    std::optional<Device> device = m_store.device(*imei);
    if (!device)
        *refused = refusal(RefusalTexts::unknownDevice());
    return device;
}

void AppInterface::registerWhenComplete(Device &device) const
{
    const bool ownerKnown = !device.ownerName.isEmpty() && !device.ownerLastname.isEmpty() &&
                            !device.ownerPhoneNumber.isEmpty();
    if (device.registered || !ownerKnown || device.vehicleModel.isEmpty())
        return;
    device.registered = true;
    if (!device.firstUse.isValid())
        device.firstUse = m_clock().date();
}

} // namespace devserver

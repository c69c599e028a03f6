// The vehicle commands of the app interface: owner and car details, the device's SIM number and
// the configuration frames the first-login setup hands to the server.
#include "AppInterface.h"

#include "DeviceSettings.h"
#include "DeviceStatus.h"
#include "FrameInterpreter.h"
#include "RefusalTexts.h"
#include "RequestFields.h"

#include <QDebug>

namespace devserver {

namespace {

// Reads every named text field, trimmed; nothing when one is missing or not a text.
std::optional<QStringList> texts(const QJsonObject &request, const QStringList &keys)
{
    QStringList values;
    for (const QString &key : keys) {
        const std::optional<QString> value = RequestFields::text(request, key);
        if (!value)
            return std::nullopt;
        values.append(value->trimmed());
    }
    return values;
}

QJsonObject accepted()
{
    return QJsonObject{{QStringLiteral("isValid"), true}};
}

} // namespace

QJsonObject AppInterface::setOwnerInfo(const QJsonObject &request)
{
    QJsonObject refused;
    std::optional<Device> device = requestedDevice(request, QStringLiteral("imei"), &refused);
    if (!device)
        return refused;
    const std::optional<QStringList> fields =
        texts(request, {QStringLiteral("name"), QStringLiteral("lastName"),
                        QStringLiteral("meliCode"), QStringLiteral("phoneNumber")});
    if (!fields)
        return refusal(RefusalTexts::badRequest());
    const QString phone = RequestFields::latinDigits(fields->at(3));
    if (fields->at(0).isEmpty() || fields->at(1).isEmpty() || phone.isEmpty())
        return refusal(RefusalTexts::missingOwnerDetails());
    if (!RequestFields::isPhoneNumber(phone))
        return refusal(RefusalTexts::badPhoneNumber());

    device->ownerName = fields->at(0);
    device->ownerLastname = fields->at(1);
    device->ownerMeliCode = RequestFields::latinDigits(fields->at(2));
    device->ownerPhoneNumber = phone;
    registerWhenComplete(*device);
    m_store.updateDevice(*device);
    return accepted();
}

QJsonObject AppInterface::setVehicleInfo(const QJsonObject &request)
{
    QJsonObject refused;
    std::optional<Device> device = requestedDevice(request, QStringLiteral("imei"), &refused);
    if (!device)
        return refused;
    const std::optional<QStringList> fields =
        texts(request, {QStringLiteral("company"), QStringLiteral("model"), QStringLiteral("color"),
                        QStringLiteral("plaque")});
    if (!fields)
        return refusal(RefusalTexts::badRequest());
    if (fields->at(1).isEmpty())
        return refusal(RefusalTexts::missingVehicleModel());

    device->vehicleCompany = fields->at(0);
    device->vehicleModel = fields->at(1);
    device->vehicleColor = fields->at(2);
    device->vehiclePlaque = fields->at(3);
    registerWhenComplete(*device);
    m_store.updateDevice(*device);
    return accepted();
}

QJsonObject AppInterface::addDeviceConfig(const QJsonObject &request)
{
    QJsonObject refused;
    const std::optional<Device> device = requestedDevice(request, QStringLiteral("imei"), &refused);
    if (!device)
        return refused;
    const std::optional<QString> frame =
        RequestFields::text(request, QStringLiteral("configCommand"));
    if (!frame)
        return refusal(RefusalTexts::badRequest());

    m_store.recordConfigFrame(device->imei, *frame, QStringLiteral("server"),
                              m_clock().toSecsSinceEpoch());
    // The server passes the frame on at once, and the device obeys it as it would one by SMS.
    DeviceSettings settings = DeviceSettings::fromPayload(m_store.settingsRecord(device->imei));
    DeviceStatus status = DeviceStatus::fromRecord(m_store.statusRecord(device->imei));
    const FrameInterpreter::Result result = FrameInterpreter::apply(*frame, settings, status);
    if (result.effect == FrameInterpreter::Effect::Ignored) {
        qWarning().noquote() << "addDeviceConfig for" << device->imei << "ignored:" << *frame << "-"
                             << result.reason;
        return refusal(RefusalTexts::badConfigFrame());
    }
    // A restart touches the status too; a code 55 answer has no phone to go to on this channel.
    m_store.setSettingsRecord(device->imei, settings.toPayload());
    m_store.setStatusRecord(device->imei, status.toRecord());
    return accepted();
}

QJsonObject AppInterface::setDeviceSimNumber(const QJsonObject &request)
{
    QJsonObject refused;
    std::optional<Device> device = requestedDevice(request, QStringLiteral("imei"), &refused);
    if (!device)
        return refused;
    const std::optional<QString> typed = RequestFields::text(request, QStringLiteral("simNumber"));
    if (!typed)
        return refusal(RefusalTexts::badRequest());
    const QString simNumber = RequestFields::latinDigits(*typed);
    if (!RequestFields::isPhoneNumber(simNumber))
        return refusal(RefusalTexts::badSimNumber());
    // Frames reach a device by its SIM number: two devices on one number would both obey.
    const std::optional<Device> holder = m_store.deviceBySimNumber(simNumber);
    if (holder && holder->imei != device->imei)
        return refusal(RefusalTexts::simNumberInUse());

    device->simNumber = simNumber;
    m_store.updateDevice(*device);
    return QJsonObject{{QStringLiteral("isValid"), true}, {QStringLiteral("simNumber"), simNumber}};
}

} // namespace devserver

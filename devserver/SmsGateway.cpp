#include "SmsGateway.h"

#include "DeviceSettings.h"
#include "DeviceStatus.h"
#include "FrameInterpreter.h"
#include "Store.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimer>

namespace devserver {

namespace {

// The device's answer to code 55: its last position and its state, as one JSON text.
QString answer55(const std::optional<Position> &position, const DeviceStatus &status,
                 const DeviceSettings &settings, qint64 now)
{
    const Position p = position.value_or(Position{now, 0, 0, 0, 0, 0, 0});
    const QJsonArray location = {p.time, p.lat, p.lon, p.alt, p.speed, p.course, position ? 1 : 0};
    const QJsonArray state = {status.door,        status.trunk,     status.carSwitch,
                              status.powerDetect, status.charging,  settings.sw3,
                              status.carring,     status.simCharge, status.battryPercent,
                              status.gsmSignal,   status.gpsSignal};
    const QJsonObject answer{{QStringLiteral("id"), 55},
                             {QStringLiteral("info"), QJsonArray{location, state}}};
    return QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact));
}

// What the operator answers to a USSD code the device ran: the credit the device last read.
QString ussdAnswer(const QString &code, const DeviceStatus &status)
{
    if (status.simCharge == 0xFFFF)
        return QStringLiteral("%1: سرویس در دسترس نیست").arg(code);
    return QStringLiteral("%1: اعتبار سیم‌کارت %2 ریال")
        .arg(code)
        .arg(status.simCharge);
}

} // namespace

SmsGateway::SmsGateway(Store &store, Clock clock, QObject *parent)
    : QObject(parent), m_store(store), m_clock(std::move(clock))
{
}

bool SmsGateway::send(const QByteArray &jsonBody)
{
    const QJsonObject message = QJsonDocument::fromJson(jsonBody).object();
    const QJsonValue to = message.value(QStringLiteral("to"));
    const QJsonValue text = message.value(QStringLiteral("text"));
    const QJsonValue simSlot = message.value(QStringLiteral("simSlot"));
    if (!to.isString() || to.toString().isEmpty() || !text.isString() || !simSlot.isDouble() ||
        simSlot.toDouble() < 0)
        return false;
    QTimer::singleShot(
        m_deliveryDelayMs, this,
        [this, number = to.toString(), frame = text.toString()] { deliver(number, frame); });
    return true;
}

QJsonObject SmsGateway::inbox(qint64 after) const
{
    QJsonArray messages;
    for (const SmsMessage &sms : m_store.smsAfter(after)) {
        messages.append(QJsonObject{{QStringLiteral("id"), sms.id},
                                    {QStringLiteral("from"), sms.from},
                                    {QStringLiteral("text"), sms.text}});
    }
    return QJsonObject{{QStringLiteral("messages"), messages}};
}

void SmsGateway::setDeliveryDelay(int milliseconds)
{
    m_deliveryDelayMs = qMax(0, milliseconds);
}

void SmsGateway::setRefusedCodes(const QSet<int> &codes)
{
    m_refusedCodes = codes;
}

void SmsGateway::deliver(const QString &to, const QString &text)
{
    const std::optional<Device> device = m_store.deviceBySimNumber(to);
    if (!device) {
        qWarning() << "sms: no device has the SIM number" << to;
        return;
    }
    const quint64 imei = device->imei;
    const qint64 now = m_clock().toSecsSinceEpoch();
    DeviceSettings settings = DeviceSettings::fromPayload(m_store.settingsRecord(imei));
    DeviceStatus status = DeviceStatus::fromRecord(m_store.statusRecord(imei));
    static const QRegularExpression codePattern(QStringLiteral("^\\[oribel,(\\d+)[,\\]]"));
    const QRegularExpressionMatch code = codePattern.match(text);
    FrameInterpreter::Result result;
    if (code.hasMatch() && m_refusedCodes.contains(code.captured(1).toInt()))
        result.reason = QStringLiteral("refused by /control/refuse");
    else
        result = FrameInterpreter::apply(text, settings, status);
    m_store.recordConfigFrame(imei, text, QStringLiteral("sms"), now);

    if (result.effect == FrameInterpreter::Effect::Ignored) {
        qWarning() << "sms: device" << imei << "ignored" << text << "-" << result.reason;
    } else {
        m_store.setSettingsRecord(imei, settings.toPayload());
        m_store.setStatusRecord(imei, status.toRecord());
    }
    if (result.erasesMemory) {
        m_store.clearPositions(imei);
        qInfo() << "sms: device" << imei << "erased its memory";
    }

    QString reply;
    if (result.effect == FrameInterpreter::Effect::Answer55)
        reply = answer55(m_store.lastPosition(imei), status, settings, now);
    else if (!result.ussdCode.isEmpty())
        reply = ussdAnswer(result.ussdCode, status);
    if (!reply.isEmpty())
        m_store.addSms(SmsMessage{0, device->simNumber, QString(), reply, now});

    emit frameHandled(imei, text, result.effect != FrameInterpreter::Effect::Ignored);
}

} // namespace devserver

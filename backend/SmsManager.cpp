#include "SmsManager.h"

#include "DeviceFrame.h"
#include "SmsGateway.h"

#include <QUrl>

SmsManager::SmsManager(QObject *parent) : QObject(parent)
{
    const QString gateway = qEnvironmentVariable("KOVA_SMS_GATEWAY");
    if (gateway.isEmpty())
        return;
    const QUrl url(gateway, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty()) {
        qWarning("SmsManager: KOVA_SMS_GATEWAY is not an absolute URL, SMS disabled: %s",
                 qPrintable(gateway));
        return;
    }
    m_gateway = new SmsGateway(url, this);
    connect(m_gateway, &SmsGateway::messageReceived, this, &SmsManager::smsReceived);
}

void SmsManager::setSimSlot(quint8 simSlot)
{
    if (m_simSlot == simSlot)
        return;
    m_simSlot = simSlot;
    emit simSlotChanged(m_simSlot);
}

void SmsManager::sendSms(const QString &number, const QString &message)
{
    // Every message this app sends is one device frame; anything else (two frames run together,
    // a field that closes the frame early) would make the device obey something nobody chose.
    if (!DeviceFrame::isWellFormed(message)) {
        qWarning("SmsManager: not a single device frame, not sent: %s", qPrintable(message));
        return;
    }
    if (!m_gateway || number.isEmpty())
        return;
    m_gateway->send(number, message, m_simSlot);
}

#include "SmsManager.h"

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
    if (!m_gateway || number.isEmpty() || message.isEmpty())
        return;
    m_gateway->send(number, message, m_simSlot);
}

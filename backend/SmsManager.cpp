#include "SmsManager.h"

#include "DeviceFrame.h"
#include "ModemSms.h"
#include "PhoneServices.h"
#include "SmsGateway.h"

#include <QDBusConnection>
#include <QUrl>

SmsManager::SmsManager(QObject *parent) : QObject(parent)
{
    const QString gateway = qEnvironmentVariable("KOVA_SMS_GATEWAY");
    if (!gateway.isEmpty())
        useGateway(gateway);
    else if (PhoneServices::enabled())
        useModems();
}

void SmsManager::useGateway(const QString &gateway)
{
    const QUrl url(gateway, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty()) {
        qWarning("SmsManager: KOVA_SMS_GATEWAY is not an absolute URL, SMS disabled: %s",
                 qPrintable(gateway));
        return;
    }
    m_gateway = new SmsGateway(url, this);
    connect(m_gateway, &SmsGateway::messageReceived, this, &SmsManager::smsReceived);
}

void SmsManager::useModems()
{
    m_modems = new ModemSms(QDBusConnection::systemBus(), this);
    connect(m_modems, &ModemSms::received, this, &SmsManager::smsReceived);
    connect(m_modems, &ModemSms::sendFailed, this, &SmsManager::sendFailed);
    connect(m_modems, &ModemSms::modemsChanged, this,
            [this] { setDualSim(m_modems->modemCount() >= 2); });
}

void SmsManager::setSimSlot(quint8 simSlot)
{
    if (m_simSlot == simSlot)
        return;
    m_simSlot = simSlot;
    emit simSlotChanged(m_simSlot);
}

void SmsManager::setDualSim(bool isDualSim)
{
    if (m_isDualSim == isDualSim)
        return;
    m_isDualSim = isDualSim;
    emit isDualSimChanged(m_isDualSim);
}

int SmsManager::sendSms(const QString &number, const QString &message)
{
    // Every message this app sends is one device frame; anything else (two frames run together,
    // a field that closes the frame early) would make the device obey something nobody chose.
    if (!DeviceFrame::isWellFormed(message)) {
        qWarning("SmsManager: not a single device frame, not sent: %s", qPrintable(message));
        return 0;
    }
    if (number.isEmpty())
        return 0;
    if (!m_gateway && !m_modems) {
        qWarning("SmsManager: no SMS service, not sent to %s", qPrintable(number));
        return 0;
    }
    const int ticket = ++m_lastTicket;
    if (m_gateway)
        m_gateway->send(number, message, m_simSlot);
    else
        m_modems->send(number, message, m_simSlot, ticket);
    return ticket;
}

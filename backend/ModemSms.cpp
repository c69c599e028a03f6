#include "ModemSms.h"

#include "IncomingSms.h"
#include "MessagingModems.h"
#include "ModemManagerBus.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

using namespace ModemManagerBus;

ModemSms::ModemSms(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus), m_modems(new MessagingModems(bus, this))
{
    auto *incoming = new IncomingSms(bus, m_modems, IncomingSms::defaultPatience, this);
    connect(m_modems, &MessagingModems::pathsChanged, this, &ModemSms::modemsChanged);
    connect(incoming, &IncomingSms::received, this, &ModemSms::received);
}

int ModemSms::modemCount() const
{
    return int(m_modems->paths().size());
}

void ModemSms::send(const QString &number, const QString &text, int slot, int ticket)
{
    const QStringList modems = m_modems->paths();
    if (slot < 0 || slot >= modems.size()) {
        qWarning("ModemSms: no modem for SIM %d (%lld found), not sent to %s", slot + 1,
                 qlonglong(modems.size()), qPrintable(number));
        emit sendFailed(ticket);
        return;
    }
    const QString modem = modems.at(slot);
    const QVariantMap properties{{QStringLiteral("number"), number},
                                 {QStringLiteral("text"), text}};
    call(m_bus, modem, messagingInterface, QStringLiteral("Create"), {properties}, callTimeoutMs,
         this, [this, modem, number, ticket](const QDBusMessage &reply) {
             if (reply.type() != QDBusMessage::ReplyMessage) {
                 qWarning("ModemSms: %s did not take the SMS to %s: %s", qPrintable(modem),
                          qPrintable(number), qPrintable(errorText(reply)));
                 emit sendFailed(ticket);
                 return;
             }
             if (reply.signature() != QLatin1String("o")) {
                 qWarning("ModemSms: %s answered the SMS to %s with %s, not sent",
                          qPrintable(modem), qPrintable(number), qPrintable(reply.signature()));
                 emit sendFailed(ticket);
                 return;
             }
             sendCreated(modem, number,
                         reply.arguments().constFirst().value<QDBusObjectPath>().path(), ticket);
         });
}

void ModemSms::sendCreated(const QString &modem, const QString &number, const QString &sms,
                           int ticket)
{
    call(m_bus, sms, smsInterface, QStringLiteral("Send"), {}, sendTimeoutMs, this,
         [this, modem, number, sms, ticket](const QDBusMessage &reply) {
             if (reply.type() != QDBusMessage::ReplyMessage) {
                 qWarning("ModemSms: the SMS to %s was not sent: %s", qPrintable(number),
                          qPrintable(errorText(reply)));
                 emit sendFailed(ticket);
             }
             deleteSent(modem, sms);
         });
}

void ModemSms::deleteSent(const QString &modem, const QString &sms)
{
    // Sent or not, it is this app's own message and would otherwise stay in the modem's list.
    call(m_bus, modem, messagingInterface, QStringLiteral("Delete"),
         {QVariant::fromValue(QDBusObjectPath(sms))}, callTimeoutMs, this,
         [sms](const QDBusMessage &reply) {
             if (reply.type() != QDBusMessage::ReplyMessage)
                 qWarning("ModemSms: %s could not be deleted: %s", qPrintable(sms),
                          qPrintable(errorText(reply)));
         });
}

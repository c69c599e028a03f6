#include "IncomingSms.h"

#include "MessagingModems.h"
#include "ModemManagerBus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>

using namespace ModemManagerBus;

namespace {

template <typename T> bool holds(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<T>();
}

} // namespace

IncomingSms::IncomingSms(const QDBusConnection &bus, const MessagingModems *modems,
                         std::chrono::milliseconds patience, QObject *parent)
    : QObject(parent), m_bus(bus), m_modems(modems), m_patience(patience)
{
    connect(m_modems, &MessagingModems::pathsChanged, this, &IncomingSms::forgetGoneModems);
    if (!m_bus.isConnected())
        return;
    // From any object of the service; only the modems' own count.
    m_bus.connect(service, QString(), messagingInterface, QStringLiteral("Added"), this,
                  SLOT(takeAdded(QDBusMessage)));
    m_bus.connect(service, QString(), messagingInterface, QStringLiteral("Deleted"), this,
                  SLOT(takeDeleted(QDBusMessage)));
    m_bus.connect(service, QString(), propertiesInterface, QStringLiteral("PropertiesChanged"),
                  {smsInterface}, QString(), this, SLOT(takePropertiesChanged(QDBusMessage)));
}

void IncomingSms::takeAdded(const QDBusMessage &signal)
{
    if (signal.signature() != QLatin1String("ob") || !m_modems->paths().contains(signal.path()))
        return;
    const QString sms = signal.arguments().at(0).value<QDBusObjectPath>().path();
    // Messages this app creates to send are announced too, as not received.
    const bool received = signal.arguments().at(1).toBool();
    if (!received || m_followed.contains(sms))
        return;
    follow(sms, signal.path());
    read(sms);
}

void IncomingSms::takeDeleted(const QDBusMessage &signal)
{
    if (signal.signature() != QLatin1String("o"))
        return;
    const auto followed =
        m_followed.constFind(signal.arguments().at(0).value<QDBusObjectPath>().path());
    if (followed != m_followed.cend() && followed->modem == signal.path())
        m_followed.erase(followed);
}

void IncomingSms::takePropertiesChanged(const QDBusMessage &signal)
{
    // The message is read whole again: its parts may have changed the text as well as the state.
    if (m_followed.contains(signal.path()))
        read(signal.path());
}

void IncomingSms::follow(const QString &sms, const QString &modem)
{
    const quint64 serial = ++m_serial;
    m_followed.insert(sms, {modem, serial});
    QTimer::singleShot(m_patience, this, [this, sms, serial] {
        const auto followed = m_followed.constFind(sms);
        if (followed == m_followed.cend() || followed->serial != serial)
            return;
        qWarning("IncomingSms: %s never got all its parts, dropped", qPrintable(sms));
        m_followed.erase(followed);
    });
}

void IncomingSms::read(const QString &sms)
{
    call(m_bus, sms, propertiesInterface, QStringLiteral("GetAll"), {QString(smsInterface)},
         callTimeoutMs, this,
         [this, sms](const QDBusMessage &reply) { readProperties(sms, reply); });
}

void IncomingSms::readProperties(const QString &sms, const QDBusMessage &reply)
{
    const auto followed = m_followed.constFind(sms);
    if (followed == m_followed.cend())
        return;
    if (reply.type() != QDBusMessage::ReplyMessage) {
        // Still followed: its next change reads it again.
        qWarning("IncomingSms: %s could not be read: %s", qPrintable(sms),
                 qPrintable(errorText(reply)));
        return;
    }
    if (reply.signature() != QLatin1String("a{sv}"))
        return;
    const auto properties = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    const QVariant state = properties.value(QStringLiteral("State"));
    if (!holds<uint>(state) || state.toUInt() != smsStateReceived)
        return;
    m_followed.erase(followed);
    const QVariant number = properties.value(QStringLiteral("Number"));
    const QVariant text = properties.value(QStringLiteral("Text"));
    if (!holds<QString>(number) || !holds<QString>(text)) {
        qWarning("IncomingSms: %s has no readable number or text, ignored", qPrintable(sms));
        return;
    }
    emit received(number.toString(), text.toString());
}

void IncomingSms::forgetGoneModems()
{
    const QStringList modems = m_modems->paths();
    for (auto followed = m_followed.begin(); followed != m_followed.end();) {
        if (modems.contains(followed->modem))
            ++followed;
        else
            followed = m_followed.erase(followed);
    }
}

#include "Notification.h"

#include "PhoneServices.h"
#include "WindowActivation.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QLoggingCategory>

#include <algorithm>
#include <utility>

namespace {

Q_LOGGING_CATEGORY(lcNotification, "kova.notification")

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString defaultAction = QStringLiteral("default");
constexpr int notifyTimeoutMs = 5000;

// A car alarm may be a theft under way: critical bubbles stay until the owner dismisses them
// and are let through when other notifications are held back.
constexpr uchar criticalUrgency = 2;

QVariantMap hints()
{
    return {{QStringLiteral("desktop-entry"), PhoneServices::desktopId()},
            {QStringLiteral("urgency"), QVariant::fromValue(criticalUrgency)}};
}

} // namespace

Notification::Notification(QObject *parent) : QObject(parent)
{
    if (!PhoneServices::enabled())
        return;
    // Naming the service makes the bus deliver only what its current owner sends.
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                SLOT(onActionInvoked(uint, QString)));
    bus.connect(service, path, interface, QStringLiteral("ActivationToken"), this,
                SLOT(onActivationToken(uint, QString)));
    bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint)));
    // A restarted server numbers its bubbles afresh: an old id could replace someone else's.
    auto *owner =
        new QDBusServiceWatcher(service, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this, &Notification::forgetServerIds);
}

void Notification::notify(const QString &title, const QString &text, const QString &icon)
{
    Q_UNUSED(icon)
    if (!PhoneServices::enabled() || title.isEmpty())
        return;
    Alarm &alarm = alarmFor(title);
    alarm.wanted = text;
    // While a Notify is out its answer brings the id to replace; the newest text follows then.
    if (!alarm.sending && alarm.shown != text)
        send(alarm);
}

Notification::Alarm &Notification::alarmFor(const QString &title)
{
    const auto known = std::find_if(m_alarms.begin(), m_alarms.end(),
                                    [&title](const Alarm &alarm) { return alarm.title == title; });
    if (known != m_alarms.end()) {
        Alarm alarm = std::move(*known);
        m_alarms.erase(known);
        m_alarms.append(std::move(alarm));
    } else {
        if (m_alarms.size() >= maxAlarms)
            m_alarms.removeFirst();
        m_alarms.append({.key = m_nextKey++, .title = title});
    }
    return m_alarms.last();
}

Notification::Alarm *Notification::alarmWithKey(quint64 key)
{
    for (Alarm &alarm : m_alarms) {
        if (alarm.key == key)
            return &alarm;
    }
    return nullptr;
}

Notification::Alarm *Notification::alarmWithId(uint id)
{
    if (id == 0)
        return nullptr;
    for (Alarm &alarm : m_alarms) {
        if (alarm.id == id)
            return &alarm;
    }
    return nullptr;
}

void Notification::send(Alarm &alarm)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    message << QGuiApplication::applicationDisplayName() << alarm.id << PhoneServices::desktopId()
            << alarm.title << alarm.wanted << QStringList{defaultAction, QStringLiteral("نمایش")}
            << hints() << qint32(-1);
    alarm.sending = true;
    auto *watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(message, notifyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key = alarm.key, text = alarm.wanted](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                answered(key, text, *call);
            });
}

void Notification::answered(quint64 key, const QString &text, const QDBusPendingReply<uint> &reply)
{
    Alarm *alarm = alarmWithKey(key);
    if (!alarm)
        return;
    alarm->sending = false;
    if (reply.isError()) {
        // The next repeat of the alarm tries again; without a server that is every repeat.
        if (reply.error().name() != m_lastError)
            qCDebug(lcNotification) << "Notify failed:" << reply.error().message();
        m_lastError = reply.error().name();
        return;
    }
    m_lastError.clear();
    alarm->shown = text;
    alarm->id = reply.value();
    if (alarm->wanted != text)
        send(*alarm);
}

void Notification::onActionInvoked(uint id, const QString &actionKey)
{
    Alarm *alarm = alarmWithId(id);
    if (!alarm || actionKey != defaultAction)
        return;
    WindowActivation::bringForward(std::exchange(alarm->activationToken, {}));
}

void Notification::onActivationToken(uint id, const QString &token)
{
    if (Alarm *alarm = alarmWithId(id))
        alarm->activationToken = token;
}

void Notification::onNotificationClosed(uint id)
{
    // The text stays shown: the owner has seen this alarm time. A newer one gets a new bubble.
    if (Alarm *alarm = alarmWithId(id)) {
        alarm->id = 0;
        alarm->activationToken.clear();
    }
}

void Notification::forgetServerIds()
{
    for (Alarm &alarm : m_alarms) {
        alarm.id = 0;
        alarm.activationToken.clear();
    }
}

#include "ModemManagerBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>

namespace ModemManagerBus {

void call(const QDBusConnection &bus, const QString &path, QLatin1StringView interface,
          const QString &method, const QVariantList &arguments, int timeoutMs, QObject *context,
          std::function<void(const QDBusMessage &reply)> done)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    // The app follows the service; whether it runs is the system's choice.
    message.setAutoStartService(false);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, timeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [done = std::move(done)](QDBusPendingCallWatcher *finished) {
                         finished->deleteLater();
                         done(finished->reply());
                     });
}

QString errorText(const QDBusMessage &reply)
{
    return reply.errorName() + QLatin1String(": ") + reply.errorMessage();
}

} // namespace ModemManagerBus

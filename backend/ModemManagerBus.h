#pragma once

#include <QLatin1StringView>
#include <QVariantList>

#include <functional>

class QDBusConnection;
class QDBusMessage;
class QObject;

// Names and values of the phone's modem service on the system bus, and the one way the classes
// that carry SMS through it call it.
namespace ModemManagerBus {

inline constexpr QLatin1StringView service("org.freedesktop.ModemManager1");
inline constexpr QLatin1StringView managerPath("/org/freedesktop/ModemManager1");
inline constexpr QLatin1StringView objectManagerInterface("org.freedesktop.DBus.ObjectManager");
inline constexpr QLatin1StringView propertiesInterface("org.freedesktop.DBus.Properties");
inline constexpr QLatin1StringView modemInterface("org.freedesktop.ModemManager1.Modem");
inline constexpr QLatin1StringView
    messagingInterface("org.freedesktop.ModemManager1.Modem.Messaging");
inline constexpr QLatin1StringView smsInterface("org.freedesktop.ModemManager1.Sms");

// MM_SMS_STATE_RECEIVED: every part of an incoming message is in.
inline constexpr uint smsStateReceived = 3;

// Bounds of the calls to the service; sending waits on the network and takes longest.
inline constexpr int callTimeoutMs = 10 * 1000;
inline constexpr int sendTimeoutMs = 60 * 1000;

// Calls a method of the service without waiting: `done` gets the reply or the error (a time-out
// after timeoutMs included) unless `context` is gone by then. An absent service is not started.
void call(const QDBusConnection &bus, const QString &path, QLatin1StringView interface,
          const QString &method, const QVariantList &arguments, int timeoutMs, QObject *context,
          std::function<void(const QDBusMessage &reply)> done);

// "name: message" of an error reply, for the log.
QString errorText(const QDBusMessage &reply);

} // namespace ModemManagerBus

#include "BusProbe.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {

QVariant plain(const QVariant &value);

QVariant plain(const QDBusArgument &argument)
{
    switch (argument.currentType()) {
    case QDBusArgument::ArrayType: {
        QVariantList list;
        argument.beginArray();
        while (!argument.atEnd())
            list.append(plain(argument.asVariant()));
        argument.endArray();
        return list;
    }
    case QDBusArgument::StructureType: {
        QVariantList fields;
        argument.beginStructure();
        while (!argument.atEnd())
            fields.append(plain(argument.asVariant()));
        argument.endStructure();
        return fields;
    }
    case QDBusArgument::MapType: {
        QVariantMap map;
        argument.beginMap();
        while (!argument.atEnd()) {
            argument.beginMapEntry();
            const QString key = plain(argument.asVariant()).toString();
            map.insert(key, plain(argument.asVariant()));
            argument.endMapEntry();
        }
        argument.endMap();
        return map;
    }
    default:
        return plain(argument.asVariant());
    }
}

QVariant plain(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return plain(value.value<QDBusVariant>().variant());
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return plain(value.value<QDBusArgument>());
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value;
}

} // namespace

BusProbe::BusProbe(QObject *parent) : QObject(parent) {}

QVariant BusProbe::call(bool system, const QString &service, const QString &path,
                        const QString &interface, const QString &method,
                        const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    const QDBusConnection bus =
        system ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
    const QDBusMessage reply = bus.call(message, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return QVariantMap{{QStringLiteral("error"), reply.errorName()}};
    return reply.arguments().isEmpty() ? QVariant() : plain(reply.arguments().first());
}

QVariant BusProbe::control(bool system, const QString &service, const QString &path,
                           const QString &method, const QVariantList &arguments)
{
    return call(system, service, path, QStringLiteral("org.freedesktop.DBus.Mock"), method,
                arguments);
}

#include "MessagingModems.h"

#include "ModemManagerBus.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusServiceWatcher>

#include <algorithm>
#include <utility>

using namespace ModemManagerBus;

namespace {

// The service is simply not running: nothing to read, nothing to report.
bool isAbsentService(const QDBusMessage &reply)
{
    return QDBusError(reply).type() == QDBusError::ServiceUnknown ||
           reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

QString stringOrNothing(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<QString>() ? value.toString() : QString();
}

} // namespace

MessagingModems::MessagingModems(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    auto *watcher =
        new QDBusServiceWatcher(service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &MessagingModems::takeOwnerChange);
    m_bus.connect(service, managerPath, objectManagerInterface, QStringLiteral("InterfacesAdded"),
                  this, SLOT(takeInterfacesAdded(QDBusMessage)));
    m_bus.connect(service, managerPath, objectManagerInterface, QStringLiteral("InterfacesRemoved"),
                  this, SLOT(takeInterfacesRemoved(QDBusMessage)));
    reload();
}

void MessagingModems::takeOwnerChange(const QString &, const QString &, const QString &newOwner)
{
    if (newOwner.isEmpty())
        forgetAll();
    else
        reload();
}

void MessagingModems::forgetAll()
{
    m_objects.clear();
    ++m_generation;
    reorder();
}

void MessagingModems::reload()
{
    forgetAll();
    call(m_bus, managerPath, objectManagerInterface, QStringLiteral("GetManagedObjects"), {},
         callTimeoutMs, this, [this, generation = m_generation](const QDBusMessage &reply) {
             if (generation == m_generation)
                 readManagedObjects(reply);
         });
}

void MessagingModems::readManagedObjects(const QDBusMessage &reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (!isAbsentService(reply))
            qWarning("MessagingModems: the modems could not be read: %s",
                     qPrintable(errorText(reply)));
        return;
    }
    if (reply.signature() != QLatin1String("a{oa{sa{sv}}}")) {
        qWarning("MessagingModems: the modems came as %s, ignored", qPrintable(reply.signature()));
        return;
    }
    const auto objects = qdbus_cast<QMap<QDBusObjectPath, QMap<QString, QVariantMap>>>(
        reply.arguments().constFirst());
    // The reading is newer than any announcement that came before it.
    m_objects.clear();
    for (auto object = objects.cbegin(); object != objects.cend(); ++object)
        merge(object.key().path(), object.value());
    reorder();
}

void MessagingModems::takeInterfacesAdded(const QDBusMessage &signal)
{
    if (signal.signature() != QLatin1String("oa{sa{sv}}"))
        return;
    const QList<QVariant> arguments = signal.arguments();
    merge(arguments.at(0).value<QDBusObjectPath>().path(),
          qdbus_cast<QMap<QString, QVariantMap>>(arguments.at(1)));
    reorder();
}

void MessagingModems::takeInterfacesRemoved(const QDBusMessage &signal)
{
    if (signal.signature() != QLatin1String("oas"))
        return;
    const QList<QVariant> arguments = signal.arguments();
    const auto object = m_objects.find(arguments.at(0).value<QDBusObjectPath>().path());
    if (object == m_objects.end())
        return;
    for (const QString &name : qdbus_cast<QStringList>(arguments.at(1))) {
        object->names.remove(name);
        if (name == modemInterface)
            object->device.clear();
    }
    if (object->names.isEmpty())
        m_objects.erase(object);
    reorder();
}

void MessagingModems::merge(const QString &path, const QMap<QString, QVariantMap> &interfaces)
{
    for (auto interface = interfaces.cbegin(); interface != interfaces.cend(); ++interface) {
        if (interface.key() != modemInterface && interface.key() != messagingInterface)
            continue;
        Interfaces &object = m_objects[path];
        object.names.insert(interface.key());
        if (interface.key() == modemInterface)
            object.device = stringOrNothing(interface->value(QStringLiteral("Device")));
    }
}

void MessagingModems::reorder()
{
    QList<std::pair<QString, QString>> modems; // Device, path
    for (auto object = m_objects.cbegin(); object != m_objects.cend(); ++object)
        if (object->names.contains(messagingInterface))
            modems.append({object->device, object.key()});
    std::sort(modems.begin(), modems.end());
    QStringList paths;
    for (const auto &modem : std::as_const(modems))
        paths.append(modem.second);
    if (paths == m_paths)
        return;
    m_paths = paths;
    emit pathsChanged();
}

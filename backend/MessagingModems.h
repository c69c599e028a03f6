#pragma once

#include <QDBusConnection>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariantMap>

class QDBusMessage;

// The phone's modems that can carry SMS, as the modem service announces them: read whole
// whenever the service appears, followed through its object manager, all gone when it goes.
class MessagingModems : public QObject
{
    Q_OBJECT

public:
    explicit MessagingModems(const QDBusConnection &bus, QObject *parent = nullptr);

    // Object paths in an order that survives restarts: by the modem's Device (where it sits on
    // the machine), then by path. A SIM slot is an index into it.
    QStringList paths() const { return m_paths; }

signals:
    void pathsChanged();

private slots:
    void takeInterfacesAdded(const QDBusMessage &signal);
    void takeInterfacesRemoved(const QDBusMessage &signal);

private:
    // The interfaces of one object that matter here, and its Device when it is a modem.
    struct Interfaces
    {
        QSet<QString> names;
        QString device;
    };

    void takeOwnerChange(const QString &service, const QString &oldOwner, const QString &newOwner);
    void forgetAll();
    void reload();
    void readManagedObjects(const QDBusMessage &reply);
    void merge(const QString &path, const QMap<QString, QVariantMap> &interfaces);
    void reorder();

    QDBusConnection m_bus;
    QMap<QString, Interfaces> m_objects;
    QStringList m_paths;
    // Counts the service's lifetimes, so a reading from an earlier one is dropped.
    quint64 m_generation = 0;
};

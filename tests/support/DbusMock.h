#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QVariant>

// A python-dbusmock double of a D-Bus service, started from a template file on the test's
// private bus (tests/dbus/on-private-bus.sh) and stopped when this object goes. Calls to the
// double are bounded: a double that does not answer fails the test instead of hanging it.
class DbusMock
{
public:
    enum class Bus { System, Session };

    // templatePath: a dbusmock template (a tests/dbus/*.py file or a stock template's name);
    // parameters: the template's parameters, as its load() takes them.
    DbusMock(const QString &templatePath, const QJsonObject &parameters = {},
             Bus bus = Bus::System);
    ~DbusMock();
    DbusMock(const DbusMock &) = delete;
    DbusMock &operator=(const DbusMock &) = delete;

    // Starts the double and waits until it owns busName; false (with the reason logged) when it
    // does not within ten seconds.
    bool start(const QString &busName);
    void stop();

    QDBusConnection connection() const;

    // A method call on the double, answered within five seconds.
    QDBusMessage call(const QString &path, const QString &interface, const QString &method,
                      const QVariantList &arguments = {}) const;
    // A call on the object's org.freedesktop.DBus.Mock interface (the template's own controls).
    QDBusMessage control(const QString &path, const QString &method,
                         const QVariantList &arguments = {}) const;
    // The arguments of every call of `method` made on the object at `path`, oldest first.
    QList<QVariantList> methodCalls(const QString &path, const QString &method) const;
    QString log() const;

    static QString templateFile(const QString &name);

private:
    QString m_template;
    QJsonObject m_parameters;
    Bus m_bus;
    QString m_busName;
    QProcess m_process;
};

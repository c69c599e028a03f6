#pragma once

#include <QObject>
#include <QVariant>

// Lets a document test talk to the doubles of the phone's services on its private bus: it asks
// them what the app did and tells them what happens next. Replies come back as plain values
// (lists, maps, numbers, strings); a failed call gives {"error": name}.
class BusProbe : public QObject
{
    Q_OBJECT

public:
    explicit BusProbe(QObject *parent = nullptr);

    // A call on the system bus (the session bus when `system` is false), answered within five
    // seconds; the first reply value, or undefined when there is none.
    Q_INVOKABLE QVariant call(bool system, const QString &service, const QString &path,
                              const QString &interface, const QString &method,
                              const QVariantList &arguments = {});
    // A call on a double's own controls (the org.freedesktop.DBus.Mock interface).
    Q_INVOKABLE QVariant control(bool system, const QString &service, const QString &path,
                                 const QString &method, const QVariantList &arguments = {});
};

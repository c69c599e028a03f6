#pragma once

#include <QObject>
#include <QString>

// Shows a system notification. The desktop build has no notification facility, so nothing shows.
class Notification : public QObject
{
    Q_OBJECT

public:
    explicit Notification(QObject *parent = nullptr);

    Q_INVOKABLE void notify(const QString &title, const QString &text, const QString &icon);
};

#pragma once

#include <QObject>
#include <QString>

// Places a phone call. The desktop has no telephony: the request only leaves a debug line.
class Call : public QObject
{
    Q_OBJECT

public:
    explicit Call(QObject *parent = nullptr);

    Q_INVOKABLE void directCall(const QString &number);
};

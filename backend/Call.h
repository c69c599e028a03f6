#pragma once

#include <QObject>
#include <QString>

// Places a phone call through the desktop's handler of tel: links, the phone's dialler, which
// owns the audio and the hang-up. Without one, or with the phone services off, the request
// leaves a debug line and says the call was not placed, so that the caller can offer the number.
class Call : public QObject
{
    Q_OBJECT

public:
    explicit Call(QObject *parent = nullptr);

    // number: digits with an optional leading +, and * or # for service codes; anything else
    // is refused with a warning and dials nothing. True when a dialler took the number.
    Q_INVOKABLE bool directCall(const QString &number);
};

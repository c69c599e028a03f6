#pragma once

#include <QObject>

// Fingerprint authentication. The desktop has no reader: it reports no support and a check never
// answers, which leaves the login page as it was.
class Biometric : public QObject
{
    Q_OBJECT

public:
    explicit Biometric(QObject *parent = nullptr);

    Q_INVOKABLE bool isBiometricSupported() const;
    Q_INVOKABLE void auth();

signals:
    void authSuccess();
    void authError(int errorCode);
};

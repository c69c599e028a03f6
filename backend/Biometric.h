#pragma once

#include <QObject>

class FingerprintCheck;

// Fingerprint authentication on the default reader of fprintd, the system's fingerprint
// service. With the phone services off the desktop answers stay: no support, and a check never
// answers, which leaves the login page as it was.
class Biometric : public QObject
{
    Q_OBJECT
    // How long a check waits for a finger before it gives up, in milliseconds.
    Q_PROPERTY(
        int verifyTimeout READ verifyTimeout WRITE setVerifyTimeout NOTIFY verifyTimeoutChanged)

public:
    // Why a check failed: the code authError carries.
    enum AuthError {
        // A finger was read and it is none of the enrolled ones.
        NoMatch = 1,
        // No fingerprint service, no reader, or no finger enrolled for this user.
        Unavailable,
        // The service would not give the reader: another program holds it, or this one is not
        // permitted to use it.
        Refused,
        // The reader or the service failed, went away, or answered out of turn.
        ReaderFailed,
        // No decision in time, usually because no finger touched the reader.
        TimedOut,
    };
    Q_ENUM(AuthError)

    static constexpr int defaultVerifyTimeout = 30000;

    explicit Biometric(QObject *parent = nullptr);

    int verifyTimeout() const { return m_verifyTimeout; }
    void setVerifyTimeout(int milliseconds);

    // True when the default reader holds at least one finger of this user. It blocks, for at
    // most two bounded calls, since the login page asks once while it is built.
    Q_INVOKABLE bool isBiometricSupported() const;
    // Starts a check that ends in authSuccess or authError; ignored while one runs.
    Q_INVOKABLE void auth();

signals:
    void authSuccess();
    void authError(int errorCode);
    void verifyTimeoutChanged();

private:
    void checkFinished();

    int m_verifyTimeout = defaultVerifyTimeout;
    FingerprintCheck *m_check = nullptr;
};

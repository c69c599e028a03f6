#pragma once

#include "Biometric.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantList>

#include <chrono>
#include <optional>

class QDBusPendingCall;

// One verification on fprintd's default reader: finds the reader, claims it, starts a check
// for any enrolled finger and waits for the decision. Whatever the outcome, the reader is
// stopped and released before the check reports, so the next one finds it free. Every step
// is asynchronous and bounded, the whole check by the time-out.
class FingerprintCheck : public QObject
{
    Q_OBJECT

public:
    FingerprintCheck(const QDBusConnection &bus, std::chrono::milliseconds timeout,
                     QObject *parent = nullptr);
    // A check given up half way still leaves the reader free for other programs.
    ~FingerprintCheck() override;

    void start();

signals:
    void matched();
    void failed(Biometric::AuthError error);

private slots:
    void onVerifyStatus(const QString &result, bool done);
    void onOwnerChanged();

private:
    enum class Step { FindReader, Claim, VerifyStart, VerifyStop, Release };

    QDBusMessage message(Step step) const;
    QDBusMessage deviceCall(const QString &method, const QVariantList &arguments = {}) const;
    void send(Step step);
    void answered(Step step, const QDBusPendingCall &call);
    void follow(Step step, const QDBusPendingCall &call);
    // error empty: the finger matched.
    void decide(std::optional<Biometric::AuthError> error);
    void cleanUp();

    QDBusConnection m_bus;
    QTimer m_deadline;
    QString m_device;
    Step m_step = Step::FindReader;
    bool m_callPending = false;
    bool m_claimed = false;
    bool m_verifying = false;
    bool m_decided = false;
    std::optional<Biometric::AuthError> m_error;
};

#include "Biometric.h"

#include "FingerprintCheck.h"
#include "Fprintd.h"
#include "PhoneServices.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QStringList>

#include <utility>

namespace {

// The login page waits for this answer while it is built.
constexpr int supportQueryTimeoutMs = 1000;

} // namespace

Biometric::Biometric(QObject *parent) : QObject(parent) {}

void Biometric::setVerifyTimeout(int milliseconds)
{
    if (milliseconds < 1 || milliseconds == m_verifyTimeout)
        return;
    m_verifyTimeout = milliseconds;
    emit verifyTimeoutChanged();
}

bool Biometric::isBiometricSupported() const
{
    if (!PhoneServices::enabled())
        return false;
    const QDBusConnection bus = QDBusConnection::systemBus();
    // The typed replies refuse an answer of the wrong type as an error.
    const QDBusReply<QDBusObjectPath> reader =
        bus.call(QDBusMessage::createMethodCall(Fprintd::service, Fprintd::managerPath,
                                                Fprintd::managerInterface,
                                                QStringLiteral("GetDefaultDevice")),
                 QDBus::Block, supportQueryTimeoutMs);
    if (!reader.isValid()) {
        qCDebug(lcFingerprint) << "no reader:" << reader.error().message();
        return false;
    }
    QDBusMessage enrolled = QDBusMessage::createMethodCall(Fprintd::service, reader.value().path(),
                                                           Fprintd::deviceInterface,
                                                           QStringLiteral("ListEnrolledFingers"));
    enrolled << Fprintd::userName();
    const QDBusReply<QStringList> fingers = bus.call(enrolled, QDBus::Block, supportQueryTimeoutMs);
    if (!fingers.isValid()) {
        qCDebug(lcFingerprint) << "no enrolled finger:" << fingers.error().message();
        return false;
    }
    return !fingers.value().isEmpty();
}

void Biometric::auth()
{
    if (!PhoneServices::enabled() || m_check)
        return;
    m_check = new FingerprintCheck(QDBusConnection::systemBus(),
                                   std::chrono::milliseconds(m_verifyTimeout), this);
    connect(m_check, &FingerprintCheck::matched, this, [this] {
        checkFinished();
        emit authSuccess();
    });
    connect(m_check, &FingerprintCheck::failed, this, [this](AuthError error) {
        checkFinished();
        emit authError(error);
    });
    m_check->start();
}

// The next check may start from the handlers of this one's outcome.
void Biometric::checkFinished()
{
    std::exchange(m_check, nullptr)->deleteLater();
}

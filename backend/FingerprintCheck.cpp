#include "FingerprintCheck.h"

#include "Fprintd.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace {

constexpr int callTimeoutMs = 5000;

QString fprintdError(const char *name)
{
    return QStringLiteral("net.reactivated.Fprint.Error.") + QLatin1String(name);
}

Biometric::AuthError errorFor(const QDBusError &error)
{
    const QString name = error.name();
    if (error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::Disconnected ||
        name == fprintdError("NoSuchDevice") || name == fprintdError("NoEnrolledPrints"))
        return Biometric::Unavailable;
    if (name == fprintdError("AlreadyInUse") || name == fprintdError("PermissionDenied"))
        return Biometric::Refused;
    return Biometric::ReaderFailed;
}

} // namespace

FingerprintCheck::FingerprintCheck(const QDBusConnection &bus, std::chrono::milliseconds timeout,
                                   QObject *parent)
    : QObject(parent), m_bus(bus)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(timeout);
    connect(&m_deadline, &QTimer::timeout, this, [this] { decide(Biometric::TimedOut); });
}

FingerprintCheck::~FingerprintCheck()
{
    // Nobody waits for these answers: they are sent without asking for one.
    const auto pending = [this](Step step) { return m_callPending && m_step == step; };
    if (m_verifying || pending(Step::VerifyStart))
        m_bus.send(message(Step::VerifyStop));
    if (m_claimed || pending(Step::Claim))
        m_bus.send(message(Step::Release));
}

void FingerprintCheck::start()
{
    auto *owner = new QDBusServiceWatcher(Fprintd::service, m_bus,
                                          QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(owner, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &FingerprintCheck::onOwnerChanged);
    m_deadline.start();
    send(Step::FindReader);
}

QDBusMessage FingerprintCheck::message(Step step) const
{
    switch (step) {
    case Step::FindReader:
        return QDBusMessage::createMethodCall(Fprintd::service, Fprintd::managerPath,
                                              Fprintd::managerInterface,
                                              QStringLiteral("GetDefaultDevice"));
    case Step::Claim:
        // An empty user name claims the reader for the caller.
        return deviceCall(QStringLiteral("Claim"), {QString()});
    case Step::VerifyStart:
        return deviceCall(QStringLiteral("VerifyStart"), {QStringLiteral("any")});
    case Step::VerifyStop:
        return deviceCall(QStringLiteral("VerifyStop"));
    case Step::Release:
        return deviceCall(QStringLiteral("Release"));
    }
    Q_UNREACHABLE_RETURN(QDBusMessage());
}

QDBusMessage FingerprintCheck::deviceCall(const QString &method,
                                          const QVariantList &arguments) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(Fprintd::service, m_device,
                                                       Fprintd::deviceInterface, method);
    call.setArguments(arguments);
    return call;
}

void FingerprintCheck::send(Step step)
{
    m_step = step;
    m_callPending = true;
    auto *watcher =
        new QDBusPendingCallWatcher(m_bus.asyncCall(message(step), callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, step](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                answered(step, *call);
            });
}

void FingerprintCheck::answered(Step step, const QDBusPendingCall &call)
{
    m_callPending = false;
    const bool done = !call.isError();
    switch (step) {
    case Step::FindReader:
        break;
    case Step::Claim:
        m_claimed = done;
        break;
    case Step::VerifyStart:
        m_verifying = done;
        break;
    case Step::VerifyStop:
        // A stop that failed has nothing left to stop; trying again could go on for ever.
        m_verifying = false;
        break;
    case Step::Release:
        m_claimed = false;
        break;
    }
    if (m_decided)
        cleanUp();
    else
        follow(step, call);
}

void FingerprintCheck::follow(Step step, const QDBusPendingCall &call)
{
    if (step == Step::FindReader) {
        // The typed reply also refuses an answer that is not an object path.
        const QDBusPendingReply<QDBusObjectPath> reader = call;
        if (reader.isError()) {
            qCDebug(lcFingerprint) << "no reader:" << reader.error().message();
            decide(errorFor(reader.error()));
            return;
        }
        m_device = reader.value().path();
        // Naming the service makes the bus deliver only what its current owner sends; the
        // status is watched before the check starts so no answer slips past.
        m_bus.connect(Fprintd::service, m_device, Fprintd::deviceInterface,
                      QStringLiteral("VerifyStatus"), this, SLOT(onVerifyStatus(QString, bool)));
        send(Step::Claim);
        return;
    }
    if (call.isError()) {
        qCDebug(lcFingerprint) << "check refused:" << call.error().name() << call.error().message();
        decide(errorFor(call.error()));
        return;
    }
    if (step == Step::Claim)
        send(Step::VerifyStart);
}

void FingerprintCheck::onVerifyStatus(const QString &result, bool done)
{
    // Only the check this object started decides, and only once.
    if (m_decided || m_step != Step::VerifyStart)
        return;
    if (result == QLatin1String("verify-match"))
        decide(std::nullopt);
    else if (result == QLatin1String("verify-no-match"))
        decide(Biometric::NoMatch);
    else if (done || result == QLatin1String("verify-disconnected") ||
             result == QLatin1String("verify-unknown-error"))
        decide(Biometric::ReaderFailed);
    // Otherwise the reader asks for another touch and goes on waiting.
}

void FingerprintCheck::onOwnerChanged()
{
    // Until an instance has named the reader, a change is the service starting on demand; the
    // bus keeps its news in order with that answer, so any later change means it went away.
    if (m_device.isEmpty())
        return;
    // The claim and the check went with the instance that held them.
    m_claimed = false;
    m_verifying = false;
    decide(Biometric::ReaderFailed);
}

void FingerprintCheck::decide(std::optional<Biometric::AuthError> error)
{
    if (m_decided)
        return;
    m_decided = true;
    m_error = error;
    m_deadline.stop();
    if (!m_device.isEmpty())
        m_bus.disconnect(Fprintd::service, m_device, Fprintd::deviceInterface,
                         QStringLiteral("VerifyStatus"), this, SLOT(onVerifyStatus(QString, bool)));
    cleanUp();
}

void FingerprintCheck::cleanUp()
{
    // A call still out is answered first: what it did decides what is left to undo.
    if (m_callPending)
        return;
    if (m_verifying)
        send(Step::VerifyStop);
    else if (m_claimed)
        send(Step::Release);
    else if (m_error)
        emit failed(*m_error);
    else
        emit matched();
}

#include "FaultGate.h"

#include <QHttpServerRequest>
#include <QMetaEnum>
#include <QTcpSocket>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

namespace devserver {

namespace {

using StatusCode = QHttpServerResponder::StatusCode;

// A whole HTTP/1.1 reply written past the HTTP server, declaring `declaredLength` bytes of body;
// the connection closes after it, as nothing else may follow on it.
QByteArray rawReply(StatusCode status, const QByteArray &mimeType, const QByteArray &body,
                    qint64 declaredLength)
{
    const char *reason = QMetaEnum::fromType<StatusCode>().valueToKey(int(status));
    return "HTTP/1.1 " + QByteArray::number(int(status)) + ' ' + QByteArray(reason) +
           "\r\nContent-Type: " + mimeType +
           "\r\nContent-Length: " + QByteArray::number(declaredLength) +
           "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

FaultGate::FaultGate(const FaultPlan &plan, quint32 defaultSeed, QObject *parent)
    : QObject(parent), m_faults(plan, defaultSeed)
{
    m_clock.start();
    m_outageCheck.setInterval(100);
    connect(&m_outageCheck, &QTimer::timeout, this, &FaultGate::checkOutage);
    if (m_faults.hasSchedule())
        m_outageCheck.start();
}

FaultGate::~FaultGate() = default;

void FaultGate::watch(QTcpSocket *socket)
{
    const QPair<quint16, quint16> key(socket->localPort(), socket->peerPort());
    m_sockets.insert(key, socket);
    connect(socket, &QAbstractSocket::disconnected, this, [this, socket] { releaseHeld(socket); });
    connect(socket, &QObject::destroyed, this, [this, key] {
        if (m_sockets.value(key).isNull())
            m_sockets.remove(key);
    });
}

QTcpSocket *FaultGate::socketOf(const QHttpServerRequest &request) const
{
    return m_sockets.value({request.localPort(), request.remotePort()});
}

bool FaultGate::outageActive() const
{
    return m_faults.inOutage(m_clock.elapsed());
}

void FaultGate::startOutage(qint64 durationMs, bool keepHeld)
{
    m_keepHeld = keepHeld;
    m_faults.startOutage(m_clock.elapsed(), durationMs);
    watchOutage();
    checkOutage();
}

void FaultGate::serve(FaultPlan::Kind kind, const QHttpServerRequest &request,
                      QHttpServerResponder &responder, const Handler &handler)
{
    QTcpSocket *socket = socketOf(request);
    if (outageActive()) {
        log(kind, request, QStringLiteral("outage"));
        hold(socket, responder, true);
        return;
    }
    const FaultPlan::Fault fault = m_faults.draw(kind);
    if (fault != FaultPlan::Fault::None)
        log(kind, request, FaultPlan::faultName(fault));
    switch (fault) {
    case FaultPlan::Fault::None:
        responder.sendResponse(handler());
        return;
    case FaultPlan::Fault::Stall:
        hold(socket, responder, false);
        return;
    case FaultPlan::Fault::Reset:
        reset(socket);
        return;
    case FaultPlan::Fault::Status500:
        responder.write(QByteArrayLiteral("injected fault\n"), QByteArrayLiteral("text/plain"),
                        StatusCode::InternalServerError);
        return;
    case FaultPlan::Fault::Status404:
        responder.write(QByteArrayLiteral("injected fault\n"), QByteArrayLiteral("text/plain"),
                        StatusCode::NotFound);
        return;
    case FaultPlan::Fault::Garbage:
        responder.write(m_faults.garbage(kind), QByteArrayLiteral("application/octet-stream"));
        return;
    case FaultPlan::Fault::Slow: {
        const QHttpServerResponse reply = handler();
        hold(socket, responder, false);
        dribble(socket,
                rawReply(reply.statusCode(), reply.mimeType(), reply.data(), reply.data().size()));
        return;
    }
    case FaultPlan::Fault::Truncate: {
        // Half the real reply under the real reply's length, then the end of the connection.
        const QHttpServerResponse reply = handler();
        const QByteArray body = reply.data();
        hold(socket, responder, false);
        if (socket) {
            socket->write(rawReply(reply.statusCode(), reply.mimeType(), body.left(body.size() / 2),
                                   body.size() + 1));
            socket->disconnectFromHost();
        }
        return;
    }
    }
}

void FaultGate::hold(QTcpSocket *socket, QHttpServerResponder &responder, bool byOutage)
{
    m_held.push_back(
        Held{socket, std::make_unique<QHttpServerResponder>(std::move(responder)), byOutage});
    if (byOutage)
        watchOutage();
}

void FaultGate::watchOutage()
{
    // Restarting a running timer would put its tick off for as long as requests keep coming.
    if (!m_outageCheck.isActive())
        m_outageCheck.start();
}

void FaultGate::releaseHeld(QTcpSocket *socket)
{
    m_held.remove_if([socket](const Held &held) { return held.socket == socket; });
}

void FaultGate::reset(QTcpSocket *socket)
{
    if (!socket)
        return;
#ifdef Q_OS_UNIX
    // No lingering: closing sends RST instead of FIN.
    const linger abortive{1, 0};
    ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                 sizeof abortive);
#endif
    socket->abort();
}

void FaultGate::dribble(QTcpSocket *socket, const QByteArray &bytes)
{
    if (!socket)
        return;
    const qsizetype step = qMax<qsizetype>(1, (bytes.size() + slowSteps - 1) / slowSteps);
    auto *timer = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    connect(timer, &QTimer::timeout, socket, [this, socket, timer, bytes, step, sent] {
        // An outage holds replies in flight too.
        if (outageActive())
            return;
        socket->write(bytes.mid(*sent, step));
        *sent += step;
        if (*sent >= bytes.size()) {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    timer->start(slowStepMs);
}

void FaultGate::checkOutage()
{
    const bool active = outageActive();
    if (active && !m_outageLogged) {
        qInfo("outage begins");
        m_outageLogged = true;
    } else if (!active && m_keepHeld) {
        for (Held &held : m_held)
            held.byOutage = false;
        if (m_outageLogged)
            qInfo("outage ends, its held requests left unanswered");
        m_outageLogged = false;
        m_keepHeld = false;
    } else if (!active) {
        QList<QPointer<QTcpSocket>> dropped;
        for (const Held &held : m_held) {
            if (held.byOutage)
                dropped.append(held.socket);
        }
        if (m_outageLogged || !dropped.isEmpty())
            qInfo("outage ends, %d held requests dropped", int(dropped.size()));
        for (const QPointer<QTcpSocket> &socket : std::as_const(dropped)) {
            if (socket)
                socket->abort();
        }
        m_held.remove_if([](const Held &held) { return held.byOutage; });
        m_outageLogged = false;
    }
    if (!active && !m_faults.hasSchedule())
        m_outageCheck.stop();
}

void FaultGate::log(FaultPlan::Kind kind, const QHttpServerRequest &request, const QString &fault)
{
    m_faults.count(kind, fault);
    qInfo().noquote() << "fault" << FaultPlan::kindName(kind) << request.url().path() << fault;
}

} // namespace devserver

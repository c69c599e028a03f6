#pragma once

#include "RequestFaults.h"

#include <QElapsedTimer>
#include <QHttpServerResponder>
#include <QHttpServerResponse>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <list>
#include <memory>

class QHttpServerRequest;
class QTcpSocket;

namespace devserver {

// Where --faults meet the wire: every faultable route answers through serve(), which gives the
// request its normal answer or the fault drawn for it, and holds requests during an outage.
// Requests held by an outage are dropped (their connections closed) when it ends: a client gave
// up on them long before, and answering late would run commands nobody waits for any more.
class FaultGate : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<QHttpServerResponse()>;

    FaultGate(const FaultPlan &plan, quint32 defaultSeed, QObject *parent = nullptr);
    ~FaultGate() override;

    // Answers `request` with `handler`'s response, or applies the fault drawn for it; the
    // handler does not run for a request that gets no normal answer.
    void serve(FaultPlan::Kind kind, const QHttpServerRequest &request,
               QHttpServerResponder &responder, const Handler &handler);

    // A connection accepted on either port.
    void watch(QTcpSocket *socket);

    // keepHeld: the requests the outage holds stay unanswered after it, as a server that lost
    // them would leave them, instead of having their connections closed.
    void startOutage(qint64 durationMs, bool keepHeld = false);
    bool outageActive() const;
    QJsonObject counts() const { return m_faults.counts(); }

    // How long a slow reply takes to arrive whole.
    static constexpr int slowSteps = 40;
    static constexpr int slowStepMs = 100;

private:
    // A request left unanswered, with its responder kept so the HTTP server writes nothing
    // and reads no further request from that connection.
    struct Held
    {
        QPointer<QTcpSocket> socket;
        std::unique_ptr<QHttpServerResponder> responder;
        bool byOutage = false;
    };

    QTcpSocket *socketOf(const QHttpServerRequest &request) const;
    void hold(QTcpSocket *socket, QHttpServerResponder &responder, bool byOutage);
    void releaseHeld(QTcpSocket *socket);
    void reset(QTcpSocket *socket);
    void dribble(QTcpSocket *socket, const QByteArray &bytes);
    void watchOutage();
    void checkOutage();
    void log(FaultPlan::Kind kind, const QHttpServerRequest &request, const QString &fault);

    RequestFaults m_faults;
    QElapsedTimer m_clock;
    QTimer m_outageCheck;
    bool m_outageLogged = false;
    bool m_keepHeld = false;
    QHash<QPair<quint16, quint16>, QPointer<QTcpSocket>> m_sockets; // by local and peer port
    std::list<Held> m_held;
};

} // namespace devserver

#include "FakePeer.h"

#include <QHttpServer>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QIODevice>
#include <QMetaEnum>
#include <QSslServer>
#include <QTcpSocket>
#include <QTimer>

#include <optional>

struct FakePeer::Exchange
{
    QPointer<QAbstractSocket> socket;
    std::optional<QHttpServerResponder> responder; // gone once answered

    bool answer(const QByteArray &body, int status, const QByteArray &contentType)
    {
        if (!responder || !socket || socket->state() != QAbstractSocket::ConnectedState)
            return false;
        responder->write(body, contentType, QHttpServerResponder::StatusCode(status));
        responder.reset();
        return true;
    }

    void stream(QIODevice *body)
    {
        if (responder && socket && socket->state() == QAbstractSocket::ConnectedState) {
            responder->write(body, "application/octet-stream");
            responder.reset();
        } else {
            delete body;
        }
    }
};

namespace {

// A body of a given size, made up where it is read: a prefix, then a unit over and over.
class RepeatingBody : public QIODevice
{
public:
    RepeatingBody(const QByteArray &prefix, const QByteArray &unit, qint64 size)
        : m_prefix(prefix), m_unit(unit.isEmpty() ? QByteArray(1, '\0') : unit), m_size(size)
    {
        open(QIODevice::ReadOnly);
    }

    qint64 size() const override { return m_size; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 count = qMin(maxSize, m_size - pos());
        for (qint64 i = 0, at = pos(); i < count; ++i, ++at) {
            data[i] = at < m_prefix.size() ? m_prefix.at(at)
                                           : m_unit.at((at - m_prefix.size()) % m_unit.size());
        }
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_prefix;
    QByteArray m_unit;
    qint64 m_size;
};

// Tells of every connection it hands to the HTTP server, so that a request can be matched with
// its socket by the remote port and that socket closed without an answer.
template <typename Base> class TrackingServer : public Base
{
public:
    explicit TrackingServer(std::function<void(QTcpSocket *)> accepted)
        : m_accepted(std::move(accepted))
    {
    }

    QTcpSocket *nextPendingConnection() override
    {
        QTcpSocket *socket = Base::nextPendingConnection();
        if (socket)
            m_accepted(socket);
        return socket;
    }

private:
    std::function<void(QTcpSocket *)> m_accepted;
};

} // namespace

FakePeer::FakePeer(QObject *parent)
    : QObject(parent), m_http(std::make_unique<QHttpServer>()),
      m_fallback([](const Request &) { return hold(); })
{
    // No routes: every request comes to the one handler, which keeps the responder.
    m_http->setMissingHandler(
        this, [this](const QHttpServerRequest &request, QHttpServerResponder &responder) {
            serve(request, responder);
        });
}

FakePeer::~FakePeer()
{
    // The responders end before their server, and the server before the records that its
    // closing connections mark.
    m_exchanges.clear();
    m_http.reset();
}

bool FakePeer::listen(quint16 port)
{
    if (m_server)
        return m_server->isListening() ||
               m_server->listen(QHostAddress::LocalHost, port ? port : m_port);
    return start(new TrackingServer<QTcpServer>([this](QTcpSocket *s) { accepted(s); }), port);
}

bool FakePeer::listenTls(const QSslCertificate &certificate, const QSslKey &key, quint16 port)
{
    auto *server = new TrackingServer<QSslServer>([this](QTcpSocket *s) { accepted(s); });
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate);
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    server->setSslConfiguration(tls);
    m_scheme = QStringLiteral("https");
    return start(server, port);
}

bool FakePeer::start(QTcpServer *server, quint16 port)
{
    if (!server->listen(QHostAddress::LocalHost, port) || !m_http->bind(server)) {
        delete server;
        return false;
    }
    m_server = server;
    m_port = server->serverPort();
    return true;
}

void FakePeer::stop()
{
    if (m_server)
        m_server->close();
    // Kept-alive connections would still carry requests.
    const QList<QPointer<QAbstractSocket>> open = m_sockets.values();
    for (const QPointer<QAbstractSocket> &socket : open) {
        if (socket)
            socket->abort();
    }
}

bool FakePeer::isListening() const
{
    return m_server && m_server->isListening();
}

QString FakePeer::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_scheme).arg(m_port);
}

void FakePeer::setFallback(const Step &step)
{
    m_fallback = [step](const Request &) { return step; };
}

bool FakePeer::answer(int index, const QByteArray &body, int status, const QByteArray &contentType)
{
    const std::shared_ptr<Exchange> exchange = m_requests.value(index).exchange.lock();
    return exchange && exchange->answer(body, status, contentType);
}

void FakePeer::accepted(QAbstractSocket *socket)
{
    const quint16 port = socket->peerPort();
    m_sockets.insert(port, socket);
    connect(socket, &QAbstractSocket::disconnected, this, [this, socket, port] {
        if (m_sockets.value(port) == socket)
            m_sockets.remove(port);
        for (Request &request : m_requests) {
            const std::shared_ptr<Exchange> exchange = request.exchange.lock();
            if (exchange && exchange->socket == socket)
                request.connectionClosed = true;
        }
        m_exchanges.removeIf([socket](const std::shared_ptr<Exchange> &exchange) {
            return !exchange->socket || exchange->socket == socket;
        });
    });
}

void FakePeer::serve(const QHttpServerRequest &request, QHttpServerResponder &responder)
{
    auto exchange = std::make_shared<Exchange>();
    exchange->socket = m_sockets.value(request.remotePort());
    exchange->responder.emplace(std::move(responder));
    m_exchanges.append(exchange);

    Request record;
    record.method = QByteArray(QMetaEnum::fromType<QHttpServerRequest::Method>().valueToKey(
                                   int(request.method())))
                        .toUpper();
    record.path = request.url().path();
    record.query = request.query();
    record.headers = request.headers();
    record.contentType =
        record.headers.value(QHttpHeaders::WellKnownHeader::ContentType).toByteArray();
    record.body = request.body();
    record.exchange = exchange;
    m_requests.append(record);
    const int index = int(m_requests.size()) - 1;

    if (const auto path = m_replies.constFind(record.path); path != m_replies.cend())
        perform(exchange, *path);
    else
        perform(exchange, m_script.isEmpty() ? m_fallback(record) : m_script.dequeue());
    emit requestReceived(index);
}

void FakePeer::perform(const std::shared_ptr<Exchange> &exchange, const Step &step)
{
    switch (step.action) {
    case Action::Reply:
        if (step.delay > 0) {
            QTimer::singleShot(step.delay, this, [weak = std::weak_ptr<Exchange>(exchange), step] {
                if (const std::shared_ptr<Exchange> exchange = weak.lock())
                    exchange->answer(step.body, step.status, step.contentType);
            });
        } else {
            exchange->answer(step.body, step.status, step.contentType);
        }
        break;
    case Action::Stream:
        exchange->stream(new RepeatingBody(step.body, step.unit, step.streamSize));
        break;
    case Action::Close:
        // After the handler has returned to the HTTP server.
        if (exchange->socket)
            QMetaObject::invokeMethod(exchange->socket, &QAbstractSocket::disconnectFromHost,
                                      Qt::QueuedConnection);
        break;
    case Action::Hold:
        break;
    }
}

#include "FakePeer.h"

#include <QSslServer>
#include <QTcpSocket>

namespace {

const char bufferProperty[] = "fakePeerBuffer";

QByteArray headerValue(const QList<QByteArray> &lines, const QByteArray &name)
{
    for (const QByteArray &line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.first(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.sliced(colon + 1).trimmed();
    }
    return {};
}

} // namespace

FakePeer::FakePeer(QObject *parent) : QObject(parent) {}

bool FakePeer::listen()
{
    return start(std::make_unique<QTcpServer>());
}

bool FakePeer::listenTls(const QSslCertificate &certificate, const QSslKey &key)
{
    auto server = std::make_unique<QSslServer>();
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate);
    tls.setPrivateKey(key);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    server->setSslConfiguration(tls);
    m_scheme = QStringLiteral("https");
    return start(std::move(server));
}

bool FakePeer::start(std::unique_ptr<QTcpServer> server)
{
    m_server = std::move(server);
    // Emitted only once a TLS handshake is through, and at once for plain TCP.
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, &FakePeer::accept);
    return m_server->listen(QHostAddress::LocalHost);
}

QString FakePeer::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_scheme).arg(m_server->serverPort());
}

bool FakePeer::answer(int index, const QByteArray &body, int status)
{
    QTcpSocket *socket = m_requests.value(index).socket;
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return false;
    socket->write("HTTP/1.1 " + QByteArray::number(status) +
                  " Status\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
    return true;
}

void FakePeer::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            markClosed(socket);
            socket->deleteLater();
        });
    }
}

void FakePeer::readFrom(QTcpSocket *socket)
{
    QByteArray buffer = socket->property(bufferProperty).toByteArray() + socket->readAll();
    for (;;) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            break;
        const QList<QByteArray> lines = buffer.first(headerEnd).split('\n');
        const qsizetype length = headerValue(lines, "Content-Length").toLongLong();
        const qsizetype total = headerEnd + 4 + length;
        if (buffer.size() < total)
            break;

        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        Request request;
        request.method = requestLine.value(0);
        request.path = requestLine.value(1);
        request.contentType = headerValue(lines, "Content-Type");
        request.body = buffer.sliced(headerEnd + 4, length);
        request.socket = socket;
        buffer.remove(0, total);

        m_requests.append(request);
        const int index = int(m_requests.size()) - 1;
        perform(index, m_script.isEmpty() ? m_fallback : m_script.dequeue());
        emit requestReceived(index);
        if (!socket->isOpen())
            return;
    }
    socket->setProperty(bufferProperty, buffer);
}

void FakePeer::markClosed(QTcpSocket *socket)
{
    for (Request &request : m_requests) {
        if (request.socket == socket)
            request.connectionClosed = true;
    }
}

void FakePeer::perform(int index, const Step &step)
{
    switch (step.action) {
    case Action::Reply:
        answer(index, step.body, step.status);
        break;
    case Action::Close:
        m_requests[index].socket->disconnectFromHost();
        break;
    case Action::Hold:
        break;
    }
}

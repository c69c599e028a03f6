#include "TestHttpServer.h"

#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace {

const QByteArray headerEnd = QByteArrayLiteral("\r\n\r\n");

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

QByteArray toBytes(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QByteArray)
        return value.toByteArray();
    return value.toString().toUtf8();
}

} // namespace

TestHttpServer::TestHttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::onNewConnection);
}

void TestHttpServer::setPort(int port)
{
    if (m_port == port)
        return;
    m_port = port;
    emit portChanged();
}

QString TestHttpServer::url() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

void TestHttpServer::componentComplete()
{
    listen();
}

bool TestHttpServer::listen()
{
    if (m_server.isListening())
        return true;
    if (!m_server.listen(QHostAddress::LocalHost, quint16(m_port))) {
        qWarning("TestHttpServer: cannot listen on port %d: %s", m_port,
                 qPrintable(m_server.errorString()));
        return false;
    }
    const int bound = m_server.serverPort();
    if (bound != m_port) {
        m_port = bound;
        emit portChanged();
    }
    emit urlChanged();
    emit listeningChanged();
    return true;
}

void TestHttpServer::close()
{
    if (!m_server.isListening())
        return;
    m_server.close();
    // Kept-alive connections would still carry requests: a closed peer refuses everything.
    const QList<QTcpSocket *> sockets = m_buffers.keys();
    for (QTcpSocket *socket : sockets)
        socket->abort();
    emit listeningChanged();
}

void TestHttpServer::setReply(const QString &path, const QVariantMap &reply)
{
    Reply r;
    r.status = reply.value(QStringLiteral("status"), 200).toInt();
    r.body = toBytes(reply.value(QStringLiteral("body")));
    r.delay = reply.value(QStringLiteral("delay"), 0).toInt();
    r.silent = reply.value(QStringLiteral("silent"), false).toBool();
    r.drop = reply.value(QStringLiteral("drop"), false).toBool();
    m_replies.insert(path, r);
}

void TestHttpServer::clearRequests()
{
    if (m_requests.isEmpty())
        return;
    m_requests.clear();
    emit requestsChanged();
}

void TestHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        m_buffers.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

// Parses every complete request in the connection's buffer; keep-alive connections may carry
// several one after another.
void TestHttpServer::serve(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    for (;;) {
        const qsizetype end = buffer.indexOf(headerEnd);
        if (end < 0)
            return;
        const QList<QByteArray> lines = buffer.left(end).split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        QVariantMap headers;
        qsizetype contentLength = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon < 0)
                continue;
            const QString name = QString::fromLatin1(lines[i].left(colon)).trimmed().toLower();
            const QString value = QString::fromLatin1(lines[i].mid(colon + 1)).trimmed();
            headers.insert(name, value);
            if (name == QLatin1String("content-length"))
                contentLength = value.toLongLong();
        }
        const qsizetype bodyStart = end + headerEnd.size();
        if (buffer.size() < bodyStart + contentLength)
            return;

        const QString path =
            QUrl(QString::fromLatin1(requestLine.value(1))).path(QUrl::FullyDecoded);
        QVariantMap request;
        request.insert(QStringLiteral("method"), QString::fromLatin1(requestLine.value(0)));
        request.insert(QStringLiteral("path"), path);
        request.insert(QStringLiteral("headers"), headers);
        request.insert(QStringLiteral("body"), buffer.mid(bodyStart, contentLength));
        buffer.remove(0, bodyStart + contentLength);

        m_requests.append(request);
        emit requestsChanged();
        emit requestReceived(request);
        if (!answer(socket, path))
            return;
    }
}

// Returns false when the connection is being dropped, so no later request on it is served.
bool TestHttpServer::answer(QTcpSocket *socket, const QString &path)
{
    const Reply reply = m_replies.value(path);
    if (reply.silent)
        return true;
    if (reply.drop) {
        // Deferred: aborting here would delete the buffer the caller is still parsing.
        QMetaObject::invokeMethod(socket, &QTcpSocket::abort, Qt::QueuedConnection);
        return false;
    }
    const QByteArray message = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' +
                               reasonPhrase(reply.status) +
                               "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                               QByteArray::number(reply.body.size()) + "\r\n\r\n" + reply.body;
    QTimer::singleShot(reply.delay, socket, [socket, message] { socket->write(message); });
    return true;
}

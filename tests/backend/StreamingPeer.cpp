#include "StreamingPeer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

constexpr qsizetype pieceSize = 64 * 1024;
constexpr const char *sentProperty = "streamingPeerSent";

} // namespace

StreamingPeer::StreamingPeer(const QByteArray &prefix, const QByteArray &unit, qsizetype totalSize,
                             QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this)), m_prefix(prefix),
      m_piece(unit.repeated(qMax<qsizetype>(1, pieceSize / unit.size()))), m_totalSize(totalSize)
{
    connect(m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server->nextPendingConnection())
            serve(socket);
    });
}

bool StreamingPeer::listen()
{
    return m_server->listen(QHostAddress::LocalHost);
}

QString StreamingPeer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server->serverPort());
}

void StreamingPeer::serve(QTcpSocket *socket)
{
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    // The request itself does not matter; answer once its head is in.
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        socket->readAll();
        if (socket->property(sentProperty).isValid())
            return;
        socket->setProperty(sentProperty, qsizetype(0));
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                      "Content-Length: " +
                      QByteArray::number(m_totalSize) + "\r\n\r\n");
        sendMore(socket);
    });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket] {
        if (socket->bytesToWrite() == 0)
            sendMore(socket);
    });
}

void StreamingPeer::sendMore(QTcpSocket *socket)
{
    const qsizetype sent = socket->property(sentProperty).value<qsizetype>();
    if (sent >= m_totalSize)
        return;
    QByteArray piece = sent == 0 ? m_prefix + m_piece : m_piece;
    piece.truncate(m_totalSize - sent);
    socket->setProperty(sentProperty, sent + piece.size());
    socket->write(piece);
}

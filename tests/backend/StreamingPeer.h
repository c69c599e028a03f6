#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;

// An HTTP peer on 127.0.0.1 that answers every request with one long body made up as it goes: a
// prefix, then a unit repeated up to the total size, written a piece at a time as the socket
// drains. So a reply of any size costs this process almost nothing on the sending side, and what
// the process holds beyond that is the client's doing.
class StreamingPeer : public QObject
{
    Q_OBJECT

public:
    StreamingPeer(const QByteArray &prefix, const QByteArray &unit, qsizetype totalSize,
                  QObject *parent = nullptr);

    bool listen();
    QString baseUrl() const;

private:
    void serve(QTcpSocket *socket);
    void sendMore(QTcpSocket *socket);

    QTcpServer *m_server;
    QByteArray m_prefix;
    QByteArray m_piece; // the unit repeated to about 64 KiB
    qsizetype m_totalSize;
};

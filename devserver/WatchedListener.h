#pragma once

#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace devserver {

// A listener (QTcpServer or QSslServer) that shows every connection it hands to the HTTP
// server, so faults can act on a request's own socket.
template <typename Listener> class WatchedListener : public Listener
{
public:
    using Watcher = std::function<void(QTcpSocket *)>;

    WatchedListener(Watcher watcher, QObject *parent)
        : Listener(parent), m_watcher(std::move(watcher))
    {
    }

    QTcpSocket *nextPendingConnection() override
    {
        QTcpSocket *socket = Listener::nextPendingConnection();
        if (socket)
            m_watcher(socket);
        return socket;
    }

private:
    Watcher m_watcher;
};

} // namespace devserver

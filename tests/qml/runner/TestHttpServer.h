#pragma once

#include <QHash>
#include <QObject>
#include <QQmlParserStatus>
#include <QTcpServer>
#include <QVariantList>
#include <QVariantMap>

class QTcpSocket;

// A scriptable HTTP/1.1 peer on 127.0.0.1 for the document tests. Each path gets a scripted
// reply (status, raw body bytes, delay, or no answer at all); every request is recorded.
class TestHttpServer : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(int port READ port WRITE setPort NOTIFY portChanged)
    Q_PROPERTY(QString url READ url NOTIFY urlChanged)
    Q_PROPERTY(bool listening READ isListening NOTIFY listeningChanged)
    Q_PROPERTY(QVariantList requests READ requests NOTIFY requestsChanged)
    Q_PROPERTY(int requestCount READ requestCount NOTIFY requestsChanged)

public:
    explicit TestHttpServer(QObject *parent = nullptr);

    int port() const { return m_port; }
    void setPort(int port);
    QString url() const;
    bool isListening() const { return m_server.isListening(); }
    QVariantList requests() const { return m_requests; }
    int requestCount() const { return int(m_requests.size()); }

    // reply keys: status (int, 200), body (text or ArrayBuffer), delay (ms, 0),
    // silent (bool: never answer), drop (bool: close the connection without an answer).
    Q_INVOKABLE void setReply(const QString &path, const QVariantMap &reply);
    Q_INVOKABLE void clearRequests();
    // Stops listening, so the port refuses connections; listen() takes it again.
    Q_INVOKABLE void close();
    Q_INVOKABLE bool listen();

    void classBegin() override {}
    void componentComplete() override;

signals:
    void portChanged();
    void urlChanged();
    void listeningChanged();
    void requestsChanged();
    void requestReceived(const QVariantMap &request);

private:
    struct Reply
    {
        int status = 404;
        QByteArray body;
        int delay = 0;
        bool silent = false;
        bool drop = false;
    };

    void onNewConnection();
    void serve(QTcpSocket *socket);
    bool answer(QTcpSocket *socket, const QString &path);

    QTcpServer m_server;
    int m_port = 0;
    QHash<QString, Reply> m_replies;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QVariantList m_requests;
};

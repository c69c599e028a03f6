#pragma once

#include "FakePeer.h"

#include <QObject>
#include <QQmlParserStatus>
#include <QVariantList>
#include <QVariantMap>

// The shared FakePeer as the document tests see it: listening from the moment the document is
// complete, a reply per path (404 for any other), and the requests as script values.
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
    bool isListening() const { return m_peer.isListening(); }
    QVariantList requests() const;
    int requestCount() const { return int(m_peer.requests().size()); }

    // reply keys: status (int, 200), body (text or ArrayBuffer), delay (ms, 0),
    // silent (bool: never answer), drop (bool: close the connection without an answer).
    Q_INVOKABLE void setReply(const QString &path, const QVariantMap &reply);
    Q_INVOKABLE void clearRequests();
    // Stops listening, so the port refuses connections; listen() takes it again.
    Q_INVOKABLE void close();
    Q_INVOKABLE bool listen();

    void classBegin() override {}
    void componentComplete() override { listen(); }

signals:
    void portChanged();
    void urlChanged();
    void listeningChanged();
    void requestsChanged();
    void requestReceived(const QVariantMap &request);

private:
    FakePeer m_peer;
    int m_port = 0;
};

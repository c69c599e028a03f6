#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>

#include <memory>

class QTcpSocket;

// A scriptable HTTP/1.1 peer on 127.0.0.1 for unit tests, over plain TCP or TLS. Each request it receives takes the next
// step of its script (or the fallback step once the script is used up): answer with given bytes,
// answer with an HTTP error status, close the connection without answering, or hold the request
// unanswered for later.
class FakePeer : public QObject
{
    Q_OBJECT

public:
    enum class Action { Reply, Close, Hold };

    struct Step
    {
        Action action = Action::Hold;
        QByteArray body;
        int status = 200;
    };

    struct Request
    {
        QByteArray method;
        QByteArray path;
        QByteArray contentType;
        QByteArray body;
        QPointer<QTcpSocket> socket;
        bool connectionClosed = false;
    };

    static Step reply(const QByteArray &body) { return {Action::Reply, body}; }
    static Step status(int code) { return {Action::Reply, {}, code}; }
    static Step close() { return {Action::Close, {}}; }
    static Step hold() { return {Action::Hold, {}}; }

    explicit FakePeer(QObject *parent = nullptr);

    bool listen();
    bool listenTls(const QSslCertificate &certificate, const QSslKey &key);
    QString baseUrl() const;

    void enqueue(const Step &step) { m_script.enqueue(step); }
    void setFallback(const Step &step) { m_fallback = step; }

    // Answers a held request; false when its connection is gone.
    bool answer(int index, const QByteArray &body, int status = 200);

    const QList<Request> &requests() const { return m_requests; }

signals:
    void requestReceived(int index);

private:
    bool start(std::unique_ptr<QTcpServer> server);
    void accept();
    void readFrom(QTcpSocket *socket);
    void markClosed(QTcpSocket *socket);
    void perform(int index, const Step &step);

    std::unique_ptr<QTcpServer> m_server;
    QString m_scheme = QStringLiteral("http");
    QQueue<Step> m_script;
    Step m_fallback;
    QList<Request> m_requests;
};

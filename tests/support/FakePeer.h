#pragma once

#include <QByteArray>
#include <QHttpHeaders>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QUrlQuery>

#include <functional>
#include <memory>

class QAbstractSocket;
class QHttpServer;
class QHttpServerRequest;
class QHttpServerResponder;
class QTcpServer;

// A scriptable HTTP peer on 127.0.0.1 for the tests, over plain TCP or TLS, built on QHttpServer.
// Every request is recorded, then met with a step: the one set for its path, else the next step
// of the script, else the fallback (a fixed step or one worked out from the request). A step
// answers (status, body, content type, after a delay), streams a long body made up as it goes,
// closes the connection without an answer, or holds the request unanswered for answer() later.
class FakePeer : public QObject
{
    Q_OBJECT

public:
    enum class Action { Reply, Stream, Close, Hold };

    struct Step
    {
        Action action = Action::Hold;
        QByteArray body = {};
        int status = 200;
        QByteArray contentType = "application/octet-stream";
        int delay = 0; // ms before the answer goes out
        // Stream: the body is followed by `unit` repeated, up to `streamSize` bytes in all.
        QByteArray unit = {};
        qint64 streamSize = 0;
    };

    // The connection a request came on and, until it is answered, its responder.
    struct Exchange;

    struct Request
    {
        QByteArray method;
        QString path; // decoded, without the query
        QUrlQuery query;
        QHttpHeaders headers;
        QByteArray contentType;
        QByteArray body;
        bool connectionClosed = false;
        std::weak_ptr<Exchange> exchange; // kept by the peer while the connection is open
    };

    using Handler = std::function<Step(const Request &)>;

    static Step reply(const QByteArray &body, int status = 200,
                      const QByteArray &contentType = "application/octet-stream")
    {
        return {Action::Reply, body, status, contentType};
    }
    static Step status(int code) { return reply({}, code); }
    // A reply of any size that costs this side almost nothing: it is made up as the socket
    // drains, so what the process holds beyond that is the client's doing.
    static Step stream(const QByteArray &prefix, const QByteArray &unit, qint64 totalSize)
    {
        return {.action = Action::Stream, .body = prefix, .unit = unit, .streamSize = totalSize};
    }
    static Step close() { return {.action = Action::Close}; }
    static Step hold() { return {.action = Action::Hold}; }

    explicit FakePeer(QObject *parent = nullptr);
    ~FakePeer() override;

    // Port 0 takes a free one; listening again after stop() takes the port it had.
    bool listen(quint16 port = 0);
    bool listenTls(const QSslCertificate &certificate, const QSslKey &key, quint16 port = 0);
    // Stops listening and cuts every open connection: the port refuses everything.
    void stop();
    bool isListening() const;
    quint16 port() const { return m_port; }
    QString baseUrl() const;

    void setReply(const QString &path, const Step &step) { m_replies.insert(path, step); }
    void enqueue(const Step &step) { m_script.enqueue(step); }
    void setFallback(const Step &step);
    void setFallback(Handler handler) { m_fallback = std::move(handler); }

    // Answers a held request; false when it was answered already or its connection is gone.
    bool answer(int index, const QByteArray &body, int status = 200,
                const QByteArray &contentType = "application/octet-stream");

    const QList<Request> &requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

signals:
    void requestReceived(int index);

private:
    bool start(QTcpServer *server, quint16 port);
    void accepted(QAbstractSocket *socket);
    void serve(const QHttpServerRequest &request, QHttpServerResponder &responder);
    void perform(const std::shared_ptr<Exchange> &exchange, const Step &step);

    std::unique_ptr<QHttpServer> m_http;
    QTcpServer *m_server = nullptr; // owned by m_http once bound
    QString m_scheme = QStringLiteral("http");
    quint16 m_port = 0;
    // Open connections by their remote port. Held as QAbstractSocket: a socket tells it is
    // disconnected from ~QAbstractSocket, when it is no longer a QTcpSocket to point at.
    QHash<quint16, QPointer<QAbstractSocket>> m_sockets;
    QHash<QString, Step> m_replies;
    QQueue<Step> m_script;
    Handler m_fallback;
    QList<Request> m_requests;
    // The exchanges of the open connections. A responder must not outlive the QHttpServer it
    // came from: in Qt 6.8 ending or writing to it after the server is gone crashes.
    QList<std::shared_ptr<Exchange>> m_exchanges;
};

#include "TestHttpServer.h"

namespace {

QVariantMap toScript(const FakePeer::Request &request)
{
    QVariantMap headers;
    for (qsizetype i = 0; i < request.headers.size(); ++i)
        headers.insert(request.headers.nameAt(i), QString::fromLatin1(request.headers.valueAt(i)));
    return {{QStringLiteral("method"), QString::fromLatin1(request.method)},
            {QStringLiteral("path"), request.path},
            {QStringLiteral("headers"), headers},
            {QStringLiteral("body"), request.body},
            {QStringLiteral("connectionClosed"), request.connectionClosed}};
}

} // namespace

TestHttpServer::TestHttpServer(QObject *parent) : QObject(parent)
{
    m_peer.setFallback(FakePeer::status(404));
    connect(&m_peer, &FakePeer::requestReceived, this, [this](int index) {
        emit requestsChanged();
        emit requestReceived(toScript(m_peer.requests().at(index)));
    });
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

QVariantList TestHttpServer::requests() const
{
    QVariantList list;
    for (const FakePeer::Request &request : m_peer.requests())
        list.append(toScript(request));
    return list;
}

bool TestHttpServer::listen()
{
    if (m_peer.isListening())
        return true;
    if (!m_peer.listen(quint16(m_port))) {
        qWarning("TestHttpServer: cannot listen on port %d", m_port);
        return false;
    }
    setPort(m_peer.port());
    emit urlChanged();
    emit listeningChanged();
    return true;
}

void TestHttpServer::close()
{
    if (!m_peer.isListening())
        return;
    m_peer.stop();
    emit listeningChanged();
}

void TestHttpServer::setReply(const QString &path, const QVariantMap &reply)
{
    const QVariant body = reply.value(QStringLiteral("body"));
    FakePeer::Step step =
        FakePeer::reply(body.metaType().id() == QMetaType::QByteArray ? body.toByteArray()
                                                                      : body.toString().toUtf8(),
                        reply.value(QStringLiteral("status"), 200).toInt());
    step.delay = reply.value(QStringLiteral("delay"), 0).toInt();
    if (reply.value(QStringLiteral("silent")).toBool())
        step = FakePeer::hold();
    else if (reply.value(QStringLiteral("drop")).toBool())
        step = FakePeer::close();
    m_peer.setReply(path, step);
}

void TestHttpServer::clearRequests()
{
    if (m_peer.requests().isEmpty())
        return;
    m_peer.clearRequests();
    emit requestsChanged();
}

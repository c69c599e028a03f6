#include "SmsGateway.h"

#include "SmsInbox.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

namespace {

constexpr int pollIntervalMs = 1000;
// A gateway that accepts a poll but never answers must not stop polling for good.
constexpr int pollTimeoutMs = 5000;

} // namespace

SmsGateway::SmsGateway(const QUrl &baseUrl, QObject *parent)
    : QObject(parent), m_baseUrl(baseUrl), m_network(new QNetworkAccessManager(this))
{
    m_network->setAutoDeleteReplies(true);
    m_pollTimer.setInterval(pollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &SmsGateway::poll);
    m_pollTimer.start();
}

void SmsGateway::send(const QString &to, const QString &text, quint8 simSlot)
{
    QNetworkRequest request(endpoint(QStringLiteral("send")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    const QJsonObject body{{QStringLiteral("to"), to},
                           {QStringLiteral("text"), text},
                           {QStringLiteral("simSlot"), int(simSlot)}};
    // As on a phone, the outcome is not waited for; the reply deletes itself when done.
    m_network->post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
}

void SmsGateway::poll()
{
    if (m_polling)
        return;
    QUrl url = endpoint(QStringLiteral("inbox"));
    url.setQuery(QStringLiteral("after=%1").arg(m_lastId));
    QNetworkRequest request(url);
    request.setTransferTimeout(pollTimeoutMs);
    QNetworkReply *reply = m_network->get(request);
    m_polling = true;
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        m_polling = false;
        readInbox(reply);
    });
}

void SmsGateway::readInbox(QNetworkReply *reply)
{
    if (reply->error() != QNetworkReply::NoError)
        return;
    for (const SmsInbox::Message &message : SmsInbox::newMessages(reply->readAll(), m_lastId)) {
        m_lastId = message.id;
        emit messageReceived(message.from, message.text);
    }
}

QUrl SmsGateway::endpoint(const QString &name) const
{
    QUrl url = m_baseUrl;
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QLatin1Char('/') + name);
    url.setQuery(QString());
    return url;
}

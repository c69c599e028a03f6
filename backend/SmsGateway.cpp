#include "SmsGateway.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

#include <algorithm>
#include <vector>

namespace {

constexpr int pollIntervalMs = 1000;
// A gateway that accepts a poll but never answers must not stop polling for good.
constexpr int pollTimeoutMs = 5000;

struct InboxMessage
{
    qint64 id;
    QString from;
    QString text;
};

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
    const QJsonArray entries = QJsonDocument::fromJson(reply->readAll())
                                   .object()
                                   .value(QStringLiteral("messages"))
                                   .toArray();

    std::vector<InboxMessage> fresh;
    for (const QJsonValue &entry : entries) {
        // Ids that are not whole numbers read as -1, below every id already seen.
        const qint64 id = entry[QStringLiteral("id")].toInteger(-1);
        const QJsonValue from = entry[QStringLiteral("from")];
        const QJsonValue text = entry[QStringLiteral("text")];
        if (id <= m_lastId || !from.isString() || !text.isString())
            continue;
        fresh.push_back({id, from.toString(), text.toString()});
    }
    // Ids decide the order and keep a message that shows up twice from being delivered twice.
    std::sort(fresh.begin(), fresh.end(),
              [](const InboxMessage &a, const InboxMessage &b) { return a.id < b.id; });
    for (const InboxMessage &message : fresh) {
        if (message.id <= m_lastId)
            continue;
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

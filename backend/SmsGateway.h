#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Client of the development SMS gateway that stands in for the phone's SMS service on the
// desktop: messages go out by POST {base}/send, and {base}/inbox is polled once a second for
// messages newer than the last one seen.
class SmsGateway : public QObject
{
    Q_OBJECT

public:
    explicit SmsGateway(const QUrl &baseUrl, QObject *parent = nullptr);

    void send(const QString &to, const QString &text, quint8 simSlot);

signals:
    void messageReceived(const QString &from, const QString &text);

private:
    void poll();
    void readInbox(QNetworkReply *reply);
    QUrl endpoint(const QString &name) const;

    QUrl m_baseUrl;
    QNetworkAccessManager *m_network;
    QTimer m_pollTimer;
    qint64 m_lastId = 0;
    bool m_polling = false;
};

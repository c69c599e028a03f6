#pragma once

#include <QNetworkAccessManager>
#include <QQmlNetworkAccessManagerFactory>

// The documents' network access, whose replies let go of their connections when a request is
// given up (see ReleasingReply).
class ReleasingNetworkAccessManager : public QNetworkAccessManager
{
    Q_OBJECT

public:
    explicit ReleasingNetworkAccessManager(QObject *parent = nullptr);
    ~ReleasingNetworkAccessManager() override;

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override;
};

// Gives every engine (and every thread of one) such a manager.
class ReleasingNetworkAccessFactory : public QQmlNetworkAccessManagerFactory
{
public:
    QNetworkAccessManager *create(QObject *parent) override;
};

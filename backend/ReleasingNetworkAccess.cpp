#include "ReleasingNetworkAccess.h"

#include "ReleasingReply.h"

ReleasingNetworkAccessManager::ReleasingNetworkAccessManager(QObject *parent)
    : QNetworkAccessManager(parent)
{
}

QNetworkReply *ReleasingNetworkAccessManager::createRequest(Operation operation,
                                                            const QNetworkRequest &request,
                                                            QIODevice *outgoingData)
{
    return new ReleasingReply(
        QNetworkAccessManager::createRequest(operation, request, outgoingData), this);
}

QNetworkAccessManager *ReleasingNetworkAccessFactory::create(QObject *parent)
{
    return new ReleasingNetworkAccessManager(parent);
}

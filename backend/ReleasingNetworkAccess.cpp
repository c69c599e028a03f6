#include "ReleasingNetworkAccess.h"

#include "ReleasingReply.h"

ReleasingNetworkAccessManager::ReleasingNetworkAccessManager(QObject *parent)
    : QNetworkAccessManager(parent)
{
}

ReleasingNetworkAccessManager::~ReleasingNetworkAccessManager()
{
    // A reply still running aborts its real one as it goes, which reports to this manager: that
    // must happen while the manager is whole, not among the children its base class deletes.
    qDeleteAll(findChildren<ReleasingReply *>(Qt::FindDirectChildrenOnly));
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

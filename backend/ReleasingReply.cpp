#include "ReleasingReply.h"

#include <QSslConfiguration>

namespace {

// What the documents' requests and images read of a reply besides its headers.
constexpr QNetworkRequest::Attribute copiedAttributes[] = {
    QNetworkRequest::HttpStatusCodeAttribute,        QNetworkRequest::HttpReasonPhraseAttribute,
    QNetworkRequest::RedirectionTargetAttribute,     QNetworkRequest::ConnectionEncryptedAttribute,
    QNetworkRequest::SourceIsFromCacheAttribute,     QNetworkRequest::Http2WasUsedAttribute,
    QNetworkRequest::OriginalContentLengthAttribute,
};

} // namespace

ReleasingReply::ReleasingReply(QNetworkReply *inner, QObject *parent)
    : QNetworkReply(parent), m_inner(inner)
{
    m_inner->setParent(this);
    setRequest(m_inner->request());
    setOperation(m_inner->operation());
    setUrl(m_inner->url());
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);

    connect(m_inner, &QNetworkReply::metaDataChanged, this, [this] {
        copyMetaData();
        emit metaDataChanged();
    });
    connect(m_inner, &QNetworkReply::readyRead, this, &QNetworkReply::readyRead);
    connect(m_inner, &QNetworkReply::downloadProgress, this, &QNetworkReply::downloadProgress);
    connect(m_inner, &QNetworkReply::uploadProgress, this, &QNetworkReply::uploadProgress);
    connect(m_inner, &QNetworkReply::redirected, this, &QNetworkReply::redirected);
    connect(m_inner, &QNetworkReply::encrypted, this, &QNetworkReply::encrypted);
    connect(m_inner, &QNetworkReply::sslErrors, this, &QNetworkReply::sslErrors);
    connect(m_inner, &QNetworkReply::errorOccurred, this, [this](NetworkError code) {
        setError(code, m_inner->errorString());
        emit errorOccurred(code);
    });
    connect(m_inner, &QNetworkReply::finished, this, &ReleasingReply::takeFinished);
    if (m_inner->isFinished())
        QMetaObject::invokeMethod(this, &ReleasingReply::takeFinished, Qt::QueuedConnection);
}

ReleasingReply::~ReleasingReply()
{
    // Nothing of the real reply may reach this one while it goes.
    disconnect(m_inner, nullptr, this, nullptr);
    if (m_inner->isRunning())
        m_inner->abort();
}

void ReleasingReply::takeFinished()
{
    if (isFinished())
        return;
    copyMetaData();
    if (m_inner->error() != NoError)
        setError(m_inner->error(), m_inner->errorString());
    setFinished(true);
    emit finished();
}

void ReleasingReply::copyMetaData()
{
    for (const RawHeaderPair &header : m_inner->rawHeaderPairs())
        setRawHeader(header.first, header.second);
    for (const QNetworkRequest::Attribute attribute : copiedAttributes)
        setAttribute(attribute, m_inner->attribute(attribute));
}

void ReleasingReply::abort()
{
    m_inner->abort();
}

void ReleasingReply::close()
{
    m_inner->close();
    QNetworkReply::close();
}

qint64 ReleasingReply::bytesAvailable() const
{
    return QNetworkReply::bytesAvailable() + m_inner->bytesAvailable();
}

void ReleasingReply::setReadBufferSize(qint64 size)
{
    QNetworkReply::setReadBufferSize(size);
    m_inner->setReadBufferSize(size);
}

void ReleasingReply::ignoreSslErrors()
{
    m_inner->ignoreSslErrors();
}

qint64 ReleasingReply::readData(char *data, qint64 maxSize)
{
    return m_inner->read(data, maxSize);
}

void ReleasingReply::ignoreSslErrorsImplementation(const QList<QSslError> &errors)
{
    m_inner->ignoreSslErrors(errors);
}

void ReleasingReply::setSslConfigurationImplementation(const QSslConfiguration &configuration)
{
    m_inner->setSslConfiguration(configuration);
}

void ReleasingReply::sslConfigurationImplementation(QSslConfiguration &configuration) const
{
    configuration = m_inner->sslConfiguration();
}

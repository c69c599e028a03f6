#pragma once

#include <QNetworkReply>

// A reply that lets go of its connection when whoever holds it gives up. Qt's XMLHttpRequest
// gives up on a request (abort, time-out, a newer request, its item destroyed) by cutting every
// connection of the reply's signals and deleting it later; that also cuts the reply's own line
// to the HTTP thread, so the request stays on the wire and keeps one of the six connections a
// host gets until the server answers, which a stalled server may never do. This reply stands in
// front of the real one: the caller may cut this one's signals, and deleting it still aborts the
// real one.
class ReleasingReply : public QNetworkReply
{
    Q_OBJECT

public:
    explicit ReleasingReply(QNetworkReply *inner, QObject *parent = nullptr);
    ~ReleasingReply() override;

    void abort() override;
    void close() override;
    qint64 bytesAvailable() const override;
    bool isSequential() const override { return true; }
    void setReadBufferSize(qint64 size) override;
    void ignoreSslErrors() override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    void ignoreSslErrorsImplementation(const QList<QSslError> &errors) override;
    void setSslConfigurationImplementation(const QSslConfiguration &configuration) override;
    void sslConfigurationImplementation(QSslConfiguration &configuration) const override;

private:
    void copyMetaData();
    void takeFinished();

    QNetworkReply *m_inner;
};

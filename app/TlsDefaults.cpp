#include "TlsDefaults.h"

#include <QDebug>
#include <QSslCertificate>
#include <QSslConfiguration>

void installVerifyingTlsDefault()
{
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    // An unverified server could read every request and inject the notice that the app compiles
    // and runs, so the peer is always verified.
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);

    QList<QSslCertificate> trusted = QSslConfiguration::systemCaCertificates();
    const QString extraPath = qEnvironmentVariable("KOVA_CA_CERTIFICATES");
    if (!extraPath.isEmpty()) {
        const QList<QSslCertificate> extra = QSslCertificate::fromPath(extraPath, QSsl::Pem);
        if (extra.isEmpty())
            qWarning() << "KOVA_CA_CERTIFICATES: no certificate in" << extraPath;
        trusted += extra;
    }
    tls.setCaCertificates(trusted);
    QSslConfiguration::setDefaultConfiguration(tls);
}

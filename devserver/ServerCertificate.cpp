#include "ServerCertificate.h"

#include <QDir>
#include <QFile>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace devserver {

namespace {

template <typename T, void (*Free)(T *)>
using Owned = std::unique_ptr<T, std::integral_constant<decltype(Free), Free>>;

QByteArray readBio(BIO *bio)
{
    char *data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    return QByteArray(data, int(size));
}

void addExtension(X509 *cert, int nid, const char *value)
{
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    Owned<X509_EXTENSION, X509_EXTENSION_free> ext(X509V3_EXT_conf_nid(nullptr, &ctx, nid, value));
    X509_add_ext(cert, ext.get(), -1);
}

} // namespace

ServerCertificate ServerCertificate::create()
{
    Owned<EVP_PKEY, EVP_PKEY_free> pkey(EVP_EC_gen("P-256"));
    Owned<X509, X509_free> cert(X509_new());
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 3600L * 24 * 825);
    X509_set_pubkey(cert.get(), pkey.get());
    X509_NAME *name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char *>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    addExtension(cert.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    addExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE");
    X509_sign(cert.get(), pkey.get(), EVP_sha256());

    Owned<BIO, BIO_free_all> certPem(BIO_new(BIO_s_mem()));
    PEM_write_bio_X509(certPem.get(), cert.get());
    Owned<BIO, BIO_free_all> keyPem(BIO_new(BIO_s_mem()));
    PEM_write_bio_PrivateKey(keyPem.get(), pkey.get(), nullptr, nullptr, 0, nullptr, nullptr);

    return {QSslCertificate(readBio(certPem.get()), QSsl::Pem),
            QSslKey(readBio(keyPem.get()), QSsl::Ec, QSsl::Pem)};
}

QString ServerCertificate::certificatePath(const QString &dir)
{
    return QDir(dir).filePath(QStringLiteral("server.crt"));
}

ServerCertificate ServerCertificate::loadOrCreate(const QString &dir)
{
    const QString keyPath = QDir(dir).filePath(QStringLiteral("server.key"));
    QFile certFile(certificatePath(dir));
    QFile keyFile(keyPath);
    if (certFile.open(QIODevice::ReadOnly) && keyFile.open(QIODevice::ReadOnly)) {
        ServerCertificate stored{QSslCertificate(certFile.readAll(), QSsl::Pem),
                                 QSslKey(keyFile.readAll(), QSsl::Ec, QSsl::Pem)};
        if (!stored.certificate.isNull() && !stored.key.isNull() &&
            stored.certificate.expiryDate() > QDateTime::currentDateTimeUtc())
            return stored;
    }
    certFile.close();
    keyFile.close();

    ServerCertificate fresh = create();
    if (keyFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        keyFile.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        keyFile.write(fresh.key.toPem());
    }
    if (certFile.open(QIODevice::WriteOnly | QIODevice::Truncate))
        certFile.write(fresh.certificate.toPem());
    return fresh;
}

} // namespace devserver

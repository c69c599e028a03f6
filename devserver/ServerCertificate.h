#pragma once

#include <QSslCertificate>
#include <QSslKey>

namespace devserver {

// The development server's TLS identity: a self-signed certificate for 127.0.0.1 and localhost,
// made on first start and kept in the data folder, so the app can trust it by file.
struct ServerCertificate
{
    QSslCertificate certificate;
    QSslKey key;

    static ServerCertificate create();
    // Reads server.crt and server.key from `dir`, making them when either is missing or unreadable.
    static ServerCertificate loadOrCreate(const QString &dir);
    static QString certificatePath(const QString &dir);
};

} // namespace devserver

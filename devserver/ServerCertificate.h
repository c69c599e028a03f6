#pragma once

#include <QSslCertificate>
#include <QSslKey>

// A throw-away certificate for 127.0.0.1 and localhost, made at run time so no key is committed.
struct SelfSignedCertificate
{
    QSslCertificate certificate;
    QSslKey key;

    static SelfSignedCertificate create();
};

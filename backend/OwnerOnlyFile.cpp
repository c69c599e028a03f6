#include "OwnerOnlyFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void restrictToOwner(const QString &path, bool create)
{
    constexpr QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QFile file(path);
    if (file.exists()) {
        if (file.permissions() != (ownerOnly | QFileDevice::ReadUser | QFileDevice::WriteUser))
            file.setPermissions(ownerOnly);
        return;
    }
    if (!create)
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, ownerOnly))
        qWarning("cannot create %s: %s", qPrintable(path), qPrintable(file.errorString()));
}

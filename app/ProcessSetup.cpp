#include "ProcessSetup.h"

#include "OwnerOnlyFile.h"
#include "PhoneServices.h"
#include "TlsDefaults.h"

#include <QGuiApplication>
#include <QSettings>

void setUpProcess()
{
    QGuiApplication::setOrganizationName(QStringLiteral("ORIBEL"));
    QGuiApplication::setOrganizationDomain(QStringLiteral("oribel.example"));
    QGuiApplication::setApplicationName(QStringLiteral("Kova App"));
    // The window's app id on Wayland and X11: the shell matches it to the installed launcher
    // entry and icon of that name.
    QGuiApplication::setDesktopFileName(PhoneServices::desktopId());

    // The pages keep the password digest in the per-user settings, so only the owner may read
    // them.
    restrictToOwner(QSettings().fileName(), true);
    installVerifyingTlsDefault();
}

#pragma once

#include <QLoggingCategory>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcFingerprint)

// Names on the system bus of fprintd, the fingerprint reader service.
namespace Fprintd {

inline const QString service = QStringLiteral("net.reactivated.Fprint");
inline const QString managerPath = QStringLiteral("/net/reactivated/Fprint/Manager");
inline const QString managerInterface = QStringLiteral("net.reactivated.Fprint.Manager");
inline const QString deviceInterface = QStringLiteral("net.reactivated.Fprint.Device");

// The name of the user running the app, whose enrolled fingers count; empty when the system
// does not know it, which fprintd reads as "the caller".
QString userName();

} // namespace Fprintd

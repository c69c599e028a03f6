#pragma once

#include <QDateTime>
#include <QString>

namespace devserver {

class Store;

// What a new data folder starts with: a registered owner "358000000000001" (password "582901")
// with seven days of trips, an unregistered device "358000000000002", and a root login with
// three devices.
namespace Seed {

inline constexpr quint64 ownerImei = 358000000000001;
inline constexpr quint64 unregisteredImei = 358000000000002;
inline constexpr quint64 rootOnlyImei = 358000000000003;
inline constexpr int historyDays = 7;

// The stored form of a password: Base64 of the MD5 digest of its Latin-1 bytes.
QString passwordDigest(const QString &password);

void populate(Store &store, quint32 seed, const QDateTime &now);

} // namespace Seed

} // namespace devserver

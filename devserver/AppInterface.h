#pragma once

#include "Clock.h"
#include "Store.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace devserver {

// The JSON app interface: one enciphered request object in, one enciphered reply object out.
// Every reply carries isValid, and a Persian errorText when it is false.
class AppInterface
{
public:
    AppInterface(Store &store, Clock clock);

    // The whole exchange on the wire; a body that does not decipher to a JSON object gets a
    // refusal, never a crash.
    QByteArray handle(const QByteArray &encipheredBody);
    // The same, on plain objects.
    QJsonObject handleCommand(const QJsonObject &request);

    // Base of the share links the app builds, handed out as appConfigs.trackingurl by appOpen;
    // empty leaves it out, and the app falls back to its own default.
    void setTrackingUrl(const QString &url);
    QString trackingUrl() const { return m_trackingUrl; }

    // Whether appOpen carries the server's notice, which the app shows in a modal popup.
    void setNoticeShown(bool shown) { m_noticeShown = shown; }

    static QJsonObject refusal(const QString &errorText);

private:
    // One handler per command, grouped by what they touch.
    QJsonObject appOpen(const QJsonObject &request);
    QJsonObject getStatus(const QJsonObject &request);
    // Account requests.
    QJsonObject login(const QJsonObject &request);
    QJsonObject forgetPassword(const QJsonObject &request);
    QJsonObject setAliasUsername(const QJsonObject &request);
    QJsonObject changePassword(const QJsonObject &request);
    // Vehicle requests.
    QJsonObject setOwnerInfo(const QJsonObject &request);
    QJsonObject setVehicleInfo(const QJsonObject &request);
    QJsonObject addDeviceConfig(const QJsonObject &request);
    QJsonObject setDeviceSimNumber(const QJsonObject &request);
    // Share requests.
    QJsonObject getShareToken(const QJsonObject &request);
    QJsonObject createShareToken(const QJsonObject &request);
    QJsonObject dropShareToken(const QJsonObject &request);

    // The device a request names under `key`; when the field is unsound or the device unknown,
    // nothing, with the refusal to send in `refused`.
    std::optional<Device> requestedDevice(const QJsonObject &request, const QString &key,
                                          QJsonObject *refused) const;
    // Owner and car details complete: the first-login setup is done.
    void registerWhenComplete(Device &device) const;

    Store &m_store;
    Clock m_clock;
    QString m_trackingUrl;
    bool m_noticeShown = false;
};

} // namespace devserver

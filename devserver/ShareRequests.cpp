// The location-sharing commands of the app interface: one share token per device.
#include "AppInterface.h"

#include "RefusalTexts.h"
#include "RequestFields.h"

namespace devserver {

namespace {

constexpr qint64 hourSeconds = 3600;
constexpr qint64 daySeconds = 24 * hourSeconds;
constexpr int longestToken = 128;

QJsonObject tokenReply(const ShareToken &token)
{
    return QJsonObject{
        {QStringLiteral("isValid"), true},
        {QStringLiteral("authToken"), token.token},
        {QStringLiteral("expireTimestamp"), double(token.expiry * 1000)},
    };
}

// The token goes into the query of a link: letters, digits, "-" and "_" only.
bool isSoundToken(const QString &token)
{
    if (token.isEmpty() || token.size() > longestToken)
        return false;
    for (const QChar c : token) {
        const bool ascii = c.unicode() < 128;
        if (!ascii || !(c.isLetterOrNumber() || c == u'-' || c == u'_'))
            return false;
    }
    return true;
}

// Seconds of validity for 1..24 hours (unit 0) or 1..7 days (unit 1); nothing out of range.
std::optional<qint64> validity(qint64 value, qint64 unit)
{
    if (unit == 0 && value >= 1 && value <= 24)
        return value * hourSeconds;
    if (unit == 1 && value >= 1 && value <= 7)
        return value * daySeconds;
    return std::nullopt;
}

} // namespace

QJsonObject AppInterface::getShareToken(const QJsonObject &request)
{
    QJsonObject refused;
    const std::optional<Device> device = requestedDevice(request, QStringLiteral("IMEI"), &refused);
    if (!device)
        return refused;
    const std::optional<ShareToken> token = m_store.shareToken(device->imei);
    if (!token)
        return QJsonObject{{QStringLiteral("isValid"), true}};
    if (token->expiry <= m_clock().toSecsSinceEpoch()) {
        // Said once; the next request finds no link and the app offers to make a new one.
        m_store.dropShareToken(device->imei);
        return refusal(RefusalTexts::shareTokenExpired());
    }
    return tokenReply(*token);
}

QJsonObject AppInterface::createShareToken(const QJsonObject &request)
{
    QJsonObject refused;
    const std::optional<Device> device = requestedDevice(request, QStringLiteral("IMEI"), &refused);
    if (!device)
        return refused;
    const std::optional<QString> authToken =
        RequestFields::text(request, QStringLiteral("authToken"));
    const std::optional<QString> password =
        RequestFields::text(request, QStringLiteral("password"));
    const std::optional<qint64> value =
        RequestFields::wholeNumber(request, QStringLiteral("expireTimeValue"));
    const std::optional<qint64> unit =
        RequestFields::wholeNumber(request, QStringLiteral("expireTimeUnit"));
    if (!authToken || !password || !value || !unit)
        return refusal(RefusalTexts::badRequest());
    if (!isSoundToken(*authToken))
        return refusal(RefusalTexts::badShareToken());
    const std::optional<qint64> seconds = validity(*value, *unit);
    if (!seconds)
        return refusal(RefusalTexts::badShareDuration());

    ShareToken token;
    token.token = *authToken;
    token.password = *password;
    token.expiry = m_clock().toSecsSinceEpoch() + *seconds;
    m_store.setShareToken(device->imei, token);
    return tokenReply(token);
}

QJsonObject AppInterface::dropShareToken(const QJsonObject &request)
{
    QJsonObject refused;
    const std::optional<Device> device = requestedDevice(request, QStringLiteral("IMEI"), &refused);
    if (!device)
        return refused;
    m_store.dropShareToken(device->imei);
    return QJsonObject{{QStringLiteral("isValid"), true}};
}

} // namespace devserver

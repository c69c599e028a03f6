// The account commands of the app interface: login, password recovery and change, alias.
#include "AppInterface.h"

#include "RefusalTexts.h"
#include "RequestFields.h"

#include <QCryptographicHash>
#include <QJsonArray>

namespace devserver {

namespace {

constexpr int digestSize = 16;
// What a forgotten password is set back to; the app's help text names the same number.
const QString defaultPassword = QStringLiteral("582901");
constexpr int longestAlias = 32;

// The raw digest of a Base64 text, or nothing when the text is not a whole 16-byte digest.
std::optional<QByteArray> digestBytes(const QString &base64)
{
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != digestSize)
        return std::nullopt;
    return decoded.decoded;
}

bool sameDigest(const QString &given, const QString &stored)
{
    const std::optional<QByteArray> a = digestBytes(given);
    const std::optional<QByteArray> b = digestBytes(stored);
    return a && b && *a == *b;
}

QString digestOf(const QString &password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(password.toLatin1(), QCryptographicHash::Md5).toBase64());
}

bool isSoundAlias(const QString &alias)
{
    if (alias.isEmpty() || alias.size() > longestAlias)
        return false;
    for (const QChar c : alias) {
        if (c.isSpace() || !c.isPrint())
            return false;
    }
    return true;
}

QJsonObject deviceRecord(const Device &device, qint64 ownerId)
{
    return QJsonObject{
        // IMEIs have 15 digits: a JSON number keeps them exactly.
        {QStringLiteral("imei"), double(device.imei)},
        {QStringLiteral("simNumber"), device.simNumber},
        {QStringLiteral("registered"), device.registered},
        {QStringLiteral("ownerId"), ownerId},
        {QStringLiteral("ownerName"), device.ownerName},
        {QStringLiteral("ownerLastname"), device.ownerLastname},
        {QStringLiteral("ownerPhoneNumber"), device.ownerPhoneNumber},
        {QStringLiteral("ownerMeliCode"), device.ownerMeliCode},
        {QStringLiteral("vehicleCpmpany"), device.vehicleCompany},
        {QStringLiteral("vehicleModel"), device.vehicleModel},
        {QStringLiteral("vehicleColor"), device.vehicleColor},
        {QStringLiteral("vehiclePlaque"), device.vehiclePlaque},
        {QStringLiteral("deviceFirstUse"), device.firstUse.toString(Qt::ISODate)},
    };
}

QJsonObject aliasRefusal(const QString &errorText, int errorCode)
{
    QJsonObject reply = AppInterface::refusal(errorText);
    reply.insert(QStringLiteral("errorCode"), errorCode);
    return reply;
}

} // namespace

QJsonObject AppInterface::login(const QJsonObject &request)
{
    const std::optional<QString> name = RequestFields::text(request, QStringLiteral("username"));
    const std::optional<QString> password =
        RequestFields::text(request, QStringLiteral("password"));
    if (!name || !password)
        return refusal(RefusalTexts::badRequest());

    const std::optional<Account> account = m_store.accountByLoginName(*name);
    if (!account || !sameDigest(*password, account->passwordDigest))
        return refusal(RefusalTexts::wrongLogin());

    // The app picks its current device from this list and has nothing to show without one.
    const QList<Device> devices = m_store.devicesOf(account->id);
    if (devices.isEmpty())
        return refusal(RefusalTexts::noDevices());
    QJsonArray records;
    for (const Device &device : devices)
        records.append(deviceRecord(device, account->id));

    return QJsonObject{
        {QStringLiteral("isValid"), true},
        {QStringLiteral("devices"), records},
        {QStringLiteral("rootLogin"), account->root},
        {QStringLiteral("username"), account->username},
        {QStringLiteral("aliasUsername"), account->alias},
        {QStringLiteral("message"), QString()},
        {QStringLiteral("messageTitle"), QString()},
    };
}

QJsonObject AppInterface::forgetPassword(const QJsonObject &request)
{
    const std::optional<quint64> imei = RequestFields::imei(request, QStringLiteral("imei"));
    const std::optional<QString> simNumber =
        RequestFields::text(request, QStringLiteral("deviceSimNumber"));
    const std::optional<QString> mobile =
        RequestFields::text(request, QStringLiteral("ownerMobileNumber"));
    if (!imei || !simNumber || !mobile)
        return refusal(RefusalTexts::badRequest());

    const std::optional<Device> device = m_store.device(*imei);
    if (!device || !RequestFields::samePhoneNumber(device->simNumber, *simNumber) ||
        !RequestFields::samePhoneNumber(device->ownerPhoneNumber, *mobile))
        return refusal(RefusalTexts::wrongRecoveryDetails());

    // A device's own account is named by its IMEI.
    const std::optional<Account> account = m_store.accountByLoginName(QString::number(*imei));
    if (!account)
        return refusal(RefusalTexts::unknownUser());
    m_store.setPasswordDigest(account->id, digestOf(defaultPassword));
    return QJsonObject{{QStringLiteral("isValid"), true}};
}

QJsonObject AppInterface::setAliasUsername(const QJsonObject &request)
{
    const std::optional<QString> alias =
        RequestFields::text(request, QStringLiteral("aliasUsername"));
    const std::optional<QString> name = RequestFields::text(request, QStringLiteral("username"));
    if (!alias || !name)
        return aliasRefusal(RefusalTexts::badRequest(), 2);
    if (!isSoundAlias(*alias))
        return aliasRefusal(RefusalTexts::badAlias(), 2);

    const std::optional<Account> account = m_store.accountByLoginName(*name);
    if (!account)
        return aliasRefusal(RefusalTexts::unknownUser(), 2);
    if (!m_store.setAlias(account->id, *alias))
        return aliasRefusal(RefusalTexts::aliasTaken(), 1);
    return QJsonObject{{QStringLiteral("isValid"), true}, {QStringLiteral("errorCode"), 0}};
}

QJsonObject AppInterface::changePassword(const QJsonObject &request)
{
    // The app sends what was typed at login, which may be the alias as well as the user name.
    const std::optional<QString> name = RequestFields::text(request, QStringLiteral("username"));
    const std::optional<QString> current =
        RequestFields::text(request, QStringLiteral("currentHashPass"));
    const std::optional<QString> next = RequestFields::text(request, QStringLiteral("newHashPass"));
    if (!name || !current || !next)
        return refusal(RefusalTexts::badRequest());

    const std::optional<Account> account = m_store.accountByLoginName(*name);
    if (!account)
        return refusal(RefusalTexts::unknownUser());
    if (!sameDigest(*current, account->passwordDigest))
        return refusal(RefusalTexts::wrongCurrentPassword());
    // Storing anything but a whole digest would lock the account out for good.
    const std::optional<QByteArray> nextDigest = digestBytes(*next);
    if (!nextDigest)
        return refusal(RefusalTexts::badPasswordDigest());
    m_store.setPasswordDigest(account->id, QString::fromLatin1(nextDigest->toBase64()));
    return QJsonObject{{QStringLiteral("isValid"), true}};
}

} // namespace devserver

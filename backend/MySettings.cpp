#include "MySettings.h"

#include "OwnerOnlyFile.h"

#include <QSettings>
#include <QStandardPaths>

MySettings::MySettings(QObject *parent)
    : QObject(parent),
      m_filePath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                 QStringLiteral("/kovaapp.ini")),
      m_settings(std::make_unique<QSettings>(m_filePath, QSettings::IniFormat))
{
    m_imei = m_settings->value("imei", 0).toULongLong();
    m_deviceSimNumber = m_settings->value("deviceSimNumber").toString();
    m_lastUserCrypt = m_settings->value("lastUserCrypt").toByteArray();
    m_lastPasswordCrypt = m_settings->value("lastPasswordCrypt").toByteArray();
    m_lastOwnerName = m_settings->value("lastOwnerName").toString();
    m_lastOwnerLastname = m_settings->value("lastOwnerLastname").toString();
    m_lastVehicleModel = m_settings->value("lastVehicleModel").toString();
    // A file left readable by others (an older build, a copied profile) is tightened at once.
    restrictFile(false);
}

MySettings::~MySettings() = default;

void MySettings::setImei(quint64 imei)
{
    update(m_imei, imei, "imei", &MySettings::imeiChanged);
}

void MySettings::setDeviceSimNumber(const QString &deviceSimNumber)
{
    update(m_deviceSimNumber, deviceSimNumber, "deviceSimNumber",
           &MySettings::deviceSimNumberChanged);
}

void MySettings::setLastUserCrypt(const QByteArray &lastUserCrypt)
{
    update(m_lastUserCrypt, lastUserCrypt, "lastUserCrypt", &MySettings::lastUserCryptChanged);
}

void MySettings::setLastPasswordCrypt(const QByteArray &lastPasswordCrypt)
{
    update(m_lastPasswordCrypt, lastPasswordCrypt, "lastPasswordCrypt",
           &MySettings::lastPasswordCryptChanged);
}

void MySettings::setLastOwnerName(const QString &lastOwnerName)
{
    update(m_lastOwnerName, lastOwnerName, "lastOwnerName", &MySettings::lastOwnerNameChanged);
}

void MySettings::setLastOwnerLastname(const QString &lastOwnerLastname)
{
    update(m_lastOwnerLastname, lastOwnerLastname, "lastOwnerLastname",
           &MySettings::lastOwnerLastnameChanged);
}

void MySettings::setLastVehicleModel(const QString &lastVehicleModel)
{
    update(m_lastVehicleModel, lastVehicleModel, "lastVehicleModel",
           &MySettings::lastVehicleModelChanged);
}

template <typename T, typename Signal>
void MySettings::update(T &member, const T &value, const char *key, Signal changed)
{
    if (member == value)
        return;
    restrictFile(true);
    m_settings->setValue(QLatin1StringView(key), value);
    member = value;
    emit(this->*changed)(member);
}

void MySettings::restrictFile(bool create) const
{
    // The file holds credential material: enciphered, but with the key in every copy of the app.
    restrictToOwner(m_filePath, create);
}

#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QSettings;

// The small persistent store behind offline and fingerprint login: the last device, its owner and
// the enciphered credentials, kept in kovaapp.ini in the user's configuration folder.
class MySettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(quint64 imei READ imei WRITE setImei NOTIFY imeiChanged)
    Q_PROPERTY(QString deviceSimNumber READ deviceSimNumber WRITE setDeviceSimNumber NOTIFY
                   deviceSimNumberChanged)
    Q_PROPERTY(QByteArray lastUserCrypt READ lastUserCrypt WRITE setLastUserCrypt NOTIFY
                   lastUserCryptChanged)
    Q_PROPERTY(QByteArray lastPasswordCrypt READ lastPasswordCrypt WRITE setLastPasswordCrypt NOTIFY
                   lastPasswordCryptChanged)
    Q_PROPERTY(
        QString lastOwnerName READ lastOwnerName WRITE setLastOwnerName NOTIFY lastOwnerNameChanged)
    Q_PROPERTY(QString lastOwnerLastname READ lastOwnerLastname WRITE setLastOwnerLastname NOTIFY
                   lastOwnerLastnameChanged)
    Q_PROPERTY(QString lastVehicleModel READ lastVehicleModel WRITE setLastVehicleModel NOTIFY
                   lastVehicleModelChanged)

public:
    explicit MySettings(QObject *parent = nullptr);
    ~MySettings() override;

    quint64 imei() const { return m_imei; }
    QString deviceSimNumber() const { return m_deviceSimNumber; }
    QByteArray lastUserCrypt() const { return m_lastUserCrypt; }
    QByteArray lastPasswordCrypt() const { return m_lastPasswordCrypt; }
    QString lastOwnerName() const { return m_lastOwnerName; }
    QString lastOwnerLastname() const { return m_lastOwnerLastname; }
    QString lastVehicleModel() const { return m_lastVehicleModel; }

public slots:
    void setImei(quint64 imei);
    void setDeviceSimNumber(const QString &deviceSimNumber);
    void setLastUserCrypt(const QByteArray &lastUserCrypt);
    void setLastPasswordCrypt(const QByteArray &lastPasswordCrypt);
    void setLastOwnerName(const QString &lastOwnerName);
    void setLastOwnerLastname(const QString &lastOwnerLastname);
    void setLastVehicleModel(const QString &lastVehicleModel);

signals:
    void imeiChanged(quint64 imei);
    void deviceSimNumberChanged(const QString &deviceSimNumber);
    void lastUserCryptChanged(const QByteArray &lastUserCrypt);
    void lastPasswordCryptChanged(const QByteArray &lastPasswordCrypt);
    void lastOwnerNameChanged(const QString &lastOwnerName);
    void lastOwnerLastnameChanged(const QString &lastOwnerLastname);
    void lastVehicleModelChanged(const QString &lastVehicleModel);

private:
    template <typename T, typename Signal>
    void update(T &member, const T &value, const char *key, Signal changed);
    void restrictFile(bool create) const;

    QString m_filePath;
    std::unique_ptr<QSettings> m_settings;
    quint64 m_imei = 0;
    QString m_deviceSimNumber;
    QString m_lastOwnerName;
    QString m_lastOwnerLastname;
    QString m_lastVehicleModel;
    QByteArray m_lastUserCrypt;
    QByteArray m_lastPasswordCrypt;
};

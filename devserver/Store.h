#pragma once

#include <QByteArray>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QSqlQuery;

namespace devserver {

// The development server's persistent state: one SQLite file in the data folder.
// Every call is synchronous and runs on the server's one thread.

struct Account
{
    qint64 id = 0;
    QString username;
    QString alias;          // empty when none is set
    QString passwordDigest; // Base64 of the MD5 digest of the password's Latin-1 bytes
    bool root = false;      // a root login sees every device it is linked to, registered or not
};

struct Device
{
    quint64 imei = 0;
    QString simNumber;
    bool registered = false;
    QString ownerName;
    QString ownerLastname;
    QString ownerPhoneNumber;
    QString ownerMeliCode;
    QString vehicleCompany;
    QString vehicleModel;
    QString vehicleColor;
    QString vehiclePlaque;
    QDate firstUse;
};

// One logged point of a device, as the tracker reported it.
struct Position
{
    qint64 time = 0; // seconds since 1970, UTC
    double lat = 0;
    double lon = 0;
    double alt = 0;    // metres
    double course = 0; // degrees
    double speed = 0;  // metres per second
    int accuracy = 0;
};

// Alarms raised by a device and not yet reported to the app; bit values as the app reads them
// (1 door, 2 trunk, 4 switch, 8 power cut, 16 geofence in, 32 geofence out, 64 towing,
// 128 over-speed, 256 shock).
struct DeviceEvents
{
    quint32 bits = 0;
    QHash<quint32, qint64> times; // bit value -> seconds since 1970 of its latest occurrence
};

struct ShareToken
{
    QString token;
    QString password;
    qint64 expiry = 0; // seconds since 1970
};

struct SmsMessage
{
    qint64 id = 0;
    QString from;
    QString to;
    QString text;
    qint64 time = 0;
};

class Store
{
public:
    Store() = default;
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // Opens (creating when missing) the database file and its tables.
    bool open(const QString &path);
    QString lastError() const;
    // True before the first seed: no account exists.
    bool isEmpty() const;

    // Accounts. A login name matches the user name or the alias.
    qint64 addAccount(const Account &account);
    std::optional<Account> accountByLoginName(const QString &name) const;
    std::optional<Account> account(qint64 id) const;
    // False when another account already uses the name as user name or alias.
    bool setAlias(qint64 accountId, const QString &alias);
    void setPasswordDigest(qint64 accountId, const QString &digest);

    // Devices and their owners.
    void addDevice(const Device &device);
    void linkDevice(qint64 accountId, quint64 imei);
    std::optional<Device> device(quint64 imei) const;
    QList<Device> devicesOf(qint64 accountId) const;
    QList<Device> allDevices() const;
    std::optional<Device> deviceBySimNumber(const QString &simNumber) const; // last 10 digits
    void updateDevice(const Device &device);

    // The device's own records: the 552-byte settings payload and the 12-byte status record.
    QByteArray settingsRecord(quint64 imei) const;
    void setSettingsRecord(quint64 imei, const QByteArray &record);
    QByteArray statusRecord(quint64 imei) const;
    void setStatusRecord(quint64 imei, const QByteArray &record);

    DeviceEvents events(quint64 imei) const;
    void raiseEvent(quint64 imei, quint32 bit, qint64 time);
    void clearEvents(quint64 imei);

    // Position history, in time order.
    void addPositions(quint64 imei, const QList<Position> &positions);
    std::optional<Position> lastPosition(quint64 imei) const;
    QList<Position> positions(quint64 imei, qint64 fromTime, qint64 toTime) const; // inclusive
    void clearPositions(quint64 imei);

    std::optional<ShareToken> shareToken(quint64 imei) const;
    void setShareToken(quint64 imei, const ShareToken &token);
    void dropShareToken(quint64 imei);

    // Configuration frames the server received for a device ("sms" or "server" channel).
    void recordConfigFrame(quint64 imei, const QString &frame, const QString &channel, qint64 time);
    QStringList configFrames(quint64 imei) const;

    // SMS sent by devices to phones, read by the gateway's inbox in id order.
    qint64 addSms(const SmsMessage &message);
    QList<SmsMessage> smsAfter(qint64 id) const;

    enum class StateColumn { Settings, Status };

private:
    QByteArray stateRecord(quint64 imei, StateColumn column) const;
    void setStateRecord(quint64 imei, StateColumn column, const QByteArray &record);
    bool createSchema();
    // Runs a prepared statement; a failure is kept for lastError() and yields false.
    bool run(QSqlQuery &query) const;
    QSqlQuery prepare(const QString &sql) const;
    void closeConnection();

    QString m_connectionName;
    mutable QString m_lastError;
};

} // namespace devserver

#include "Store.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>

namespace devserver {

namespace {

const char *const schema[] = {
    // Small writes arrive every few seconds while the app polls; a write-ahead log keeps
    // them from each waiting for a full sync.
    "PRAGMA journal_mode = WAL",
    "PRAGMA synchronous = NORMAL",
    "CREATE TABLE IF NOT EXISTS accounts ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " username TEXT NOT NULL UNIQUE,"
    " alias TEXT UNIQUE,"
    " password_digest TEXT NOT NULL,"
    " root INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE IF NOT EXISTS devices ("
    " imei INTEGER PRIMARY KEY,"
    " sim_number TEXT NOT NULL DEFAULT '',"
    " registered INTEGER NOT NULL DEFAULT 0,"
    " owner_name TEXT NOT NULL DEFAULT '',"
    " owner_lastname TEXT NOT NULL DEFAULT '',"
    " owner_phone_number TEXT NOT NULL DEFAULT '',"
    " owner_meli_code TEXT NOT NULL DEFAULT '',"
    " vehicle_company TEXT NOT NULL DEFAULT '',"
    " vehicle_model TEXT NOT NULL DEFAULT '',"
    " vehicle_color TEXT NOT NULL DEFAULT '',"
    " vehicle_plaque TEXT NOT NULL DEFAULT '',"
    " first_use TEXT NOT NULL DEFAULT '')",
    "CREATE TABLE IF NOT EXISTS account_devices ("
    " account_id INTEGER NOT NULL,"
    " imei INTEGER NOT NULL,"
    " PRIMARY KEY (account_id, imei))",
    "CREATE TABLE IF NOT EXISTS device_state ("
    " imei INTEGER PRIMARY KEY,"
    " settings BLOB,"
    " status BLOB,"
    " event_bits INTEGER NOT NULL DEFAULT 0)",
    "CREATE TABLE IF NOT EXISTS event_times ("
    " imei INTEGER NOT NULL,"
    " bit INTEGER NOT NULL,"
    " time INTEGER NOT NULL,"
    " PRIMARY KEY (imei, bit))",
    "CREATE TABLE IF NOT EXISTS positions ("
    " imei INTEGER NOT NULL,"
    " time INTEGER NOT NULL,"
    " lat REAL NOT NULL,"
    " lon REAL NOT NULL,"
    " alt REAL NOT NULL,"
    " course REAL NOT NULL,"
    " speed REAL NOT NULL,"
    " accuracy INTEGER NOT NULL,"
    " PRIMARY KEY (imei, time)) WITHOUT ROWID",
    "CREATE TABLE IF NOT EXISTS share_tokens ("
    " imei INTEGER PRIMARY KEY,"
    " token TEXT NOT NULL,"
    " password TEXT NOT NULL,"
    " expiry INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS config_frames ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " imei INTEGER NOT NULL,"
    " frame TEXT NOT NULL,"
    " channel TEXT NOT NULL,"
    " time INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS config_frames_by_device ON config_frames (imei, id)",
    "CREATE TABLE IF NOT EXISTS sms_messages ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " sender TEXT NOT NULL,"
    " recipient TEXT NOT NULL,"
    " text TEXT NOT NULL,"
    " time INTEGER NOT NULL)",
};

const QString deviceColumns = QStringLiteral(
    "imei, sim_number, registered, owner_name, owner_lastname, owner_phone_number,"
    " owner_meli_code, vehicle_company, vehicle_model, vehicle_color, vehicle_plaque, first_use");

// SQLite integers are signed 64-bit; IMEIs have 15 digits and fit.
QVariant key(quint64 imei)
{
    return QVariant(qint64(imei));
}

// A null QString binds as SQL NULL; texts are stored as given, empty ones too.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QString::fromLatin1("")) : QVariant(value);
}

Device readDevice(const QSqlQuery &query)
{
    Device device;
    device.imei = quint64(query.value(0).toLongLong());
    device.simNumber = query.value(1).toString();
    device.registered = query.value(2).toBool();
    device.ownerName = query.value(3).toString();
    device.ownerLastname = query.value(4).toString();
    device.ownerPhoneNumber = query.value(5).toString();
    device.ownerMeliCode = query.value(6).toString();
    device.vehicleCompany = query.value(7).toString();
    device.vehicleModel = query.value(8).toString();
    device.vehicleColor = query.value(9).toString();
    device.vehiclePlaque = query.value(10).toString();
    device.firstUse = QDate::fromString(query.value(11).toString(), Qt::ISODate);
    return device;
}

void bindDevice(QSqlQuery &query, const Device &device)
{
    query.addBindValue(key(device.imei));
    query.addBindValue(text(device.simNumber));
    query.addBindValue(device.registered ? 1 : 0);
    query.addBindValue(text(device.ownerName));
    query.addBindValue(text(device.ownerLastname));
    query.addBindValue(text(device.ownerPhoneNumber));
    query.addBindValue(text(device.ownerMeliCode));
    query.addBindValue(text(device.vehicleCompany));
    query.addBindValue(text(device.vehicleModel));
    query.addBindValue(text(device.vehicleColor));
    query.addBindValue(text(device.vehiclePlaque));
    query.addBindValue(device.firstUse.toString(Qt::ISODate));
}

Account readAccount(const QSqlQuery &query)
{
    Account account;
    account.id = query.value(0).toLongLong();
    account.username = query.value(1).toString();
    account.alias = query.value(2).toString();
    account.passwordDigest = query.value(3).toString();
    account.root = query.value(4).toBool();
    return account;
}

Position readPosition(const QSqlQuery &query)
{
    Position position;
    position.time = query.value(0).toLongLong();
    position.lat = query.value(1).toDouble();
    position.lon = query.value(2).toDouble();
    position.alt = query.value(3).toDouble();
    position.course = query.value(4).toDouble();
    position.speed = query.value(5).toDouble();
    position.accuracy = query.value(6).toInt();
    return position;
}

// The last ten digits of a phone number, so "+98912…", "0912…" and "912…" meet; Persian and
// Arabic-Indic digits count as their Latin values.
QString numberTail(const QString &number)
{
    QString digits;
    for (const QChar c : number) {
        if (c.isDigit())
            digits.append(QChar(u'0' + c.digitValue()));
    }
    return digits.right(10);
}

} // namespace

Store::~Store()
{
    closeConnection();
}

void Store::closeConnection()
{
    if (m_connectionName.isEmpty())
        return;
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

bool Store::open(const QString &path)
{
    static std::atomic<int> instances{0};
    closeConnection();
    m_connectionName = QStringLiteral("kova-store-%1").arg(++instances);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(path);
    if (!db.open()) {
        m_lastError = db.lastError().text();
        return false;
    }
    return createSchema();
}

bool Store::createSchema()
{
    for (const char *statement : schema) {
        QSqlQuery query = prepare(QString::fromLatin1(statement));
        if (!run(query))
            return false;
    }
    return true;
}

QString Store::lastError() const
{
    return m_lastError;
}

QSqlQuery Store::prepare(const QString &sql) const
{
    const QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QSqlQuery query(db);
    if (db.isOpen() && !query.prepare(sql))
        m_lastError = query.lastError().text();
    return query;
}

bool Store::run(QSqlQuery &query) const
{
    // A store whose file did not open answers nothing; open() has said why.
    if (!query.driver() || !query.driver()->isOpen())
        return false;
    if (query.exec())
        return true;
    m_lastError = query.lastError().text();
    return false;
}

bool Store::isEmpty() const
{
    QSqlQuery query = prepare(QStringLiteral("SELECT COUNT(*) FROM accounts"));
    return !run(query) || !query.next() || query.value(0).toLongLong() == 0;
}

qint64 Store::addAccount(const Account &account)
{
    if (account.username.isEmpty())
        return 0;
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT INTO accounts (username, alias, password_digest, root) VALUES (?, ?, ?, ?)"));
    query.addBindValue(text(account.username));
    query.addBindValue(account.alias.isEmpty() ? QVariant() : QVariant(account.alias));
    query.addBindValue(text(account.passwordDigest));
    query.addBindValue(account.root ? 1 : 0);
    if (!run(query))
        return 0;
    return query.lastInsertId().toLongLong();
}

std::optional<Account> Store::accountByLoginName(const QString &name) const
{
    QSqlQuery query = prepare(
        QStringLiteral("SELECT id, username, alias, password_digest, root FROM accounts"
                       " WHERE username = ? OR alias = ? ORDER BY username = ? DESC LIMIT 1"));
    query.addBindValue(text(name));
    query.addBindValue(text(name));
    query.addBindValue(text(name));
    if (!run(query) || !query.next())
        return std::nullopt;
    return readAccount(query);
}

std::optional<Account> Store::account(qint64 id) const
{
    QSqlQuery query = prepare(QStringLiteral(
        "SELECT id, username, alias, password_digest, root FROM accounts WHERE id = ?"));
    query.addBindValue(id);
    if (!run(query) || !query.next())
        return std::nullopt;
    return readAccount(query);
}

bool Store::setAlias(qint64 accountId, const QString &alias)
{
    if (!account(accountId))
        return false;
    if (!alias.isEmpty()) {
        QSqlQuery taken = prepare(QStringLiteral(
            "SELECT COUNT(*) FROM accounts WHERE id <> ? AND (username = ? OR alias = ?)"));
        taken.addBindValue(accountId);
        taken.addBindValue(alias);
        taken.addBindValue(alias);
        if (!run(taken) || !taken.next() || taken.value(0).toLongLong() != 0)
            return false;
    }
    QSqlQuery query = prepare(QStringLiteral("UPDATE accounts SET alias = ? WHERE id = ?"));
    query.addBindValue(alias.isEmpty() ? QVariant() : QVariant(alias));
    query.addBindValue(accountId);
    return run(query);
}

void Store::setPasswordDigest(qint64 accountId, const QString &digest)
{
    QSqlQuery query =
        prepare(QStringLiteral("UPDATE accounts SET password_digest = ? WHERE id = ?"));
    query.addBindValue(text(digest));
    query.addBindValue(accountId);
    run(query);
}

void Store::addDevice(const Device &device)
{
    QSqlQuery query = prepare(QStringLiteral("INSERT OR REPLACE INTO devices (%1)"
                                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                  .arg(deviceColumns));
    bindDevice(query, device);
    run(query);
}

void Store::updateDevice(const Device &device)
{
    if (this->device(device.imei))
        addDevice(device);
}

void Store::linkDevice(qint64 accountId, quint64 imei)
{
    QSqlQuery query = prepare(
        QStringLiteral("INSERT OR IGNORE INTO account_devices (account_id, imei) VALUES (?, ?)"));
    query.addBindValue(accountId);
    query.addBindValue(key(imei));
    run(query);
}

std::optional<Device> Store::device(quint64 imei) const
{
    QSqlQuery query =
        prepare(QStringLiteral("SELECT %1 FROM devices WHERE imei = ?").arg(deviceColumns));
    query.addBindValue(key(imei));
    if (!run(query) || !query.next())
        return std::nullopt;
    return readDevice(query);
}

QList<Device> Store::devicesOf(qint64 accountId) const
{
    QSqlQuery query = prepare(
        QStringLiteral("SELECT %1 FROM devices WHERE imei IN"
                       " (SELECT imei FROM account_devices WHERE account_id = ?) ORDER BY imei")
            .arg(deviceColumns));
    query.addBindValue(accountId);
    QList<Device> devices;
    if (run(query)) {
        while (query.next())
            devices.append(readDevice(query));
    }
    return devices;
}

QList<Device> Store::allDevices() const
{
    QSqlQuery query =
        prepare(QStringLiteral("SELECT %1 FROM devices ORDER BY imei").arg(deviceColumns));
    QList<Device> devices;
    if (run(query)) {
        while (query.next())
            devices.append(readDevice(query));
    }
    return devices;
}

std::optional<Device> Store::deviceBySimNumber(const QString &simNumber) const
{
    const QString tail = numberTail(simNumber);
    if (tail.isEmpty())
        return std::nullopt;
    // Devices are few, and stored numbers may be written in any of the forms above.
    for (const Device &device : allDevices()) {
        if (numberTail(device.simNumber) == tail)
            return device;
    }
    return std::nullopt;
}

QByteArray Store::settingsRecord(quint64 imei) const
{
    return stateRecord(imei, StateColumn::Settings);
}

void Store::setSettingsRecord(quint64 imei, const QByteArray &record)
{
    setStateRecord(imei, StateColumn::Settings, record);
}

QByteArray Store::statusRecord(quint64 imei) const
{
    return stateRecord(imei, StateColumn::Status);
}

void Store::setStatusRecord(quint64 imei, const QByteArray &record)
{
    setStateRecord(imei, StateColumn::Status, record);
}

// Column names cannot be bound, so they come from this fixed pair only.
static QString stateColumnName(Store::StateColumn column)
{
    return column == Store::StateColumn::Settings ? QStringLiteral("settings")
                                                  : QStringLiteral("status");
}

QByteArray Store::stateRecord(quint64 imei, StateColumn column) const
{
    QSqlQuery query = prepare(
        QStringLiteral("SELECT %1 FROM device_state WHERE imei = ?").arg(stateColumnName(column)));
    query.addBindValue(key(imei));
    if (!run(query) || !query.next())
        return {};
    return query.value(0).toByteArray();
}

void Store::setStateRecord(quint64 imei, StateColumn column, const QByteArray &record)
{
    QSqlQuery query = prepare(QStringLiteral("INSERT INTO device_state (imei, %1) VALUES (?, ?)"
                                             " ON CONFLICT (imei) DO UPDATE SET %1 = excluded.%1")
                                  .arg(stateColumnName(column)));
    query.addBindValue(key(imei));
    query.addBindValue(record);
    run(query);
}

DeviceEvents Store::events(quint64 imei) const
{
    DeviceEvents events;
    QSqlQuery bits = prepare(QStringLiteral("SELECT event_bits FROM device_state WHERE imei = ?"));
    bits.addBindValue(key(imei));
    if (run(bits) && bits.next())
        events.bits = quint32(bits.value(0).toLongLong());
    QSqlQuery times = prepare(QStringLiteral("SELECT bit, time FROM event_times WHERE imei = ?"));
    times.addBindValue(key(imei));
    if (run(times)) {
        while (times.next()) {
            const quint32 bit = quint32(times.value(0).toLongLong());
            if (events.bits & bit)
                events.times.insert(bit, times.value(1).toLongLong());
        }
    }
    return events;
}

void Store::raiseEvent(quint64 imei, quint32 bit, qint64 time)
{
    if (bit == 0)
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.transaction();
    QSqlQuery bits = prepare(QStringLiteral(
        "INSERT INTO device_state (imei, event_bits) VALUES (?, ?)"
        " ON CONFLICT (imei) DO UPDATE SET event_bits = event_bits | excluded.event_bits"));
    bits.addBindValue(key(imei));
    bits.addBindValue(qint64(bit));
    QSqlQuery times = prepare(
        QStringLiteral("INSERT OR REPLACE INTO event_times (imei, bit, time) VALUES (?, ?, ?)"));
    times.addBindValue(key(imei));
    times.addBindValue(qint64(bit));
    times.addBindValue(time);
    if (run(bits) && run(times))
        db.commit();
    else
        db.rollback();
}

void Store::clearEvents(quint64 imei)
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.transaction();
    QSqlQuery bits =
        prepare(QStringLiteral("UPDATE device_state SET event_bits = 0 WHERE imei = ?"));
    bits.addBindValue(key(imei));
    QSqlQuery times = prepare(QStringLiteral("DELETE FROM event_times WHERE imei = ?"));
    times.addBindValue(key(imei));
    if (run(bits) && run(times))
        db.commit();
    else
        db.rollback();
}

void Store::addPositions(quint64 imei, const QList<Position> &positions)
{
    if (positions.isEmpty())
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    db.transaction();
    // A repeated time replaces the earlier point, as the tracker's log would.
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT OR REPLACE INTO positions (imei, time, lat, lon, alt, course, speed, accuracy)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const Position &position : positions) {
        query.bindValue(0, key(imei));
        query.bindValue(1, position.time);
        query.bindValue(2, position.lat);
        query.bindValue(3, position.lon);
        query.bindValue(4, position.alt);
        query.bindValue(5, position.course);
        query.bindValue(6, position.speed);
        query.bindValue(7, position.accuracy);
        if (!run(query)) {
            db.rollback();
            return;
        }
    }
    db.commit();
}

std::optional<Position> Store::lastPosition(quint64 imei) const
{
    QSqlQuery query =
        prepare(QStringLiteral("SELECT time, lat, lon, alt, course, speed, accuracy FROM positions"
                               " WHERE imei = ? ORDER BY time DESC LIMIT 1"));
    query.addBindValue(key(imei));
    if (!run(query) || !query.next())
        return std::nullopt;
    return readPosition(query);
}

QList<Position> Store::positions(quint64 imei, qint64 fromTime, qint64 toTime) const
{
    QSqlQuery query =
        prepare(QStringLiteral("SELECT time, lat, lon, alt, course, speed, accuracy FROM positions"
                               " WHERE imei = ? AND time BETWEEN ? AND ? ORDER BY time"));
    query.addBindValue(key(imei));
    query.addBindValue(fromTime);
    query.addBindValue(toTime);
    QList<Position> positions;
    if (run(query)) {
        while (query.next())
            positions.append(readPosition(query));
    }
    return positions;
}

std::optional<ShareToken> Store::shareToken(quint64 imei) const
{
    QSqlQuery query =
        prepare(QStringLiteral("SELECT token, password, expiry FROM share_tokens WHERE imei = ?"));
    query.addBindValue(key(imei));
    if (!run(query) || !query.next())
        return std::nullopt;
    ShareToken token;
    token.token = query.value(0).toString();
    token.password = query.value(1).toString();
    token.expiry = query.value(2).toLongLong();
    return token;
}

void Store::setShareToken(quint64 imei, const ShareToken &token)
{
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT OR REPLACE INTO share_tokens (imei, token, password, expiry) VALUES (?, ?, ?, ?)"));
    query.addBindValue(key(imei));
    query.addBindValue(text(token.token));
    query.addBindValue(text(token.password));
    query.addBindValue(token.expiry);
    run(query);
}

void Store::clearPositions(quint64 imei)
{
    QSqlQuery query = prepare(QStringLiteral("DELETE FROM positions WHERE imei = ?"));
    query.addBindValue(key(imei));
    run(query);
}

void Store::dropShareToken(quint64 imei)
{
    QSqlQuery query = prepare(QStringLiteral("DELETE FROM share_tokens WHERE imei = ?"));
    query.addBindValue(key(imei));
    run(query);
}

void Store::recordConfigFrame(quint64 imei, const QString &frame, const QString &channel,
                              qint64 time)
{
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT INTO config_frames (imei, frame, channel, time) VALUES (?, ?, ?, ?)"));
    query.addBindValue(key(imei));
    query.addBindValue(text(frame));
    query.addBindValue(text(channel));
    query.addBindValue(time);
    run(query);
}

QStringList Store::configFrames(quint64 imei) const
{
    QSqlQuery query =
        prepare(QStringLiteral("SELECT frame FROM config_frames WHERE imei = ? ORDER BY id"));
    query.addBindValue(key(imei));
    QStringList frames;
    if (run(query)) {
        while (query.next())
            frames.append(query.value(0).toString());
    }
    return frames;
}

qint64 Store::addSms(const SmsMessage &message)
{
    QSqlQuery query = prepare(QStringLiteral(
        "INSERT INTO sms_messages (sender, recipient, text, time) VALUES (?, ?, ?, ?)"));
    query.addBindValue(text(message.from));
    query.addBindValue(text(message.to));
    query.addBindValue(text(message.text));
    query.addBindValue(message.time);
    if (!run(query))
        return 0;
    return query.lastInsertId().toLongLong();
}

QList<SmsMessage> Store::smsAfter(qint64 id) const
{
    QSqlQuery query = prepare(QStringLiteral(
        "SELECT id, sender, recipient, text, time FROM sms_messages WHERE id > ? ORDER BY id"));
    query.addBindValue(id);
    QList<SmsMessage> messages;
    if (run(query)) {
        while (query.next()) {
            SmsMessage message;
            message.id = query.value(0).toLongLong();
            message.from = query.value(1).toString();
            message.to = query.value(2).toString();
            message.text = query.value(3).toString();
            message.time = query.value(4).toLongLong();
            messages.append(message);
        }
    }
    return messages;
}

} // namespace devserver

#include "CommandJournal.h"

#include "OwnerOnlyFile.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString schema = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS commands (id INTEGER PRIMARY KEY AUTOINCREMENT, time INTEGER NOT "
    "NULL, serial TEXT NOT NULL, simNumber TEXT NOT NULL, simSlot INTEGER NOT NULL, asked TEXT "
    "NOT NULL, frame TEXT NOT NULL, state TEXT NOT NULL)");

const QString columns = QStringLiteral(
    "SELECT id, time, serial, simNumber, simSlot, asked, frame, state FROM commands");

bool isEnd(const QString &state)
{
    return state == QLatin1String("failed") || state == QLatin1String("done") ||
           state == QLatin1String("answered") || state == QLatin1String("noAnswer");
}

} // namespace

CommandJournal::CommandJournal(const QString &path, QObject *parent)
    : QObject(parent), m_path(path),
      m_connection(QStringLiteral("journal-%1").arg(quintptr(this), 0, 16))
{
    if (openAt(m_path))
        return;
    setAside();
    if (!openAt(m_path))
        openAt(QStringLiteral(":memory:"));
}

CommandJournal::~CommandJournal()
{
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

bool CommandJournal::openAt(const QString &file)
{
    if (file != QLatin1String(":memory:"))
        restrictToOwner(file, true);
    QSqlDatabase db = QSqlDatabase::contains(m_connection)
                          ? QSqlDatabase::database(m_connection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.close();
    db.setDatabaseName(file);
    if (!db.open())
        return false;
    // SQLite opens any file lazily: only reading it tells a journal from something else.
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next() ||
        query.value(0).toString() != QLatin1String("ok") || !query.exec(schema) ||
        !query.exec(columns + QStringLiteral(" LIMIT 1"))) {
        db.close();
        return false;
    }
    return true;
}

void CommandJournal::setAside()
{
    const QString aside = m_path + QStringLiteral(".damaged-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss"));
    QFile::remove(m_path + QStringLiteral("-journal"));
    if (QFile::rename(m_path, aside))
        qWarning("CommandJournal: %s could not be read; set aside as %s, a new journal started",
                 qPrintable(m_path), qPrintable(aside));
    else
        qWarning("CommandJournal: %s could not be read nor set aside; commands are kept for this "
                 "run only",
                 qPrintable(m_path));
}

int CommandJournal::add(const QString &serial, const QString &simNumber, int simSlot,
                        const QString &asked, const QString &frame, const QString &state)
{
    if (state != QLatin1String("sent") && state != QLatin1String("failed"))
        return 0;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction())
        return 0;
    QSqlQuery insert(db);
    insert.prepare(QStringLiteral("INSERT INTO commands (time, serial, simNumber, simSlot, asked, "
                                  "frame, state) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    insert.addBindValue(QDateTime::currentMSecsSinceEpoch());
    insert.addBindValue(serial);
    insert.addBindValue(simNumber);
    insert.addBindValue(simSlot);
    insert.addBindValue(asked);
    insert.addBindValue(frame);
    insert.addBindValue(state);
    QSqlQuery trim(db);
    trim.prepare(QStringLiteral("DELETE FROM commands WHERE id NOT IN (SELECT id FROM commands "
                                "ORDER BY id DESC LIMIT ?)"));
    trim.addBindValue(bound);
    if (!insert.exec() || !trim.exec() || !db.commit()) {
        qWarning("CommandJournal: a command was not kept: %s", qPrintable(db.lastError().text()));
        db.rollback();
        return 0;
    }
    const int id = insert.lastInsertId().toInt();
    touch();
    return id;
}

bool CommandJournal::setState(int id, const QString &state)
{
    if (!isEnd(state))
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction())
        return false;
    QSqlQuery update(db);
    update.prepare(QStringLiteral("UPDATE commands SET state = ? WHERE id = ? AND state = 'sent'"));
    update.addBindValue(state);
    update.addBindValue(id);
    if (!update.exec() || !db.commit()) {
        db.rollback();
        return false;
    }
    if (update.numRowsAffected() != 1)
        return false;
    touch();
    return true;
}

QVariantList CommandJournal::entries(const QString &serial) const
{
    return select(QStringLiteral(" WHERE serial = ? ORDER BY id DESC"), serial);
}

QVariantMap CommandJournal::entry(int id) const
{
    const QVariantList found = select(QStringLiteral(" WHERE id = ?"), id);
    return found.isEmpty() ? QVariantMap() : found.constFirst().toMap();
}

QVariantList CommandJournal::select(const QString &where, const QVariant &value) const
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(columns + where);
    query.addBindValue(value);
    QVariantList out;
    if (!query.exec())
        return out;
    while (query.next()) {
        out.append(QVariantMap{
            {QStringLiteral("id"), query.value(0).toInt()},
            {QStringLiteral("time"), QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong())},
            {QStringLiteral("serial"), query.value(2).toString()},
            {QStringLiteral("simNumber"), query.value(3).toString()},
            {QStringLiteral("simSlot"), query.value(4).toInt()},
            {QStringLiteral("asked"), query.value(5).toString()},
            {QStringLiteral("frame"), query.value(6).toString()},
            {QStringLiteral("state"), query.value(7).toString()}});
    }
    return out;
}

void CommandJournal::touch()
{
    ++m_revision;
    emit changed();
}

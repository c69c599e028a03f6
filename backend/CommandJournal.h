#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// The commands sent to the cars and how each ended, in an SQLite file kept by its owner only:
// the newest `bound` of them, each change in its own transaction. A file that cannot be read as
// the journal is set aside under another name and a new journal started, so a damaged journal
// never keeps the app from starting.
class CommandJournal : public QObject
{
    Q_OBJECT
    // Grows with every change, for views that read entries().
    Q_PROPERTY(int revision READ revision NOTIFY changed)

public:
    static constexpr int bound = 500;

    explicit CommandJournal(const QString &path, QObject *parent = nullptr);
    ~CommandJournal() override;

    int revision() const { return m_revision; }
    QString path() const { return m_path; }

    // A new entry in the state "sent" or "failed"; returns its id, or 0 when nothing was kept.
    Q_INVOKABLE int add(const QString &serial, const QString &simNumber, int simSlot,
                        const QString &asked, const QString &frame, const QString &state);
    // Moves a sent entry to where it ended ("failed", "done", "answered", "noAnswer"); any
    // other change is refused, so a late report cannot rewrite an ended command.
    Q_INVOKABLE bool setState(int id, const QString &state);
    // The car's entries, newest first: id, time (a date), serial, simNumber, simSlot, asked,
    // frame, state.
    Q_INVOKABLE QVariantList entries(const QString &serial) const;
    Q_INVOKABLE QVariantMap entry(int id) const;

signals:
    void changed();

private:
    bool openAt(const QString &file);
    void setAside();
    QVariantList select(const QString &where, const QVariant &value) const;
    void touch();

    QString m_path;
    QString m_connection;
    int m_revision = 0;
};

#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>

#include <chrono>

class MessagingModems;
class QDBusMessage;

// The SMS that reach the phone's modems while the app runs, each told once, when all its parts
// are in. Messages stored before are the phone's messaging app's business, and so is deleting.
class IncomingSms : public QObject
{
    Q_OBJECT

public:
    // How long a message announced by its first part waits for the others, by default: parts
    // can be held up in the network for minutes.
    static constexpr std::chrono::minutes defaultPatience{10};

    IncomingSms(const QDBusConnection &bus, const MessagingModems *modems,
                std::chrono::milliseconds patience = defaultPatience, QObject *parent = nullptr);

signals:
    void received(const QString &number, const QString &text);

private slots:
    void takeAdded(const QDBusMessage &signal);
    void takeDeleted(const QDBusMessage &signal);
    void takePropertiesChanged(const QDBusMessage &signal);

private:
    // A message announced but not yet told: the modem it came on, and which following it is.
    struct Followed
    {
        QString modem;
        quint64 serial = 0;
    };

    void follow(const QString &sms, const QString &modem);
    void read(const QString &sms);
    void readProperties(const QString &sms, const QDBusMessage &reply);
    void forgetGoneModems();

    QDBusConnection m_bus;
    const MessagingModems *m_modems;
    std::chrono::milliseconds m_patience;
    QHash<QString, Followed> m_followed;
    quint64 m_serial = 0;
};

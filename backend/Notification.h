#pragma once

#include <QDBusPendingReply>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// Shows the car's alarms as system notifications. The window repeats every standing alarm on
// each status reply, so each alarm (known by its title) keeps one bubble: shown once for a given
// text, replaced in place when the text (the alarm's time) changes. The bubble's default action
// brings the window forward. Without a notification server, or with the phone services off,
// nothing shows and nothing is said.
class Notification : public QObject
{
    Q_OBJECT

public:
    // Well above the device's alarm kinds; past it the least recently notified alarm is
    // forgotten, so no caller can grow the table without end.
    static constexpr int maxAlarms = 16;

    explicit Notification(QObject *parent = nullptr);

    // icon is not used: the bubble carries the app's own icon.
    Q_INVOKABLE void notify(const QString &title, const QString &text, const QString &icon);

private slots:
    void onActionInvoked(uint id, const QString &actionKey);
    void onActivationToken(uint id, const QString &token);
    void onNotificationClosed(uint id);
    void forgetServerIds();

private:
    struct Alarm
    {
        quint64 key = 0; // tells a forgotten alarm's late answer from a newer one of that title
        QString title = {};
        QString wanted = {};               // the newest text asked for
        std::optional<QString> shown = {}; // the text the server last took
        uint id = 0;                       // the server's id for the bubble; 0 while there is none
        QString activationToken = {};      // sent for the bubble ahead of its action
        bool sending = false;
    };

    Alarm &alarmFor(const QString &title);
    Alarm *alarmWithKey(quint64 key);
    Alarm *alarmWithId(uint id);
    void send(Alarm &alarm);
    void answered(quint64 key, const QString &text, const QDBusPendingReply<uint> &reply);

    QList<Alarm> m_alarms; // least recently notified first
    quint64 m_nextKey = 1;
    QString m_lastError; // a failure is said once, not on every repeat
};

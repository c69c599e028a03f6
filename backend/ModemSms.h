#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

class MessagingModems;

// SMS through the phone's modems on the system bus: out from the modem a SIM slot picks, in from
// any of them.
class ModemSms : public QObject
{
    Q_OBJECT

public:
    explicit ModemSms(const QDBusConnection &bus, QObject *parent = nullptr);

    int modemCount() const;

    // Sends from the modem at `slot` in the modems' order; a message the modem did not take or
    // could not send is logged and reported by sendFailed(ticket).
    void send(const QString &number, const QString &text, int slot, int ticket);

signals:
    // The modems, or their order, changed.
    void modemsChanged();
    void received(const QString &number, const QString &text);
    void sendFailed(int ticket);

private:
    void sendCreated(const QString &modem, const QString &number, const QString &sms, int ticket);
    void deleteSent(const QString &modem, const QString &sms);

    QDBusConnection m_bus;
    MessagingModems *m_modems;
};

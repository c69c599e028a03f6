#pragma once

#include <QObject>
#include <QString>

class ModemSms;
class SmsGateway;

// Sends SMS from the chosen SIM slot and reports incoming SMS. With KOVA_SMS_GATEWAY set, a
// development gateway carries the messages; otherwise the phone's modems do, unless the phone's
// services are off. Without either, a message is not sent (a warning says so) and nothing
// arrives.
class SmsManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(quint8 simSlot READ simSlot WRITE setSimSlot NOTIFY simSlotChanged)
    Q_PROPERTY(bool isDualSim READ isDualSim NOTIFY isDualSimChanged)

public:
    explicit SmsManager(QObject *parent = nullptr);

    quint8 simSlot() const { return m_simSlot; }
    bool isDualSim() const { return m_isDualSim; }

public slots:
    void setSimSlot(quint8 simSlot);
    // Sends only a single well-formed device frame; anything else is logged and dropped.
    // Returns the message's ticket, or 0 when it was not handed to any SMS service.
    int sendSms(const QString &number, const QString &message);

signals:
    void simSlotChanged(quint8 simSlot);
    void isDualSimChanged(bool isDualSim);
    void smsReceived(const QString &sender, const QString &message);
    // The modem could not send the message of this ticket.
    void sendFailed(int ticket);

private:
    void useGateway(const QString &gateway);
    void useModems();
    void setDualSim(bool isDualSim);

    quint8 m_simSlot = 0;
    int m_lastTicket = 0;
    bool m_isDualSim = false;
    SmsGateway *m_gateway = nullptr;
    ModemSms *m_modems = nullptr;
};

#pragma once

#include <QObject>
#include <QString>

class SmsGateway;

// Sends SMS from the chosen SIM slot and reports incoming SMS. The desktop has no SMS service:
// with KOVA_SMS_GATEWAY set, a development gateway carries the messages; without it, sending does
// nothing and nothing arrives.
class SmsManager : public QObject
{
    Q_OBJECT
    Q_PROPERTY(quint8 simSlot READ simSlot WRITE setSimSlot NOTIFY simSlotChanged)
    Q_PROPERTY(bool isDualSim READ isDualSim NOTIFY isDualSimChanged)

public:
    explicit SmsManager(QObject *parent = nullptr);

    quint8 simSlot() const { return m_simSlot; }
    bool isDualSim() const { return false; }

public slots:
    void setSimSlot(quint8 simSlot);
    // Sends only a single well-formed device frame; anything else is logged and dropped.
    void sendSms(const QString &number, const QString &message);

signals:
    void simSlotChanged(quint8 simSlot);
    void isDualSimChanged(bool isDualSim);
    void smsReceived(const QString &sender, const QString &message);

private:
    quint8 m_simSlot = 0;
    SmsGateway *m_gateway = nullptr;
};

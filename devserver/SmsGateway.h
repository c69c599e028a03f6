#pragma once

#include "Clock.h"

#include <QJsonObject>
#include <QObject>
#include <QSet>

namespace devserver {

class Store;

// The development SMS gateway. A message sent to a device's SIM number is applied by that
// device a few seconds later; devices' answers wait in the inbox for the app to fetch.
class SmsGateway : public QObject
{
    Q_OBJECT

public:
    SmsGateway(Store &store, Clock clock, QObject *parent = nullptr);

    // POST /sms/send with {"to", "text", "simSlot"}; false for a body that is no such object.
    bool send(const QByteArray &jsonBody);
    // GET /sms/inbox?after=ID: {"messages": [{"id", "from", "text"}]} in id order.
    QJsonObject inbox(qint64 after) const;

    // How long a device takes to act on a frame; tests shorten it.
    void setDeliveryDelay(int milliseconds);
    // Frames of these codes are ignored by every device from now on, as by a tracker that
    // refuses them (for tests of what the app does when a setting is never applied).
    void setRefusedCodes(const QSet<int> &codes);

signals:
    // A frame has been acted on by the device (for logs and tests).
    void frameHandled(quint64 imei, const QString &frame, bool applied);

private:
    void deliver(const QString &to, const QString &text);

    Store &m_store;
    Clock m_clock;
    int m_deliveryDelayMs = 3000;
    QSet<int> m_refusedCodes;
};

} // namespace devserver

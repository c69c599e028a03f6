#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The development SMS gateway's inbox reply: {"messages": [{"id": int, "from": text, "text":
// text}]}.
namespace SmsInbox {

struct Message
{
    qint64 id;
    QString from;
    QString text;
};

// The well-formed messages with ids above lastId, in id order, each id once. Ids decide the
// order and keep a message that shows up twice from being delivered twice.
std::vector<Message> newMessages(const QByteArray &reply, qint64 lastId);

} // namespace SmsInbox

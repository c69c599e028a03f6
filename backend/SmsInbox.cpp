#include "SmsInbox.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace SmsInbox {

std::vector<Message> newMessages(const QByteArray &reply, qint64 lastId)
{
    const QJsonArray entries =
        QJsonDocument::fromJson(reply).object().value(QStringLiteral("messages")).toArray();

    std::vector<Message> fresh;
    for (const QJsonValue &entry : entries) {
        // Ids that are not whole numbers read as -1, below every id already seen.
        const qint64 id = entry[QStringLiteral("id")].toInteger(-1);
        const QJsonValue from = entry[QStringLiteral("from")];
        const QJsonValue text = entry[QStringLiteral("text")];
        if (id <= lastId || !from.isString() || !text.isString())
            continue;
        fresh.push_back({id, from.toString(), text.toString()});
    }
    std::stable_sort(fresh.begin(), fresh.end(),
                     [](const Message &a, const Message &b) { return a.id < b.id; });
    fresh.erase(std::unique(fresh.begin(), fresh.end(),
                            [](const Message &a, const Message &b) { return a.id == b.id; }),
                fresh.end());
    return fresh;
}

} // namespace SmsInbox

#include "SmsInbox.h"

#include <cstdint>
#include <cstdlib>

// An inbox reply of the SMS gateway: whatever it holds, what comes out is new and in order.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr qint64 lastId = 3;
    qint64 previous = lastId;
    const QByteArray reply(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const SmsInbox::Message &message : SmsInbox::newMessages(reply, lastId)) {
        if (message.id <= previous)
            std::abort();
        previous = message.id;
    }
    return 0;
}

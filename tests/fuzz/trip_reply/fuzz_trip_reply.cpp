#include "DataChannelRecords.h"
#include "TripCutter.h"

#include <cstdint>

// A trip reply as Server takes it: refused by its error code, or cut into paths.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!DataChannelRecords::tripReplyError(reply))
        TripCutter::cut(reply);
    return 0;
}

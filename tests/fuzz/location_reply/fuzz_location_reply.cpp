#include "DataChannelRecords.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    DataChannelRecords::readLocationReply(QByteArrayView(data, qsizetype(size)));
    return 0;
}

#include "Tools.h"

#include <cstdint>

// The Base64 status text of a getStatus reply.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Tools tools;
    tools.parsStatus(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}

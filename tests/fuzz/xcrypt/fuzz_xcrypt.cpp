#include "Xcrypt.h"

#include <cstdint>
#include <cstdlib>

// An app-interface body as it arrives; deciphering it again must give the bytes back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    if (Xcrypt::xcrypt(Xcrypt::xcrypt(body)) != body)
        std::abort();
    return 0;
}

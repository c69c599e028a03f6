#include "NoticeChecker.h"

#include <QString>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    NoticeChecker::refusal(
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}

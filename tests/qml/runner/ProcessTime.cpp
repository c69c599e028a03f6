#include "ProcessTime.h"

#include <ctime>

double ProcessTime::cpuMs() const
{
    timespec spent{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spent) != 0)
        return -1;
    return double(spent.tv_sec) * 1000 + double(spent.tv_nsec) / 1e6;
}

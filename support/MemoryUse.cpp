// How much memory the program holds, so that a run can be stopped before it exhausts the machine.
#include "support/MemoryUse.h"

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

namespace tavlix {

namespace {

// The share of the machine a run may use: the rest keeps the desktop and the program itself usable.
constexpr double UsableShare = 0.75;

}  // namespace

namespace memory {

std::size_t residentBytes()
{
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    unsigned long size = 0, resident = 0;
    const bool read = std::fscanf(f, "%lu %lu", &size, &resident) == 2;
    std::fclose(f);
    const long page = ::sysconf(_SC_PAGESIZE);
    return read && page > 0 ? static_cast<std::size_t>(resident) * static_cast<std::size_t>(page) : 0;
}

std::size_t limitBytes()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page <= 0)
        return 0;
    double limit = static_cast<double>(pages) * static_cast<double>(page);
    rlimit space{};
    if (::getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY)
        limit = std::min(limit, static_cast<double>(space.rlim_cur));
    return static_cast<std::size_t>(limit * UsableShare);
}

bool exceeds(std::size_t limit)
{
    return limit > 0 && residentBytes() > limit;
}

}  // namespace memory

}  // namespace tavlix

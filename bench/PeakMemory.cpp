// SPDX-License-Identifier: GPL-3.0-or-later
#include "PeakMemory.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

double peakMemoryMiB()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
#ifdef __APPLE__
    return double(usage.ru_maxrss) / (1024.0 * 1024.0);  // bytes
#else
    return double(usage.ru_maxrss) / 1024.0;  // KiB
#endif
#endif
}

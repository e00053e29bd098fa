// SPDX-License-Identifier: GPL-3.0-or-later
#include "BusErrorGuard.h"

#ifndef _WIN32

#include <atomic>
#include <cstdint>
#include <mutex>

#include <signal.h>
#include <sys/mman.h>

namespace {

struct Watched
{
    std::atomic<bool> taken{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> lost{false};
};

// A few runs' windows at once; each run maps a handful.
constexpr int watchCount = 64;
Watched watched[watchCount];
struct sigaction previous {};

void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Watched &window : watched) {
        const std::uintptr_t begin = window.begin.load();
        const std::uintptr_t end = window.end.load();
        if (begin <= at && at < end) {
            // Zeros in the window's place; the touch is made again and reads them.
            ::mmap(reinterpret_cast<void *>(begin), end - begin, PROT_READ,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
            window.lost = true;
            return;
        }
    }
    if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
        previous.sa_sigaction(signal, info, context);
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
    } else {
        // The system's own end of the program, once the touch is made again.
        ::signal(SIGBUS, SIG_DFL);
    }
}

void install()
{
    struct sigaction action {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previous);
}

} // namespace

int BusErrorGuard::watch(void *begin, std::size_t length)
{
    static std::once_flag installed;
    std::call_once(installed, install);
    for (int i = 0; i < watchCount; ++i) {
        Watched &window = watched[i];
        bool free = false;
        if (window.taken.compare_exchange_strong(free, true)) {
            window.lost = false;
            // Empty until its end is set.
            window.begin = reinterpret_cast<std::uintptr_t>(begin);
            window.end = reinterpret_cast<std::uintptr_t>(begin) + length;
            return i;
        }
    }
    return -1;
}

bool BusErrorGuard::release(int watch)
{
    Watched &window = watched[watch];
    window.end = 0;
    window.begin = 0;
    const bool lost = window.lost.exchange(false);
    window.taken = false;
    return !lost;
}

#endif

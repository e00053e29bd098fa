// SPDX-License-Identifier: GPL-3.0-or-later
#include "BusErrorGuard.h"

#ifndef _WIN32

#include <atomic>
#include <cstdint>
#include <mutex>

#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>

namespace {

struct Watched
{
    std::atomic<bool> taken{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> lost{false};
    std::atomic<int> file{-1};                // the mapped file,
    std::atomic<std::uint64_t> fileEnd{0};    // and where in it the window ends
};

// A few runs' windows at once; each run maps a handful.
constexpr int watchCount = 64;
Watched watched[watchCount];
struct sigaction previous {};

// Zeros in the window's place; the touch is made again and reads them.
void replaceWithZeros(Watched &window, std::uintptr_t begin, std::uintptr_t end)
{
    ::mmap(reinterpret_cast<void *>(begin), end - begin, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    window.lost = true;
}

// Whether the window's file no longer reaches the window's end.
bool cutShort(const Watched &window)
{
    struct stat status {};
    return ::fstat(window.file.load(), &status) == 0
        && static_cast<std::uint64_t>(status.st_size) < window.fileEnd.load();
}

void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Watched &window : watched) {
        const std::uintptr_t begin = window.begin.load();
        const std::uintptr_t end = window.end.load();
        if (begin <= at && at < end) {
            replaceWithZeros(window, begin, end);
            return;
        }
    }
    // Not every system reports the address as it was touched: qemu-user for
    // 32-bit ARM gives it a page off, now and then. Every window whose file
    // has been cut short under it is lost all the same; should the touch
    // fault again, it was not in one of them.
    bool replaced = false;
    for (Watched &window : watched) {
        const std::uintptr_t begin = window.begin.load();
        const std::uintptr_t end = window.end.load();
        if (end != 0 && !window.lost && cutShort(window)) {
            replaceWithZeros(window, begin, end);
            replaced = true;
        }
    }
    if (replaced)
        return;
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

int BusErrorGuard::watch(void *begin, std::size_t length, int file, std::uint64_t fileEnd)
{
    static std::once_flag installed;
    std::call_once(installed, install);
    for (int i = 0; i < watchCount; ++i) {
        Watched &window = watched[i];
        bool free = false;
        if (window.taken.compare_exchange_strong(free, true)) {
            window.lost = false;
            window.file = file;
            window.fileEnd = fileEnd;
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

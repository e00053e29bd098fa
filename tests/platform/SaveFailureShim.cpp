// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a test program (LD_PRELOAD) to make one system call of the
// save, or a read of the log past its first megabyte, fail as a failing disk
// or network share would, and to take unnamed temporary files away. The test arms it through clarifier_save_shim().
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<const char *> failing{nullptr};
std::atomic<bool> noUnnamedFiles{false};

template<typename Function>
Function real(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Whether `fd` is a save's new file: unnamed (shown as deleted) or under a
// save's temporary name, and open for writing.
bool isSavedFile(int fd)
{
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || (flags & O_ACCMODE) == O_RDONLY)
        return false;
    char target[4096];
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = readlink(self.c_str(), target, sizeof target - 1);
    if (length <= 0)
        return false;
    const std::string path(target, static_cast<std::size_t>(length));
    // An unnamed file shows as "folder/#inode (deleted)".
    return path.find("/.jt65a-") != std::string::npos
        || (path.find("/#") != std::string::npos && path.ends_with(" (deleted)"));
}

// Whether the armed failure is `call`; it then fires once.
bool fires(const char *call)
{
    const char *armed = failing.load();
    return armed != nullptr && std::strcmp(armed, call) == 0 && failing.compare_exchange_strong(armed, nullptr);
}

} // namespace

extern "C" {

// `call` ("write", "fdatasync", "close", "renameat", "linkat", "fsync" of a
// folder, or "pread" of a file open for reading, past its first megabyte)
// fails once with EIO; with `unnamed` false the file system offers no unnamed files.
__attribute__((visibility("default"))) void clarifier_save_shim(const char *call, int unnamed)
{
    failing = call;
    noUnnamedFiles = unnamed == 0;
}

ssize_t write(int fd, const void *data, size_t size)
{
    if (isSavedFile(fd) && fires("write")) {
        errno = EIO;
        return -1;
    }
    return real<ssize_t (*)(int, const void *, size_t)>("write")(fd, data, size);
}

ssize_t pread64(int fd, void *buffer, size_t size, off64_t offset)
{
    if (offset >= (off64_t{1} << 20) && (fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY && fires("pread")) {
        errno = EIO;
        return -1;
    }
    return real<ssize_t (*)(int, void *, size_t, off64_t)>("pread64")(fd, buffer, size, offset);
}

int fdatasync(int fd)
{
    if (isSavedFile(fd) && fires("fdatasync")) {
        errno = EIO;
        return -1;
    }
    return real<int (*)(int)>("fdatasync")(fd);
}

int fsync(int fd)
{
    struct stat status {};
    if (fstat(fd, &status) == 0 && S_ISDIR(status.st_mode) && fires("fsync")) {
        errno = EIO;
        return -1;
    }
    return real<int (*)(int)>("fsync")(fd);
}

int close(int fd)
{
    const bool fail = isSavedFile(fd) && fires("close");
    const int result = real<int (*)(int)>("close")(fd);
    if (fail) {
        errno = EIO;
        return -1;
    }
    return result;
}

int renameat(int fromFolder, const char *from, int toFolder, const char *to)
{
    if (fires("renameat")) {
        errno = EIO;
        return -1;
    }
    return real<int (*)(int, const char *, int, const char *)>("renameat")(fromFolder, from, toFolder, to);
}

int linkat(int fromFolder, const char *from, int toFolder, const char *to, int flags)
{
    if (fires("linkat")) {
        errno = EIO;
        return -1;
    }
    return real<int (*)(int, const char *, int, const char *, int)>("linkat")(fromFolder, from, toFolder, to,
                                                                              flags);
}

int openat(int folder, const char *path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, unsigned));
        va_end(arguments);
    }
    if ((flags & O_TMPFILE) == O_TMPFILE && noUnnamedFiles) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return real<int (*)(int, const char *, int, ...)>("openat")(folder, path, flags, mode);
}

} // extern "C"

namespace {

// For a run by hand: CLARIFIER_SAVE_SHIM_FAIL names the call that fails.
__attribute__((constructor)) void armFromEnvironment()
{
    if (const char *call = std::getenv("CLARIFIER_SAVE_SHIM_FAIL"))
        failing = call;
}

} // namespace

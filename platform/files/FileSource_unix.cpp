// SPDX-License-Identifier: GPL-3.0-or-later
// The log's source on Linux and other POSIX systems.
#include "FileSource.h"

#include "FileRefusals.h"
#include "NativeFiles.h"
#include "SystemFileIdentity_unix.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The most one system call is asked for.
constexpr std::size_t largestRead = std::size_t{1} << 30;

const char *refusal(const struct stat &status)
{
    if (S_ISDIR(status.st_mode))
        return FileRefusals::logIsFolder;
    if (!S_ISREG(status.st_mode))
        return FileRefusals::logIsNotOrdinary;
    return nullptr;
}

} // namespace

FileSource::FileSource(const std::string &path)
    : m_path(path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && refusal(status) != nullptr)
        fail(refusal(status));
    // Not held up should the name have become a named pipe since.
    m_file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (m_file < 0)
        fail(NativeFiles::reason(errno));
    const int statusError = ::fstat(m_file, &status) == 0 ? 0 : errno;
    if (statusError != 0 || refusal(status) != nullptr) {
        const std::string reason = statusError != 0 ? NativeFiles::reason(statusError) : refusal(status);
        ::close(m_file);
        fail(reason);
    }
    m_identity = identityOf(status);
#ifdef POSIX_FADV_SEQUENTIAL
    ::posix_fadvise(m_file, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
}

FileSource::~FileSource()
{
    ::close(m_file);
}

std::size_t FileSource::readAt(std::uint64_t offset, char *buffer, std::size_t capacity)
{
    std::size_t done = 0;
    while (done < capacity) {
        const ssize_t got = ::pread(m_file, buffer + done, std::min(capacity - done, largestRead),
                                    static_cast<off_t>(offset + done));
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(NativeFiles::reason(errno));
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

// None when the system cannot say; errno tells why.
std::optional<ByteSource::State> FileSource::state() const
{
    struct stat status {};
    if (::fstat(m_file, &status) != 0)
        return std::nullopt;
    const struct timespec &written = status.st_mtim;
    return State{static_cast<std::uint64_t>(status.st_size),
                 static_cast<std::int64_t>(written.tv_sec) * 1'000'000'000 + written.tv_nsec};
}

bool FileSource::stillNamed() const
{
    struct stat named {};
    return ::stat(m_path.c_str(), &named) == 0 && identityOf(named) == m_identity;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSource.h"

#include "FileError.h"
#include "FileRefusals.h"
#include "NativeFiles.h"
#include "SystemFileIdentity.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#ifdef _WIN32
#include "NativeFiles_win.h"

#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The most one system call is asked for.
constexpr std::size_t largestRead = std::size_t{1} << 30;

} // namespace

void FileSource::fail(const std::string &reason) const
{
    throw FileError(FileError::Operation::Read, m_path, reason);
}

#ifndef _WIN32

namespace {

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
#ifdef __APPLE__
    const struct timespec &written = status.st_mtimespec;
#else
    const struct timespec &written = status.st_mtim;
#endif
    return State{static_cast<std::uint64_t>(status.st_size),
                 static_cast<std::int64_t>(written.tv_sec) * 1'000'000'000 + written.tv_nsec};
}

bool FileSource::stillNamed() const
{
    struct stat named {};
    return ::stat(m_path.c_str(), &named) == 0 && identityOf(named) == m_identity;
}

#else

FileSource::FileSource(const std::string &path)
    : m_path(path)
{
    const std::wstring wide = NativeFiles::widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        fail(FileRefusals::logIsFolder);
    // The decoder may go on writing its log meanwhile.
    m_file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_file == INVALID_HANDLE_VALUE)
        fail(NativeFiles::lastWindowsReason());
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(m_file) != FILE_TYPE_DISK || !GetFileInformationByHandle(m_file, &information)
        || (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(m_file);
        fail(FileRefusals::logIsNotOrdinary);
    }
    m_identity = identityOf(information);
}

FileSource::~FileSource()
{
    CloseHandle(m_file);
}

// The last write time may be stamped only when the writer closes the file,
// the one moment the system promises it is right.
std::optional<ByteSource::State> FileSource::state() const
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(m_file, &information))
        return std::nullopt;
    const FILETIME &written = information.ftLastWriteTime;
    return State{(std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow,
                 static_cast<std::int64_t>((std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime)};
}

bool FileSource::stillNamed() const
{
    // Opened for its attributes only, so that a log the decoder holds open opens too.
    HANDLE named = CreateFileW(NativeFiles::widePath(m_path).c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                               nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool same = GetFileInformationByHandle(named, &information) && identityOf(information) == m_identity;
    CloseHandle(named);
    return same;
}

std::size_t FileSource::readAt(std::uint64_t offset, char *buffer, std::size_t capacity)
{
    std::size_t done = 0;
    while (done < capacity) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + done);
        at.OffsetHigh = static_cast<DWORD>((offset + done) >> 32);
        DWORD got = 0;
        if (!ReadFile(m_file, buffer + done, static_cast<DWORD>(std::min(capacity - done, largestRead)), &got,
                      &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            fail(NativeFiles::lastWindowsReason());
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

#endif

std::optional<std::uint64_t> FileSource::size() const
{
    const std::optional<State> now = state();
    return now ? std::optional(now->size) : std::nullopt;
}

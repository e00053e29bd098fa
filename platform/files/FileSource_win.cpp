// SPDX-License-Identifier: GPL-3.0-or-later
// The log's source on Windows.
#include "FileSource.h"

#include "FileRefusals.h"
#include "NativeFiles_win.h"
#include "SystemFileIdentity_win.h"

#include <algorithm>

#include <windows.h>

namespace {

// The most one system call is asked for.
constexpr std::size_t largestRead = std::size_t{1} << 30;

} // namespace

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

// The size alone: the system may stamp the time of last writing only when
// the writer closes the file, so a decoder that keeps its log open and wrote
// a line just before the run would make a log that merely grew look
// rewritten.
std::optional<ByteSource::State> FileSource::state() const
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(m_file, &information))
        return std::nullopt;
    return State{(std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow, std::nullopt};
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

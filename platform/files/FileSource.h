// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSource.h"

#include <string>

// A log file read by position through the system's own handle, straight
// into the caller's buffer. The path is the system's own bytes on POSIX
// systems and UTF-8 on Windows. It may be a link to the log.
class FileSource : public ByteSource
{
public:
    // Throws FileError when the file cannot be opened, is a folder, or is no
    // ordinary file (a device, a named pipe or a socket, refused before it
    // is opened).
    explicit FileSource(const std::string &path);
    ~FileSource() override;
    FileSource(const FileSource &) = delete;
    FileSource &operator=(const FileSource &) = delete;

    std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override;
    std::optional<FileIdentity> identity() const override { return m_identity; }
    std::optional<State> state() const override;
    bool stillNamed() const override;

private:
    [[noreturn]] void fail(const std::string &reason) const;

    std::string m_path;
    FileIdentity m_identity;
#ifdef _WIN32
    void *m_file;  // HANDLE
#else
    int m_file = -1;
#endif
};

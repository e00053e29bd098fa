// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSource.h"

#include <QFile>

#include <string>

// A log file read straight into the caller's buffer, with no second buffer
// in between.
class FileSource : public ByteSource
{
public:
    // Throws FileError when the file cannot be opened or is no ordinary file
    // (a device, a named pipe or a socket).
    explicit FileSource(const std::string &path);

    std::size_t read(char *buffer, std::size_t capacity) override;

    // An ordinary file is read again by position: with pread() on the same
    // descriptor, or on Windows through a second handle of the same file
    // (which cannot be renamed or removed while it is open), so that the
    // reads made ahead on another thread go on where they were.
    bool readsAtPositions() const override { return true; }
    std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override;

private:
    [[noreturn]] void fail(const QFile &file) const;

    std::string m_path;
    QFile m_file;
#ifdef _WIN32
    QFile m_positioned;
#endif
};

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

private:
    std::string m_path;
    QFile m_file;
};

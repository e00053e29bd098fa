// SPDX-License-Identifier: GPL-3.0-or-later
// What the log's source is on every system; each system's own reading is in
// FileSource_unix.cpp and FileSource_win.cpp.
#include "FileSource.h"

#include "FileError.h"

void FileSource::fail(const std::string &reason) const
{
    throw FileError(FileError::Operation::Read, m_path, reason);
}

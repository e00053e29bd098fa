// SPDX-License-Identifier: GPL-3.0-or-later
// What the log's source is on every system; each system's own reading is in
// FileSource_unix.cpp and FileSource_win.cpp.
#include "FileSource.h"

#include "FileError.h"

void FileSource::fail(const std::string &reason) const
{
    throw FileError(FileError::Operation::Read, m_path, reason);
}

std::optional<std::uint64_t> FileSource::size() const
{
    const std::optional<State> now = state();
    return now ? std::optional(now->size) : std::nullopt;
}

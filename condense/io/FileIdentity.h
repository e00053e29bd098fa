// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Which file an open file is, whatever name it was opened by: the device and
// inode on POSIX systems, the volume serial number and file index on Windows.
struct FileIdentity
{
    std::uint64_t volume = 0;
    std::uint64_t file = 0;

    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

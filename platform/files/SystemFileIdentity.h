// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileIdentity.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

// Which file the system's description of an open file, or of a name, is of:
// the log's source and the save compare files by it.
#ifdef _WIN32
inline FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION &information)
{
    return {information.dwVolumeSerialNumber,
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}
#else
inline FileIdentity identityOf(const struct stat &status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}
#endif

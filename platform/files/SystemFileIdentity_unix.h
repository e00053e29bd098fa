// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileIdentity.h"

#include <cstdint>

#include <sys/stat.h>

// Which file the system's description of an open file, or of a name, is of:
// the log's source and the save compare files by it.
inline FileIdentity identityOf(const struct stat &status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileIdentity.h"

#include <cstdint>

#include <windows.h>

// Which file the system's description of an open file, or of a name, is of:
// the log's source and the save compare files by it.
inline FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION &information)
{
    return {information.dwVolumeSerialNumber,
            (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

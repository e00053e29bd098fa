// SPDX-License-Identifier: GPL-3.0-or-later
#include "NativeFiles.h"

#include <system_error>

namespace NativeFiles {

std::string reason(int errorNumber)
{
    return std::generic_category().message(errorNumber);
}

} // namespace NativeFiles

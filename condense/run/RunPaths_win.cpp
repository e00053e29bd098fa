// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunPaths.h"

#include <algorithm>

namespace RunPaths {

char separator()
{
    return '\\';
}

std::string join(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    // Windows takes "/" as a separator too, but every path the user sees is
    // in the system's own form; no Windows file name holds a "/".
    std::replace(path.begin(), path.end(), '/', '\\');
    path.push_back(separator());
    path.append(name);
    return path;
}

} // namespace RunPaths

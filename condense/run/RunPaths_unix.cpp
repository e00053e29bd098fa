// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunPaths.h"

namespace RunPaths {

char separator()
{
    return '/';
}

std::string join(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    path.push_back(separator());
    path.append(name);
    return path;
}

} // namespace RunPaths

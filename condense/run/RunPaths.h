// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// How the condensing run names its two files from the folder it is given.
namespace RunPaths {

// The system's own path separator.
char separator();

// folder + separator + name. The separator is always inserted, also after a
// folder that already ends with one (a root). On Windows the folder's "/"
// separators become "\\".
std::string join(std::string_view folder, std::string_view name);

} // namespace RunPaths

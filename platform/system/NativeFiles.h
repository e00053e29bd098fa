// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What the save and the log's reading share on every system: the system's
// own words for a failure. Windows adds its own in NativeFiles_win.h.
namespace NativeFiles {

// The system's text for an errno value ("No such file or directory").
std::string reason(int errorNumber);

} // namespace NativeFiles

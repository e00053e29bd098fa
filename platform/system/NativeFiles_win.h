// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "NativeFiles.h"

// What the save and the log's reading share on Windows: the system's words
// for its own error codes, and its form of a path.
namespace NativeFiles {

// The system's text for a Windows error code (GetLastError()), and for the
// last one.
std::string windowsReason(unsigned long errorCode);
std::string lastWindowsReason();

// A UTF-8 path as Windows takes it. A long absolute path is given the "\\?\"
// form, so that names up to 255 characters work in any folder.
std::wstring widePath(const std::string &utf8);

} // namespace NativeFiles

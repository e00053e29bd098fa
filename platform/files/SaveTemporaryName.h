// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The names of the files a save writes before it puts one in place:
// ".jt65a-" and ten random letters or digits and ".tmp", 21 bytes whatever
// the output's name, so that an output name of the system's longest length
// still has room beside it. A run that ended before its save did (killed, or
// a power failure) may leave one behind; a later save in that folder
// recognises it by its form and removes it when no run holds it.
namespace SaveTemporaryName {

std::string make();
bool isOne(std::string_view name);

// The names' form as a wildcard pattern, for a system that lists a folder
// by one: ".jt65a-*.tmp".
std::string pattern();

} // namespace SaveTemporaryName

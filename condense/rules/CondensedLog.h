// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The condensed log's fixed texts and its file name.
namespace CondensedLog {

inline constexpr std::size_t width = 64;  // columns of the header and footer

// Every line of the condensed log ends with this.
inline constexpr std::string_view lineEnd = "\r\n";

// The four header lines and the four footer lines, each with its line end.
std::string header();
std::string footer();

// "jt65a_" + call sign + "_logfile.txt". Characters that cannot stand in a
// file name (\ / : * ? " < > | and control characters) become "-", so a
// portable call such as "W1AW/P" names "jt65a_W1AW-P_logfile.txt" in the
// log's own folder rather than a path somewhere else.
std::string fileNameFor(std::string_view callSign);

} // namespace CondensedLog

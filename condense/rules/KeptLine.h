// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

// What makes a line of the log one that an operator reviews: written here
// once, for every path that classifies a line (a line in a buffer, a line
// too long to hold) and for the vector prefilter that finds the lines worth
// classifying.
//
// A line is kept when it begins with "UTC" (a date marker, written after an
// empty line), carries "Trans" in columns 9 to 13 (a transmit line), begins
// with "---", or contains the call sign anywhere. Bytes are compared
// exactly, case-sensitively.
namespace KeptLine {

inline constexpr std::string_view dateMarker = "UTC";
inline constexpr std::string_view separator = "---";
inline constexpr std::string_view transmitWord = "Trans";
inline constexpr std::size_t transmitColumn = 8;  // counted from 0: columns 9 to 13

// How much of a line's start the marker rules look at.
inline constexpr std::size_t headSize = transmitColumn + transmitWord.size();

// KeptWithEmptyLineBefore: kept, and an empty line is written just before it.
enum class Kind { Dropped, Kept, KeptWithEmptyLineBefore };

// `head` is the line's start, up to headSize bytes of it (the whole line if
// it is shorter).
constexpr Kind kindOf(std::string_view head, bool containsCall)
{
    if (head.starts_with(dateMarker))
        return Kind::KeptWithEmptyLineBefore;
    const bool transmit = head.size() >= headSize && head.substr(transmitColumn).starts_with(transmitWord);
    return transmit || head.starts_with(separator) || containsCall ? Kind::Kept : Kind::Dropped;
}

// The prefilter's bytes: a line that may be a marker line begins with one of
// the first two, or has the third where the transmit word begins.
inline constexpr char dateMarkerStart = dateMarker.front();
inline constexpr char separatorStart = separator.front();
inline constexpr char transmitStart = transmitWord.front();

} // namespace KeptLine

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Finds the CR and LF bytes that end lines, thirty-two bytes at a time with
// AVX2 and sixteen with SSE2 or NEON. The kernels for this processor are
// chosen once, when the object is made, not at every look: a kept line needs
// two looks, one back to its start and one on to its end, and most lines are
// short.
class LineEndSearch
{
public:
    LineEndSearch();

    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

    // The first CR or LF in data[from, size), or size.
    std::size_t next(const char *data, std::size_t from, std::size_t size) const
    {
        return m_kernels.next(data, from, size);
    }

    // The start of the line that holds position `at`: just after the last CR
    // or LF in data[floor, at), or floor if there is none.
    std::size_t lineStart(const char *data, std::size_t at, std::size_t floor) const
    {
        return m_kernels.lineStart(data, at, floor);
    }

private:
    using Search = std::size_t (*)(const char *data, std::size_t at, std::size_t bound);
    struct Kernels
    {
        Search next;
        Search lineStart;
    };
    static Kernels kernelsForThisProcessor();

    Kernels m_kernels;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Finds a fixed byte string in a block of bytes.
//
// The search looks at a whole block at a time: it tests two of the needle's
// bytes at sixteen candidate positions at once (SSE2 or NEON; thirty-two with
// AVX2) and compares the whole needle only where both agree. The two bytes
// are chosen to be rare in decoder logs (letters rather than digits, blanks
// or punctuation), so whole comparisons are few. The kernel for this
// processor is chosen once, when the finder is made.
class SubstringFinder
{
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit SubstringFinder(std::string_view needle);

    // The first position at or after `from` where the needle starts and lies
    // wholly inside data[0, size), or npos. An empty needle is found at `from`
    // itself whenever from <= size.
    std::size_t find(const char *data, std::size_t size, std::size_t from) const;

    std::size_t length() const { return m_needle.size(); }

private:
    // The first start in [start, lastStart] where the needle (of two bytes or
    // more) lies in data, or npos.
    using Search = std::size_t (*)(const char *data, std::size_t start, std::size_t lastStart,
                                   const std::string &needle, std::size_t firstProbe, std::size_t secondProbe);
    struct Kernels
    {
        Search search;
    };
    static Kernels kernelsForThisProcessor();

    std::string m_needle;
    std::size_t m_firstProbe = 0;  // offsets of the two bytes tested first
    std::size_t m_secondProbe = 0;
    Kernels m_kernels;
};

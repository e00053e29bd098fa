// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Walks through a block of bytes the starts of the lines that may be marker
// lines: a line start (the block's first byte, or a byte after CR or LF that
// is itself neither) that begins with the first byte of a marker, or has the
// transmit word's first byte where that word begins (KeptLine). Every marker
// line is among them; the full test is the caller's. The block must begin at
// a line start.
//
// It tests sixty-four bytes at a time and keeps their bits, so stepping from
// one position to the next is a bit scan, not a search.
class MarkerLineScanner
{
public:
    MarkerLineScanner(const char *data, std::size_t size);

    // The first position at or after `from`, or size if none. Positions asked
    // for must not decrease from call to call.
    std::size_t next(std::size_t from);

    // Where a skip over blocks without a marker line start ended: the first
    // block with one, and its bits; or, with bits 0, the first block left to
    // the byte tests: one too near an end for the vector tests (any block,
    // where the processor has none). Returned by value, in registers; a
    // result written through a pointer would cost the stack check on every
    // step.
    struct QuietBlocksEnd
    {
        std::size_t base;
        std::uint64_t bits;
    };

private:
    using SkipQuietBlocks = QuietBlocksEnd (*)(const char *data, std::size_t base, std::size_t size);
    struct Kernels
    {
        // Steps over whole blocks without a marker line start.
        SkipQuietBlocks skipQuietBlocks;
    };
    static Kernels kernelsForThisProcessor();

    void load(std::size_t base);
    std::uint64_t bitsOf(std::size_t base) const;

    Kernels m_kernels;
    const char *m_data;
    std::size_t m_size;
    std::size_t m_base = 0;   // the bits describe [m_base, m_base + 64)
    std::uint64_t m_bits = 0;
};

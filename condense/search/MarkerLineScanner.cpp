// SPDX-License-Identifier: GPL-3.0-or-later
#include "MarkerLineScanner.h"

#include "CpuFeatures.h"
#include "KeptLine.h"
#include "LineEndVectors.h"
#include "NeonMasks.h"
#include "LineEndSearch.h"

#include <bit>
#include <string_view>

namespace {

constexpr std::size_t blockSize = 64;

// The prefilter's bytes, from the rules.
constexpr char dateMarkerStart = KeptLine::dateMarkerStart;
constexpr char separatorStart = KeptLine::separatorStart;
constexpr char transmitStart = KeptLine::transmitStart;
constexpr std::size_t transmitColumn = KeptLine::transmitColumn;
// The vector tests read one byte before a block and transmitColumn past it.
constexpr std::size_t roomPast = transmitColumn;
// A marker line is known by its marker's first byte, so each marker must have
// one; every line the rules keep as a marker line starts with one of them.
static_assert(!KeptLine::dateMarker.empty() && !KeptLine::separator.empty() && !KeptLine::transmitWord.empty());
static_assert(KeptLine::kindOf(KeptLine::dateMarker, false) != KeptLine::Kind::Dropped
              && KeptLine::kindOf(KeptLine::separator, false) != KeptLine::Kind::Dropped
              && KeptLine::kindOf("12345678Trans", false) != KeptLine::Kind::Dropped
              && KeptLine::kindOf("12345678Tran", false) == KeptLine::Kind::Dropped);
static_assert(std::string_view("12345678Trans")[transmitColumn] == transmitStart);

#ifdef CLARIFIER_HAVE_SSE2
__m128i load16(const char *at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
}

__m128i bytesEqual16(const char *at, char c)
{
    return _mm_cmpeq_epi8(load16(at), _mm_set1_epi8(c));
}

// Bit i: a line starts at at[i] (after a terminator, not one itself) with
// "U" or "-", or with "T" in its ninth column.
std::uint32_t markerLineStartBits16(const char *at)
{
    const __m128i here = load16(at);
    const __m128i marker = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(here, _mm_set1_epi8(dateMarkerStart)),
                     _mm_cmpeq_epi8(here, _mm_set1_epi8(separatorStart))),
        bytesEqual16(at + transmitColumn, transmitStart));
    const __m128i lineStart = _mm_andnot_si128(LineEndVectors::of16(here), LineEndVectors::of16(load16(at - 1)));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_and_si128(lineStart, marker)));
}

// Steps over whole blocks without a possible marker line start, as long as
// the vector tests have room (one byte before, roomPast past the block).
// Returns the first block not passed over, with its bits.
MarkerLineScanner::QuietBlocksEnd skipQuietBlocksSse2(const char *data, std::size_t base, std::size_t size)
{
    while (base > 0 && size - base >= blockSize + roomPast) {
        std::uint64_t bits = 0;
        for (std::size_t part = 0; part < blockSize; part += 16)
            bits |= std::uint64_t{markerLineStartBits16(data + base + part)} << part;
        if (bits != 0)
            return {base, bits};
        base += blockSize;
    }
    return {base, 0};
}
#endif

#ifdef CLARIFIER_AVX2_DISPATCH
CLARIFIER_TARGET_AVX2 __m256i load32(const char *at)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at));
}

// As markerLineStartBits16, thirty-two bytes at a time.
CLARIFIER_TARGET_AVX2 std::uint32_t markerLineStartBits32(const char *at)
{
    const __m256i here = load32(at);
    const __m256i marker = _mm256_or_si256(
        _mm256_or_si256(_mm256_cmpeq_epi8(here, _mm256_set1_epi8(dateMarkerStart)),
                        _mm256_cmpeq_epi8(here, _mm256_set1_epi8(separatorStart))),
        _mm256_cmpeq_epi8(load32(at + transmitColumn), _mm256_set1_epi8(transmitStart)));
    const __m256i lineStart = _mm256_andnot_si256(LineEndVectors::of32(here), LineEndVectors::of32(load32(at - 1)));
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(lineStart, marker)));
}

CLARIFIER_TARGET_AVX2 std::uint64_t markerLineStartBitsAvx2(const char *block)
{
    return std::uint64_t{markerLineStartBits32(block)} | (std::uint64_t{markerLineStartBits32(block + 32)} << 32);
}

// As skipQuietBlocksSse2, thirty-two bytes at a time.
CLARIFIER_TARGET_AVX2 MarkerLineScanner::QuietBlocksEnd skipQuietBlocksAvx2(const char *data, std::size_t base, std::size_t size)
{
    while (base > 0 && size - base >= blockSize + roomPast) {
        const std::uint64_t bits = markerLineStartBitsAvx2(data + base);
        if (bits != 0)
            return {base, bits};
        base += blockSize;
    }
    return {base, 0};
}
#endif

#ifdef CLARIFIER_NEON
// As markerLineStartBits16, as a compare's bytes.
CLARIFIER_TARGET_NEON uint8x16_t markerLineStartsNeon(const char *at)
{
    const uint8x16_t here = NeonMasks::load(at);
    const uint8x16_t marker
        = vorrq_u8(vorrq_u8(NeonMasks::equal(here, dateMarkerStart), NeonMasks::equal(here, separatorStart)),
                   NeonMasks::equal(NeonMasks::load(at + transmitColumn), transmitStart));
    const uint8x16_t lineStart
        = vbicq_u8(LineEndVectors::ofNeon(NeonMasks::load(at - 1)), LineEndVectors::ofNeon(here));
    return vandq_u8(lineStart, marker);
}

// As skipQuietBlocksSse2; a block is tested for any marker line start before
// its bits are gathered.
CLARIFIER_TARGET_NEON MarkerLineScanner::QuietBlocksEnd skipQuietBlocksNeon(const char *data, std::size_t base, std::size_t size)
{
    while (base > 0 && size - base >= blockSize + roomPast) {
        const char *block = data + base;
        const uint8x16_t m0 = markerLineStartsNeon(block);
        const uint8x16_t m1 = markerLineStartsNeon(block + 16);
        const uint8x16_t m2 = markerLineStartsNeon(block + 32);
        const uint8x16_t m3 = markerLineStartsNeon(block + 48);
        if (NeonMasks::nibbles(vorrq_u8(vorrq_u8(m0, m1), vorrq_u8(m2, m3))) != 0)
            return {base, NeonMasks::bits64(m0, m1, m2, m3)};
        base += blockSize;
    }
    return {base, 0};
}
#endif

#ifndef CLARIFIER_HAVE_SSE2
// Without vector tests nothing is skipped: bitsOf() tests each block byte by
// byte.
MarkerLineScanner::QuietBlocksEnd skipNoBlocks(const char *, std::size_t base, std::size_t)
{
    return {base, 0};
}
#endif

} // namespace

MarkerLineScanner::MarkerLineScanner(const char *data, std::size_t size)
    : m_kernels(kernelsForThisProcessor())
    , m_data(data)
    , m_size(size)
{
    load(0);
}

MarkerLineScanner::Kernels MarkerLineScanner::kernelsForThisProcessor()
{
#ifdef CLARIFIER_AVX2_DISPATCH
    if (CpuFeatures::hasAvx2())
        return {skipQuietBlocksAvx2};
#endif
#ifdef CLARIFIER_NEON
    if (CpuFeatures::hasNeon())
        return {skipQuietBlocksNeon};
#endif
#ifdef CLARIFIER_HAVE_SSE2
    return {skipQuietBlocksSse2};
#else
    return {skipNoBlocks};
#endif
}

std::size_t MarkerLineScanner::next(std::size_t from)
{
    for (;;) {
        if (from < m_base + blockSize) {
            const std::uint64_t ahead = from > m_base ? m_bits & (~std::uint64_t{0} << (from - m_base)) : m_bits;
            if (ahead != 0)
                return m_base + static_cast<std::size_t>(std::countr_zero(ahead));
            from = m_base + blockSize;
        }
        if (from >= m_size)
            return m_size;
        const QuietBlocksEnd end = m_kernels.skipQuietBlocks(m_data, from, m_size);
        if (end.bits != 0) {
            m_base = end.base;
            m_bits = end.bits;
            continue;
        }
        load(end.base);  // the rest is left to the byte tests
    }
}

void MarkerLineScanner::load(std::size_t base)
{
    m_base = base;
    m_bits = base >= m_size ? 0 : bitsOf(base);
}

// Byte by byte: for the blocks the vector tests have no room around (the
// first, and those near the end), and for every block on a processor without
// them.
std::uint64_t MarkerLineScanner::bitsOf(std::size_t base) const
{
    const std::size_t count = m_size - base < blockSize ? m_size - base : blockSize;
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = base + i;
        const std::size_t room = m_size - at;
        const bool lineStart
            = (at == 0 || LineEndSearch::isLineEnd(m_data[at - 1])) && !LineEndSearch::isLineEnd(m_data[at]);
        const bool mayBeMarker = m_data[at] == dateMarkerStart || m_data[at] == separatorStart
            || (room > transmitColumn && m_data[at + transmitColumn] == transmitStart);
        if (lineStart && mayBeMarker)
            bits |= std::uint64_t{1} << i;
    }
    return bits;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineEndSearch.h"

#include "CpuFeatures.h"
#include "LineEndVectors.h"
#include "NeonMasks.h"

#include <bit>
#include <cstdint>

namespace {

// The byte loops every search ends with, for what is too short for a vector.
std::size_t nextPlain(const char *data, std::size_t from, std::size_t size)
{
    while (from < size && !LineEndSearch::isLineEnd(data[from]))
        ++from;
    return from;
}

std::size_t lineStartPlain(const char *data, std::size_t at, std::size_t floor)
{
    while (at > floor && !LineEndSearch::isLineEnd(data[at - 1]))
        --at;
    return at;
}

#ifdef CLARIFIER_HAVE_SSE2
std::uint32_t terminatorBits16(const char *at)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
    return static_cast<std::uint32_t>(_mm_movemask_epi8(LineEndVectors::of16(bytes)));
}

std::size_t nextSse2(const char *data, std::size_t from, std::size_t size)
{
    for (; size - from >= 16; from += 16) {
        if (const std::uint32_t bits = terminatorBits16(data + from))
            return from + static_cast<std::size_t>(std::countr_zero(bits));
    }
    return nextPlain(data, from, size);
}

std::size_t lineStartSse2(const char *data, std::size_t at, std::size_t floor)
{
    for (; at - floor >= 16; at -= 16) {
        if (const std::uint32_t bits = terminatorBits16(data + at - 16))
            return at - 16 + 32 - static_cast<std::size_t>(std::countl_zero(bits));
    }
    return lineStartPlain(data, at, floor);
}
#endif

#ifdef CLARIFIER_AVX2_DISPATCH
CLARIFIER_TARGET_AVX2 std::uint32_t terminatorBits32(const char *at)
{
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(at));
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(LineEndVectors::of32(bytes)));
}

CLARIFIER_TARGET_AVX2 std::size_t nextAvx2(const char *data, std::size_t from, std::size_t size)
{
    for (; size - from >= 32; from += 32) {
        if (const std::uint32_t bits = terminatorBits32(data + from))
            return from + static_cast<std::size_t>(std::countr_zero(bits));
    }
    return nextSse2(data, from, size);
}

CLARIFIER_TARGET_AVX2 std::size_t lineStartAvx2(const char *data, std::size_t at, std::size_t floor)
{
    for (; at - floor >= 32; at -= 32) {
        if (const std::uint32_t bits = terminatorBits32(data + at - 32))
            return at - static_cast<std::size_t>(std::countl_zero(bits));
    }
    return lineStartSse2(data, at, floor);
}
#endif

#ifdef CLARIFIER_NEON
// Four bits for each of sixteen bytes, all four set for a CR or LF.
CLARIFIER_TARGET_NEON std::uint64_t terminatorNibbles(const char *at)
{
    return NeonMasks::nibbles(LineEndVectors::ofNeon(NeonMasks::load(at)));
}

CLARIFIER_TARGET_NEON std::size_t nextNeon(const char *data, std::size_t from, std::size_t size)
{
    for (; size - from >= 16; from += 16) {
        if (const std::uint64_t nibbles = terminatorNibbles(data + from))
            return from + static_cast<std::size_t>(std::countr_zero(nibbles)) / 4;
    }
    return nextPlain(data, from, size);
}

CLARIFIER_TARGET_NEON std::size_t lineStartNeon(const char *data, std::size_t at, std::size_t floor)
{
    for (; at - floor >= 16; at -= 16) {
        if (const std::uint64_t nibbles = terminatorNibbles(data + at - 16))
            return at - static_cast<std::size_t>(std::countl_zero(nibbles)) / 4;
    }
    return lineStartPlain(data, at, floor);
}
#endif

} // namespace

LineEndSearch::LineEndSearch()
    : m_kernels(kernelsForThisProcessor())
{
}

LineEndSearch::Kernels LineEndSearch::kernelsForThisProcessor()
{
#ifdef CLARIFIER_AVX2_DISPATCH
    if (CpuFeatures::hasAvx2())
        return {nextAvx2, lineStartAvx2};
#endif
#ifdef CLARIFIER_NEON
    if (CpuFeatures::hasNeon())
        return {nextNeon, lineStartNeon};
#endif
#ifdef CLARIFIER_HAVE_SSE2
    return {nextSse2, lineStartSse2};
#else
    return {nextPlain, lineStartPlain};
#endif
}

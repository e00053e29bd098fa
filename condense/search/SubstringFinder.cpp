// SPDX-License-Identifier: GPL-3.0-or-later
#include "SubstringFinder.h"

#include "CpuFeatures.h"
#include "NeonMasks.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace {

// Digits, blanks and punctuation fill every decode line; letters are rarer.
bool isCommonInLogs(unsigned char c)
{
    return !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80);
}

// A plain loop rather than memcmp: a call inside the search loop would make
// the compiler spill the vector registers on every step.
inline bool sameBytes(const char *a, const char *b, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Every candidate start in turn: what is too short for a vector, or every
// start where the processor has no vector tests.
std::size_t searchPlain(const char *data, std::size_t start, std::size_t lastStart, const std::string &needle,
                        std::size_t firstProbe, std::size_t secondProbe)
{
    const char first = needle[firstProbe];
    const char second = needle[secondProbe];
    for (; start <= lastStart; ++start) {
        if (data[start + firstProbe] == first && data[start + secondProbe] == second
            && sameBytes(data + start, needle.data(), needle.size()))
            return start;
    }
    return SubstringFinder::npos;
}

#ifdef CLARIFIER_HAVE_SSE2
// Thirty-two candidate starts per step, then sixteen; every probe load stays
// inside the data because the last candidate start is at most lastStart.
std::size_t searchSse2(const char *data, std::size_t start, std::size_t lastStart, const std::string &needle,
                       std::size_t firstProbe, std::size_t secondProbe)
{
    const __m128i first = _mm_set1_epi8(needle[firstProbe]);
    const __m128i second = _mm_set1_epi8(needle[secondProbe]);
    const char *firstBytes = data + firstProbe;
    const char *secondBytes = data + secondProbe;
    const char *bytes = needle.data();
    const std::size_t length = needle.size();
    const auto candidates = [&](std::size_t at) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(firstBytes + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(secondBytes + at));
        return static_cast<std::uint32_t>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
    };
    while (start <= lastStart && lastStart - start >= 15) {
        std::uint32_t mask = candidates(start);
        std::size_t step = 16;
        if (lastStart - start >= 31) {
            mask |= candidates(start + 16) << 16;
            step = 32;
        }
        while (mask != 0) {
            const std::size_t candidate = start + static_cast<std::size_t>(std::countr_zero(mask));
            if (sameBytes(data + candidate, bytes, length))
                return candidate;
            mask &= mask - 1;
        }
        start += step;
    }
    return searchPlain(data, start, lastStart, needle, firstProbe, secondProbe);
}
#endif

#ifdef CLARIFIER_AVX2_DISPATCH
// Thirty-two candidate starts per step while at least thirty-two remain; the
// rest as searchSse2 does.
CLARIFIER_TARGET_AVX2 std::size_t searchAvx2(const char *data, std::size_t start, std::size_t lastStart,
                                             const std::string &needle, std::size_t firstProbe,
                                             std::size_t secondProbe)
{
    const __m256i first = _mm256_set1_epi8(needle[firstProbe]);
    const __m256i second = _mm256_set1_epi8(needle[secondProbe]);
    while (start <= lastStart && lastStart - start >= 31) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(data + start + firstProbe));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(data + start + secondProbe));
        auto mask = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, second))));
        while (mask != 0) {
            const std::size_t candidate = start + static_cast<std::size_t>(std::countr_zero(mask));
            if (sameBytes(data + candidate, needle.data(), needle.size()))
                return candidate;
            mask &= mask - 1;
        }
        start += 32;
    }
    return searchSse2(data, start, lastStart, needle, firstProbe, secondProbe);
}
#endif

#ifdef CLARIFIER_NEON
// Four bits for each of the sixteen candidate starts from `at`; one of them
// is kept.
CLARIFIER_TARGET_NEON std::uint64_t candidatesNeon(const char *at, uint8x16_t first, uint8x16_t second,
                                                    std::size_t firstProbe, std::size_t secondProbe)
{
    const uint8x16_t a = vceqq_u8(NeonMasks::load(at + firstProbe), first);
    const uint8x16_t b = vceqq_u8(NeonMasks::load(at + secondProbe), second);
    return NeonMasks::nibbles(vandq_u8(a, b)) & 0x8888888888888888U;
}

// Sixteen candidate starts per step while at least sixteen remain (thirty-two
// at a time where none of them is a candidate); the rest one by one.
CLARIFIER_TARGET_NEON std::size_t searchNeon(const char *data, std::size_t start, std::size_t lastStart,
                                             const std::string &needle, std::size_t firstProbe,
                                             std::size_t secondProbe)
{
    const uint8x16_t first = vdupq_n_u8(static_cast<std::uint8_t>(needle[firstProbe]));
    const uint8x16_t second = vdupq_n_u8(static_cast<std::uint8_t>(needle[secondProbe]));
    while (start <= lastStart && lastStart - start >= 15) {
        if (lastStart - start >= 31) {
            const std::uint64_t low = candidatesNeon(data + start, first, second, firstProbe, secondProbe);
            const std::uint64_t high = candidatesNeon(data + start + 16, first, second, firstProbe, secondProbe);
            if ((low | high) == 0) {
                start += 32;
                continue;
            }
        }
        std::uint64_t mask = candidatesNeon(data + start, first, second, firstProbe, secondProbe);
        while (mask != 0) {
            const std::size_t candidate = start + static_cast<std::size_t>(std::countr_zero(mask)) / 4;
            if (sameBytes(data + candidate, needle.data(), needle.size()))
                return candidate;
            mask &= mask - 1;
        }
        start += 16;
    }
    return searchPlain(data, start, lastStart, needle, firstProbe, secondProbe);
}
#endif

} // namespace

SubstringFinder::SubstringFinder(std::string_view needle)
    : m_needle(needle)
    , m_kernels(kernelsForThisProcessor())
{
    if (m_needle.size() < 2)
        return;
    const std::size_t last = m_needle.size() - 1;
    m_firstProbe = 0;
    m_secondProbe = last;
    // Prefer the outermost rare bytes; keep the two probes distinct.
    for (std::size_t i = 0; i < last; ++i) {
        if (!isCommonInLogs(static_cast<unsigned char>(m_needle[i]))) {
            m_firstProbe = i;
            break;
        }
    }
    for (std::size_t i = last; i > m_firstProbe; --i) {
        if (!isCommonInLogs(static_cast<unsigned char>(m_needle[i]))) {
            m_secondProbe = i;
            break;
        }
    }
}

SubstringFinder::Kernels SubstringFinder::kernelsForThisProcessor()
{
#ifdef CLARIFIER_AVX2_DISPATCH
    if (CpuFeatures::hasAvx2())
        return {searchAvx2};
#endif
#ifdef CLARIFIER_NEON
    if (CpuFeatures::hasNeon())
        return {searchNeon};
#endif
#ifdef CLARIFIER_HAVE_SSE2
    return {searchSse2};
#else
    return {searchPlain};
#endif
}

std::size_t SubstringFinder::find(const char *data, std::size_t size, std::size_t from) const
{
    const std::size_t length = m_needle.size();
    if (from > size || size - from < length)
        return npos;
    if (length == 0)
        return from;
    if (length == 1) {
        const void *hit = std::memchr(data + from, m_needle[0], size - from);
        return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - data) : npos;
    }
    return m_kernels.search(data, from, size - length, m_needle, m_firstProbe, m_secondProbe);
}

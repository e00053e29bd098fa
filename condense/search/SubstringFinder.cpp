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

// Where a vector search stopped: at the match, or at the first start it did
// not test. Returned by value, in registers; a flag written through a
// pointer would cost the stack check on every search.
struct Stop
{
    std::size_t at;
    bool found;
};

#ifdef CLARIFIER_AVX2_DISPATCH
// Thirty-two candidate starts per step while at least thirty-two remain.
CLARIFIER_TARGET_AVX2 Stop findAvx2(const char *data, std::size_t start, std::size_t lastStart,
                                    const std::string &needle, std::size_t firstProbe, std::size_t secondProbe)
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
                return {candidate, true};
            mask &= mask - 1;
        }
        start += 32;
    }
    return {start, false};
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
// at a time where none of them is a candidate).
CLARIFIER_TARGET_NEON Stop findNeon(const char *data, std::size_t start, std::size_t lastStart,
                                    const std::string &needle, std::size_t firstProbe, std::size_t secondProbe)
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
                return {candidate, true};
            mask &= mask - 1;
        }
        start += 16;
    }
    return {start, false};
}
#endif

} // namespace

SubstringFinder::SubstringFinder(std::string_view needle)
    : m_needle(needle)
    , m_avx2(CpuFeatures::hasAvx2())
    , m_neon(CpuFeatures::hasNeon())
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

    const std::size_t lastStart = size - length;
    std::size_t start = from;
#ifdef CLARIFIER_AVX2_DISPATCH
    if (m_avx2) {
        const Stop stop = findAvx2(data, start, lastStart, m_needle, m_firstProbe, m_secondProbe);
        if (stop.found)
            return stop.at;
        start = stop.at;
    }
#endif
#ifdef CLARIFIER_NEON
    if (m_neon) {
        const Stop stop = findNeon(data, start, lastStart, m_needle, m_firstProbe, m_secondProbe);
        if (stop.found)
            return stop.at;
        start = stop.at;
    }
#endif
#ifdef CLARIFIER_HAVE_SSE2
    const __m128i first = _mm_set1_epi8(m_needle[m_firstProbe]);
    const __m128i second = _mm_set1_epi8(m_needle[m_secondProbe]);
    const char *firstBytes = data + m_firstProbe;
    const char *secondBytes = data + m_secondProbe;
    const char *needle = m_needle.data();
    // Thirty-two candidate starts per step, then sixteen; every probe load
    // stays inside the data because the last candidate start is at most lastStart.
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
            if (sameBytes(data + candidate, needle, length))
                return candidate;
            mask &= mask - 1;
        }
        start += step;
    }
#endif
    return findScalar(data, start, lastStart);
}

std::size_t SubstringFinder::findScalar(const char *data, std::size_t from, std::size_t lastStart) const
{
    const char first = m_needle[m_firstProbe];
    const char second = m_needle[m_secondProbe];
    for (std::size_t start = from; start <= lastStart; ++start) {
        if (data[start + m_firstProbe] == first && data[start + m_secondProbe] == second
            && sameBytes(data + start, m_needle.data(), m_needle.size()))
            return start;
    }
    return npos;
}

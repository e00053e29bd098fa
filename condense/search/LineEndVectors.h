// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CpuFeatures.h"
#include "NeonMasks.h"

// The vector form of LineEndSearch::isLineEnd(), which the vector searches share:
// each CR and LF byte of a vector as a compare's 0xff byte, every other byte
// as 0x00.
namespace LineEndVectors {

#ifdef CLARIFIER_HAVE_SSE2
inline __m128i of16(__m128i bytes)
{
    return _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
}
#endif

#ifdef CLARIFIER_AVX2_DISPATCH
CLARIFIER_TARGET_AVX2 inline __m256i of32(__m256i bytes)
{
    return _mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\r')),
                           _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('\n')));
}
#endif

#ifdef CLARIFIER_NEON
CLARIFIER_TARGET_NEON inline uint8x16_t ofNeon(uint8x16_t bytes)
{
    return vorrq_u8(NeonMasks::equal(bytes, '\r'), NeonMasks::equal(bytes, '\n'));
}
#endif

} // namespace LineEndVectors

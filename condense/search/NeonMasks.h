// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CpuFeatures.h"

#ifdef CLARIFIER_NEON

#include <cstdint>

// NEON has no instruction that gathers one bit from each byte of a compare,
// as SSE2's movemask does; these build such masks from a compare's 0x00 and
// 0xff bytes.
namespace NeonMasks {

CLARIFIER_TARGET_NEON inline uint8x16_t load(const char *at)
{
    return vld1q_u8(reinterpret_cast<const std::uint8_t *>(at));
}

CLARIFIER_TARGET_NEON inline uint8x16_t equal(uint8x16_t bytes, char c)
{
    return vceqq_u8(bytes, vdupq_n_u8(static_cast<std::uint8_t>(c)));
}

// Four bits for each byte, byte i in bits 4i to 4i+3: the cheapest mask, for
// testing whether any byte is set and finding the first.
CLARIFIER_TARGET_NEON inline std::uint64_t nibbles(uint8x16_t compare)
{
    return vget_lane_u64(vreinterpret_u64_u8(vshrn_n_u16(vreinterpretq_u16_u8(compare), 4)), 0);
}

// One bit for each byte, byte i in bit i, of sixty-four bytes: each byte
// keeps its own bit of its eight, and neighbours are added pairwise until
// eight bytes hold the sixty-four bits.
CLARIFIER_TARGET_NEON inline std::uint64_t bits64(uint8x16_t m0, uint8x16_t m1, uint8x16_t m2, uint8x16_t m3)
{
    static constexpr std::uint8_t weights[16] = {1, 2, 4, 8, 16, 32, 64, 128, 1, 2, 4, 8, 16, 32, 64, 128};
    const uint8x16_t weight = vld1q_u8(weights);
    const uint8x16_t w0 = vandq_u8(m0, weight);
    const uint8x16_t w1 = vandq_u8(m1, weight);
    const uint8x16_t w2 = vandq_u8(m2, weight);
    const uint8x16_t w3 = vandq_u8(m3, weight);
#ifdef __aarch64__
    const uint8x16_t sums = vpaddq_u8(vpaddq_u8(w0, w1), vpaddq_u8(w2, w3));
    return vgetq_lane_u64(vreinterpretq_u64_u8(vpaddq_u8(sums, sums)), 0);
#else
    const uint8x8_t s0 = vpadd_u8(vget_low_u8(w0), vget_high_u8(w0));
    const uint8x8_t s1 = vpadd_u8(vget_low_u8(w1), vget_high_u8(w1));
    const uint8x8_t s2 = vpadd_u8(vget_low_u8(w2), vget_high_u8(w2));
    const uint8x8_t s3 = vpadd_u8(vget_low_u8(w3), vget_high_u8(w3));
    const uint8x8_t t = vpadd_u8(vpadd_u8(s0, s1), vpadd_u8(s2, s3));
    return vget_lane_u64(vreinterpret_u64_u8(t), 0);
#endif
}

} // namespace NeonMasks

#endif

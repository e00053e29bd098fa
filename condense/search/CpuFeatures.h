// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The vector instructions the searches use. SSE2 is part of every x86-64
// processor; AVX2 is chosen at run time, so that one build runs everywhere
// and uses it where the processor has it. On ARM, NEON (Advanced SIMD) is
// part of every 64-bit processor; the 32-bit build chooses it at run time,
// as Debian's armhf asks only for ARMv7 with VFP.
//
// Each search chooses its kernels once, when it is made, all in the same way:
// its kernelsForThisProcessor() fills a small table of functions (Kernels)
// from what these say, and every look goes through that table.
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define CLARIFIER_HAVE_SSE2 1
#endif
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>
#define CLARIFIER_AVX2_DISPATCH 1
#define CLARIFIER_TARGET_AVX2 __attribute__((target("avx2")))
#endif

#if defined(__aarch64__)
#include <arm_neon.h>
#define CLARIFIER_NEON 1
#define CLARIFIER_TARGET_NEON
#elif defined(__arm__) && defined(__GNUC__) && __has_include(<sys/auxv.h>)
#include <arm_neon.h>
#include <asm/hwcap.h>
#include <sys/auxv.h>
#define CLARIFIER_NEON 1
#define CLARIFIER_NEON_DISPATCH 1
#define CLARIFIER_TARGET_NEON __attribute__((target("fpu=neon")))
#endif

#include <cstdlib>

namespace CpuFeatures {

// CLARIFIER_NO_AVX2 in the environment keeps to the baseline instructions,
// so that the tests can cover both paths on one machine.
inline bool hasAvx2()
{
#ifdef CLARIFIER_AVX2_DISPATCH
    static const bool avx2 = __builtin_cpu_supports("avx2") && std::getenv("CLARIFIER_NO_AVX2") == nullptr;
    return avx2;
#else
    return false;
#endif
}

// CLARIFIER_NO_NEON does the same on ARM: the searches keep to plain byte
// loops.
inline bool hasNeon()
{
#if defined(CLARIFIER_NEON_DISPATCH)
    static const bool neon = (getauxval(AT_HWCAP) & HWCAP_NEON) != 0 && std::getenv("CLARIFIER_NO_NEON") == nullptr;
    return neon;
#elif defined(CLARIFIER_NEON)
    static const bool neon = std::getenv("CLARIFIER_NO_NEON") == nullptr;
    return neon;
#else
    return false;
#endif
}

} // namespace CpuFeatures

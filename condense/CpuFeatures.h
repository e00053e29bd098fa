// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The vector instructions the searches use. SSE2 is part of every x86-64
// processor; AVX2 is chosen at run time, so that one build runs everywhere
// and uses it where the processor has it.
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#define CLARIFIER_HAVE_SSE2 1
#endif
#if (defined(__GNUC__) || defined(__clang__)) && defined(__x86_64__)
#include <immintrin.h>
#define CLARIFIER_AVX2_DISPATCH 1
#define CLARIFIER_TARGET_AVX2 __attribute__((target("avx2")))
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

} // namespace CpuFeatures

#pragma once

// SSE2 is part of every x86-64 processor; the silent passes use it where the compiler offers it
// and fall back to plain loops elsewhere, or when the build turns it off (MTD_SIMD=OFF) so that
// the plain loops are tested too.
#if !defined(MTD_NO_SIMD) && (defined(__SSE2__) || defined(_M_X64))
#include <emmintrin.h>
#define MTD_HAVE_SSE2 1
#endif

#pragma once

// SSE2 is part of every x86-64 processor; the silent passes use it where the compiler offers it
// and fall back to plain loops elsewhere.
#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define MTD_HAVE_SSE2 1
#endif

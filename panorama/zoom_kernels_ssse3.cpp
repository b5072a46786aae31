// The zoom's shuffled rows in SSSE3. The function carries the ssse3 target
// attribute, so this file builds into a program for any x86; nothing here
// may run unless CpuFeatures::HasSsse3() said yes.
#include "panorama/zoom_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#include <tmmintrin.h>

// Realigned on 32-bit x86 as the SSE2 passes are (see blend_kernels_sse2.cpp).
#if defined(__i386__)
#define VISTELLO_SSSE3 __attribute__((target("ssse3"), force_align_arg_pointer))
#else
#define VISTELLO_SSSE3 __attribute__((target("ssse3")))
#endif

VISTELLO_SSSE3 void ShuffleZoomRowSsse3(const uint8_t* source_row, const int32_t* windows,
                                        const uint8_t* masks, int chunks, uint8_t* target) {
  for (int c = 0; c < chunks; c++) {
    const __m128i window =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(source_row + windows[c]));
    const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(masks + 16 * c));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 15 * c), _mm_shuffle_epi8(window, mask));
  }
}

#endif

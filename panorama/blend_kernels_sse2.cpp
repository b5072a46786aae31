// The separable passes in SSE2. Every function here carries the sse2 target
// attribute, so this file builds into a program for processors without
// SSE2; nothing here may run unless CpuFeatures::HasSse2() said yes.
#include "panorama/blend_kernels.h"

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>

// 32-bit Windows keeps its stacks 4-byte aligned (a thread's start among
// them) while SSE spills want 16: the entry points realign their frames.
#if defined(__i386__)
#define VISTELLO_SSE2 __attribute__((target("sse2"), force_align_arg_pointer))
#else
#define VISTELLO_SSE2 __attribute__((target("sse2")))
#endif
// The helpers must melt into their callers whatever the optimisation level:
// a call would pass the vectors through memory.
#define VISTELLO_SSE2_INLINE inline __attribute__((target("sse2"), always_inline))

namespace {

VISTELLO_SSE2_INLINE __m128i Load64(const void* at) {
  return _mm_loadl_epi64(static_cast<const __m128i*>(at));
}

VISTELLO_SSE2_INLINE __m128i Load128(const void* at) {
  return _mm_loadu_si128(static_cast<const __m128i*>(at));
}

// Eight lanes of the column pass. With left and right widened to 16 bits,
// left * 256 + (right - left) * fx wraps in 16-bit arithmetic but ends at
// the true sum, which fits (0 to 65280); the xor moves it to the signed
// range the row pass's multiply-add takes.
VISTELLO_SSE2_INLINE __m128i BlendColumns8(const uint8_t* source, const uint16_t* fx) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i left = _mm_unpacklo_epi8(Load64(source), zero);
  const __m128i right = _mm_unpacklo_epi8(Load64(source + 3), zero);
  const __m128i sum = _mm_add_epi16(_mm_slli_epi16(left, 8),
                                    _mm_mullo_epi16(_mm_sub_epi16(right, left), Load128(fx)));
  return _mm_xor_si128(sum, _mm_set1_epi16(-32768));
}

// Eight lanes of the row pass, before the final offset. The multiply-add
// pairs each lower lane with its upper lane: with both 32768 below their
// true values it gives S - 2^23, S the 24-bit sum; shifted by 16 that is
// (S >> 16) - 128, from -128 to 127.
VISTELLO_SSE2_INLINE __m128i BlendRows8(const int16_t* lower, const int16_t* upper,
                                        const uint8_t* fy) {
  const __m128i low = Load128(lower);
  const __m128i up = Load128(upper);
  const __m128i weight = _mm_unpacklo_epi8(Load64(fy), _mm_setzero_si128());
  const __m128i keep = _mm_sub_epi16(_mm_set1_epi16(256), weight);
  const __m128i first =
      _mm_madd_epi16(_mm_unpacklo_epi16(low, up), _mm_unpacklo_epi16(keep, weight));
  const __m128i second =
      _mm_madd_epi16(_mm_unpackhi_epi16(low, up), _mm_unpackhi_epi16(keep, weight));
  return _mm_packs_epi32(_mm_srai_epi32(first, 16), _mm_srai_epi32(second, 16));
}

// Signed results -128 .. 127 to the bytes 0 .. 255 (adds the 128 back).
VISTELLO_SSE2_INLINE __m128i ToBytes(__m128i first, __m128i second) {
  return _mm_xor_si128(_mm_packs_epi16(first, second), _mm_set1_epi8(-128));
}

}  // namespace

VISTELLO_SSE2 void BlendColumnsSse2(const uint8_t* source, const uint16_t* fx, int16_t* blend,
                                    int lanes) {
  int t = 0;
  for (; t + 8 <= lanes; t += 8) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(blend + t), BlendColumns8(source + t, fx + t));
  }
  if (t < lanes) {
    t = lanes - 8;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(blend + t), BlendColumns8(source + t, fx + t));
  }
}

VISTELLO_SSE2 void BlendRowsSse2(const int16_t* lower, const int16_t* upper, const uint8_t* fy,
                                 uint8_t* out, int lanes) {
  int t = 0;
  for (; t + 16 <= lanes; t += 16) {
    const __m128i first = BlendRows8(lower + t, upper + t, fy + t);
    const __m128i second = BlendRows8(lower + t + 8, upper + t + 8, fy + t + 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + t), ToBytes(first, second));
  }
  // The last 8 to 15 lanes: one or two eight-lane steps, the second ending
  // exactly at the run's end.
  while (t < lanes) {
    t = t + 8 <= lanes ? t : lanes - 8;
    const __m128i eight = BlendRows8(lower + t, upper + t, fy + t);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + t), ToBytes(eight, eight));
    t += 8;
  }
}

#endif

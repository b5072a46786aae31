// The separable passes in WebAssembly SIMD: the SSE2 steps lane for lane
// (dot_i16x8 is SSE2's multiply-add). Built only into a module compiled
// with -msimd128, where every engine that loads it runs them.
#include "panorama/blend_kernels.h"

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>

namespace {

inline v128_t BlendColumns8(const uint8_t* source, const uint16_t* fx) {
  const v128_t left = wasm_u16x8_load8x8(source);
  const v128_t right = wasm_u16x8_load8x8(source + 3);
  const v128_t sum = wasm_i16x8_add(
      wasm_i16x8_shl(left, 8), wasm_i16x8_mul(wasm_i16x8_sub(right, left), wasm_v128_load(fx)));
  return wasm_v128_xor(sum, wasm_i16x8_splat(-32768));
}

inline v128_t BlendRows8(const int16_t* lower, const int16_t* upper, const uint8_t* fy) {
  const v128_t low = wasm_v128_load(lower);
  const v128_t up = wasm_v128_load(upper);
  const v128_t weight = wasm_u16x8_load8x8(fy);
  const v128_t keep = wasm_i16x8_sub(wasm_i16x8_splat(256), weight);
  const v128_t first =
      wasm_i32x4_dot_i16x8(wasm_i16x8_shuffle(low, up, 0, 8, 1, 9, 2, 10, 3, 11),
                           wasm_i16x8_shuffle(keep, weight, 0, 8, 1, 9, 2, 10, 3, 11));
  const v128_t second =
      wasm_i32x4_dot_i16x8(wasm_i16x8_shuffle(low, up, 4, 12, 5, 13, 6, 14, 7, 15),
                           wasm_i16x8_shuffle(keep, weight, 4, 12, 5, 13, 6, 14, 7, 15));
  return wasm_i16x8_narrow_i32x4(wasm_i32x4_shr(first, 16), wasm_i32x4_shr(second, 16));
}

inline v128_t ToBytes(v128_t first, v128_t second) {
  return wasm_v128_xor(wasm_i8x16_narrow_i16x8(first, second), wasm_i8x16_splat(-128));
}

}  // namespace

void BlendColumnsWasm(const uint8_t* source, const uint16_t* fx, int16_t* blend, int lanes) {
  int t = 0;
  for (; t + 8 <= lanes; t += 8) {
    wasm_v128_store(blend + t, BlendColumns8(source + t, fx + t));
  }
  if (t < lanes) {
    t = lanes - 8;
    wasm_v128_store(blend + t, BlendColumns8(source + t, fx + t));
  }
}

void BlendRowsWasm(const int16_t* lower, const int16_t* upper, const uint8_t* fy, uint8_t* out,
                   int lanes) {
  int t = 0;
  for (; t + 16 <= lanes; t += 16) {
    const v128_t first = BlendRows8(lower + t, upper + t, fy + t);
    const v128_t second = BlendRows8(lower + t + 8, upper + t + 8, fy + t + 8);
    wasm_v128_store(out + t, ToBytes(first, second));
  }
  while (t < lanes) {
    t = t + 8 <= lanes ? t : lanes - 8;
    const v128_t eight = BlendRows8(lower + t, upper + t, fy + t);
    wasm_v128_store64_lane(out + t, ToBytes(eight, eight), 0);
    t += 8;
  }
}

#endif

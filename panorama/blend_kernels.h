// The two passes of the projection's bilinear resampling in separable form,
// each over one run of lanes. A lane is one channel byte of one pixel (lane
// 3j + c is channel c of view column j), so the weights come per lane.
//
// Column pass, over a run of view columns whose strip columns follow each
// other, on one strip row:
//   blend[t] = source[t] * (256 - fx[t]) + source[t + 3] * fx[t]
// (0 to 65280), kept as blend - 32768 in a signed 16-bit lane.
// Row pass, over a run of view columns that read the same pair of strip
// rows, from the column pass of the lower and the upper row:
//   out[t] = (lower[t] * (256 - fy[t]) + upper[t] * fy[t]) >> 16
// Both passes together give the four-neighbour formula exactly: its sum is
// the same integer whichever direction is blended first, and only the final
// shift drops bits.
#ifndef VISTELLO_PANORAMA_BLEND_KERNELS_H
#define VISTELLO_PANORAMA_BLEND_KERNELS_H

#include <stdint.h>

// One lane at a time; any run length.
void BlendColumnsGeneric(const uint8_t* source, const uint16_t* fx, int16_t* blend, int lanes);
void BlendRowsGeneric(const int16_t* lower, const int16_t* upper, const uint8_t* fy, uint8_t* out,
                      int lanes);

#if defined(__i386__) || defined(__x86_64__)
// Eight or sixteen lanes per step in 16-bit SSE2 arithmetic; runs of at
// least 8 lanes (the last step overlaps the one before it rather than
// reading or writing past the run). Compiled for SSE2 whatever the rest of
// the build targets: call them only when CpuFeatures::HasSse2().
void BlendColumnsSse2(const uint8_t* source, const uint16_t* fx, int16_t* blend, int lanes);
void BlendRowsSse2(const int16_t* lower, const int16_t* upper, const uint8_t* fy, uint8_t* out,
                   int lanes);
#endif

#if defined(__wasm_simd128__)
// The same steps in WebAssembly SIMD, in modules built with -msimd128.
void BlendColumnsWasm(const uint8_t* source, const uint16_t* fx, int16_t* blend, int lanes);
void BlendRowsWasm(const int16_t* lower, const int16_t* upper, const uint8_t* fy, uint8_t* out,
                   int lanes);
#endif

#endif  // VISTELLO_PANORAMA_BLEND_KERNELS_H

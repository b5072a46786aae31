// The separable passes one lane at a time: for runs too short for a vector
// step, and for targets without one.
#include "panorama/blend_kernels.h"

void BlendColumnsGeneric(const uint8_t* source, const uint16_t* fx, int16_t* blend, int lanes) {
  for (int t = 0; t < lanes; t++) {
    const int32_t sum = source[t] * (256 - fx[t]) + source[t + 3] * fx[t];
    blend[t] = static_cast<int16_t>(sum - 32768);
  }
}

void BlendRowsGeneric(const int16_t* lower, const int16_t* upper, const uint8_t* fy, uint8_t* out,
                      int lanes) {
  for (int t = 0; t < lanes; t++) {
    const int32_t sum = (lower[t] + 32768) * (256 - fy[t]) + (upper[t] + 32768) * fy[t];
    out[t] = static_cast<uint8_t>(sum >> 16);
  }
}

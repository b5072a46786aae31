// CylinderProjection: table building (all of the trigonometry) and the
// per-frame bilinear resampler.
#include "panorama/cylinder_projection.h"
#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "panorama/limit.h"

// The gather below moves three-byte pixels with wider loads, stores and
// shifts, which assumes little-endian byte order (every Windows target has it).
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixel moves assume little-endian");

namespace {

const int kWidth = CylinderProjection::kOutputWidth;
const int kRowBytes = 3 * kWidth;

// 2 / 3 and 1 / (2 pi): R is two thirds of the widened width over 2 pi, close
// to the radius of the strip before widening.
const double kTwoThirds = 0.6666666666666666;
const double kInverseTwoPi = 0.15915494309189535;
// pi / 360: half a degree in radians, to turn the field of view into its half
// angle.
const double kHalfDegree = 0.008726646259971648;

// With 16-bit vector arithmetic (SSE2, NEON) the two-pass row is about twice
// as fast as the scalar one; without it (the 32-bit product is built for
// CPUs that may lack SSE2) the scalar row is about twice as fast as the
// two-pass one run lane by lane.
#if defined(__SSE2__) || defined(__ARM_NEON)
const bool kVectorRows = true;
#else
const bool kVectorRows = false;
#endif

const float kMaxScale = 3.0f;
const float kMinScale = 1.0f;

inline uint64_t Load64(const uint8_t* at) {
  uint64_t value;
  memcpy(&value, at, 8);
  return value;
}

inline void Store32(uint8_t* at, uint32_t value) {
  memcpy(at, &value, 4);
}

// One row of 320 projected pixels.
//
// Per pixel and channel, with p00 the lower-left neighbour, p01 the one to
// its right, p10 and p11 the pair one row up, the value is
//   ((p00 * 256 + (p01 - p00) * fx) * (256 - fy)
//    + (p10 * 256 + (p11 - p10) * fx) * fy) >> 16.
// Both row functions below give exactly that for every input; which one runs
// is chosen at compile time (kVectorRows).
//
// ProjectRowScalar: the formula multiplied out into four weights,
//   (p00 * w00 + p01 * w01 + p10 * w10 + p11 * w11) >> 16,
// w00 = (256 - fx)(256 - fy), w01 = fx (256 - fy), w10 = (256 - fx) fy,
// w11 = fx fy (the sum stays below 2^24). The fastest form without a vector
// unit: the 32-bit product runs on CPUs that have none.
void ProjectRowScalar(const int32_t* offsets, const uint8_t* frac_x, const uint8_t* frac_y,
                      const uint8_t* source, int32_t base, int32_t stride, uint8_t* target) {
  for (int n = 0; n < kWidth; n++) {
    const uint8_t* lower = source + (offsets[n] + base);
    const uint8_t* upper = lower + stride;
    const int32_t fx = frac_x[n];
    const int32_t fy = frac_y[n];
    const int32_t w01 = fx * (256 - fy);
    const int32_t w11 = fx * fy;
    const int32_t w00 = (256 - fy) * 256 - w01;
    const int32_t w10 = fy * 256 - w11;
    for (int c = 0; c < 3; c++) {
      target[3 * n + c] = static_cast<uint8_t>(
          (lower[c] * w00 + lower[c + 3] * w01 + upper[c] * w10 + upper[c + 3] * w11) >> 16);
    }
  }
}

// ProjectRowVector: the same in 16-bit steps that the compiler turns into
// vector code (eight or more lanes per instruction):
//   lower = p00 * (256 - fx) + p01 * fx and upper likewise (each <= 65280);
//   the sum S = lower * (256 - fy) + upper * fy splits by the high and low
//   bytes of lower and upper into S = 256 * high + low, with high and low
//   both <= 65280; S >> 16 = (high + (low >> 8)) >> 8, and that sum still
//   fits 16 bits.
//
// The first pass gathers the four neighbours and both weights of every
// pixel into byte planes laid out like the output row (channel-interleaved);
// the second pass is then one straight loop over 960 bytes.
void ProjectRowVector(const int32_t* offsets, const uint8_t* frac_x, const uint8_t* frac_y,
                      const uint8_t* source, int32_t base, int32_t stride, uint8_t* target) {
  // Four-byte stores put a stray fourth byte into the next pixel's slot,
  // which that pixel then overwrites; the last one lands in the spare byte.
  alignas(16) uint8_t lower_left[kRowBytes + 1];
  alignas(16) uint8_t lower_right[kRowBytes + 1];
  alignas(16) uint8_t upper_left[kRowBytes + 1];
  alignas(16) uint8_t upper_right[kRowBytes + 1];
  alignas(16) uint8_t weight_x[kRowBytes + 1];
  alignas(16) uint8_t weight_y[kRowBytes + 1];

  for (int n = 0; n < kWidth; n++) {
    const uint8_t* lower = source + (offsets[n] + base);
    const uint8_t* upper = lower + stride;
    // Each pair of neighbours in one eight-byte load: the lower pair with
    // two bytes beyond it, the upper pair with two bytes before it. Every
    // byte read lies between the lower-left neighbour's first byte and the
    // upper-right neighbour's last (a row is at least 6 bytes), so no read
    // leaves the strip.
    const uint64_t lower_pair = Load64(lower);
    const uint64_t upper_pair = Load64(upper - 2);
    Store32(lower_left + 3 * n, static_cast<uint32_t>(lower_pair));
    Store32(lower_right + 3 * n, static_cast<uint32_t>(lower_pair >> 24));
    Store32(upper_left + 3 * n, static_cast<uint32_t>(upper_pair >> 16));
    Store32(upper_right + 3 * n, static_cast<uint32_t>(upper_pair >> 40));
    Store32(weight_x + 3 * n, frac_x[n] * 0x010101u);
    Store32(weight_y + 3 * n, frac_y[n] * 0x010101u);
  }

  for (int t = 0; t < kRowBytes; t++) {
    const uint16_t fx = weight_x[t];
    const uint16_t fy = weight_y[t];
    const uint16_t lower = static_cast<uint16_t>(lower_left[t] * (256 - fx) + lower_right[t] * fx);
    const uint16_t upper = static_cast<uint16_t>(upper_left[t] * (256 - fx) + upper_right[t] * fx);
    const uint16_t high = static_cast<uint16_t>((lower >> 8) * (256 - fy) + (upper >> 8) * fy);
    const uint16_t low = static_cast<uint16_t>((lower & 255) * (256 - fy) + (upper & 255) * fy);
    target[t] = static_cast<uint8_t>(static_cast<uint16_t>(high + (low >> 8)) >> 8);
  }
}

}  // namespace

CylinderProjection::CylinderProjection()
    : offsets(nullptr),
      frac_x(nullptr),
      frac_y(nullptr),
      plane_width(0),
      output_height(0),
      output_width(kOutputWidth),
      source_height(0),
      source_width(0),
      source_bits(nullptr),
      target_bits(nullptr),
      margin_x(0),
      margin_y(0),
      min_pan(0),
      max_pan(-1),
      radius(0.0) {}

CylinderProjection::~CylinderProjection() {
  FreeTables();
}

void CylinderProjection::FreeTables() {
  free(offsets);
  free(frac_x);
  free(frac_y);
  offsets = nullptr;
  frac_x = nullptr;
  frac_y = nullptr;
}

bool CylinderProjection::Build(int a, int b, int fov_degrees, float scale, int& width_out,
                               int& height_out) {
  FreeTables();
  output_width = kOutputWidth;
  output_height = 0;
  width_out = kOutputWidth;
  height_out = 0;
  min_pan = 0;
  max_pan = -1;

  if (scale > kMaxScale) {
    scale = kMaxScale;
  } else if (!(scale >= kMinScale)) {
    scale = kMinScale;
  }
  if (a < 2 || b < 2 || fov_degrees < 1 || fov_degrees > 179) {
    return false;
  }
  source_width = a;
  source_height = b;

  const double s = scale;
  radius = a * kTwoThirds * kInverseTwoPi;
  const double d = 2.0 * radius;
  const double t = tan(fov_degrees * kHalfDegree);
  const double plane = floor(s * d * t);
  const double height = floor(b * s);
  if (plane > 1e9) {
    return false;
  }
  plane_width = static_cast<int32_t>(plane);
  output_height = static_cast<int32_t>(height);
  margin_x = (plane_width - kOutputWidth) / 2;
  margin_y = (output_height - b) / 2;

  // Every byte offset and every offset plus the pan column's base must fit
  // 32 bits: |floor(P)| stays below d x pi / 2 < a.
  const int64_t reach = int64_t{3} * (int64_t{a} * b + a + 2 * int64_t{abs(margin_x)});
  const int64_t entries = int64_t{output_height} * kOutputWidth;
  if (reach > INT32_MAX || entries > INT32_MAX ||
      static_cast<uint64_t>(entries) * sizeof(int32_t) > SIZE_MAX) {
    return false;
  }
  const size_t count = static_cast<size_t>(entries);
  offsets = static_cast<int32_t*>(malloc(count * sizeof(int32_t)));
  frac_x = static_cast<uint8_t*>(malloc(count));
  frac_y = static_cast<uint8_t*>(malloc(count));
  if (offsets == nullptr || frac_x == nullptr || frac_y == nullptr) {
    FreeTables();
    return false;
  }

  // The horizontal position depends on the view column only, so P, its
  // floor and its weight are worked out once per column.
  int32_t column[kWidth];
  uint8_t weight_x[kWidth];
  double vertical[kWidth];
  int32_t lowest = INT32_MAX;
  int32_t highest = INT32_MIN;
  for (int j = 0; j < kWidth; j++) {
    const double x = (j - kWidth / 2) / s;
    const double p = d * atan(x / d);
    const double whole = floor(p);
    column[j] = static_cast<int32_t>(whole);
    weight_x[j] = static_cast<uint8_t>(floor((p - whole) * 256.0));
    // d / sqrt(x^2 + d^2) as one factor: at the centre column it is exactly
    // 1 (sqrt of a rounded square gives the value back), so Q = y there and
    // that column reproduces the strip row for row. y x d / sqrt(...) in
    // that order gives -100.00000000000001 for view row 0 and drops the
    // column a row.
    vertical[j] = d / sqrt(x * x + d * d);
    if (column[j] < lowest) {
      lowest = column[j];
    }
    if (column[j] > highest) {
      highest = column[j];
    }
  }

  // Sample columns run from pan + lowest to pan + highest + 1 (the right
  // neighbour).
  min_pan = -lowest;
  max_pan = a - 2 - highest;
  if (min_pan > max_pan) {
    FreeTables();
    return false;
  }

  const int half_height = b / 2;
  size_t k = 0;
  for (int i = 0; i < output_height; i++) {
    const double y = (i - output_height / 2) / s;
    for (int j = 0; j < kWidth; j++, k++) {
      const double q = y * vertical[j];
      const double whole = floor(q);
      int32_t row = static_cast<int32_t>(whole) + half_height;
      // Above or below the strip: onto the grey band, whose upper
      // neighbour row still lies inside the strip.
      if (row < 0) {
        row = b - 1;
      }
      if (row > b - 2) {
        row = b - 2;
      }
      offsets[k] = 3 * (row * a + column[j] - margin_x);
      frac_x[k] = weight_x[j];
      frac_y[k] = static_cast<uint8_t>(floor((q - whole) * 256.0));
    }
  }

  height_out = output_height;
  return true;
}

int CylinderProjection::Render(int pan, int vertical_offset) {
  if (offsets == nullptr || source_bits == nullptr || target_bits == nullptr) {
    return -1;
  }
  int status = 1;
  pan = LimitTo(pan, min_pan, max_pan, status);
  vertical_offset = LimitTo(vertical_offset, -margin_y, margin_y, status);

  const int32_t base = 3 * (margin_x + pan);
  const int32_t stride = 3 * source_width;
  size_t k = static_cast<size_t>(margin_y + vertical_offset) * kOutputWidth;
  uint8_t* target = target_bits;
  // The frame has the strip's height b; with H > b the offset picks which b
  // of the H table rows are shown.
  for (int row = 0; row < source_height; row++) {
    if (kVectorRows) {
      ProjectRowVector(offsets + k, frac_x + k, frac_y + k, source_bits, base, stride, target);
    } else {
      ProjectRowScalar(offsets + k, frac_x + k, frac_y + k, source_bits, base, stride, target);
    }
    k += kOutputWidth;
    target += kRowBytes;
  }
  return status;
}

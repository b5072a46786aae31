// CylinderProjection: table building (all of the trigonometry) and the
// per-frame bilinear resampler.
#include "panorama/cylinder_projection.h"
#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "panorama/cpu_features.h"
#include "panorama/limit.h"

namespace {

const int kWidth = CylinderProjection::kOutputWidth;
const int kRowBytes = 3 * kWidth;
static_assert(kWidth == SeparableResampler::kWidth, "one view width");

// 2 / 3 and 1 / (2 pi): R is two thirds of the widened width over 2 pi, close
// to the radius of the strip before widening.
const double kTwoThirds = 0.6666666666666666;
const double kInverseTwoPi = 0.15915494309189535;
// pi / 360: half a degree in radians, to turn the field of view into its half
// angle.
const double kHalfDegree = 0.008726646259971648;

const float kMaxScale = 3.0f;
const float kMinScale = 1.0f;

// Columns first to end - 1 of one frame row with the four-neighbour formula
// multiplied out into four weights:
//   (p00 * w00 + p01 * w01 + p10 * w10 + p11 * w11) >> 16,
// w00 = (256 - fx)(256 - fy), w01 = fx (256 - fy), w10 = (256 - fx) fy,
// w11 = fx fy (the sum stays below 2^24), p00 the lower-left neighbour, p01
// the one to its right, p10 and p11 the pair one row up. The row for
// processors without SSE2, and the plain statement of what the separable
// passes must reproduce.
void ProjectRowScalar(const int32_t* offsets, const uint8_t* frac_x, const uint8_t* frac_y,
                      const uint8_t* source, int32_t base, int32_t stride, int first, int end,
                      uint8_t* target) {
  for (int n = first; n < end; n++) {
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
      radius(0.0),
      vector_rows(CpuFeatures::HasVectorRows()) {}

CylinderProjection::~CylinderProjection() {
  FreeTables();
}

void CylinderProjection::FreeTables() {
  separable.Free();
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

  if (!separable.Start(output_height, b, column, weight_x)) {
    FreeTables();
    return false;
  }

  const int half_height = b / 2;
  size_t k = 0;
  for (int i = 0; i < output_height; i++) {
    const double y = (i - output_height / 2) / s;
    int32_t rows[kWidth];
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
      rows[j] = row;
      offsets[k] = 3 * (row * a + column[j] - margin_x);
      frac_x[k] = weight_x[j];
      frac_y[k] = static_cast<uint8_t>(floor((q - whole) * 256.0));
    }
    if (!separable.SetRow(rows, frac_y + (k - kWidth))) {
      FreeTables();
      return false;
    }
  }

  height_out = output_height;
  return true;
}

bool CylinderProjection::UseVectorRows(bool use) {
  vector_rows = use && CpuFeatures::HasVectorRows();
  return vector_rows == use;
}

int CylinderProjection::Render(int pan, int vertical_offset) {
  return Render(pan, vertical_offset, FrameRegion{0, source_height, 0, kWidth});
}

int CylinderProjection::Render(int pan, int vertical_offset, const FrameRegion& wanted) {
  if (offsets == nullptr || source_bits == nullptr || target_bits == nullptr) {
    return -1;
  }
  int status = 1;
  pan = LimitTo(pan, min_pan, max_pan, status);
  vertical_offset = LimitTo(vertical_offset, -margin_y, margin_y, status);

  // The frame has the strip's height b; with H > b the offset picks which b
  // of the H table rows are shown.
  int unused = 1;
  FrameRegion region;
  region.first_row = LimitTo(wanted.first_row, 0, source_height, unused);
  region.end_row = LimitTo(wanted.end_row, region.first_row, source_height, unused);
  region.first_column = LimitTo(wanted.first_column, 0, kWidth, unused);
  region.end_column = LimitTo(wanted.end_column, region.first_column, kWidth, unused);
  const int first_table_row = margin_y + vertical_offset;
  const int32_t stride = 3 * source_width;

  if (vector_rows) {
    separable.Render(source_bits, stride, pan, first_table_row, region, true, target_bits);
    return status;
  }
  const int32_t base = 3 * (margin_x + pan);
  for (int row = region.first_row; row < region.end_row; row++) {
    const size_t k = static_cast<size_t>(first_table_row + row) * kWidth;
    ProjectRowScalar(offsets + k, frac_x + k, frac_y + k, source_bits, base, stride,
                     region.first_column, region.end_column,
                     target_bits + static_cast<size_t>(row) * kRowBytes);
  }
  return status;
}

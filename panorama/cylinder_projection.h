// CylinderProjection: lookup tables that give, for every pixel of a
// 320-column perspective view, a fractional position on the widened
// cylindrical strip, and the bilinear resampler that turns the strip into the
// projected frame for one pan column.
//
// Pixel layout of both images: 24-bit SceneBitmap pixels (blue, green, red),
// rows bottom-up, each exactly 3 x width bytes. Table entry k = i * 320 + j
// belongs to view row i (counted from the bottom, like the stored rows) and
// view column j.
//
// All trigonometry runs in Build; Render is table look-ups and integer
// arithmetic with no allocation, division or floating point.
#ifndef VISTELLO_PANORAMA_CYLINDER_PROJECTION_H
#define VISTELLO_PANORAMA_CYLINDER_PROJECTION_H

#include <stdint.h>

#include "panorama/frame_region.h"
#include "panorama/projection.h"
#include "panorama/separable_resampler.h"

class CylinderProjection : public Projection {
 public:
  // Columns of the projected frame, fixed by the view.
  static const int kOutputWidth = 320;

  CylinderProjection();
  ~CylinderProjection() override;

  CylinderProjection(const CylinderProjection&) = delete;
  CylinderProjection& operator=(const CylinderProjection&) = delete;

  // a: widened strip width W'; b: strip height h; fov_degrees: horizontal
  // field of view; scale: magnification, used as 3.0 above 3.0 and as 1.0
  // when not at least 1.0 (NaN included). Writes 320 and H = floor(b x scale).
  // Frees the previous tables first. Fails when a table cannot be allocated,
  // when a or b is below 2, fov_degrees is outside 1 .. 179, the byte offsets
  // would not fit 32 bits, or the strip is too narrow for any pan column to
  // keep every sample inside it.
  bool Build(int a, int b, int fov_degrees, float scale, int& width_out, int& height_out) override;

  // Fills the projected frame (320 x b at target_bits) from the widened strip
  // (a x b at source_bits) with widened column pan at view column 160 and the
  // table rows shifted by vertical_offset. Returns 1, or -1 when an argument
  // was limited: the vertical offset to +-margin_y, and the pan column to
  // MinPan() .. MaxPan(), the columns for which every sample and its right and
  // upper neighbours lie inside the strip. Without tables or pixel pointers it
  // draws nothing and returns -1.
  int Render(int pan, int vertical_offset);
  // The same for the given region of the frame only (limited to the
  // frame); the rest of the frame is left as it was.
  int Render(int pan, int vertical_offset, const FrameRegion& region);

  // Which row code renders: the scalar one, which every processor runs, or
  // the vector one (SSE2, or WebAssembly SIMD), which gives the same bytes
  // faster. A new projection takes the vector rows where
  // CpuFeatures::HasVectorRows(). Returns
  // false, keeping the scalar rows, when vector rows are asked for on a
  // machine without them.
  bool UseVectorRows(bool use);
  bool VectorRows() const { return vector_rows; }

  // Not owned; set by the view after each Build.
  void SetSourceBits(const uint8_t* bits) { source_bits = bits; }
  void SetTargetBits(uint8_t* bits) { target_bits = bits; }

  bool IsBuilt() const { return offsets != nullptr; }
  int PlaneWidth() const { return plane_width; }
  int OutputWidth() const { return output_width; }
  int OutputHeight() const { return output_height; }
  int MarginX() const { return margin_x; }
  int MarginY() const { return margin_y; }
  int MinPan() const { return min_pan; }
  int MaxPan() const { return max_pan; }
  // Cylinder radius R of the last Build, in strip pixels; the projection
  // distance is 2R.
  double Radius() const { return radius; }

  // The tables, output_height x 320 entries each.
  const int32_t* Offsets() const { return offsets; }
  const uint8_t* FracX() const { return frac_x; }
  const uint8_t* FracY() const { return frac_y; }

 private:
  void FreeTables();

  // Byte offset of each sample's lower-left neighbour relative to the pan
  // column: 3 x (row x a + floor(P) - margin_x).
  int32_t* offsets;
  // Interpolation weights in 1/256 of a pixel, 0 to 255. One byte each: the
  // frame loop streams through all three tables, which then take 6 bytes per
  // pixel instead of 12.
  uint8_t* frac_x;
  uint8_t* frac_y;
  int32_t plane_width;
  int32_t output_height;  // H
  int32_t output_width;   // always 320
  int32_t source_height;  // b
  int32_t source_width;   // a
  const uint8_t* source_bits;
  uint8_t* target_bits;
  int32_t margin_x;
  int32_t margin_y;
  // The pan columns for which every read stays inside the strip: a sample
  // reads columns pan + floor(P) and pan + floor(P) + 1, so min_pan is
  // -min floor(P) and max_pan is a - 2 - max floor(P) (152 and 1654 for the
  // demo strips, around the animation's 303 .. 1503).
  int32_t min_pan;
  int32_t max_pan;
  double radius;
  // The same tables reordered for the vector rows.
  SeparableResampler separable;
  bool vector_rows;
};

#endif  // VISTELLO_PANORAMA_CYLINDER_PROJECTION_H

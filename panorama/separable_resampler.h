// SeparableResampler: the projection's bilinear resampling reordered into
// two passes over runs, so that each run is one stretch of memory a vector
// unit can stream through. The column pass blends, for every strip row the
// frame needs, the strip columns each view column reads (the same for every
// row: the horizontal position depends on the view column alone); the row
// pass then blends, for every frame pixel, the two blended rows it lies
// between. Column runs are view columns whose strip columns follow each
// other; row runs are view columns of one table row that read the same strip
// rows. The geometry and the weights are CylinderProjection's, and the
// result is its formula bit for bit (see blend_kernels.h).
//
// Pixel layout as in CylinderProjection: 24-bit rows of exactly 3 x width
// bytes, bottom-up; lane 3j + c is channel c of view column j.
#ifndef VISTELLO_PANORAMA_SEPARABLE_RESAMPLER_H
#define VISTELLO_PANORAMA_SEPARABLE_RESAMPLER_H

#include <stdint.h>

#include "panorama/frame_region.h"

class SeparableResampler {
 public:
  // View columns, as CylinderProjection::kOutputWidth.
  static const int kWidth = 320;
  static const int kLanes = 3 * kWidth;

  SeparableResampler();
  ~SeparableResampler();

  SeparableResampler(const SeparableResampler&) = delete;
  SeparableResampler& operator=(const SeparableResampler&) = delete;

  // Starts a build for table_rows x 320 samples on a strip of strip_rows
  // rows: view column j reads strip columns pan + columns[j] and the one
  // after it with horizontal weight fx[j]. Then every table row is given in
  // order with SetRow. Either returns false when memory is short, and the
  // resampler is then empty.
  bool Start(int table_rows, int strip_rows, const int32_t* columns, const uint8_t* fx);
  // Table row i (the next one): view column j reads strip rows rows[j] and
  // rows[j] + 1 (both inside the strip) with vertical weight fy[j].
  bool SetRow(const int32_t* rows, const uint8_t* fy);
  void Free();

  // Fills the region of the frame at target (rows of 960 bytes) whose row f
  // comes from table row first_table_row + f, from the strip at source (rows
  // of stride bytes) with widened column pan at the view's centre. The
  // caller has checked that every read stays inside the strip. vector picks
  // the SSE2 passes (only where CpuFeatures::HasSse2()).
  void Render(const uint8_t* source, int32_t stride, int pan, int first_table_row,
              const FrameRegion& region, bool vector, uint8_t* target);

 private:
  struct Run {
    int32_t first_column;
    int32_t row;  // strip row of the lower neighbours (row runs only)
  };

  // Runs of table row i are runs[row_runs[i]] up to runs[row_runs[i + 1]].
  int32_t RowRunEnd(int32_t run, int32_t last_run) const {
    return run + 1 < last_run ? runs[run + 1].first_column : kWidth;
  }

  int32_t table_rows;
  int32_t strip_rows;
  int32_t rows_set;
  int32_t columns[kWidth];
  // Starts of the column runs; column_runs[column_run_count] is 320.
  int32_t column_runs[kWidth + 1];
  int32_t column_run_count;
  uint16_t lane_fx[kLanes];
  // table_rows x 960 vertical weights, one per lane.
  uint8_t* lane_fy;
  // strip_rows x 960 column-pass results of the current frame.
  int16_t* blend;
  Run* runs;
  int32_t run_count;
  int32_t run_capacity;
  // table_rows + 1 indices into runs.
  int32_t* row_runs;
};

#endif  // VISTELLO_PANORAMA_SEPARABLE_RESAMPLER_H

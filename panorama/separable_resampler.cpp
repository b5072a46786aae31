// SeparableResampler: runs, per-lane weights and the two passes of a frame.
#include "panorama/separable_resampler.h"

#include <limits.h>
#include <stdlib.h>

#include "panorama/blend_kernels.h"

namespace {

// Runs shorter than a vector step go lane by lane.
const int kVectorLanes = 8;

void BlendColumns(const uint8_t* source, const uint16_t* fx, int16_t* blend, int lanes,
                  bool vector) {
#if defined(__wasm_simd128__)
  if (vector && lanes >= kVectorLanes) {
    BlendColumnsWasm(source, fx, blend, lanes);
    return;
  }
#elif defined(__i386__) || defined(__x86_64__)
  if (vector && lanes >= kVectorLanes) {
    BlendColumnsSse2(source, fx, blend, lanes);
    return;
  }
#endif
  BlendColumnsGeneric(source, fx, blend, lanes);
}

void BlendRows(const int16_t* lower, const int16_t* upper, const uint8_t* fy, uint8_t* out,
               int lanes, bool vector) {
#if defined(__wasm_simd128__)
  if (vector && lanes >= kVectorLanes) {
    BlendRowsWasm(lower, upper, fy, out, lanes);
    return;
  }
#elif defined(__i386__) || defined(__x86_64__)
  if (vector && lanes >= kVectorLanes) {
    BlendRowsSse2(lower, upper, fy, out, lanes);
    return;
  }
#endif
  BlendRowsGeneric(lower, upper, fy, out, lanes);
}

}  // namespace

SeparableResampler::SeparableResampler()
    : table_rows(0),
      strip_rows(0),
      rows_set(0),
      column_run_count(0),
      lane_fy(nullptr),
      blend(nullptr),
      runs(nullptr),
      run_count(0),
      run_capacity(0),
      row_runs(nullptr) {}

SeparableResampler::~SeparableResampler() {
  Free();
}

void SeparableResampler::Free() {
  free(lane_fy);
  free(blend);
  free(runs);
  free(row_runs);
  lane_fy = nullptr;
  blend = nullptr;
  runs = nullptr;
  row_runs = nullptr;
  table_rows = 0;
  strip_rows = 0;
  rows_set = 0;
  run_count = 0;
  run_capacity = 0;
  column_run_count = 0;
}

bool SeparableResampler::Start(int new_table_rows, int new_strip_rows, const int32_t* new_columns,
                               const uint8_t* fx) {
  Free();
  if (new_table_rows < 1 || new_strip_rows < 2 ||
      static_cast<uint64_t>(new_table_rows) * kLanes > INT32_MAX ||
      static_cast<uint64_t>(new_strip_rows) * kLanes > INT32_MAX) {
    return false;
  }
  table_rows = new_table_rows;
  strip_rows = new_strip_rows;
  lane_fy = static_cast<uint8_t*>(malloc(static_cast<size_t>(table_rows) * kLanes));
  blend = static_cast<int16_t*>(malloc(static_cast<size_t>(strip_rows) * kLanes * sizeof(int16_t)));
  row_runs = static_cast<int32_t*>(malloc((static_cast<size_t>(table_rows) + 1) * sizeof(int32_t)));
  if (lane_fy == nullptr || blend == nullptr || row_runs == nullptr) {
    Free();
    return false;
  }
  row_runs[0] = 0;

  column_run_count = 0;
  for (int j = 0; j < kWidth; j++) {
    columns[j] = new_columns[j];
    if (j == 0 || new_columns[j] != new_columns[j - 1] + 1) {
      column_runs[column_run_count++] = j;
    }
    for (int c = 0; c < 3; c++) {
      lane_fx[3 * j + c] = fx[j];
    }
  }
  column_runs[column_run_count] = kWidth;
  return true;
}

bool SeparableResampler::SetRow(const int32_t* rows, const uint8_t* fy) {
  if (row_runs == nullptr || rows_set >= table_rows) {
    return false;
  }
  uint8_t* weights = lane_fy + static_cast<size_t>(rows_set) * kLanes;
  for (int j = 0; j < kWidth; j++) {
    for (int c = 0; c < 3; c++) {
      weights[3 * j + c] = fy[j];
    }
    if (j > 0 && rows[j] == rows[j - 1]) {
      continue;
    }
    if (run_count == run_capacity) {
      // At most one run per sample; about four per table row in practice.
      const int64_t most = int64_t{table_rows} * kWidth;
      const int64_t wanted =
          run_capacity == 0 ? 4 * int64_t{table_rows} : 2 * int64_t{run_capacity};
      const int32_t capacity = static_cast<int32_t>(wanted < most ? wanted : most);
      Run* grown = static_cast<Run*>(realloc(runs, static_cast<size_t>(capacity) * sizeof(Run)));
      if (grown == nullptr) {
        Free();
        return false;
      }
      runs = grown;
      run_capacity = capacity;
    }
    runs[run_count++] = Run{j, rows[j]};
  }
  row_runs[++rows_set] = run_count;
  return true;
}

void SeparableResampler::Render(const uint8_t* source, int32_t stride, int pan, int first_table_row,
                                const FrameRegion& region, bool vector, uint8_t* target) {
  if (rows_set != table_rows || table_rows == 0) {
    return;
  }
  const int32_t left = region.first_column;
  const int32_t right = region.end_column;

  // The strip rows the region's row runs read, each with the row above.
  int32_t lowest = INT32_MAX;
  int32_t highest = -1;
  for (int f = region.first_row; f < region.end_row; f++) {
    const int32_t i = first_table_row + f;
    for (int32_t k = row_runs[i]; k < row_runs[i + 1]; k++) {
      if (runs[k].first_column < right && RowRunEnd(k, row_runs[i + 1]) > left) {
        lowest = runs[k].row < lowest ? runs[k].row : lowest;
        highest = runs[k].row + 1 > highest ? runs[k].row + 1 : highest;
      }
    }
  }

  // Column pass over those rows, one column run at a time.
  for (int32_t row = lowest; row <= highest; row++) {
    const uint8_t* strip_row = source + static_cast<size_t>(row) * stride + 3 * pan;
    int16_t* blend_row = blend + static_cast<size_t>(row) * kLanes;
    for (int32_t m = 0; m < column_run_count; m++) {
      const int32_t first = column_runs[m] > left ? column_runs[m] : left;
      const int32_t end = column_runs[m + 1] < right ? column_runs[m + 1] : right;
      if (first < end) {
        BlendColumns(strip_row + 3 * columns[first], lane_fx + 3 * first, blend_row + 3 * first,
                     3 * (end - first), vector);
      }
    }
  }

  // Row pass, one row run at a time.
  for (int f = region.first_row; f < region.end_row; f++) {
    const int32_t i = first_table_row + f;
    const uint8_t* weights = lane_fy + static_cast<size_t>(i) * kLanes;
    uint8_t* out = target + static_cast<size_t>(f) * kLanes;
    for (int32_t k = row_runs[i]; k < row_runs[i + 1]; k++) {
      const int32_t first = runs[k].first_column > left ? runs[k].first_column : left;
      const int32_t run_end = RowRunEnd(k, row_runs[i + 1]);
      const int32_t end = run_end < right ? run_end : right;
      if (first < end) {
        const int16_t* lower = blend + static_cast<size_t>(runs[k].row) * kLanes + 3 * first;
        BlendRows(lower, lower + kLanes, weights + 3 * first, out + 3 * first, 3 * (end - first),
                  vector);
      }
    }
  }
}

// ZoomTable: the magnification tables and the nearest-neighbour resampler.
#include "panorama/zoom_table.h"
#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "panorama/cpu_features.h"
#include "panorama/limit.h"
#include "panorama/zoom_kernels.h"

namespace {

// A shuffled chunk is five output pixels, 15 bytes, written as one 16-byte
// store whose last byte the next chunk overwrites.
const int kChunkPixels = 5;
const int kChunkBytes = 3 * kChunkPixels;
const int kStoreBytes = 16;

}  // namespace

ZoomTable::ZoomTable()
    : max_zoom(1.0f),
      steps(0),
      column_table(nullptr),
      row_table(nullptr),
      width(0),
      height(0),
      stride(0),
      source_bits(nullptr),
      target_bits(nullptr),
      margin_x(0),
      margin_y(0),
      chunks(0),
      shuffle_windows(nullptr),
      shuffle_masks(nullptr),
      vector_rows(CpuFeatures::HasSsse3()) {}

ZoomTable::~ZoomTable() {
  FreeTables();
}

void ZoomTable::FreeTables() {
  free(column_table);
  free(row_table);
  free(shuffle_windows);
  free(shuffle_masks);
  column_table = nullptr;
  row_table = nullptr;
  shuffle_windows = nullptr;
  shuffle_masks = nullptr;
  chunks = 0;
}

bool ZoomTable::Build(int w, int h, float max_zoom, int steps) {
  FreeTables();
  this->max_zoom = max_zoom;
  this->steps = steps;
  width = w;
  height = h;
  stride = w > h ? w : h;
  margin_x = 0;
  margin_y = 0;
  if (w < 1 || h < 1 || steps < 0 || !(max_zoom >= 1.0f)) {
    return false;
  }
  // Entry indices, and the byte offsets Render forms from a row entry and a
  // column entry, must fit 32 bits.
  const int64_t entries = (int64_t{steps} + 1) * stride;
  if (entries > INT32_MAX || int64_t{3} * w * h > INT32_MAX ||
      static_cast<uint64_t>(entries) * sizeof(int32_t) > SIZE_MAX) {
    return false;
  }
  const size_t bytes = static_cast<size_t>(entries) * sizeof(int32_t);
  column_table = static_cast<int32_t*>(malloc(bytes));
  row_table = static_cast<int32_t*>(malloc(bytes));
  if (column_table == nullptr || row_table == nullptr) {
    FreeTables();
    return false;
  }

  // Single precision, as the zoom is stored: z of level L is ratio
  // multiplied L times (level 15 about 2.2795, level 20 about 3.0).
  const float ratio = steps > 0 ? static_cast<float>(pow(max_zoom, 1.0 / steps)) : 1.0f;
  const int half_width = w / 2;
  const int half_height = h / 2;
  float z = 1.0f;
  for (int level = 0; level <= steps; level++) {
    int32_t* columns = column_table + level * stride;
    int32_t* rows = row_table + level * stride;
    for (int j = 0; j < stride; j++) {
      columns[j] = 3 * static_cast<int32_t>(floor((j - half_width) / double{z} + half_width));
      rows[j] = 3 * static_cast<int32_t>(floor((j - half_height) / double{z} + half_height));
    }
    z *= ratio;

    // The last output column and row, moved by the full margin, must still
    // read inside the frame. True for every finite z >= 1; checked so that
    // rounding at absurd magnifications cannot break Render's guarantee.
    const int column_margin = columns[0] / 3;
    const int row_margin = rows[0] / 3;
    if (column_margin < 0 || row_margin < 0 || columns[w - 1] / 3 + column_margin > w - 1 ||
        rows[h - 1] / 3 + row_margin > h - 1) {
      FreeTables();
      return false;
    }
  }
  if (!BuildShuffles()) {
    FreeTables();
    return false;
  }
  return true;
}

bool ZoomTable::BuildShuffles() {
  // Chunks are stored whole only while they end inside the row.
  const int row_bytes = 3 * width;
  if (row_bytes < kStoreBytes) {
    return true;
  }
  chunks = (row_bytes - kStoreBytes) / kChunkBytes + 1;
  const uint64_t entries = (uint64_t{static_cast<uint32_t>(steps)} + 1) * chunks;
  if (entries * kStoreBytes > SIZE_MAX) {
    return false;
  }
  shuffle_windows = static_cast<int32_t*>(malloc(static_cast<size_t>(entries) * sizeof(int32_t)));
  shuffle_masks = static_cast<uint8_t*>(malloc(static_cast<size_t>(entries) * kStoreBytes));
  if (shuffle_windows == nullptr || shuffle_masks == nullptr) {
    return false;
  }
  for (int level = 0; level <= steps; level++) {
    const int32_t* columns = column_table + level * stride;
    int32_t* windows = shuffle_windows + static_cast<size_t>(level) * chunks;
    uint8_t* masks = shuffle_masks + static_cast<size_t>(level) * chunks * kStoreBytes;
    bool usable = true;
    for (int c = 0; c < chunks && usable; c++) {
      // The column table never falls and, with a magnification of at least
      // 1, never climbs by more than a pixel per column: the chunk's five
      // pixels come from at most 15 bytes from its first pixel's. The
      // window starts there unless that would run past the row.
      const int first_column = c * kChunkPixels;
      windows[c] = columns[first_column] < row_bytes - kStoreBytes ? columns[first_column]
                                                                   : row_bytes - kStoreBytes;
      for (int i = 0; i < kStoreBytes; i++) {
        // The sixteenth byte is the next chunk's; any byte will do.
        const int32_t at = i < kChunkBytes ? columns[first_column + i / 3] + i % 3 - windows[c] : 0;
        usable = usable && at >= 0 && at < kStoreBytes;
        masks[c * kStoreBytes + i] = static_cast<uint8_t>(at);
      }
    }
    if (!usable) {
      windows[0] = -1;
    }
  }
  return true;
}

bool ZoomTable::UseVectorRows(bool use) {
  vector_rows = use && CpuFeatures::HasSsse3();
  return vector_rows == use;
}

int ZoomTable::ClampVertical(int offset, int level) const {
  int margin = 0;
  if (row_table != nullptr) {
    level = level < 0 ? 0 : (level > steps ? steps : level);
    margin = row_table[level * stride] / 3;
  }
  if (offset < -margin) {
    offset = -margin;
  }
  if (offset > margin - 1) {
    offset = margin - 1;
  }
  return offset;
}

int ZoomTable::Limit(int& horizontal_offset, int& vertical_offset, int& level, int& level_margin_x,
                     int& level_margin_y) const {
  int status = 1;
  level = LimitTo(level, 0, steps, status);
  level_margin_x = column_table[level * stride] / 3;
  level_margin_y = row_table[level * stride] / 3;
  horizontal_offset = LimitTo(horizontal_offset, -level_margin_x, level_margin_x, status);
  vertical_offset = LimitTo(vertical_offset, -level_margin_y, level_margin_y, status);
  return status;
}

FrameRegion ZoomTable::SourceRegion(int horizontal_offset, int vertical_offset, int level) const {
  if (column_table == nullptr) {
    return FrameRegion{0, height, 0, width};
  }
  int level_margin_x = 0, level_margin_y = 0;
  Limit(horizontal_offset, vertical_offset, level, level_margin_x, level_margin_y);
  // Both tables are non-decreasing: their first and last entries bound what
  // is read.
  const int32_t* columns = column_table + level * stride;
  const int32_t* rows = row_table + level * stride;
  return FrameRegion{rows[0] / 3 + vertical_offset, rows[height - 1] / 3 + vertical_offset + 1,
                     columns[0] / 3 + horizontal_offset,
                     columns[width - 1] / 3 + horizontal_offset + 1};
}

int ZoomTable::Render(int horizontal_offset, int vertical_offset, int level) {
  if (column_table == nullptr || source_bits == nullptr || target_bits == nullptr) {
    return -1;
  }
  const int status = Limit(horizontal_offset, vertical_offset, level, margin_x, margin_y);
  const int32_t* columns = column_table + level * stride;
  const int32_t* rows = row_table + level * stride;

  const int row_bytes = 3 * width;
  // The column table is non-decreasing, so a span of exactly w - 1 columns
  // means every output column reads the next source column (level 0): each
  // row is then one straight copy.
  const bool contiguous = columns[width - 1] - columns[0] == 3 * (width - 1);
  // Shuffle windows are laid out for the unmoved frame; the system never
  // moves it sideways.
#if defined(__i386__) || defined(__x86_64__)
  const int32_t* windows = nullptr;
  const uint8_t* masks = nullptr;
  if (vector_rows && chunks > 0 && horizontal_offset == 0 &&
      shuffle_windows[static_cast<size_t>(level) * chunks] >= 0) {
    windows = shuffle_windows + static_cast<size_t>(level) * chunks;
    masks = shuffle_masks + static_cast<size_t>(level) * chunks * kStoreBytes;
  }
#endif
  // 3 x the top source row, whose last pixel ends the frame.
  const int32_t last_row = 3 * (height - 1);
  const uint8_t* source = source_bits;
  uint8_t* target = target_bits;
  for (int r = 0; r < height; r++, target += row_bytes) {
    // Magnified rows repeat: a row that reads the same source row as the
    // one below it is a copy of that output row.
    if (r > 0 && rows[r] == rows[r - 1]) {
      memcpy(target, target - row_bytes, row_bytes);
      continue;
    }
    const int32_t row = rows[r] + 3 * vertical_offset;
    const uint8_t* source_row = source + (row * width + 3 * horizontal_offset);
    if (contiguous) {
      memcpy(target, source_row + columns[0], row_bytes);
#if defined(__i386__) || defined(__x86_64__)
    } else if (windows != nullptr) {
      // The chunks end short of the row's last pixels, which are gathered.
      ShuffleZoomRowSsse3(source_row, windows, masks, chunks, target);
      const int shuffled = chunks * kChunkPixels;
      GatherZoomRow(source_row, columns + shuffled, width - shuffled, row < last_row,
                    target + 3 * shuffled);
#endif
    } else {
      GatherZoomRow(source_row, columns, width, row < last_row, target);
    }
  }
  return status;
}

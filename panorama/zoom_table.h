// ZoomTable: nearest-neighbour magnification of the projected frame about its
// centre, from two one-dimensional tables per level (one entry per output
// column, one per output row). Level 0 is the identity; level L magnifies by
// ratio^L with ratio = max_zoom^(1 / steps).
//
// Both frames are w x h 24-bit SceneBitmap pixel arrays (blue, green, red;
// rows bottom-up, exactly 3 x w bytes each). Render reads only the source
// frame and writes every byte of the target frame.
#ifndef VISTELLO_PANORAMA_ZOOM_TABLE_H
#define VISTELLO_PANORAMA_ZOOM_TABLE_H

#include <stdint.h>

#include "panorama/frame_region.h"

class ZoomTable {
 public:
  ZoomTable();
  ~ZoomTable();

  ZoomTable(const ZoomTable&) = delete;
  ZoomTable& operator=(const ZoomTable&) = delete;

  // Builds the tables of levels 0 to steps for w x h frames. Frees the
  // previous tables first. Fails, leaving no tables, when a table cannot be
  // allocated, when w, h or steps is out of range (w, h >= 1, steps >= 0),
  // when max_zoom is not at least 1 (NaN included), or when some level's
  // magnified window would not stay inside the frame (a non-finite or absurd
  // maximum zoom).
  bool Build(int w, int h, float max_zoom, int steps);

  // The vertical offset limited to the margin m of the level: at least -m,
  // then at most m - 1. At level 0 (m = 0) that is -1 for every offset, which
  // Render limits to 0 again. A level outside 0 .. steps is taken as the
  // nearest one; without tables m is 0.
  int ClampVertical(int offset, int level) const;

  // Fills the zoomed frame from the projected frame at the given level,
  // moving the magnified window right by horizontal_offset and up by
  // vertical_offset pixels. Returns 1, or -1 when an argument was limited:
  // the level to 0 .. steps, the offsets to the level's margins. Without
  // tables or pixel pointers it draws nothing and returns -1.
  int Render(int horizontal_offset, int vertical_offset, int level);

  // The part of the projected frame that Render with the same arguments
  // reads, after the same limiting: the earlier stage need not fill more.
  // The whole frame without tables.
  FrameRegion SourceRegion(int horizontal_offset, int vertical_offset, int level) const;

  // Which row code renders magnified rows: the gathering one, which every
  // processor runs, or byte shuffles of five-pixel chunks (SSSE3), which
  // give the same bytes faster. A new table takes the shuffles where
  // CpuFeatures::HasSsse3(); asked for elsewhere, they are refused and the
  // result is false.
  bool UseVectorRows(bool use);
  bool VectorRows() const { return vector_rows; }

  // Not owned; set by the view after each Build.
  void SetSourceBits(const uint8_t* bits) { source_bits = bits; }
  void SetTargetBits(uint8_t* bits) { target_bits = bits; }

  bool IsBuilt() const { return column_table != nullptr; }
  // The tables of one level (3 x source column per output column, 3 x source
  // row per output row), or null without tables or for a level outside
  // 0 .. steps.
  const int32_t* Columns(int level) const { return Level(column_table, level); }
  const int32_t* Rows(int level) const { return Level(row_table, level); }
  // Margins of the level used by the last Render.
  int MarginX() const { return margin_x; }
  int MarginY() const { return margin_y; }

 private:
  void FreeTables();
  // The shuffles of every level from the column tables; false when memory
  // is short.
  bool BuildShuffles();
  // Limits the level to 0 .. steps and the offsets to that level's margins
  // (stored in margin_x and margin_y); returns 1, or -1 when a limit applied.
  int Limit(int& horizontal_offset, int& vertical_offset, int& level, int& margin_x,
            int& margin_y) const;
  const int32_t* Level(const int32_t* table, int level) const {
    return table != nullptr && level >= 0 && level <= steps ? table + level * stride : nullptr;
  }

  float max_zoom;
  int32_t steps;
  // Entry (L, j) is element L x stride + j: 3 x the source column of output
  // column j, and 3 x the source row of output row j. Levels 0 .. steps are
  // allocated, stride entries each; entries j >= w (columns) and j >= h
  // (rows) are never read.
  int32_t* column_table;
  int32_t* row_table;
  int32_t width;
  int32_t height;
  int32_t stride;  // max(w, h)
  const uint8_t* source_bits;
  uint8_t* target_bits;
  int32_t margin_x;
  int32_t margin_y;
  // Per level, chunks entries (see ShuffleZoomRowSsse3): where in the
  // source row each five-pixel chunk of an output row takes its 16-byte
  // window, and (16 bytes per chunk) which window byte goes to each output
  // byte. A level whose first window is -1 is gathered. No shuffles
  // (chunks 0) for rows under 16 bytes.
  int32_t chunks;
  int32_t* shuffle_windows;
  uint8_t* shuffle_masks;
  bool vector_rows;
};

#endif  // VISTELLO_PANORAMA_ZOOM_TABLE_H

// Strip widening: the scene strip with wrap-around margins on both sides, so
// that a view straddling the 0/360-degree seam reads one contiguous block and
// the resampler never wraps an index per pixel. The view calls these when it
// prepares a scene.
//
// Widened column p holds strip column (p - m) mod w, so widened columns p and
// p + w show the same direction for every p in 0 .. 2m - 1. Pixels are the
// 24-bit SceneBitmap layout: blue, green, red; rows bottom-up, 3 x width bytes.
#ifndef VISTELLO_PANORAMA_STRIP_WIDENING_H
#define VISTELLO_PANORAMA_STRIP_WIDENING_H

#include "tour/scene_bitmap.h"

// The wrap margin m for a strip of the given width, in columns.
inline int StripMargin(int strip_width) {
  return strip_width / 4 + 3;
}

// The widened width W' = w + 2m.
inline int WidenedWidth(int strip_width) {
  return strip_width + 2 * StripMargin(strip_width);
}

// Returns the widened copy of a 24-bit strip and its margin m. Returns null
// (margin 0) when the copy cannot be allocated, when the source is not a
// 24-bit bitmap, or when it is narrower than its own margin (under 3
// columns) or lower than 2 rows; the view then shows no scene.
OwnedSceneBitmap WidenStrip(const SceneBitmap& strip, int& margin);

// Sets every byte of the top two picture rows (stored rows h - 2 and h - 1)
// to 127. The projection maps samples above and below the strip onto this
// band, so space beyond the strip shows as mid-grey. Does nothing to a
// bitmap that is not 24-bit or has fewer than two rows.
void PaintGreyBand(SceneBitmap& widened);

#endif  // VISTELLO_PANORAMA_STRIP_WIDENING_H

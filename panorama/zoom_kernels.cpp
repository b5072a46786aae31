// The zoom's gathered rows, one pixel at a time, for processors without
// SSSE3 and for rows the shuffles do not serve.
#include "panorama/zoom_kernels.h"

#include <string.h>

// Everything the loop needs is in locals: stores through byte pointers may
// alias any object's fields, which would otherwise be reloaded per pixel.
void GatherZoomRow(const uint8_t* source_row, const int32_t* columns, int width, bool overread,
                   uint8_t* target) {
  int k = 0;
  if (overread) {
    // The stray fourth byte written is overwritten by the next pixel.
    for (; k < width - 1; k++) {
      uint32_t pixel;
      memcpy(&pixel, source_row + columns[k], 4);
      memcpy(target + 3 * k, &pixel, 4);
    }
  }
  for (; k < width; k++) {
    memcpy(target + 3 * k, source_row + columns[k], 3);
  }
}

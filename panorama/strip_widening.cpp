// Strip widening and the grey band.
#include "panorama/strip_widening.h"

#include <string.h>

#include <new>

namespace {

bool IsTrueColour(const SceneBitmap& bitmap) {
  return !bitmap.IsEmpty() && bitmap.Header()->biBitCount == 24;
}

}  // namespace

OwnedSceneBitmap WidenStrip(const SceneBitmap& strip, int& margin) {
  margin = 0;
  if (!IsTrueColour(strip)) {
    return nullptr;
  }
  const int width = strip.Width();
  const int height = strip.Height();
  const int m = StripMargin(width);
  if (width < m || height < 2) {
    return nullptr;
  }
  const int widened_width = width + 2 * m;

  OwnedSceneBitmap widened(new (std::nothrow) SceneBitmap(widened_width, height));
  if (!widened || widened->IsEmpty()) {
    return nullptr;
  }

  // Per row: the last m strip columns, the strip itself, its first m columns.
  const size_t row_bytes = 3 * static_cast<size_t>(width);
  const size_t margin_bytes = 3 * static_cast<size_t>(m);
  const BYTE* from = strip.Bits();
  BYTE* to = widened->Bits();
  for (int row = 0; row < height; row++) {
    memcpy(to, from + row_bytes - margin_bytes, margin_bytes);
    memcpy(to + margin_bytes, from, row_bytes);
    memcpy(to + margin_bytes + row_bytes, from, margin_bytes);
    from += row_bytes;
    to += row_bytes + 2 * margin_bytes;
  }
  margin = m;
  return widened;
}

void PaintGreyBand(SceneBitmap& widened) {
  if (!IsTrueColour(widened) || widened.Height() < 2) {
    return;
  }
  const size_t row_bytes = 3 * static_cast<size_t>(widened.Width());
  memset(widened.Bits() + (widened.Height() - 2) * row_bytes, 127, 2 * row_bytes);
}

// Proportional pixel font used for toolbar captions, the splash text and
// the storefront panel labels.
//
// Cell layout: 9 rows. Rows 0..6 hold capitals and ascenders (row 6 is the
// baseline row), lower-case bodies occupy rows 2..6 (x-height 5) and
// descenders use rows 7..8. Glyphs are 1..5 pixels wide with one blank
// column between neighbours.
#pragma once

#include <functional>
#include <string>

namespace artwork {

constexpr int kFontCapHeight = 7;
constexpr int kFontRows = 9;

// Width in pixels of `text` drawn at integer `scale` (no trailing gap).
int TextWidth(const std::string& text, int scale = 1);

// Calls plot(x, y) for every ink pixel; (x, y) is the top-left of the cap
// row of the first glyph. Unknown characters abort: captions are fixed
// data, a missing glyph is a bug.
void DrawText(const std::string& text, int x, int y, int scale,
              const std::function<void(int, int)>& plot);

}  // namespace artwork

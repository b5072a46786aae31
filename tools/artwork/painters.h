// Painters for the small bitmaps: splash, toolbar, badge, icons, cursor and
// the storefront tour's panel and logo.
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace artwork {

// Fingertip of the pointing hand: the cursor's hot spot.
constexpr int kHandHotX = 6;
constexpr int kHandHotY = 0;

// A labelled rectangle on the storefront panel; right/bottom exclusive.
struct PanelButton {
  std::string label;
  int left, top, right, bottom;
};

Indexed PaintSplash();                                // 190 x 150, 256 colours
Indexed PaintToolbar();                               // 400 x 38, standard 16 colours
Indexed PaintBadge();                                 // 46 x 46, standard 16 colours, white ground
Indexed PaintAppIcon(int size);                       // 32 or 16, standard 16 colours + mask
Indexed PaintInfoIcon(int size);                      // 32 or 16, standard 16 colours + mask
Indexed PaintHandCursor();                            // 32 x 32, black/white + mask
Image PaintPanel(std::vector<PanelButton>* buttons);  // 528 x 64
Image PaintLogo();                                    // 48 x 48

}  // namespace artwork

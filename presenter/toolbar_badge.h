// ToolbarBadge: the maker's circular logo drawn at the right end of the
// toolbar after the toolbar has painted itself, with its white background
// transparent, and the hit test that makes it a link. The badge is loaded,
// drawn and let go at every paint; only its size is kept, so that the hit
// test matches exactly what was last drawn.
#ifndef VISTELLO_PRESENTER_TOOLBAR_BADGE_H
#define VISTELLO_PRESENTER_TOOLBAR_BADGE_H

#include <windows.h>

class ToolbarBadge {
 public:
  ToolbarBadge() : width(0), height(0) {}

  // Draws bitmap 145 of the module on the toolbar, 2 pixels from its right
  // edge and centred vertically, keyed on its top-left pixel. A badge that
  // cannot be loaded draws nothing and has size 0.
  void Paint(HWND toolbar, HINSTANCE instance);

  // Whether client point (x, y) of the toolbar is on the badge as last
  // drawn: left and top edges inside, right and bottom edges outside. No
  // point is, before the first paint.
  bool Hits(HWND toolbar, int x, int y) const;

  int Width() const { return width; }
  int Height() const { return height; }

 private:
  RECT Area(HWND toolbar) const;

  int width;
  int height;
};

#endif  // VISTELLO_PRESENTER_TOOLBAR_BADGE_H

// Drawing the presenter's bitmaps. DrawKeyedBitmap draws a bitmap with every pixel of one colour
// left transparent -- the colour of the bitmap's own pixel (key_x, key_y), so the key is a colour,
// not a region. The picture is assembled off-screen and reaches the destination in a single copy,
// so no mask stage ever shows; the caller's bitmap ends with the pixels it had on entry.
#ifndef VISTELLO_PRESENTER_KEYED_BITMAP_H
#define VISTELLO_PRESENTER_KEYED_BITMAP_H

#include <windows.h>

void DrawKeyedBitmap(HDC destination, HBITMAP bitmap, int x, int y, int key_x, int key_y);

// Copies the window's client rectangle from the bitmap's origin, 1:1 and
// without scaling: how the e-commerce panel and the logo show their images.
// A null bitmap draws nothing.
void CopyBitmapToClient(HWND window, HDC destination, HBITMAP bitmap);

#endif  // VISTELLO_PRESENTER_KEYED_BITMAP_H

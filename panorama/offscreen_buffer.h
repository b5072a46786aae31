// OffscreenBuffer: the panorama view's back buffer -- a memory DC holding a
// bitmap compatible with the view's window and as large as its client area.
// Frames are drawn into it and reach the screen with one BitBlt, so the view
// never flickers.
#ifndef VISTELLO_PANORAMA_OFFSCREEN_BUFFER_H
#define VISTELLO_PANORAMA_OFFSCREEN_BUFFER_H

#include <windows.h>

class OffscreenBuffer {
 public:
  OffscreenBuffer() : memory_dc(nullptr), previous_bitmap(nullptr), bitmap(nullptr) {}
  ~OffscreenBuffer() { Release(); }
  OffscreenBuffer(const OffscreenBuffer&) = delete;
  OffscreenBuffer& operator=(const OffscreenBuffer&) = delete;

  // Replaces the buffer by one of the window's current client size, filled
  // with the system window colour. When the DC or the bitmap cannot be made
  // there is no buffer afterwards (Dc() is null).
  void Rebuild(HWND window);
  void Release();

  HDC Dc() const { return memory_dc; }

 private:
  HDC memory_dc;
  HBITMAP previous_bitmap;  // what memory_dc held before bitmap was selected
  HBITMAP bitmap;
};

#endif  // VISTELLO_PANORAMA_OFFSCREEN_BUFFER_H

// OffscreenBuffer: memory DC and compatible bitmap of the view's client size.
#include "panorama/offscreen_buffer.h"

#include "win32/scoped_handles.h"

void OffscreenBuffer::Rebuild(HWND window) {
  Release();
  WindowDC window_dc(window);
  if (window_dc.Get() == nullptr) {
    return;
  }
  RECT client;
  GetClientRect(window, &client);
  memory_dc = CreateCompatibleDC(window_dc);
  if (memory_dc == nullptr) {
    return;
  }
  bitmap = CreateCompatibleBitmap(window_dc, client.right, client.bottom);
  if (bitmap == nullptr) {
    DeleteDC(memory_dc);
    memory_dc = nullptr;
    return;
  }
  previous_bitmap = static_cast<HBITMAP>(SelectObject(memory_dc, bitmap));
  SetBkMode(memory_dc, OPAQUE);
  FillRect(memory_dc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

void OffscreenBuffer::Release() {
  if (memory_dc == nullptr) {
    return;
  }
  if (previous_bitmap != nullptr) {
    SelectObject(memory_dc, previous_bitmap);
  }
  if (bitmap != nullptr) {
    DeleteObject(bitmap);
  }
  DeleteDC(memory_dc);
  memory_dc = nullptr;
  previous_bitmap = nullptr;
  bitmap = nullptr;
}

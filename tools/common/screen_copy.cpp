// Screen copies through a 32-bit top-down DIB section.
#include "common/screen_copy.h"

#include <windows.h>

#include <string.h>

std::vector<uint32_t> CopyScreen(int left, int top, int width, int height) {
  std::vector<uint32_t> pixels;
  if (width <= 0 || height <= 0) {
    return pixels;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
    GdiFlush();
    pixels.resize(static_cast<size_t>(width) * height);
    memcpy(pixels.data(), bits, pixels.size() * sizeof(uint32_t));
    for (uint32_t& pixel : pixels) {
      pixel &= 0xFFFFFF;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

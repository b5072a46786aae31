// DrawKeyedBitmap: masked copy through an off-screen composite.
#include "presenter/keyed_bitmap.h"

#include "win32/scoped_handles.h"

void DrawKeyedBitmap(HDC destination, HBITMAP bitmap, int x, int y, int key_x, int key_y) {
  MemoryDC source(destination);
  SelectedObject source_bitmap(source, bitmap);
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  POINT size = {info.bmWidth, info.bmHeight};
  DPtoLP(source, &size, 1);
  const int width = size.x;
  const int height = size.y;
  const COLORREF key = GetPixel(source, key_x, key_y);

  // The inverse mask and the mask are monochrome; the composite and the
  // backup match the destination.
  MemoryDC inverse_mask(destination);
  MemoryDC mask(destination);
  MemoryDC composite(destination);
  MemoryDC backup(destination);
  GdiObject<HBITMAP> inverse_mask_bits(CreateBitmap(width, height, 1, 1, nullptr));
  GdiObject<HBITMAP> mask_bits(CreateBitmap(width, height, 1, 1, nullptr));
  GdiObject<HBITMAP> composite_bits(CreateCompatibleBitmap(destination, width, height));
  GdiObject<HBITMAP> backup_bits(CreateCompatibleBitmap(destination, width, height));
  SelectedObject inverse_mask_selected(inverse_mask, inverse_mask_bits);
  SelectedObject mask_selected(mask, mask_bits);
  SelectedObject composite_selected(composite, composite_bits);
  SelectedObject backup_selected(backup, backup_bits);

  SetMapMode(source, GetMapMode(destination));
  BitBlt(backup, 0, 0, width, height, source, 0, 0, SRCCOPY);

  // Colour to monochrome: pixels of the background colour become 1 (white),
  // all others 0 (black).
  const COLORREF background = SetBkColor(source, key);
  BitBlt(mask, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SetBkColor(source, background);
  BitBlt(inverse_mask, 0, 0, width, height, mask, 0, 0, NOTSRCCOPY);

  // Monochrome to colour uses the DCs' text colour (black) for 0 and
  // background colour (white) for 1: the screen survives where the bitmap
  // is transparent, the bitmap's own transparent pixels turn black.
  BitBlt(composite, 0, 0, width, height, destination, x, y, SRCCOPY);
  BitBlt(composite, 0, 0, width, height, mask, 0, 0, SRCAND);
  BitBlt(source, 0, 0, width, height, inverse_mask, 0, 0, SRCAND);
  BitBlt(composite, 0, 0, width, height, source, 0, 0, SRCPAINT);
  BitBlt(destination, x, y, width, height, composite, 0, 0, SRCCOPY);

  // The caller's bitmap gets its pixels back.
  BitBlt(source, 0, 0, width, height, backup, 0, 0, SRCCOPY);
}

void CopyBitmapToClient(HWND window, HDC destination, HBITMAP bitmap) {
  if (bitmap == nullptr) {
    return;
  }
  RECT client;
  GetClientRect(window, &client);
  MemoryDC memory(destination);
  SelectedObject picture(memory, bitmap);
  BitBlt(destination, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

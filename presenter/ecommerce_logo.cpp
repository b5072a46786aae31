// EcommerceLogo: the presenter's logo window.
#include "presenter/ecommerce_logo.h"

#include "app/viewer_app.h"
#include "presenter/keyed_bitmap.h"
#include "resources/resource_ids.h"
#include "win32/scoped_handles.h"

EcommerceLogo::EcommerceLogo(ViewerApp* owner)
    : owner(owner), instance(owner->ModuleInstance()), logo(nullptr) {
  logo = static_cast<HBITMAP>(
      LoadImageA(instance, "ECOMMERCELOGO", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  class_name[0] = '\0';
  LoadStringA(instance, IDS_ECOMMERCE_LOGO_CLASS, class_name, sizeof class_name);
}

EcommerceLogo::~EcommerceLogo() {
  if (logo != nullptr) {
    DeleteObject(logo);
  }
}

bool EcommerceLogo::Create(HWND parent) {
  return Reveal(CreateChild(parent, instance, class_name, 0, ID_ECOMMERCE_LOGO));
}

void EcommerceLogo::GetLogoSize(int* width, int* height) const {
  if (width == nullptr || height == nullptr) {
    return;
  }
  BITMAP size = {};
  if (logo != nullptr) {
    GetObjectA(logo, sizeof size, &size);
  }
  *width = size.bmWidth;
  *height = size.bmHeight;
}

// A fresh halftone palette for every paint, realised again once the old
// one is back: a palette change elsewhere just repaints the window.
void EcommerceLogo::Paint(HWND window) {
  PaintScope paint(window);
  GdiObject<HPALETTE> halftone(CreateHalftonePalette(paint));
  {
    SelectedPalette selected(paint, halftone, true);
    RealizePalette(paint);
    CopyBitmapToClient(window, paint, logo);
  }
  RealizePalette(paint);
}

LRESULT EcommerceLogo::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      return 0;
    case WM_PAINT:
      Paint(window);
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

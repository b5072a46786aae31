// EcommerceController: painting, palette and hot spots of the e-commerce panel.
#include "presenter/ecommerce_controller.h"

#include <stdlib.h>
#include <string.h>

#include "app/viewer_app.h"
#include "presenter/keyed_bitmap.h"
#include "resources/resource_ids.h"
#include "share/browser_launch.h"
#include "win32/scoped_handles.h"

namespace {

// The system's hand cursor, which systems older than Windows 98 and 2000 lack.
const LPCSTR kSystemHandCursor = MAKEINTRESOURCEA(32649);

}  // namespace

EcommerceController::EcommerceController(ViewerApp* owner)
    : instance(owner->ModuleInstance()),
      owner(owner),
      image(nullptr),
      image_height(0),
      image_width(0),
      browser_command(nullptr),
      hand_cursor(nullptr) {
  hand_cursor = LoadCursorA(nullptr, kSystemHandCursor);
  if (hand_cursor == nullptr) {
    hand_cursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_HAND_POINTER));
  }
  image = static_cast<HBITMAP>(
      LoadImageA(instance, "ECOMMERCEIMAGE", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (image != nullptr) {
    BITMAP size = {};
    GetObjectA(image, sizeof size, &size);
    image_width = size.bmWidth;
    image_height = size.bmHeight;
  }
  class_name[0] = '\0';
  LoadStringA(instance, IDS_ECOMMERCE_CLASS, class_name, sizeof class_name);
  browser_command = ReadBrowserCommand();
}

EcommerceController::~EcommerceController() {
  free(browser_command);
  if (image != nullptr) {
    DeleteObject(image);
  }
}

bool EcommerceController::Create(HWND parent) {
  return Reveal(CreateChild(parent, instance, class_name, 0, ID_ECOMMERCE_PANEL));
}

void EcommerceController::GetImageSize(int* width, int* height) const {
  if (image == nullptr || width == nullptr || height == nullptr) {
    return;
  }
  *width = image_width;
  *height = image_height;
}

HPALETTE EcommerceController::HalftonePalette() {
  return palette.For(Window());
}

UINT EcommerceController::RealizeHalftone(bool foreground) {
  // Without a window (Create failed) GetDC and InvalidateRect of null
  // would mean the whole screen and every window on it.
  if (Window() == nullptr) {
    return 0;
  }
  WindowDC dc(Window());
  SelectedPalette selected(dc, HalftonePalette(), !foreground);
  const UINT changed = RealizePalette(dc);
  if (changed != 0) {
    InvalidateRect(Window(), nullptr, TRUE);
  }
  return changed;
}

// The image 1:1 from its top-left corner; the background is never erased.
void EcommerceController::Paint(HWND window) {
  PaintScope paint(window);
  SelectedPalette halftone(paint, HalftonePalette(), true);
  RealizePalette(paint);
  CopyBitmapToClient(window, paint, image);
}

LRESULT EcommerceController::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      return 0;
    case WM_PAINT:
      Paint(window);
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      OnHotSpotHover(MouseX(lparam), MouseY(lparam));
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(window);
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      OnHotSpotClick(MouseX(lparam), MouseY(lparam));
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

// Every edge of a spot is outside it; of overlapping spots the first wins.
int EcommerceController::HotSpotAt(int x, int y) const {
  if (owner == nullptr) {
    return -1;
  }
  const TourDescription& tour = owner->Tour();
  for (int i = 0; i < tour.HotSpotCount(); i++) {
    const HotSpotRectangle* spot = tour.HotSpotRect(i);
    if (spot != nullptr && spot->left < x && x < spot->right && spot->top < y && y < spot->bottom) {
      return i;
    }
  }
  return -1;
}

void EcommerceController::OnHotSpotHover(int x, int y) {
  const int spot = HotSpotAt(x, y);
  if (spot >= 0) {
    SetCursor(hand_cursor);
    const char* status = owner->Tour().HotSpotStatusText(spot);
    if (status != nullptr && status[0] != '\0') {
      owner->SetStatusText(status);
    }
  } else {
    owner->RestoreStatusText();
  }
}

// Only the release point counts: a press on one spot released on another
// opens the second.
void EcommerceController::OnHotSpotClick(int x, int y) {
  const int spot = HotSpotAt(x, y);
  if (spot < 0 || browser_command == nullptr) {
    return;
  }
  const char* link = owner->Tour().HotSpotLink(spot);
  const char* query = owner->CurrentLinkQuery();
  const bool has_query = query != nullptr && query[0] != '\0';
  const size_t length =
      strlen(browser_command) + 1 + strlen(link) + (has_query ? 1 + strlen(query) : 0) + 1;
  char* command_line = static_cast<char*>(malloc(length));
  if (command_line == nullptr) {
    return;
  }
  strcpy(command_line, browser_command);
  strcat(command_line, " ");
  strcat(command_line, link);
  if (has_query) {
    strcat(command_line, "?");
    strcat(command_line, query);
  }
  StartBrowser(command_line);
  free(command_line);
}

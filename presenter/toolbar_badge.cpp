// ToolbarBadge: painting and hit-testing the maker's badge on the toolbar.
#include "presenter/toolbar_badge.h"

#include "presenter/keyed_bitmap.h"
#include "resources/resource_ids.h"
#include "win32/scoped_handles.h"

namespace {

const int kRightGap = 2;

}  // namespace

void ToolbarBadge::Paint(HWND toolbar, HINSTANCE instance) {
  RECT client;
  GetClientRect(toolbar, &client);
  WindowDC dc(toolbar);
  GdiObject<HBITMAP> badge(LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_BADGE)));
  if (badge.Get() == nullptr) {
    width = 0;
    height = 0;
    return;
  }
  BITMAP size = {};
  GetObjectA(badge, sizeof size, &size);
  DrawKeyedBitmap(dc, badge, client.right - size.bmWidth - kRightGap,
                  (client.bottom - size.bmHeight) / 2, 0, 0);
  width = size.bmWidth;
  height = size.bmHeight;
}

RECT ToolbarBadge::Area(HWND toolbar) const {
  RECT client;
  GetClientRect(toolbar, &client);
  RECT area;
  area.left = client.right - width - kRightGap;
  area.right = client.right - kRightGap;
  area.top = (client.bottom - height) / 2;
  area.bottom = area.top + height;
  return area;
}

bool ToolbarBadge::Hits(HWND toolbar, int x, int y) const {
  const RECT area = Area(toolbar);
  const POINT point = {x, y};
  return PtInRect(&area, point) != FALSE;
}

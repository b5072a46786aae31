// The toolbar of the running viewer: the maker's badge drawn at its right
// end and working as a link to the maker's site (hover text, hand cursor,
// release over it), the command under a point, and the zoom buttons that
// zoom while held. The browser is the recorder program.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/viewer_app.h"
#include "panorama/panorama_controller.h"
#include "presenter/presenter_test_support.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"

namespace {

const char kVisitText[] = "Visit Orvo(tm) Website";
const char kMakerSite[] = "www.orvo.example";
const DWORD kNoStartWait = 2000;  // ms to wait before saying nothing was started

POINT Centre(const RECT& rect) {
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

RECT ButtonRect(HWND toolbar, int command) {
  RECT rect = {};
  const LRESULT index = SendMessageA(toolbar, TB_COMMANDTOINDEX, command, 0);
  SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// The right edge of the last button: between it and the badge the toolbar
// is empty.
int ButtonsEnd(HWND toolbar) {
  const LRESULT count = SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0);
  RECT last = {};
  SendMessageA(toolbar, TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
  return last.right;
}

// The client points of the toolbar that count as the badge, as a bounding
// rectangle; count receives how many there are.
RECT BadgeHits(ViewerApp* app, HWND toolbar, int* count) {
  RECT client = {};
  GetClientRect(toolbar, &client);
  RECT hits = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  *count = 0;
  for (int y = client.top - 2; y < client.bottom + 2; y++) {
    for (int x = client.left - 2; x < client.right + 2; x++) {
      if (app->HitsToolbarLogo(toolbar, x, y)) {
        ++*count;
        hits.left = std::min<LONG>(hits.left, x);
        hits.top = std::min<LONG>(hits.top, y);
        hits.right = std::max<LONG>(hits.right, x + 1);
        hits.bottom = std::max<LONG>(hits.bottom, y + 1);
      }
    }
  }
  return hits;
}

class ToolbarLink : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(viewer.Initialized());
    ASSERT_TRUE(viewer.WaitForFirstScene());
    toolbar = viewer.Toolbar();
    ASSERT_NE(toolbar, nullptr);
    int count = 0;
    badge = BadgeHits(viewer.App(), toolbar, &count);
    ASSERT_GT(count, 0) << "the toolbar has been painted, so the badge is there";
    title = viewer.App()->Tour().Scene(0)->Title();
  }

  // The recorder's quoted path, the blank before the placeholder, the four
  // that replace it, the appended one, and the maker's address last.
  std::string SiteCommandLine() const {
    return QuotedRecorderPath() + std::string(6, ' ') + kMakerSite;
  }

  RunningViewer viewer;
  HWND toolbar = nullptr;
  RECT badge = {};
  std::string title;
};

TEST(ToolbarBadge, NoPointIsTheBadgeBeforeTheFirstPaintAndAfterItTheDrawingIsTheHitArea) {
  // Hidden, the main window's children are never painted.
  RunningViewer viewer(SW_HIDE);
  ASSERT_TRUE(viewer.Initialized());
  HWND toolbar = viewer.Toolbar();
  ASSERT_TRUE(viewer.WaitForFirstScene());
  int count = -1;
  BadgeHits(viewer.App(), toolbar, &count);
  EXPECT_EQ(count, 0);
  // Where the badge will be, a release opens nothing and a move shows no link.
  RECT client = {};
  GetClientRect(toolbar, &client);
  const int x = client.right - 25;
  const int y = client.bottom / 2;
  SendMouse(toolbar, WM_MOUSEMOVE, x, y);
  EXPECT_EQ(viewer.StatusText(), viewer.App()->Tour().Scene(0)->Title());
  SendMouse(toolbar, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  SendMouse(toolbar, WM_LBUTTONUP, x, y);
  EXPECT_EQ(viewer.TakeBrowserStart(kNoStartWait), std::nullopt);

  ShowWindow(viewer.Main(), SW_SHOW);
  UpdateWindow(viewer.Main());
  PumpMessages(300);

  RECT hits = BadgeHits(viewer.App(), toolbar, &count);
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BADGE));
  ASSERT_NE(bitmap, nullptr);
  const Pixels badge = ReadBitmapPixels(bitmap);
  DeleteObject(bitmap);
  // A full rectangle of the badge's size, 2 pixels from the right edge.
  EXPECT_EQ(hits.right - hits.left, badge.width);
  EXPECT_EQ(hits.bottom - hits.top, badge.height);
  EXPECT_EQ(count, badge.width * badge.height);
  EXPECT_EQ(hits.right, client.right - 2);

  // On the screen: the badge's own colours exactly inside that rectangle,
  // the toolbar's face where the badge is white, and nothing of the badge
  // between the last button and the right edge outside it.
  const Pixels screen = ReadWindowPixels(toolbar);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const int from = ButtonsEnd(toolbar) + 1;
  int wrong = 0;
  for (int y = 0; y < screen.height; y++) {
    for (int x = from; x < screen.width; x++) {
      const POINT point = {x, y};
      COLORREF expected = face;
      if (PtInRect(&hits, point)) {
        const COLORREF own = badge.At(x - hits.left, y - hits.top);
        if (own != RGB(255, 255, 255)) {
          expected = own;
        }
      }
      if (screen.At(x, y) != expected && ++wrong <= 10) {
        ADD_FAILURE() << "toolbar pixel (" << x << ", " << y << ") is " << std::hex
                      << screen.At(x, y) << ", expected " << expected;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST_F(ToolbarLink, OverTheBadgeTheHandAndTheSiteTextShowAndElsewhereTheTitle) {
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_POINTER));
  ASSERT_NE(hand, nullptr);
  const POINT corners[] = {{badge.left, badge.top},
                           {badge.right - 1, badge.top},
                           {badge.left, badge.bottom - 1},
                           {badge.right - 1, badge.bottom - 1},
                           Centre(badge)};
  for (const POINT& p : corners) {
    SCOPED_TRACE(testing::Message() << "at (" << p.x << ", " << p.y << ")");
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    SendMouse(toolbar, WM_MOUSEMOVE, p.x, p.y);
    EXPECT_EQ(viewer.StatusText(), kVisitText);
    EXPECT_EQ(GetCursor(), hand);

    // Off the badge -- a button, empty toolbar, just past an edge -- the
    // scene title comes back at once.
    SendMouse(toolbar, WM_MOUSEMOVE, Centre(ButtonRect(toolbar, CMD_STOP)).x, 10);
    EXPECT_EQ(viewer.StatusText(), title);
  }
  const POINT outside[] = {{badge.left - 1, Centre(badge).y},
                           {badge.right, Centre(badge).y},
                           {ButtonsEnd(toolbar) + 2, Centre(badge).y}};
  for (const POINT& p : outside) {
    SCOPED_TRACE(testing::Message() << "at (" << p.x << ", " << p.y << ")");
    SendMouse(toolbar, WM_MOUSEMOVE, Centre(badge).x, Centre(badge).y);
    ASSERT_EQ(viewer.StatusText(), kVisitText);
    SendMouse(toolbar, WM_MOUSEMOVE, p.x, p.y);
    EXPECT_EQ(viewer.StatusText(), title);
  }
}

TEST_F(ToolbarLink, OnlyAReleaseOverTheBadgeOpensTheMakersSite) {
  const POINT on_badge = Centre(badge);
  const POINT empty = {ButtonsEnd(toolbar) + 4, on_badge.y};
  const POINT look_left = Centre(ButtonRect(toolbar, CMD_LOOK_LEFT));

  // Pressed on the badge, released on empty toolbar: nothing.
  SendMouse(toolbar, WM_LBUTTONDOWN, on_badge.x, on_badge.y, MK_LBUTTON);
  SendMouse(toolbar, WM_LBUTTONUP, empty.x, empty.y);
  EXPECT_EQ(viewer.TakeBrowserStart(kNoStartWait), std::nullopt);

  // Pressed on a button, released on the badge: the site. The pan button
  // pressed first shows that the toolbar's own handling still runs.
  SendMouse(toolbar, WM_LBUTTONDOWN, look_left.x, look_left.y, MK_LBUTTON);
  SendMouse(toolbar, WM_LBUTTONUP, on_badge.x, on_badge.y);
  EXPECT_EQ(viewer.TakeBrowserStart(), SiteCommandLine());

  // Pressed on empty toolbar, released on the badge's top-left pixel.
  SendMouse(toolbar, WM_LBUTTONDOWN, empty.x, empty.y, MK_LBUTTON);
  SendMouse(toolbar, WM_LBUTTONUP, badge.left, badge.top);
  EXPECT_EQ(viewer.TakeBrowserStart(), SiteCommandLine());

  // Pressed on the badge, released over a button: nothing opens, and the
  // button gives no command either (the view keeps panning right).
  ASSERT_GT(viewer.App()->Panorama()->PanSpeed(), 0);
  SendMouse(toolbar, WM_LBUTTONDOWN, on_badge.x, on_badge.y, MK_LBUTTON);
  SendMouse(toolbar, WM_LBUTTONUP, look_left.x, look_left.y);
  EXPECT_EQ(viewer.TakeBrowserStart(kNoStartWait), std::nullopt);
  PumpMessages(100);
  EXPECT_GT(viewer.App()->Panorama()->PanSpeed(), 0);
}

TEST_F(ToolbarLink, CommandUnderAPointIsTheButtonsAndNoneForSeparatorsOrSpace) {
  ViewerApp* app = viewer.App();
  // The toolbar's nine items in order; the two separators have no command.
  const int expected[] = {CMD_LOOK_LEFT, CMD_STOP, CMD_LOOK_RIGHT,     -1,      CMD_ZOOM_IN,
                          CMD_ZOOM_OUT,  -1,       CMD_CONTACT_BUTTON, CMD_SEND};
  ASSERT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 9);
  for (int index = 0; index < 9; index++) {
    RECT item = {};
    ASSERT_TRUE(SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)));
    SCOPED_TRACE(testing::Message() << "item " << index);
    EXPECT_EQ(app->ToolbarCommandAt(Centre(item).x, Centre(item).y), expected[index]);
    EXPECT_EQ(app->ToolbarCommandAt(item.left + 1, item.top + 1), expected[index]);
    EXPECT_EQ(app->ToolbarCommandAt(item.right - 2, item.bottom - 2), expected[index]);
  }
  RECT client = {};
  GetClientRect(toolbar, &client);
  EXPECT_EQ(app->ToolbarCommandAt(ButtonsEnd(toolbar) + 4, client.bottom / 2), -1);
  EXPECT_EQ(app->ToolbarCommandAt(Centre(badge).x, Centre(badge).y), -1);
  EXPECT_EQ(app->ToolbarCommandAt(client.right - 1, client.bottom - 1), -1);
}

// Watches the zoom level from a thread of its own, so that the user-
// interface thread's message handling cannot hide a level, and keeps every
// value it sees change to.
class ZoomWatch {
 public:
  explicit ZoomWatch(const PanoramaController* view) : view(view) {
    levels.push_back(view->ZoomLevel());
    watcher = std::thread([this] {
      while (!stop.load()) {
        const int level = this->view->ZoomLevel();
        {
          std::lock_guard<std::mutex> guard(lock);
          if (level != levels.back()) {
            levels.push_back(level);
          }
        }
        Sleep(1);
      }
    });
  }
  ~ZoomWatch() {
    stop = true;
    watcher.join();
  }
  std::vector<int> Levels() {
    std::lock_guard<std::mutex> guard(lock);
    return levels;
  }

 private:
  const PanoramaController* view;
  std::mutex lock;
  std::vector<int> levels;
  std::atomic<bool> stop{false};
  std::thread watcher;
};

std::vector<int> Range(int from, int to) {
  std::vector<int> values;
  for (int v = from; from <= to ? v <= to : v >= to; from <= to ? v++ : v--) {
    values.push_back(v);
  }
  return values;
}

TEST_F(ToolbarLink, HeldZoomButtonsZoomOneLevelPerTickUntilReleasedOverAZoomButton) {
  PanoramaController* view = viewer.App()->Panorama();
  const POINT zoom_in = Centre(ButtonRect(toolbar, CMD_ZOOM_IN));
  const POINT zoom_out = Centre(ButtonRect(toolbar, CMD_ZOOM_OUT));
  ASSERT_EQ(view->ZoomLevel(), 0);
  {
    // Held: up a level at a time; released over Zoom out, it stops there
    // (no click completes, so no single step follows).
    ZoomWatch watch(view);
    SendMouse(toolbar, WM_LBUTTONDOWN, zoom_in.x, zoom_in.y, MK_LBUTTON);
    ASSERT_TRUE(PumpUntil([view] { return view->ZoomLevel() >= 4; }));
    SendMouse(toolbar, WM_LBUTTONUP, zoom_out.x, zoom_out.y);
    PumpMessages(100);  // a tick that had already begun may still land
    const int stopped_at = view->ZoomLevel();
    PumpMessages(400);  // eight animation ticks
    EXPECT_EQ(view->ZoomLevel(), stopped_at);
    EXPECT_EQ(watch.Levels(), Range(0, stopped_at));
  }
  {
    // Held again up to the last level, where it stays.
    const int from = view->ZoomLevel();
    ZoomWatch watch(view);
    SendMouse(toolbar, WM_LBUTTONDOWN, zoom_in.x, zoom_in.y, MK_LBUTTON);
    ASSERT_TRUE(PumpUntil([view] { return view->ZoomLevel() == 15; }));
    PumpMessages(300);
    EXPECT_EQ(view->ZoomLevel(), 15);
    // Released over the same button: the held zoom stops and the completed
    // click's single step is clamped.
    SendMouse(toolbar, WM_LBUTTONUP, zoom_in.x, zoom_in.y);
    PumpMessages(100);
    EXPECT_EQ(view->ZoomLevel(), 15);
    EXPECT_EQ(watch.Levels(), Range(from, 15));
  }
  {
    // Zoom out held: down a level at a time; released over Zoom in it stops.
    ZoomWatch watch(view);
    SendMouse(toolbar, WM_LBUTTONDOWN, zoom_out.x, zoom_out.y, MK_LBUTTON);
    ASSERT_TRUE(PumpUntil([view] { return view->ZoomLevel() <= 10; }));
    SendMouse(toolbar, WM_LBUTTONUP, zoom_in.x, zoom_in.y);
    PumpMessages(100);
    const int stopped_at = view->ZoomLevel();
    PumpMessages(400);
    EXPECT_EQ(view->ZoomLevel(), stopped_at);
    EXPECT_EQ(watch.Levels(), Range(15, stopped_at));
  }
  {
    // And on down to the first level, where it stays until released.
    const int from = view->ZoomLevel();
    ZoomWatch watch(view);
    SendMouse(toolbar, WM_LBUTTONDOWN, zoom_out.x, zoom_out.y, MK_LBUTTON);
    ASSERT_TRUE(PumpUntil([view] { return view->ZoomLevel() == 0; }));
    PumpMessages(300);
    EXPECT_EQ(view->ZoomLevel(), 0);
    SendMouse(toolbar, WM_LBUTTONUP, zoom_out.x, zoom_out.y);
    PumpMessages(100);
    EXPECT_EQ(view->ZoomLevel(), 0);
    EXPECT_EQ(watch.Levels(), Range(from, 0));
  }
}

// However the press ends -- released anywhere on or off the toolbar, or the
// capture taken by another window -- the held zoom stops; and a scene
// switch never carries a held zoom into the new scene.
TEST_F(ToolbarLink, EveryEndOfAPressEndsTheHeldZoom) {
  PanoramaController* view = viewer.App()->Panorama();
  const POINT zoom_in = Centre(ButtonRect(toolbar, CMD_ZOOM_IN));
  const POINT look_left = Centre(ButtonRect(toolbar, CMD_LOOK_LEFT));
  const POINT empty = {ButtonsEnd(toolbar) + 4, zoom_in.y};
  const struct {
    const char* how;
    POINT release;  // where the button comes up; unused when the capture is taken
    bool capture_taken;
  } rows[] = {
      {"released on empty toolbar", empty, false},
      {"released over another button", look_left, false},
      {"released below the toolbar", {zoom_in.x, zoom_in.y + 200}, false},
      {"released left of the window", {-60, zoom_in.y}, false},
      {"capture taken by another window", {}, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.how);
    view->SetZoomLevel(0);
    SendMouse(toolbar, WM_LBUTTONDOWN, zoom_in.x, zoom_in.y, MK_LBUTTON);
    ASSERT_EQ(view->ZoomSpeed(), 1);
    if (row.capture_taken) {
      SetCapture(viewer.Main());
      EXPECT_EQ(view->ZoomSpeed(), 0);
      ReleaseCapture();
      SendMouse(toolbar, WM_LBUTTONUP, empty.x, empty.y);  // let the toolbar's own press go
    } else {
      SendMouse(toolbar, WM_LBUTTONUP, row.release.x, row.release.y);
      EXPECT_EQ(view->ZoomSpeed(), 0);
    }
    PumpMessages(100);  // a tick that had already begun may still land
    const int level = view->ZoomLevel();
    PumpMessages(400);
    EXPECT_EQ(view->ZoomLevel(), level) << "the zoom stays where it stopped";
  }

  view->StartZoomIn();
  viewer.App()->SelectScene(3);
  ASSERT_TRUE(PumpUntil([&] {
    return view->CurrentScene() == viewer.App()->Tour().Scene(3) &&
           viewer.StatusText() == viewer.App()->Tour().Scene(3)->Title();
  }));
  EXPECT_EQ(view->ZoomSpeed(), 0);
  PumpMessages(400);
  EXPECT_EQ(view->ZoomLevel(), 0) << "the new scene does not climb";
}

// How many more GDI objects this process can make: it falls by one for
// every object that lives on. (Counted by making brushes until the system
// refuses one, then freeing them all.)
// GetGuiResources, looked up at run time: the headers for the product's
// target systems do not declare it.
DWORD ReportedGdiObjects() {
  typedef DWORD(WINAPI * Function)(HANDLE, DWORD);
  const Function count = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "GetGuiResources")));
  return count != nullptr ? count(GetCurrentProcess(), 0 /* GR_GDIOBJECTS */) : 0;
}

int FreeGdiObjectSlots() {
  std::vector<HBRUSH> brushes;
  for (;;) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    if (brush == nullptr || brushes.size() >= 200000) {
      break;
    }
    brushes.push_back(brush);
  }
  for (HBRUSH brush : brushes) {
    DeleteObject(brush);
  }
  return static_cast<int>(brushes.size());
}

TEST_F(ToolbarLink, RepeatedToolbarPaintsKeepTheGdiObjectCountFlat) {
  viewer.App()->Panorama()->Stop();  // nothing else draws meanwhile
  PumpMessages(300);
  const DWORD reported = ReportedGdiObjects();
  // The measure must see an object that lives on.
  const int before_probe = FreeGdiObjectSlots();
  HBRUSH kept[5];
  for (HBRUSH& brush : kept) {
    brush = CreateSolidBrush(RGB(4, 5, 6));
  }
  const int with_probe = FreeGdiObjectSlots();
  for (HBRUSH brush : kept) {
    DeleteObject(brush);
  }
  ASSERT_EQ(before_probe - with_probe, 5) << "the count does not track live objects";

  // Each paint must really draw the badge: it is blotted out first.
  const auto paint = [this] {
    HDC dc = GetDC(toolbar);
    FillRect(dc, &badge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(toolbar, dc);
    RedrawWindow(toolbar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  };
  for (int i = 0; i < 5; i++) {
    paint();  // first paints may fill caches of the system's own
  }
  const int before = FreeGdiObjectSlots();
  const DWORD reported_before = ReportedGdiObjects();
  for (int i = 0; i < 200; i++) {
    paint();
  }
  const int after = FreeGdiObjectSlots();
  const DWORD reported_after = ReportedGdiObjects();
  EXPECT_EQ(after, before) << "GDI objects left behind by 200 toolbar paints";
  if (reported != 0) {
    EXPECT_EQ(reported_after, reported_before);
  }
  RecordProperty("GetGuiResources", static_cast<int>(reported));
  std::printf("GetGuiResources(GR_GDIOBJECTS) = %lu; free GDI slots %d before, %d after\n",
              reported, before, after);
  const Pixels screen = ReadWindowPixels(toolbar);
  EXPECT_NE(screen.At(Centre(badge).x, Centre(badge).y), RGB(0, 0, 0)) << "badge not redrawn";
}

}  // namespace

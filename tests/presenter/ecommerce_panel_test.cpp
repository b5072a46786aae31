// The storefront tour's e-commerce panel and logo in the running viewer:
// where they sit and how they narrow the presenter lines, what they paint,
// the panel's hot spots (strict edges, the lowest index winning, status
// texts, links with the scene's query, opened through the recorder
// program), and the main window's palette change reaching both.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/viewer_app.h"
#include "panorama/panorama_controller.h"
#include "presenter/ecommerce_controller.h"
#include "presenter/ecommerce_logo.h"
#include "presenter/presenter_test_support.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"

namespace {

const DWORD kNoStartWait = 2000;  // ms to wait before saying nothing was started
const char kBook[] = "http://www.harborpointinn.example/book";
const char kFloorPlan[] = "http://www.harborpointinn.example/floorplan";
const char kRates[] = "http://www.harborpointinn.example/rates";
const char kOffers[] = "http://www.harborpointinn.example/offers";

HBITMAP LoadTourBitmap(const char* name) {
  return static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

class Storefront : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(viewer.Initialized());
    ASSERT_TRUE(viewer.WaitForFirstScene());
    panel_window = GetDlgItem(viewer.Main(), ID_ECOMMERCE_PANEL);
    logo_window = GetDlgItem(viewer.Main(), ID_ECOMMERCE_LOGO);
    ASSERT_NE(panel_window, nullptr);
    ASSERT_NE(logo_window, nullptr);
    panel = static_cast<EcommerceController*>(ChildWindow::ObjectFor(panel_window));
    logo = static_cast<EcommerceLogo*>(ChildWindow::ObjectFor(logo_window));
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(logo, nullptr);
  }

  // The command line a click on link opens, with the query when there is one.
  std::string Started(const char* link, const char* query = nullptr) const {
    std::string line = QuotedRecorderPath() + std::string(6, ' ') + link;
    if (query != nullptr) {
      line += std::string("?") + query;
    }
    return line;
  }

  void Click(int x, int y) { ClickAcross(x, y, x, y); }
  void ClickAcross(int down_x, int down_y, int up_x, int up_y) {
    SendMouse(panel_window, WM_LBUTTONDOWN, down_x, down_y, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), panel_window) << "the press captures the mouse";
    SendMouse(panel_window, WM_LBUTTONUP, up_x, up_y);
    EXPECT_EQ(GetCapture(), nullptr) << "the release lets it go";
  }

  RunningViewer viewer;
  HWND panel_window = nullptr;
  HWND logo_window = nullptr;
  EcommerceController* panel = nullptr;
  EcommerceLogo* logo = nullptr;
};

TEST_F(Storefront, MainWindowGrowsByTheImageAndThePanelAndLogoTakeTheirPlaces) {
  HBITMAP image = LoadTourBitmap("ECOMMERCEIMAGE");
  HBITMAP logo_bitmap = LoadTourBitmap("ECOMMERCELOGO");
  ASSERT_NE(image, nullptr);
  ASSERT_NE(logo_bitmap, nullptr);
  BITMAP image_size = {};
  BITMAP logo_size = {};
  GetObjectA(image, sizeof image_size, &image_size);
  GetObjectA(logo_bitmap, sizeof logo_size, &logo_size);
  DeleteObject(image);
  DeleteObject(logo_bitmap);

  RECT window = {};
  GetWindowRect(viewer.Main(), &window);
  EXPECT_EQ(window.right - window.left, 534);
  EXPECT_EQ(window.bottom - window.top, 321 + image_size.bmHeight);

  RECT client = {};
  GetClientRect(viewer.Main(), &client);
  const RECT toolbar = PlaceInParent(viewer.Toolbar());
  ASSERT_EQ(toolbar.top, 0);
  const int top = toolbar.bottom;  // the content area starts below the toolbar

  const RECT panel_place = PlaceInParent(panel_window);
  EXPECT_EQ(panel_place.left, 0);
  EXPECT_EQ(panel_place.top, top + 206);
  EXPECT_EQ(panel_place.right, client.right);
  EXPECT_EQ(panel_place.bottom - panel_place.top, image_size.bmHeight);

  const RECT logo_place = PlaceInParent(logo_window);
  EXPECT_EQ(logo_place.left, client.right - logo_size.bmWidth - 2);
  EXPECT_EQ(logo_place.top, top + 134);
  EXPECT_EQ(logo_place.right - logo_place.left, logo_size.bmWidth);
  EXPECT_EQ(logo_place.bottom - logo_place.top, logo_size.bmHeight);

  // The right column starts 328 pixels in. The lines above the logo's rows
  // span the column; the three beside it stop 2 pixels short of the logo.
  const int column = client.right - 328;
  const RECT listing = PlaceInParent(GetDlgItem(viewer.Main(), ID_LISTING));
  EXPECT_EQ(listing.left, 328);
  EXPECT_EQ(listing.right - listing.left, column);
  const struct {
    int id;
    int y;
    int height;
  } lines[] = {
      {ID_PRESENTED_BY, 134, 14}, {ID_PRESENTER_NAME, 148, 17}, {ID_PRESENTER_COMPANY, 165, 17}};
  for (const auto& line : lines) {
    SCOPED_TRACE(testing::Message() << "line " << line.id);
    const RECT place = PlaceInParent(GetDlgItem(viewer.Main(), line.id));
    EXPECT_EQ(place.left, 328);
    EXPECT_EQ(place.top, top + line.y);
    EXPECT_EQ(place.right - place.left, column - 2 - logo_size.bmWidth);
    EXPECT_EQ(place.bottom - place.top, line.height);
    EXPECT_LE(place.right, logo_place.left);
  }
}

TEST_F(Storefront, SizeQueriesAnswerFromTheBitmapsAndLeaveNullOutputsAlone) {
  int width = -7;
  int height = -9;
  logo->GetLogoSize(&width, nullptr);
  EXPECT_EQ(width, -7);
  logo->GetLogoSize(nullptr, &height);
  EXPECT_EQ(height, -9);
  logo->GetLogoSize(&width, &height);
  EXPECT_EQ(width, 48);
  EXPECT_EQ(height, 48);

  width = -7;
  height = -9;
  panel->GetImageSize(&width, &height);
  EXPECT_EQ(width, 528);
  EXPECT_EQ(height, 64);
}

TEST_F(Storefront, PanelAndLogoShowTheirBitmapsFromTheTopLeftCorner) {
  HBITMAP image = LoadTourBitmap("ECOMMERCEIMAGE");
  HBITMAP logo_bitmap = LoadTourBitmap("ECOMMERCELOGO");
  const Pixels image_pixels = ReadBitmapPixels(image);
  const Pixels logo_pixels = ReadBitmapPixels(logo_bitmap);
  DeleteObject(image);
  DeleteObject(logo_bitmap);
  ASSERT_GT(image_pixels.width, 0);
  ASSERT_GT(logo_pixels.width, 0);

  const struct {
    HWND window;
    const Pixels* expected;
  } windows[] = {{panel_window, &image_pixels}, {logo_window, &logo_pixels}};
  for (int round = 0; round < 2; round++) {
    for (const auto& w : windows) {
      SCOPED_TRACE(testing::Message()
                   << (w.window == panel_window ? "panel" : "logo") << ", round " << round);
      const Pixels screen = ReadWindowPixels(w.window);
      int wrong = 0;
      const int width = std::min(screen.width, w.expected->width);
      const int height = std::min(screen.height, w.expected->height);
      ASSERT_GT(width * height, 0);
      for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
          if (screen.At(x, y) != w.expected->At(x, y) && ++wrong <= 5) {
            ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
          }
        }
      }
      EXPECT_EQ(wrong, 0);
    }
    // Blotted out and invalidated, both paint themselves back.
    for (const auto& w : windows) {
      HDC dc = GetDC(w.window);
      RECT client = {};
      GetClientRect(w.window, &client);
      FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      ReleaseDC(w.window, dc);
      InvalidateRect(w.window, nullptr, TRUE);
    }
    PumpMessages(200);
  }
}

TEST_F(Storefront, HotSpotsExcludeEveryEdgeAndTheLowestIndexWins) {
  const struct {
    int x;
    int y;
    int spot;
  } points[] = {// Spot 0 (4, 6, 104, 58): each edge outside, one pixel in inside.
                {4, 30, -1},
                {5, 30, 0},
                {104, 30, -1},
                {103, 30, 0},
                {50, 6, -1},
                {50, 7, 0},
                {50, 58, -1},
                {50, 57, 0},
                {4, 6, -1},
                {5, 7, 0},
                {103, 57, 0},
                {104, 58, -1},
                // Between spots 0 and 1, and above and below the buttons.
                {106, 30, -1},
                {50, 2, -1},
                {50, 62, -1},
                // Spot 1 (109, 6, 209, 58).
                {109, 30, -1},
                {110, 30, 1},
                {208, 57, 1},
                {209, 57, -1},
                // Spot 5 (280, 0, 528, 64) alone: above and below the buttons, at the
                // right end, and between Photos and Map.
                {300, 0, -1},
                {300, 1, 5},
                {300, 63, 5},
                {300, 64, -1},
                {280, 3, -1},
                {281, 3, 5},
                {527, 30, 5},
                {528, 30, -1},
                {316, 30, 5},
                {314, 30, 5},
                {319, 30, 5},
                // Where spot 5 overlaps spots 2, 3 and 4, they win.
                {300, 30, 2},
                {281, 7, 2},
                {313, 57, 2},
                {320, 7, 3},
                {418, 57, 3},
                {425, 30, 4},
                {523, 57, 4},
                {524, 30, 5},
                // Outside the image altogether.
                {-1, -1, -1},
                {600, 30, -1}};
  for (const auto& p : points) {
    EXPECT_EQ(panel->HotSpotAt(p.x, p.y), p.spot) << "at (" << p.x << ", " << p.y << ")";
  }
}

TEST_F(Storefront, HoverShowsTheHandAndTheSpotsTextAndOffTheSpotsTheTitle) {
  const std::string title = viewer.App()->Tour().Scene(0)->Title();
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);

  SetCursor(arrow);
  SendMouse(panel_window, WM_MOUSEMOVE, 50, 30);
  EXPECT_EQ(viewer.StatusText(), "Book a room at the Harbor Point Inn");
  HCURSOR hand = GetCursor();
  EXPECT_NE(hand, arrow);
  EXPECT_NE(hand, nullptr);

  // Spot 1 has no status text: the hand, and the line keeps what it had.
  SetCursor(arrow);
  SendMouse(panel_window, WM_MOUSEMOVE, 150, 30);
  EXPECT_EQ(GetCursor(), hand);
  EXPECT_EQ(viewer.StatusText(), "Book a room at the Harbor Point Inn");
  viewer.App()->SetStatusText("Something else");
  SendMouse(panel_window, WM_MOUSEMOVE, 160, 40);
  EXPECT_EQ(viewer.StatusText(), "Something else");

  // Overlaps show the winner's text.
  SendMouse(panel_window, WM_MOUSEMOVE, 350, 30);
  EXPECT_EQ(viewer.StatusText(), "Find us on the map");
  SendMouse(panel_window, WM_MOUSEMOVE, 316, 30);
  EXPECT_EQ(viewer.StatusText(), "Seasonal offers");

  // Off every spot the title is written at each move, edges included.
  SetCursor(arrow);
  SendMouse(panel_window, WM_MOUSEMOVE, 106, 30);
  EXPECT_EQ(viewer.StatusText(), title);
  EXPECT_EQ(GetCursor(), arrow);
  viewer.App()->SetStatusText("Something else");
  SendMouse(panel_window, WM_MOUSEMOVE, 4, 6);
  EXPECT_EQ(viewer.StatusText(), title);

  // Another scene's title is the one restored.
  viewer.App()->SelectScene(2);
  viewer.App()->SetStatusText("Something else");
  SendMouse(panel_window, WM_MOUSEMOVE, 2, 2);
  EXPECT_EQ(viewer.StatusText(), viewer.App()->Tour().Scene(2)->Title());
}

TEST_F(Storefront, ClicksOpenTheReleasedSpotsLinkWithTheScenesQuery) {
  // Scene 0 has the query "scene=lobby".
  Click(50, 30);
  EXPECT_EQ(viewer.TakeBrowserStart(), Started(kBook, "scene=lobby"));
  Click(300, 62);
  EXPECT_EQ(viewer.TakeBrowserStart(), Started(kOffers, "scene=lobby"));

  // Only the release counts: pressed on Map, released on Rates.
  ClickAcross(350, 30, 450, 30);
  EXPECT_EQ(viewer.TakeBrowserStart(), Started(kRates, "scene=lobby"));

  // Pressed on a spot, released off all of them (an edge): nothing.
  ClickAcross(50, 30, 104, 30);
  EXPECT_EQ(viewer.TakeBrowserStart(kNoStartWait), std::nullopt);

  // Scene 2 has an empty query: the link alone, no question mark. Scene 1's
  // query has an ampersand, passed on as it is.
  viewer.App()->SelectScene(2);
  Click(150, 30);
  EXPECT_EQ(viewer.TakeBrowserStart(), Started(kFloorPlan));
  viewer.App()->SelectScene(1);
  Click(150, 30);
  EXPECT_EQ(viewer.TakeBrowserStart(), Started(kFloorPlan, "scene=boardroom&size=12"));
}

TEST_F(Storefront, APaletteChangeElsewhereRepaintsTheLogoAndRealisesThePanelsPalette) {
  PumpMessages(200);
  RECT update = {};
  ASSERT_FALSE(GetUpdateRect(logo_window, &update, FALSE));
  // Another window changed the system palette.
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(SendMessageA(viewer.Main(), WM_PALETTECHANGED, reinterpret_cast<WPARAM>(other), 0), 0);
  RECT logo_client = {};
  GetClientRect(logo_window, &logo_client);
  ASSERT_TRUE(GetUpdateRect(logo_window, &update, FALSE));
  EXPECT_TRUE(EqualRect(&update, &logo_client));
  EXPECT_TRUE(GetUpdateRect(viewer.Toolbar(), &update, FALSE));
  // After the repaint the logo shows its picture again.
  PumpMessages(300);
  EXPECT_FALSE(GetUpdateRect(logo_window, &update, FALSE));
  DestroyWindow(other);

  HBITMAP logo_bitmap = LoadTourBitmap("ECOMMERCELOGO");
  const Pixels expected = ReadBitmapPixels(logo_bitmap);
  DeleteObject(logo_bitmap);
  EXPECT_EQ(ReadWindowPixels(logo_window).rgb, expected.rgb);
}

// Window procedure of stand-in classes under the panel's and the logo's
// class names: every window of them refuses to be created.
LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return message == WM_CREATE ? -1 : DefWindowProcA(window, message, wparam, lparam);
}

// Counts the background erasures of a window that the test keeps valid.
int bystander_erasures = 0;
LRESULT CALLBACK BystanderProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) {
    bystander_erasures++;
    return 1;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// While it lives, the panel's and the logo's window classes are taken by
// classes whose windows cannot be created (their own registration then
// fails harmlessly, as it does when a class exists).
class RefusedEcommerceWindows {
 public:
  RefusedEcommerceWindows() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int id : {IDS_ECOMMERCE_CLASS, IDS_ECOMMERCE_LOGO_CLASS}) {
      char name[150] = "";
      LoadStringA(instance, id, name, sizeof name);
      names.push_back(name);
      UnregisterClassA(name, instance);  // left by an earlier viewer of this process
      WNDCLASSA window_class = {};
      window_class.lpfnWndProc = RefuseCreation;
      window_class.hInstance = instance;
      window_class.lpszClassName = names.back().c_str();
      registered = RegisterClassA(&window_class) != 0 && registered;
    }
  }
  ~RefusedEcommerceWindows() {
    for (const std::string& name : names) {
      UnregisterClassA(name.c_str(), GetModuleHandleA(nullptr));
    }
  }
  bool registered = true;

 private:
  std::vector<std::string> names;
};

TEST(StorefrontWithoutItsWindows, TheViewerGoesOnAndAPaletteChangeTouchesNoOtherWindow) {
  RefusedEcommerceWindows refused;
  ASSERT_TRUE(refused.registered);
  RunningViewer viewer;
  ASSERT_TRUE(viewer.Initialized());
  ASSERT_TRUE(viewer.WaitForFirstScene());
  EXPECT_EQ(GetDlgItem(viewer.Main(), ID_ECOMMERCE_PANEL), nullptr);
  EXPECT_EQ(GetDlgItem(viewer.Main(), ID_ECOMMERCE_LOGO), nullptr);
  EXPECT_NE(GetDlgItem(viewer.Main(), ID_PRESENTER_COMPANY), nullptr);

  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = BystanderProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "PresenterTestBystander";
  RegisterClassA(&window_class);
  HWND bystander = CreateWindowExA(0, "PresenterTestBystander", "", WS_POPUP | WS_VISIBLE, 600, 500,
                                   100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(bystander, nullptr);
  PumpMessages(200);
  ValidateRect(bystander, nullptr);
  bystander_erasures = 0;

  // A palette change reaches only the viewer's own windows: the missing
  // panel and logo windows must not stand for "every window".
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(viewer.Main(), WM_PALETTECHANGED, reinterpret_cast<WPARAM>(other), 0);
  RECT update = {};
  EXPECT_FALSE(GetUpdateRect(bystander, &update, FALSE));
  EXPECT_EQ(bystander_erasures, 0);
  DestroyWindow(other);
  DestroyWindow(bystander);
}

}  // namespace

// The demo tour carries neither e-commerce bitmap and sets neither flag:
// the main window keeps its height, no panel or logo window exists, the
// presenter lines span the column, and panel and logo objects made on such
// a program report their missing bitmaps as their interfaces promise.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/viewer_app.h"
#include "presenter/ecommerce_controller.h"
#include "presenter/ecommerce_logo.h"
#include "presenter/presenter_test_support.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"

namespace {

class WithoutEcommerce : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(viewer.Initialized());
    ASSERT_TRUE(viewer.WaitForFirstScene());
  }
  RunningViewer viewer;
};

TEST_F(WithoutEcommerce, WindowKeepsItsSizeAndThePresenterLinesSpanTheColumn) {
  ASSERT_FALSE(viewer.App()->Tour().HasEcommerceImage());
  ASSERT_FALSE(viewer.App()->Tour().HasEcommerceLogo());
  RECT window = {};
  GetWindowRect(viewer.Main(), &window);
  EXPECT_EQ(window.right - window.left, 534);
  EXPECT_EQ(window.bottom - window.top, 321);
  EXPECT_EQ(GetDlgItem(viewer.Main(), ID_ECOMMERCE_PANEL), nullptr);
  EXPECT_EQ(GetDlgItem(viewer.Main(), ID_ECOMMERCE_LOGO), nullptr);

  RECT client = {};
  GetClientRect(viewer.Main(), &client);
  for (int id : {ID_PRESENTED_BY, ID_PRESENTER_NAME, ID_PRESENTER_COMPANY}) {
    const RECT place = PlaceInParent(GetDlgItem(viewer.Main(), id));
    EXPECT_EQ(place.right - place.left, client.right - 328 - 2) << "line " << id;
  }
  // A palette change with neither window present is harmless.
  HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(SendMessageA(viewer.Main(), WM_PALETTECHANGED, reinterpret_cast<WPARAM>(other), 0), 0);
  DestroyWindow(other);
  PumpMessages(100);
}

TEST_F(WithoutEcommerce, MissingBitmapsGiveNoSizeOrZeroSize) {
  EcommerceController panel(viewer.App());
  int width = 37;
  int height = 41;
  panel.GetImageSize(&width, &height);
  EXPECT_EQ(width, 37) << "without an image the caller's values stay";
  EXPECT_EQ(height, 41);

  EcommerceLogo logo(viewer.App());
  logo.GetLogoSize(&width, nullptr);
  EXPECT_EQ(width, 37);
  logo.GetLogoSize(&width, &height);
  EXPECT_EQ(width, 0) << "without a logo the size is 0 x 0";
  EXPECT_EQ(height, 0);
}

TEST_F(WithoutEcommerce, APanelWithoutHotSpotsNeverLinks) {
  // The recorder is registered, so a click that wanted a browser would get one.
  EcommerceController panel(viewer.App());
  ASSERT_TRUE(panel.Create(viewer.Main()));
  MoveWindow(panel.Window(), 0, 250, 200, 40, TRUE);
  PumpMessages(100);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  for (const POINT& p : {POINT{0, 0}, POINT{1, 1}, POINT{100, 20}}) {
    EXPECT_EQ(panel.HotSpotAt(p.x, p.y), -1);
    SetCursor(arrow);
    viewer.App()->SetStatusText("Something else");
    SendMouse(panel.Window(), WM_MOUSEMOVE, p.x, p.y);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(viewer.StatusText(), viewer.App()->Tour().Scene(0)->Title());
    SendMouse(panel.Window(), WM_LBUTTONDOWN, p.x, p.y, MK_LBUTTON);
    SendMouse(panel.Window(), WM_LBUTTONUP, p.x, p.y);
  }
  EXPECT_EQ(viewer.TakeBrowserStart(2000), std::nullopt);
  DestroyWindow(panel.Window());
}

}  // namespace

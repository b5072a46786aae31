// On an 8-bit screen the view goes through its halftone palette: the scene
// still appears, dithered, and realising the palette works both ways.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "panorama/panorama_controller.h"
#include "support/view_harness.h"
#include "tour/tour_description.h"

namespace {

TEST(PanoramaPalette, EightBitScreenShowsAPicture) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL);
  const bool palette_device = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(bits, 8) << "this test runs on an 8-bit screen";
  EXPECT_TRUE(palette_device);

  TourDescription tour;
  TestOwner owner;
  PanoramaController view(&owner);
  ASSERT_TRUE(view.Create(owner.MainWindow()));
  MoveWindow(view.Window(), 0, 0, 322, 202, TRUE);
  view.RequestScene(tour.Scene(5));
  ASSERT_TRUE(PumpUntil([&] { return owner.StatusText() == "Dining Room"; }));
  view.Stop();
  PumpMessages(300);

  // The palette messages of the main window reach the view.
  view.RealizeHalftone(true);
  view.RealizeHalftone(false);
  PumpMessages(200);

  const ScreenPixels pixels = ReadClientPixels(view.Window());
  ASSERT_EQ(pixels.width, 318);
  std::set<int> colours;
  for (int y = 0; y < pixels.height; y += 2) {
    for (int x = 0; x < pixels.width; x += 2) {
      const unsigned char* p = pixels.At(x, y);
      colours.insert(p[0] << 16 | p[1] << 8 | p[2]);
    }
  }
  EXPECT_GT(colours.size(), 12u) << "a dithered picture, not a blank view";
}

}  // namespace

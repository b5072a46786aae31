// Strip widening and the grey band: every widened column is the strip column
// it wraps to, and strips the projection cannot use are refused.
#include "panorama/strip_widening.h"

#include <gtest/gtest.h>

#include "panorama/panorama_test_support.h"

namespace {

TEST(WidenStrip, EveryColumnHoldsTheStripColumnItWrapsTo) {
  for (const int width : {1200, 400, 7, 3}) {
    SCOPED_TRACE(width);
    OwnedSceneBitmap strip = NoiseStrip(width, 5);
    int margin = -1;
    OwnedSceneBitmap widened = WidenStrip(*strip, margin);
    ASSERT_TRUE(widened);
    EXPECT_EQ(margin, width / 4 + 3);
    ASSERT_EQ(widened->Width(), width + 2 * margin);
    ASSERT_EQ(widened->Height(), 5);
    EXPECT_EQ(widened->Header()->biBitCount, 24);
    for (int row = 0; row < 5; row++) {
      for (int p = 0; p < widened->Width(); p++) {
        const int column = ((p - margin) % width + width) % width;
        ASSERT_EQ(Pixel(*widened, p, row), Pixel(*strip, column, row)) << p << ", " << row;
      }
    }
  }
  EXPECT_EQ(StripMargin(1200), 303);
  EXPECT_EQ(WidenedWidth(1200), 1806);
}

TEST(WidenStrip, RefusesStripsItCannotWiden) {
  int margin = -1;
  EXPECT_FALSE(WidenStrip(*NoiseStrip(2, 10), margin)) << "narrower than its margin of 3";
  EXPECT_EQ(margin, 0);
  EXPECT_FALSE(WidenStrip(*NoiseStrip(100, 1), margin)) << "no room for the grey band";
  SceneBitmap empty;
  EXPECT_FALSE(WidenStrip(empty, margin));

  // An 8-bit (greyscale) bitmap: same header, one byte per pixel.
  OwnedSceneBitmap grey = NoiseStrip(100, 10);
  grey->Header()->biBitCount = 8;
  EXPECT_FALSE(WidenStrip(*grey, margin));
}

TEST(PaintGreyBand, SetsTheTopTwoPictureRowsToMidGreyAndNothingElse) {
  OwnedSceneBitmap strip = NoiseStrip(13, 6);
  const std::vector<BYTE> before = Bytes(*strip);
  PaintGreyBand(*strip);
  const std::vector<BYTE> after = Bytes(*strip);
  const size_t band = 3 * 13 * 4;  // stored rows 4 and 5 are the picture's top
  for (size_t i = 0; i < after.size(); i++) {
    ASSERT_EQ(after[i], i < band ? before[i] : 127) << i;
  }

  OwnedSceneBitmap one_row = NoiseStrip(13, 1);
  const std::vector<BYTE> single = Bytes(*one_row);
  PaintGreyBand(*one_row);
  EXPECT_EQ(Bytes(*one_row), single);
}

}  // namespace

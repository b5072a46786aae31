// ZoomTable: level 0 copies, higher levels magnify about the frame centre,
// and every limit keeps the reads inside the projected frame.
#include "panorama/zoom_table.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <math.h>
#include <string.h>

#include "panorama/cpu_features.h"
#include "panorama/panorama_test_support.h"

namespace {

// Exactly sized 320 x 200 frames; the source is coded so that each output
// pixel tells where it was read: green is the source row, blue and red the
// low and high bytes of the source column.
struct Frames {
  Frames() : source(new SceneBitmap(320, 200)), target(new SceneBitmap(320, 200)) {
    for (int row = 0; row < 200; row++) {
      for (int column = 0; column < 320; column++) {
        BYTE* at = source->Bits() + (row * 320 + column) * 3;
        at[0] = static_cast<BYTE>(column & 255);
        at[1] = static_cast<BYTE>(row);
        at[2] = static_cast<BYTE>(column >> 8);
      }
    }
    built = zoom.Build(320, 200, 3.0f, 20);
    zoom.SetSourceBits(source->Bits());
    zoom.SetTargetBits(target->Bits());
  }
  int SourceColumn(int column, int row) const {
    const std::vector<int> pixel = Pixel(*target, column, row);
    return pixel[0] + 256 * pixel[2];
  }
  int SourceRow(int column, int row) const { return Pixel(*target, column, row)[1]; }

  OwnedSceneBitmap source, target;
  ZoomTable zoom;
  bool built = false;
};

TEST(ZoomTableRender, LevelZeroCopiesTheProjectedFrame) {
  Frames frames;
  ASSERT_TRUE(frames.built);
  OwnedSceneBitmap noise = NoiseStrip(320, 200);
  frames.zoom.SetSourceBits(noise->Bits());
  EXPECT_EQ(frames.zoom.Render(0, 0, 0), 1);
  EXPECT_EQ(Bytes(*frames.target), Bytes(*noise));
  // What ClampVertical hands over at level 0 is limited back to 0.
  memset(frames.target->Bits(), 0, 320 * 200 * 3);
  EXPECT_EQ(frames.zoom.Render(0, frames.zoom.ClampVertical(7, 0), 0), -1);
  EXPECT_EQ(Bytes(*frames.target), Bytes(*noise));
}

TEST(ZoomTableRender, MagnifiesAboutTheCentreUpToTheLastLevel) {
  Frames frames;
  ASSERT_EQ(frames.zoom.Render(0, 0, 20), 1);  // 3.0 times
  EXPECT_EQ(frames.SourceColumn(160, 100), 160);
  EXPECT_EQ(frames.SourceRow(160, 100), 100);
  EXPECT_EQ(frames.SourceColumn(0, 0), 106);  // floor(160 - 160 / 3)
  EXPECT_EQ(frames.SourceColumn(318, 0), 212);
  EXPECT_EQ(frames.SourceRow(0, 0), 66);
  EXPECT_EQ(frames.zoom.MarginX(), 106);
  EXPECT_EQ(frames.zoom.MarginY(), 66);

  // Levels beyond the tables are limited to them.
  const std::vector<BYTE> highest = Bytes(*frames.target);
  for (const int level : {21, INT_MAX}) {
    EXPECT_EQ(frames.zoom.Render(0, 0, level), -1);
    EXPECT_EQ(Bytes(*frames.target), highest);
  }
  EXPECT_EQ(frames.zoom.Render(0, 0, -3), -1);
  EXPECT_EQ(Bytes(*frames.target), Bytes(*frames.source));
}

TEST(ZoomTableRender, LevelFifteenReadsUpToTheTopRowAndNoFurther) {
  Frames frames;
  ASSERT_EQ(frames.zoom.Render(0, 56, 15), 1);
  EXPECT_EQ(frames.zoom.MarginY(), 56);
  EXPECT_EQ(frames.SourceRow(0, 199), 199);
  EXPECT_EQ(frames.SourceRow(0, 0), 112);
  const std::vector<BYTE> top = Bytes(*frames.target);
  EXPECT_EQ(frames.zoom.Render(0, 57, 15), -1);
  EXPECT_EQ(Bytes(*frames.target), top);

  ASSERT_EQ(frames.zoom.Render(-89, -56, 15), 1);
  EXPECT_EQ(frames.zoom.MarginX(), 89);
  EXPECT_EQ(frames.SourceRow(0, 0), 0);
  EXPECT_EQ(frames.SourceColumn(0, 0), 0);
  ASSERT_EQ(frames.zoom.Render(89, 0, 15), 1);
  EXPECT_EQ(frames.SourceColumn(319, 0), 229 + 89);  // floor(160 + 159 / 2.2795), moved
}

TEST(ZoomTableClampVertical, KeepsOneRowBelowTheMarginAndIsMinusOneAtLevelZero) {
  Frames frames;
  EXPECT_EQ(frames.zoom.ClampVertical(100, 15), 55);
  EXPECT_EQ(frames.zoom.ClampVertical(-100, 15), -56);
  for (const int offset : {INT_MIN, -1000, -1, 0, 1, 56, 1000, INT_MAX}) {
    EXPECT_EQ(frames.zoom.ClampVertical(offset, 0), -1) << offset;
  }
}

// Small and odd frames reach the corners the demo frame never does (at
// 4 x 4, level 13 and up, the second-last column moved by the margin reads
// the last column of the top row).
TEST(ZoomTableRender, StaysInsideFramesOfAnySizeAtEveryLevelAndOffset) {
  const int extremes[] = {INT_MIN, -3, 0, 3, INT_MAX};
  for (const auto& size : {std::pair<int, int>{4, 4}, {10, 2}, {7, 5}, {1, 1}, {2, 9}}) {
    SCOPED_TRACE(size.first * 100 + size.second);
    OwnedSceneBitmap source = NoiseStrip(size.first, size.second);
    OwnedSceneBitmap target(new SceneBitmap(size.first, size.second));
    ZoomTable zoom;
    ASSERT_TRUE(zoom.Build(size.first, size.second, 3.0f, 20));
    zoom.SetSourceBits(source->Bits());
    zoom.SetTargetBits(target->Bits());
    for (int level = 0; level <= 20; level++) {
      for (const int horizontal : extremes) {
        for (const int vertical : extremes) {
          const int status = zoom.Render(horizontal, vertical, level);
          ASSERT_EQ(status == 1, horizontal >= -zoom.MarginX() && horizontal <= zoom.MarginX() &&
                                     vertical >= -zoom.MarginY() && vertical <= zoom.MarginY());
        }
      }
    }
  }
}

// The shuffled rows work in five-pixel chunks and gather what is left of a
// row; widths around the chunk sizes (a 16-byte store needs 6 pixels; 16 to
// 21 end a row with 1 to 5 pixels left over) give the gathered rows' bytes.
TEST(ZoomTableRender, ShuffledRowsGiveTheGatheredRowsAtAnyWidth) {
  if (!CpuFeatures::HasSsse3()) {
    GTEST_SKIP() << "this processor has no shuffles to compare";
  }
  for (const int width : {5, 6, 7, 16, 17, 18, 19, 20, 21, 320}) {
    SCOPED_TRACE(width);
    OwnedSceneBitmap source = NoiseStrip(width, 9, width);
    OwnedSceneBitmap target(new SceneBitmap(width, 9));
    ZoomTable zoom;
    ASSERT_TRUE(zoom.Build(width, 9, 3.0f, 20));
    zoom.SetSourceBits(source->Bits());
    zoom.SetTargetBits(target->Bits());
    for (int level = 0; level <= 20; level++) {
      for (const int vertical : {-1000, 0, 1000}) {
        ASSERT_TRUE(zoom.UseVectorRows(false));
        zoom.Render(0, vertical, level);
        const std::vector<BYTE> gathered = Bytes(*target);
        ASSERT_TRUE(zoom.UseVectorRows(true));
        zoom.Render(0, vertical, level);
        ASSERT_EQ(Bytes(*target), gathered) << "level " << level << ", tilt " << vertical;
      }
    }
  }
}

TEST(ZoomTableBuild, RefusesWhatWouldReadOutsideTheFrame) {
  Frames frames;
  memset(frames.target->Bits(), 9, 320 * 200 * 3);
  for (const float max_zoom : {0.5f, NAN, INFINITY}) {
    EXPECT_FALSE(frames.zoom.Build(320, 200, max_zoom, 20)) << max_zoom;
    EXPECT_FALSE(frames.zoom.IsBuilt());
    EXPECT_EQ(frames.zoom.Render(0, 0, 0), -1);
  }
  EXPECT_FALSE(frames.zoom.Build(0, 200, 3.0f, 20));
  EXPECT_FALSE(frames.zoom.Build(320, 200, 3.0f, -1));
  EXPECT_EQ(frames.zoom.ClampVertical(5, 0), -1);
  EXPECT_EQ(Bytes(*frames.target), std::vector<BYTE>(320 * 200 * 3, 9)) << "drew without tables";

  // One level only, and more levels than the frame has columns (tables of
  // w x max(w, h) entries would overflow there).
  ASSERT_TRUE(frames.zoom.Build(320, 200, 3.0f, 0));
  EXPECT_EQ(frames.zoom.Render(0, 0, 5), -1);
  EXPECT_EQ(Bytes(*frames.target), Bytes(*frames.source));
  ASSERT_TRUE(frames.zoom.Build(320, 200, 3.0f, 400));
  EXPECT_EQ(frames.zoom.Render(0, 0, 400), 1);
  EXPECT_EQ(frames.SourceColumn(160, 100), 160);
}

}  // namespace

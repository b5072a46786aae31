// The vector rows and the scalar rows of one build give the same frames,
// byte for byte: every pan column of the animation's range, at zoom levels
// from none to the most (each level has tables of its own, and every one
// comes round in the sweep), with the tilt at both of its limits and in the
// middle. Both are checked against a reference frame made the long way
// (the whole projected frame by the scalar rows, then the zoom), so the
// view's shortcut of projecting only what the zoom reads is covered too.
#include <gtest/gtest.h>
#include <string.h>

#include "panorama/cpu_features.h"
#include "panorama/panorama_test_support.h"
#include "panorama/view_pipeline.h"

namespace {

TEST(ProjectionRows, VectorAndScalarRowsGiveTheSameFramesEverywhere) {
  if (!CpuFeatures::HasVectorRows()) {
    GTEST_SKIP() << "this processor has no vector rows to compare";
  }
  // Noise: no two pixels alike, so a sample from the wrong place shows.
  OwnedSceneBitmap strip = NoiseStrip(1200, 200, 5);
  ViewPipeline vector, scalar, reference;
  ASSERT_TRUE(vector.Prepare(*strip) && scalar.Prepare(*strip) && reference.Prepare(*strip));
  ASSERT_TRUE(vector.UseVectorRows(true));
  ASSERT_TRUE(scalar.UseVectorRows(false));
  ASSERT_TRUE(reference.UseVectorRows(false));
  const size_t frame_bytes = 3u * 320 * 200;

  // Tilts beyond both margins are limited to them. The most magnified
  // level comes first: its region is the smallest, and whatever it misses
  // still holds the previous pan column's pixels, not this one's; so does
  // the level of the sweep, which takes each level in turn.
  const int tilts[] = {-1000, -17, 0, 23, 1000};
  long frames = 0;
  for (int pan = vector.Margin(); pan <= vector.WidenedWidth() - vector.Margin(); pan++) {
    reference.Projection().Render(pan, 0);
    const int levels[] = {pan % 21, 20, 15, 8, 4, 0};
    for (const int level : levels) {
      for (const int tilt : tilts) {
        if (level == 0 && tilt != 0) {
          continue;  // no room to tilt without zoom
        }
        reference.Zoom().Render(0, tilt, level);
        vector.Render(pan, tilt, level);
        scalar.Render(pan, tilt, level);
        const BYTE* expected = reference.Zoomed().Bits();
        ASSERT_EQ(memcmp(vector.Zoomed().Bits(), expected, frame_bytes), 0)
            << "vector rows, pan " << pan << ", level " << level << ", tilt " << tilt;
        ASSERT_EQ(memcmp(scalar.Zoomed().Bits(), expected, frame_bytes), 0)
            << "scalar rows, pan " << pan << ", level " << level << ", tilt " << tilt;
        frames++;
      }
    }
  }
  // 1201 pan columns, 26 frames each, but only one at the 57 whose sweep
  // level is 0 (the multiples of 21 from 303 to 1503).
  EXPECT_EQ(frames, 1201 * 26 - 57 * 4);
  RecordProperty("frames_compared", static_cast<int>(frames));
}

}  // namespace

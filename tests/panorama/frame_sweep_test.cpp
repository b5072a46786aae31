// The whole frame pipeline under the sanitizers: every pan column the
// animation can reach, at every zoom level the tables hold, with offsets at
// and far beyond their limits, renders without a single out-of-bounds access.
#include <gtest/gtest.h>
#include <limits.h>

#include "panorama/cylinder_projection.h"
#include "panorama/panorama_test_support.h"
#include "panorama/strip_widening.h"
#include "panorama/zoom_table.h"

namespace {

TEST(FrameSweep, EveryPanOfTheAnimationRangeAtEveryLevelStaysInBounds) {
  OwnedSceneBitmap strip = DemoStrip(3);
  if (!strip) {
    strip = NoiseStrip(1200, 200);
  }
  int margin = 0;
  OwnedSceneBitmap widened = WidenStrip(*strip, margin);
  ASSERT_TRUE(widened);
  PaintGreyBand(*widened);
  const int a = widened->Width(), h = widened->Height();

  CylinderProjection projection;
  int width = 0, height = 0;
  ASSERT_TRUE(projection.Build(a, h, 80, 1.0f, width, height));
  ZoomTable zoom;
  ASSERT_TRUE(zoom.Build(width, h, 3.0f, 20));
  OwnedSceneBitmap projected(new SceneBitmap(width, h));
  OwnedSceneBitmap zoomed(new SceneBitmap(width, h));
  projection.SetSourceBits(widened->Bits());
  projection.SetTargetBits(projected->Bits());
  zoom.SetSourceBits(projected->Bits());
  zoom.SetTargetBits(zoomed->Bits());

  // Every 49 consecutive pans give each level every pair of these.
  const int offsets[] = {INT_MIN, -1000, -56, 0, 56, 1000, INT_MAX};
  for (int pan = margin; pan <= a - margin; pan++) {
    ASSERT_EQ(projection.Render(pan, 0), 1) << "pan " << pan << " is inside the strip";
    for (int level = 0; level <= 20; level++) {
      const int vertical = offsets[(pan + level) % 7];
      const int horizontal = offsets[(pan / 7 + level) % 7];
      const int clamped = zoom.ClampVertical(vertical, level);
      ASSERT_GE(clamped, level == 0 ? -1 : -zoom.Rows(level)[0] / 3);
      zoom.Render(horizontal, vertical, level);
      ASSERT_EQ(zoom.Render(0, clamped, level), level == 0 ? -1 : 1);
    }
  }
}

}  // namespace

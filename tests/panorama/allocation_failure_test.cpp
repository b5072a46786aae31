// Allocation failures: the widened strip and every table report a failed
// allocation to the caller, so the view can show no scene instead of
// crashing. The sanitizer's allocator is told to fail, rather than abort,
// on any request above 64 MB, which makes the failures real ones.
#include <gtest/gtest.h>

#include "panorama/cylinder_projection.h"
#include "panorama/panorama_test_support.h"
#include "panorama/strip_widening.h"
#include "panorama/zoom_table.h"

extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=64";
}

namespace {

TEST(AllocationFailure, IsReportedByWideningAndBothTableBuilds) {
  // 48 MB of strip widens to 72 MB.
  OwnedSceneBitmap strip(new SceneBitmap(40000, 400));
  ASSERT_FALSE(strip->IsEmpty());
  int margin = -1;
  EXPECT_FALSE(WidenStrip(*strip, margin));
  EXPECT_EQ(margin, 0);

  // 60000 table rows of 320 offsets are 77 MB.
  CylinderProjection projection;
  int width = 0, height = 0;
  EXPECT_FALSE(projection.Build(1806, 20000, 80, 3.0f, width, height));
  EXPECT_FALSE(projection.IsBuilt());
  EXPECT_EQ(height, 0);
  EXPECT_EQ(projection.Render(903, 0), -1);
  EXPECT_TRUE(projection.Build(1806, 200, 80, 1.0f, width, height)) << "recovers";

  // 100001 levels of 320 entries are 128 MB per table.
  ZoomTable zoom;
  EXPECT_FALSE(zoom.Build(320, 200, 3.0f, 100000));
  EXPECT_FALSE(zoom.IsBuilt());
  EXPECT_EQ(zoom.Render(0, 0, 0), -1);
  EXPECT_TRUE(zoom.Build(320, 200, 3.0f, 20)) << "recovers";
}

}  // namespace

// CylinderProjection: the demo geometry, the tables at the view's edges,
// bit-exact agreement with the fixed-point formula (scalar and vector rows),
// the invisible seam, the centre column, and the limits that keep every read
// inside the strip.
#include "panorama/cylinder_projection.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <math.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "panorama/cpu_features.h"
#include "panorama/panorama_test_support.h"
#include "panorama/strip_widening.h"

namespace {

// A widened, grey-banded strip with its projection and an exactly sized
// 320 x h frame, prepared as the view prepares a scene.
struct Scene {
  Scene(const SceneBitmap& strip, float scale = 1.0f) {
    widened = WidenStrip(strip, margin);
    PaintGreyBand(*widened);
    built = projection.Build(widened->Width(), widened->Height(), 80, scale, width, height);
    frame.reset(new SceneBitmap(320, widened->Height()));
    projection.SetSourceBits(widened->Bits());
    projection.SetTargetBits(frame->Bits());
  }
  std::vector<BYTE> Render(int pan, int offset = 0, int expected_status = 1) {
    EXPECT_EQ(projection.Render(pan, offset), expected_status) << pan << ", " << offset;
    return Bytes(*frame);
  }

  OwnedSceneBitmap widened, frame;
  CylinderProjection projection;
  int margin = 0, width = 0, height = 0;
  bool built = false;
};

// The frame exactly as the fixed-point formula gives it from the tables.
std::vector<BYTE> FormulaFrame(const Scene& scene, int pan, int offset) {
  const CylinderProjection& p = scene.projection;
  const int a = scene.widened->Width();
  const BYTE* source = scene.widened->Bits();
  std::vector<BYTE> frame;
  for (int n = 0; n < 320 * scene.widened->Height(); n++) {
    const int k = (p.MarginY() + offset) * 320 + n;
    const int o = p.Offsets()[k] + 3 * (p.MarginX() + pan);
    const int fx = p.FracX()[k], fy = p.FracY()[k];
    for (int c = 0; c < 3; c++) {
      const int p00 = source[o + c], p01 = source[o + 3 + c];
      const int p10 = source[o + 3 * a + c], p11 = source[o + 3 * a + 3 + c];
      frame.push_back(static_cast<BYTE>(
          ((p00 * 256 + (p01 - p00) * fx) * (256 - fy) + (p10 * 256 + (p11 - p10) * fx) * fy) >>
          16));
    }
  }
  return frame;
}

TEST(CylinderProjectionBuild, GivesTheDemoGeometry) {
  CylinderProjection projection;
  int width = 0, height = 0;
  ASSERT_TRUE(projection.Build(1806, 200, 80, 1.0f, width, height));
  EXPECT_EQ(width, 320);
  EXPECT_EQ(height, 200);
  EXPECT_NEAR(projection.Radius(), 191.623, 0.0005);
  EXPECT_NEAR(2 * projection.Radius(), 383.245, 0.0005);
  EXPECT_EQ(projection.PlaneWidth(), 321);
  EXPECT_EQ(projection.MarginX(), 0);
  EXPECT_EQ(projection.OutputHeight(), 200);
  EXPECT_EQ(projection.MarginY(), 0);

  // View column 0 samples 151.57 columns left of the pan column, column 319
  // 150.72 right; rows at the edges are pulled toward the middle by 0.923:
  // view row 0 at column 0 reads strip row 7.28 (Q = -92.28).
  const int32_t* offsets = projection.Offsets();
  EXPECT_EQ(offsets[100 * 320], 3 * (100 * 1806 - 152));
  EXPECT_EQ(projection.FracX()[100 * 320], 110);
  EXPECT_EQ(offsets[100 * 320 + 319], 3 * (100 * 1806 + 150));
  EXPECT_EQ(projection.FracX()[100 * 320 + 319], 183);
  EXPECT_EQ(offsets[0], 3 * (7 * 1806 - 152));
  EXPECT_EQ(projection.FracY()[0], 184);
  EXPECT_EQ(offsets[199 * 320 + 319], 3 * (191 * 1806 + 150));
  // The centre column is exact: view row 0 is strip row 0 with no weight.
  EXPECT_EQ(offsets[160], 0);
  EXPECT_EQ(projection.FracY()[160], 0);
  EXPECT_EQ(projection.MinPan(), 152);
  EXPECT_EQ(projection.MaxPan(), 1806 - 2 - 150);
}

TEST(CylinderProjectionBuild, LimitsTheScaleToOneToThree) {
  auto tables = [](float scale, int& height) {
    CylinderProjection projection;
    int width = 0;
    EXPECT_TRUE(projection.Build(1806, 200, 80, scale, width, height));
    const int count = projection.OutputHeight() * 320;
    std::vector<int32_t> result(projection.Offsets(), projection.Offsets() + count);
    result.insert(result.end(), projection.FracX(), projection.FracX() + count);
    result.insert(result.end(), projection.FracY(), projection.FracY() + count);
    result.push_back(projection.PlaneWidth());
    return result;
  };
  int height = 0, limit_height = 0;
  EXPECT_EQ(tables(5.0f, height), tables(3.0f, limit_height));
  EXPECT_EQ(height, 600);
  EXPECT_EQ(limit_height, 600);
  EXPECT_EQ(tables(0.5f, height), tables(1.0f, limit_height));
  EXPECT_EQ(tables(NAN, height), tables(1.0f, limit_height));
  EXPECT_EQ(height, 200);
}

// The row code kinds this machine has: the scalar rows everywhere, the
// vector rows where CpuFeatures says so.
std::vector<bool> RowKinds() {
  std::vector<bool> kinds = {false};
  if (CpuFeatures::HasVectorRows()) {
    kinds.push_back(true);
  }
  return kinds;
}

TEST(CylinderProjectionRender, MatchesTheFixedPointFormulaBitForBit) {
  OwnedSceneBitmap strip = NoiseStrip(1200, 200);
  for (const bool vector : RowKinds()) {
    SCOPED_TRACE(vector ? "vector rows" : "scalar rows");
    Scene scene(*strip);
    ASSERT_TRUE(scene.built);
    ASSERT_TRUE(scene.projection.UseVectorRows(vector));
    for (const int pan : {152, 303, 442, 903, 1503, 1654}) {
      EXPECT_EQ(scene.Render(pan), FormulaFrame(scene, pan, 0)) << pan;
    }
    // Magnified, with the frame taken from the middle and both ends of H;
    // at 3.0 most samples above and below the strip land on the grey band.
    for (const float scale : {1.5f, 3.0f}) {
      Scene magnified(*strip, scale);
      ASSERT_TRUE(magnified.built);
      ASSERT_TRUE(magnified.projection.UseVectorRows(vector));
      const int margin = magnified.projection.MarginY();
      ASSERT_EQ(margin, scale == 1.5f ? 50 : 200);
      for (const int offset : {-margin, 0, margin}) {
        EXPECT_EQ(magnified.Render(900, offset), FormulaFrame(magnified, 900, offset))
            << scale << ", " << offset;
      }
    }
  }
}

TEST(CylinderProjectionRender, HidesTheSeamAndReproducesThePanColumn) {
  OwnedSceneBitmap demo = DemoStrip(0);
  OwnedSceneBitmap noise = NoiseStrip(1200, 200, 7);
  for (const SceneBitmap* strip : {noise.get(), demo.get()}) {
    if (strip == nullptr) {
      continue;  // the demo tour's artwork is not there yet
    }
    Scene scene(*strip);
    ASSERT_TRUE(scene.built);
    ASSERT_EQ(scene.margin, 303);
    for (int pan = 152; pan <= 452; pan++) {
      ASSERT_EQ(scene.Render(pan), scene.Render(pan + 1200)) << pan;
    }
    for (const int pan : {303, 442, 903, 1503}) {
      scene.Render(pan);
      for (int row = 0; row < 198; row++) {
        ASSERT_EQ(Pixel(*scene.frame, 160, row), Pixel(*scene.widened, pan, row)) << row;
      }
      EXPECT_EQ(Pixel(*scene.frame, 160, 198), std::vector<int>(3, 127));
      EXPECT_EQ(Pixel(*scene.frame, 160, 199), std::vector<int>(3, 127));
    }
  }
}

TEST(CylinderProjectionRender, LimitsOffsetAndPanToWhatStaysInsideTheStrip) {
  OwnedSceneBitmap strip = NoiseStrip(1200, 200);
  Scene scene(*strip);
  const std::vector<BYTE> centred = scene.Render(500, 0);
  EXPECT_EQ(scene.Render(500, 3, -1), centred) << "no vertical room at scale 1";
  EXPECT_EQ(scene.Render(500, INT_MIN, -1), centred);

  const std::vector<BYTE> first = scene.Render(152);
  const std::vector<BYTE> last = scene.Render(1654);
  for (const int pan : {151, 0, -5, INT_MIN}) {
    EXPECT_EQ(scene.Render(pan, 0, -1), first) << pan;
  }
  for (const int pan : {1655, 1805, 1806, INT_MAX}) {
    EXPECT_EQ(scene.Render(pan, 0, -1), last) << pan;
  }

  // At scale 1.5 the offset moves the 200 shown rows within the 300 built.
  Scene magnified(*strip, 1.5f);
  const std::vector<BYTE> low = magnified.Render(700, 0);
  const std::vector<BYTE> high = magnified.Render(700, 10);
  const size_t shift = 10 * 320 * 3;
  EXPECT_TRUE(std::equal(high.begin(), high.end() - shift, low.begin() + shift));
  EXPECT_EQ(magnified.Render(700, 51, -1), magnified.Render(700, 50));
}

// Strips narrower than the demo ones: the animation's pan range m .. W' - m
// reaches beyond the columns whose samples stay inside the strip once the
// strip is under about 500 columns; every pan is limited instead of read
// out of bounds.
TEST(CylinderProjectionRender, NeverReadsOutsideNarrowStrips) {
  for (const int width : {499, 400, 100, 20, 7, 3}) {
    for (const bool vector : RowKinds()) {
      SCOPED_TRACE(std::to_string(width) + (vector ? ", vector rows" : ", scalar rows"));
      OwnedSceneBitmap strip = NoiseStrip(width, 30);
      Scene scene(*strip);
      ASSERT_TRUE(scene.built);
      ASSERT_TRUE(scene.projection.UseVectorRows(vector));
      if (width == 400) {
        EXPECT_GT(scene.projection.MinPan(), scene.margin);
      }
      const int a = scene.widened->Width();
      for (int pan = -2; pan <= a + 2; pan++) {
        const bool inside = pan >= scene.projection.MinPan() && pan <= scene.projection.MaxPan();
        ASSERT_EQ(scene.projection.Render(pan, 0), inside ? 1 : -1) << pan;
      }
    }
  }
}

TEST(CylinderProjectionBuild, RefusesUnusableGeometryAndDropsOldTables) {
  OwnedSceneBitmap strip = NoiseStrip(1200, 200);
  Scene scene(*strip);
  ASSERT_TRUE(scene.built);
  const std::vector<BYTE> untouched = scene.Render(600);
  int width = 0, height = -1;
  // The last two: offsets beyond 32 bits, and a strip so narrow that no pan
  // column keeps the samples inside it.
  for (const auto& geometry : {std::vector<int>{1, 200, 80},
                               {1806, 1, 80},
                               {1806, 200, 0},
                               {1806, 200, 180},
                               {50000, 50000, 80},
                               {2, 10, 80}}) {
    EXPECT_FALSE(
        scene.projection.Build(geometry[0], geometry[1], geometry[2], 1.0f, width, height));
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 0);
    EXPECT_FALSE(scene.projection.IsBuilt());
  }
  memset(scene.frame->Bits(), 9, 320 * 200 * 3);
  EXPECT_EQ(scene.projection.Render(600, 0), -1);
  EXPECT_EQ(Bytes(*scene.frame), std::vector<BYTE>(320 * 200 * 3, 9)) << "drew without tables";

  ASSERT_TRUE(scene.projection.Build(1806, 200, 80, 1.0f, width, height));
  EXPECT_EQ(scene.Render(600), untouched);
}

}  // namespace

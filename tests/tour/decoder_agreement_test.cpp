// The product's decoder -- libjpeg cross-built for the executable with only
// the parts a 1:1 scene decode needs -- gives exactly the pixels of the
// standard libjpeg's own BMP writer (djpeg -bmp, run at build time), for
// the demo scenes and for progressive, greyscale and odd-width pictures.
#include <gtest/gtest.h>

#include <string>

#include "support/bmp_reference.h"
#include "tour/scene_bitmap.h"

namespace {

class ProductDecoder : public ::testing::TestWithParam<std::string> {};

TEST_P(ProductDecoder, AgreesWithTheReferenceDecoder) {
  const std::string base = std::string(VISTELLO_DECODER_REFERENCES) + "/" + GetParam();
  BmpReference reference;
  ASSERT_TRUE(ReadBmpReference(base + ".bmp", &reference)) << base;
  SceneBitmap decoded;
  ASSERT_TRUE(decoded.DecodeJpegFile((base + ".jpg").c_str()));
  EXPECT_TRUE(MatchesReference(decoded, reference));
  decoded.Release();
}

INSTANTIATE_TEST_SUITE_P(Pictures, ProductDecoder,
                         ::testing::Values("scene0", "scene1", "scene2", "scene3", "scene4",
                                           "scene5", "scene6", "scene7", "scene8", "scene9",
                                           "progressive", "greyscale", "odd_width"));

}  // namespace

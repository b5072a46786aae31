// SceneBitmap decoding and blank bitmaps: the packed-DIB layout the
// panorama engine and DrawDib rely on, checked byte for byte, and the
// decoder's failures, which end the process.
#include "tour/scene_bitmap.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/bmp_reference.h"
#include "support/test_jpeg.h"

namespace {

std::string DemoStrip(int index) {
  return std::string(VISTELLO_TOURS_DIR) + "/demo/" + std::to_string(index) + ".JPG";
}

// Owns a decoded bitmap for the length of a test.
struct Decoded {
  explicit Decoded(const std::string& path) { bitmap.DecodeJpegFile(path.c_str()); }
  ~Decoded() { bitmap.Release(); }
  SceneBitmap bitmap;
};

SIZE_T BlockSize(const SceneBitmap& bitmap) {
  return GlobalSize(GlobalHandle(bitmap.Block()));
}

TEST(SceneBitmapDecoding, DemoStripIsAnUnpaddedBottomUpTwentyFourBitDib) {
  Decoded scene(DemoStrip(0));
  const BITMAPINFOHEADER* header = scene.bitmap.Header();
  EXPECT_EQ(header->biSize, 40u);
  EXPECT_EQ(header->biWidth, 1200);
  EXPECT_EQ(header->biHeight, 200);
  EXPECT_EQ(header->biPlanes, 1);
  EXPECT_EQ(header->biBitCount, 24);
  EXPECT_EQ(header->biCompression, 0u);
  EXPECT_EQ(header->biSizeImage, 720000u);
  EXPECT_EQ(header->biXPelsPerMeter, 0) << "JFIF unit 1 gives no pels per metre";
  EXPECT_EQ(header->biYPelsPerMeter, 0);
  EXPECT_EQ(header->biClrUsed, 0u);
  EXPECT_EQ(header->biClrImportant, 0u);
  EXPECT_EQ(scene.bitmap.ColorCount(), 0u);
  EXPECT_EQ(scene.bitmap.Bits(), scene.bitmap.Block() + 40);
  EXPECT_EQ(static_cast<void*>(scene.bitmap.Info()), scene.bitmap.Block());
  EXPECT_EQ(BlockSize(scene.bitmap), 720040u);
}

// A picture whose rows and columns are told apart by colour: red grows
// to the right, green downwards, blue is constant.
TestJpeg Gradient(int width, int height) {
  TestJpeg picture;
  picture.width = width;
  picture.height = height;
  picture.quality = 100;
  const int right = width > 1 ? width - 1 : 1;
  const int bottom = height > 1 ? height - 1 : 1;
  picture.pixel = [right, bottom](int x, int y, uint8_t* s) {
    s[0] = static_cast<uint8_t>(x * 255 / right);
    s[1] = static_cast<uint8_t>(y * 255 / bottom);
    s[2] = 60;
  };
  return picture;
}

TEST(SceneBitmapDecoding, StoresBlueGreenRedWithTheTopRowLast) {
  const std::string path = ScratchPath("gradient.jpg");
  ASSERT_TRUE(WriteTestJpeg(path, Gradient(64, 48)));
  Decoded picture(path);
  ASSERT_EQ(picture.bitmap.Width(), 64);
  const BYTE* bits = picture.bitmap.Bits();
  const BYTE* top_left = bits + 47 * 64 * 3;  // the last stored row
  EXPECT_LT(top_left[2], 8) << "red, left edge";
  EXPECT_LT(top_left[1], 8) << "green, top edge";
  EXPECT_NEAR(top_left[0], 60, 4) << "blue";
  const BYTE* bottom_right = bits + 63 * 3;  // the first stored row
  EXPECT_GT(bottom_right[2], 247);
  EXPECT_GT(bottom_right[1], 247);
}

TEST(SceneBitmapDecoding, RedPixelIsStoredAsZeroZeroFull) {
  const std::string path = ScratchPath("red.jpg");
  TestJpeg red;
  red.quality = 100;
  red.pixel = [](int, int, uint8_t* s) {
    s[0] = 255;
    s[1] = 0;
    s[2] = 0;
  };
  ASSERT_TRUE(WriteTestJpeg(path, red));
  Decoded picture(path);
  const BYTE* pixel = picture.bitmap.Bits() + (8 * 16 + 8) * 3;
  EXPECT_EQ(pixel[0], 0);
  EXPECT_EQ(pixel[1], 0);
  EXPECT_GE(pixel[2], 254);
}

TEST(SceneBitmapDecoding, GreyscaleGivesEightBitsWithAGreyRamp) {
  const std::string path = ScratchPath("grey.jpg");
  TestJpeg grey;
  grey.width = 33;
  grey.height = 17;
  grey.components = 1;
  grey.pixel = [](int x, int, uint8_t* s) { s[0] = static_cast<uint8_t>(x * 7); };
  ASSERT_TRUE(WriteTestJpeg(path, grey));
  Decoded picture(path);
  const BITMAPINFOHEADER* header = picture.bitmap.Header();
  EXPECT_EQ(header->biBitCount, 8);
  EXPECT_EQ(header->biClrUsed, 256u);
  EXPECT_EQ(header->biSizeImage, 33u * 17u);
  EXPECT_EQ(picture.bitmap.Bits(), picture.bitmap.Block() + 1064);
  EXPECT_EQ(BlockSize(picture.bitmap), 1064u + 33u * 17u);
  const RGBQUAD* ramp = picture.bitmap.ColorTable();
  for (int i = 0; i < 256; i++) {
    ASSERT_EQ(ramp[i].rgbBlue, i);
    ASSERT_EQ(ramp[i].rgbGreen, i);
    ASSERT_EQ(ramp[i].rgbRed, i);
    ASSERT_EQ(ramp[i].rgbReserved, 0);
  }
}

TEST(SceneBitmapDecoding, OddWidthRowsAreNotPadded) {
  const std::string path = ScratchPath("odd.jpg");
  ASSERT_TRUE(WriteTestJpeg(path, Gradient(101, 9)));
  Decoded picture(path);
  EXPECT_EQ(picture.bitmap.Header()->biSizeImage, 303u * 9u);
  EXPECT_EQ(BlockSize(picture.bitmap), 40u + 303u * 9u);
  // Column 100 of stored row 0 is the last pixel of the first 303 bytes:
  // full red. Column 0 of stored row 1 follows directly: no red.
  EXPECT_GT(picture.bitmap.Bits()[300 + 2], 247);
  EXPECT_LT(picture.bitmap.Bits()[303 + 2], 8);
}

TEST(SceneBitmapDecoding, PelsPerMetreOnlyFromDotsPerCentimetre) {
  TestJpeg per_cm;
  per_cm.density_unit = 2;
  per_cm.x_density = 40;
  per_cm.y_density = 30;
  const std::string cm_path = ScratchPath("cm.jpg");
  ASSERT_TRUE(WriteTestJpeg(cm_path, per_cm));
  Decoded cm(cm_path);
  EXPECT_EQ(cm.bitmap.Header()->biXPelsPerMeter, 4000);
  EXPECT_EQ(cm.bitmap.Header()->biYPelsPerMeter, 3000);

  TestJpeg per_inch;
  per_inch.density_unit = 1;
  per_inch.x_density = 40;
  per_inch.y_density = 40;
  const std::string inch_path = ScratchPath("inch.jpg");
  ASSERT_TRUE(WriteTestJpeg(inch_path, per_inch));
  Decoded inch(inch_path);
  EXPECT_EQ(inch.bitmap.Header()->biXPelsPerMeter, 0);
  EXPECT_EQ(inch.bitmap.Header()->biYPelsPerMeter, 0);
}

TEST(SceneBitmapBlank, HasTheHeaderSizesAndTestPattern) {
  SceneBitmap blank(320, 200);
  ASSERT_FALSE(blank.IsEmpty());
  const BITMAPINFOHEADER* header = blank.Header();
  EXPECT_EQ(header->biSize, 40u);
  EXPECT_EQ(header->biWidth, 320);
  EXPECT_EQ(header->biHeight, 200);
  EXPECT_EQ(header->biPlanes, 1);
  EXPECT_EQ(header->biBitCount, 24);
  EXPECT_EQ(header->biCompression, 0u);
  EXPECT_EQ(header->biSizeImage, 192000u);
  EXPECT_EQ(header->biXPelsPerMeter, 0);
  EXPECT_EQ(header->biClrUsed, 0u);
  EXPECT_EQ(blank.Bits(), blank.Block() + 40);
  EXPECT_EQ(BlockSize(blank), 192040u);
  for (int row = 0; row < 200; row += 37) {
    for (int column = 0; column < 320; column += 29) {
      const BYTE* pixel = blank.Bits() + (row * 320 + column) * 3;
      ASSERT_EQ(pixel[0], 0);
      ASSERT_EQ(pixel[1], row < 255 ? row : 255);
      ASSERT_EQ(pixel[2], column < 255 ? column : 255) << column;
    }
  }
  blank.Release();
  EXPECT_TRUE(blank.IsEmpty());
  EXPECT_EQ(blank.Bits(), nullptr);
}

TEST(SceneBitmapBlank, ImpossibleSizesLeaveAnEmptyBitmap) {
  SceneBitmap zero(0, 200);
  EXPECT_TRUE(zero.IsEmpty());
  EXPECT_EQ(zero.Width(), 0);
  SceneBitmap huge(1 << 30, 1 << 30);
  EXPECT_TRUE(huge.IsEmpty());
  zero.Release();
  huge.Release();
}

TEST(SceneBitmapFields, ColorCountAndImageSizeFallBackOnTheHeader) {
  SceneBitmap blank(10, 4);
  BITMAPINFOHEADER* header = blank.Header();
  header->biSizeImage = 0;
  EXPECT_EQ(blank.ImageSize(), 120u);
  header->biBitCount = 8;
  EXPECT_EQ(blank.ColorCount(), 256u);
  EXPECT_EQ(blank.ImageSize(), 40u);
  header->biClrUsed = 17;
  EXPECT_EQ(blank.ColorCount(), 17u);
  blank.Release();
}

using SceneBitmapDeathTest = ::testing::Test;

TEST(SceneBitmapDeathTest, FailuresEndTheProcessWithStatusOne) {
  const std::string missing = ScratchPath("missing.jpg");
  std::remove(missing.c_str());
  EXPECT_EXIT(SceneBitmap().DecodeJpegFile(missing.c_str()), ::testing::ExitedWithCode(1),
              "this: can't open .*missing.jpg");

  const std::string empty = ScratchPath("empty.jpg");
  std::ofstream(empty, std::ios::binary).close();
  EXPECT_EXIT(SceneBitmap().DecodeJpegFile(empty.c_str()), ::testing::ExitedWithCode(1),
              "Empty input file");
  EXPECT_EXIT(SceneBitmap().DecodeJpegMemory("", 0), ::testing::ExitedWithCode(1),
              "Empty input file");
  EXPECT_EXIT(SceneBitmap().DecodeJpegMemory("this is", 7), ::testing::ExitedWithCode(1),
              "Not a JPEG file: starts with 0x74 0x68");

  const std::string text = ScratchPath("text.jpg");
  std::ofstream(text, std::ios::binary) << "this is not a picture";
  EXPECT_EXIT(SceneBitmap().DecodeJpegFile(text.c_str()), ::testing::ExitedWithCode(1),
              "Not a JPEG file: starts with 0x74 0x68");

  // Four components decode as CMYK, which a DIB cannot hold: add-on code 1005.
  const std::string cmyk = ScratchPath("cmyk.jpg");
  TestJpeg four;
  four.components = 4;
  ASSERT_TRUE(WriteTestJpeg(cmyk, four));
  EXPECT_EXIT(SceneBitmap().DecodeJpegFile(cmyk.c_str()), ::testing::ExitedWithCode(1),
              "BMP output must be grayscale or RGB");

  // One column more than 2048 x 2048 = 4194304 pixels, the most a scene has.
  const std::string large = ScratchPath("large.jpg");
  TestJpeg over;
  over.width = 2049;
  over.height = 2048;
  ASSERT_TRUE(WriteTestJpeg(large, over));
  EXPECT_EXIT(SceneBitmap().DecodeJpegFile(large.c_str()), ::testing::ExitedWithCode(1),
              "Image of 2049 x 2048 pixels is larger than a scene may be \\(4194304 pixels\\)");
}

// --- agreement with libjpeg's own BMP writer --------------------------------

class DjpegAgreement : public ::testing::TestWithParam<std::string> {};

// djpeg -bmp writes the same bottom-up DIB with each row padded to 4 bytes;
// with the padding removed every pixel byte must match.
TEST_P(DjpegAgreement, PixelsMatchDjpegBmpWithoutItsRowPadding) {
  const std::string& path = GetParam();
  const std::string bmp = ScratchPath("djpeg.bmp");
  const std::string command =
      std::string(VISTELLO_DJPEG) + " -bmp -outfile '" + bmp + "' '" + path + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  BmpReference reference;
  ASSERT_TRUE(ReadBmpReference(bmp, &reference));
  Decoded ours(path);
  EXPECT_TRUE(MatchesReference(ours.bitmap, reference)) << "from the file";

  std::ifstream file(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
  SceneBitmap from_memory;
  from_memory.DecodeJpegMemory(bytes.data(), bytes.size());
  EXPECT_TRUE(MatchesReference(from_memory, reference)) << "from memory";
  from_memory.Release();
}

std::vector<std::string> AgreementPictures() {
  std::vector<std::string> paths = {DemoStrip(3), DemoStrip(9)};
  const struct {
    int width, height, components;
  } shapes[] = {{101, 37, 3}, {1, 1, 3}, {255, 3, 3}, {33, 17, 1}, {7, 130, 1}};
  for (const auto& shape : shapes) {
    TestJpeg picture = Gradient(shape.width, shape.height);
    picture.components = shape.components;
    picture.quality = 80;
    const std::string path = ::testing::TempDir() + "agreement-" + std::to_string(shape.width) +
                             "x" + std::to_string(shape.height) + "x" +
                             std::to_string(shape.components) + ".jpg";
    WriteTestJpeg(path, picture);
    paths.push_back(path);
  }
  return paths;
}

INSTANTIATE_TEST_SUITE_P(Pictures, DjpegAgreement, ::testing::ValuesIn(AgreementPictures()));

}  // namespace

// The demo tour's scene strips as files and as decoded pictures: the form
// the tour build and the viewer expect, and a wrap-around seam that cannot
// be seen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tour/scene_bitmap.h"

namespace {

std::string StripPath(int index) {
  return std::string(VISTELLO_TOURS_DIR) + "/demo/" + std::to_string(index) + ".JPG";
}

std::vector<unsigned char> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
}

// Mean absolute difference of the three channels between two columns.
double ColumnDifference(const SceneBitmap& strip, int a, int b) {
  const int width = strip.Width();
  double sum = 0;
  for (int row = 0; row < strip.Height(); row++) {
    const BYTE* pa = strip.Bits() + (row * width + a) * 3;
    const BYTE* pb = strip.Bits() + (row * width + b) * 3;
    for (int channel = 0; channel < 3; channel++) {
      sum += std::abs(int(pa[channel]) - int(pb[channel]));
    }
  }
  return sum / (strip.Height() * 3);
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) {
    sum += v;
  }
  return sum / values.size();
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(fraction * (values.size() - 1))];
}

class DemoStrip : public ::testing::TestWithParam<int> {};

TEST_P(DemoStrip, IsABaselineJfifPaddedWithSpaces) {
  const std::vector<unsigned char> file = ReadFile(StripPath(GetParam()));
  ASSERT_GT(file.size(), 2048u);
  EXPECT_EQ(file.size() % 2048, 0u);

  // JFIF APP0 right after the start-of-image marker, density unit 1 (dpi).
  ASSERT_EQ(file[0], 0xFF);
  ASSERT_EQ(file[1], 0xD8);
  ASSERT_EQ(file[2], 0xFF);
  ASSERT_EQ(file[3], 0xE0);
  ASSERT_EQ(std::string(file.begin() + 6, file.begin() + 11), std::string("JFIF\0", 5));
  EXPECT_EQ(file[13], 1) << "JFIF density unit";

  // A baseline frame (SOF0) of 1200 x 200 with three components.
  bool found_frame = false;
  for (size_t at = 2; at + 10 < file.size(); at++) {
    if (file[at] == 0xFF && file[at + 1] >= 0xC0 && file[at + 1] <= 0xCF && file[at + 1] != 0xC4 &&
        file[at + 1] != 0xC8 && file[at + 1] != 0xCC) {
      EXPECT_EQ(file[at + 1], 0xC0) << "frame marker";
      EXPECT_EQ(file[at + 5] << 8 | file[at + 6], 200);
      EXPECT_EQ(file[at + 7] << 8 | file[at + 8], 1200);
      EXPECT_EQ(file[at + 9], 3);
      found_frame = true;
      break;
    }
  }
  EXPECT_TRUE(found_frame);

  // Everything after the end-of-image marker is space filler.
  size_t end = file.size();
  while (end > 0 && file[end - 1] == ' ') {
    end--;
  }
  ASSERT_GE(end, 2u);
  EXPECT_EQ(file[end - 2], 0xFF);
  EXPECT_EQ(file[end - 1], 0xD9);
  EXPECT_LT(file.size() - end, 2048u);
}

TEST_P(DemoStrip, DecodesToAColourStripWithoutAVisibleSeam) {
  SceneBitmap strip;
  ASSERT_TRUE(strip.DecodeJpegFile(StripPath(GetParam()).c_str()));
  ASSERT_EQ(strip.Width(), 1200);
  ASSERT_EQ(strip.Height(), 200);
  ASSERT_EQ(strip.Header()->biBitCount, 24);

  // The seam 1199|0 falls on a JPEG block edge (1200 is a multiple of the
  // 16-column MCU), and block edges carry a little coding noise of their
  // own, so it is compared with the other pairs of columns that straddle an
  // MCU edge as well as with all neighbouring pairs.
  std::vector<double> neighbours;
  std::vector<double> block_edges;
  for (int column = 0; column + 1 < 1200; column++) {
    const double difference = ColumnDifference(strip, column, column + 1);
    neighbours.push_back(difference);
    if ((column + 1) % 16 == 0) {
      block_edges.push_back(difference);
    }
  }
  const double seam = ColumnDifference(strip, 1199, 0);
  const double mean = Mean(neighbours);
  const double edge_mean = Mean(block_edges);
  const double edge_p90 = Percentile(block_edges, 0.9);
  std::printf(
      "strip %d: seam 1199|0 = %.2f; neighbouring columns mean %.2f (90th pct %.2f); "
      "MCU-edge pairs mean %.2f (90th pct %.2f)\n",
      GetParam(), seam, mean, Percentile(neighbours, 0.9), edge_mean, edge_p90);
  EXPECT_LE(seam, edge_p90) << "the seam stands out from the other block edges";

  // Not a flat picture: a room has structure.
  EXPECT_GT(mean, 0.5);
  strip.Release();
}

INSTANTIATE_TEST_SUITE_P(AllScenes, DemoStrip, ::testing::Range(0, 10));

}  // namespace

// The command-line renderer against the library: its BMP holds, byte for
// byte, the frame the view's own sequence of core calls gives for the same
// strip, pan, tilt and level, and --geometry prints the derived geometry.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "panorama/cylinder_projection.h"
#include "panorama/panorama_test_support.h"
#include "panorama/strip_widening.h"
#include "panorama/zoom_table.h"
#include "support/test_jpeg.h"

namespace {

std::string RunRenderer(const std::string& arguments, int& status) {
  const std::string output = ScratchPath("output.txt");
  status = system((std::string(RENDER_FRAME) + " " + arguments + " >" + output + " 2>&1").c_str());
  std::ifstream in(output);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A 1200 x 200 colour strip with detail everywhere, as a JPEG file.
std::string StripFile() {
  TestJpeg picture;
  picture.width = 1200;
  picture.height = 200;
  picture.pixel = [](int x, int y, uint8_t* s) {
    s[0] = static_cast<uint8_t>(x * 7 + y * 3);
    s[1] = static_cast<uint8_t>((x ^ y) * 5);
    s[2] = static_cast<uint8_t>(x / 5 + y * 11);
  };
  const std::string path = ScratchPath("strip.jpg");
  EXPECT_TRUE(WriteTestJpeg(path, picture));
  return path;
}

// The view's steps: widen, grey band, projection for W' x h at 80 degrees
// and scale 1, zoom tables for 320 x h up to 3.0 in 20 steps, project with
// the pan and offset 0, zoom with offset 0, the tilt and the level.
std::vector<BYTE> ViewFrame(const SceneBitmap& strip, int pan, int tilt, int level) {
  int margin = 0, width = 0, height = 0;
  OwnedSceneBitmap widened = WidenStrip(strip, margin);
  PaintGreyBand(*widened);
  CylinderProjection projection;
  EXPECT_TRUE(projection.Build(widened->Width(), widened->Height(), 80, 1.0f, width, height));
  ZoomTable zoom;
  EXPECT_TRUE(zoom.Build(width, widened->Height(), 3.0f, 20));
  OwnedSceneBitmap projected(new SceneBitmap(width, widened->Height()));
  OwnedSceneBitmap zoomed(new SceneBitmap(width, widened->Height()));
  projection.SetSourceBits(widened->Bits());
  projection.SetTargetBits(projected->Bits());
  zoom.SetSourceBits(projected->Bits());
  zoom.SetTargetBits(zoomed->Bits());
  projection.Render(pan, 0);
  zoom.Render(0, tilt, level);
  return Bytes(*zoomed);
}

// The pixel rows of a 24-bit BMP of 320 x 200 (rows of 960 bytes need no
// padding), checked to be bottom-up like the frame.
std::vector<BYTE> BmpPixels(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<BYTE> file((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
  const BYTE header[] = {'B', 'M', 0x36, 0xEE, 0x02, 0};  // 'BM', 192054 bytes
  if (file.size() != 192054 || !std::equal(header, header + 6, file.begin()) || file[10] != 54 ||
      file[18] != 0x40 || file[19] != 1 || file[22] != 200 || file[28] != 24) {
    return {};
  }
  return std::vector<BYTE>(file.begin() + 54, file.end());
}

TEST(RenderFrame, WritesTheFrameTheViewShows) {
  const std::string strip_path = StripFile();
  SceneBitmap strip;
  strip.DecodeJpegFile(strip_path.c_str());
  const std::string bmp = ScratchPath("frame.bmp");
  struct Case {
    std::string options;
    int pan, tilt, level;
  } cases[] = {
      {"", 1806 / 3 - 160, 0, 0},  // the view's starting column
      {"--pan 1503 --tilt 40 --level 15", 1503, 40, 15},
      {"--pan 5 --level 99", 5, 0, 99},  // both limited, as in the library
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    int status = -1;
    RunRenderer(c.options + " " + strip_path + " " + bmp, status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(BmpPixels(bmp), ViewFrame(strip, c.pan, c.tilt, c.level));
  }
  strip.Release();
}

TEST(RenderFrame, PrintsTheGeometryAndRefusesWhatItCannotRender) {
  const std::string strip = StripFile();
  int status = -1;
  const std::string geometry = RunRenderer("--geometry " + strip, status);
  EXPECT_EQ(status, 0);
  for (const char* line :
       {"m 303\n", "W' 1806\n", "R 191.623\n", "d 383.245\n", "plane_width 321\n", "margin_x 0\n",
        "margin_y 0\n", "H 200\n", "pan_range 303 1503\n", "pan_limits 152 1654\n"}) {
    EXPECT_NE(geometry.find(line), std::string::npos) << line << " in\n" << geometry;
  }

  TestJpeg grey;
  grey.components = 1;
  const std::string grey_path = ScratchPath("grey.jpg");
  ASSERT_TRUE(WriteTestJpeg(grey_path, grey));
  EXPECT_NE(RunRenderer(grey_path + " " + ScratchPath("grey.bmp"), status).find("not a 24-bit"),
            std::string::npos);
  EXPECT_NE(status, 0);
  RunRenderer("--pan x " + strip + " " + ScratchPath("x.bmp"), status);
  EXPECT_NE(status, 0);
  RunRenderer(strip, status);
  EXPECT_NE(status, 0);
}

}  // namespace

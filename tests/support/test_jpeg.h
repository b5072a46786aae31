// Writes small JPEG files for tests with libjpeg's own encoder, so the
// decoder is checked against pictures whose every property is known.
#ifndef VISTELLO_TESTS_SUPPORT_TEST_JPEG_H
#define VISTELLO_TESTS_SUPPORT_TEST_JPEG_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TestJpeg {
  int width = 16;
  int height = 16;
  int components = 3;  // 1 (greyscale), 3 (RGB) or 4 (CMYK)
  int quality = 95;
  int density_unit = 1;  // JFIF: 0 aspect ratio, 1 dots per inch, 2 dots per cm
  int x_density = 72;
  int y_density = 72;
  // Body of an APP1 marker (an EXIF block) written after the JFIF header;
  // none when empty.
  std::vector<uint8_t> app1;
  // Fills the samples of pixel (x, y), y = 0 at the top.
  std::function<void(int x, int y, uint8_t* samples)> pixel = [](int, int, uint8_t* s) {
    s[0] = s[1] = s[2] = s[3] = 128;
  };
};

// Encodes the picture to path; returns false when the file cannot be written.
bool WriteTestJpeg(const std::string& path, const TestJpeg& picture);

// A path in the test temporary directory, unique to the running test.
std::string ScratchPath(const std::string& name);

#endif  // VISTELLO_TESTS_SUPPORT_TEST_JPEG_H

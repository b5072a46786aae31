// Reads a BMP written by libjpeg's djpeg -bmp, the reference the scene
// decoder is held to: same bottom-up rows, but each padded to 4 bytes.
#ifndef VISTELLO_TESTS_SUPPORT_BMP_REFERENCE_H
#define VISTELLO_TESTS_SUPPORT_BMP_REFERENCE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tour/scene_bitmap.h"

struct BmpReference {
  int width = 0;
  int height = 0;
  int bit_count = 0;
  std::vector<uint8_t> colour_table;  // 4 bytes per entry, as stored
  std::vector<uint8_t> pixels;        // rows bottom-up, padding removed
};

// False when the file is missing or not an uncompressed 8- or 24-bit BMP.
bool ReadBmpReference(const std::string& path, BmpReference* picture);

// Every header value, colour table entry and pixel byte of the decoded
// bitmap agrees with the reference.
::testing::AssertionResult MatchesReference(const SceneBitmap& decoded,
                                            const BmpReference& reference);

#endif  // VISTELLO_TESTS_SUPPORT_BMP_REFERENCE_H

// djpeg's BMP output, unpadded, for comparison with decoded scenes.
#include "support/bmp_reference.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

bool ReadBmpReference(const std::string& path, BmpReference* picture) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || Le32(file, 30) != 0) {
    return false;
  }
  const uint32_t pixel_offset = Le32(file, 10);
  picture->width = static_cast<int>(Le32(file, 18));
  picture->height = static_cast<int>(Le32(file, 22));
  picture->bit_count = file[28] | file[29] << 8;
  if (picture->bit_count != 8 && picture->bit_count != 24) {
    return false;
  }
  picture->colour_table.assign(file.begin() + 54, file.begin() + pixel_offset);
  const size_t stride = static_cast<size_t>(picture->width) * picture->bit_count / 8;
  const size_t padded = (stride + 3) & ~size_t(3);
  if (file.size() < pixel_offset + padded * picture->height) {
    return false;
  }
  picture->pixels.clear();
  for (int row = 0; row < picture->height; row++) {
    const uint8_t* start = &file[pixel_offset + row * padded];
    picture->pixels.insert(picture->pixels.end(), start, start + stride);
  }
  return true;
}

::testing::AssertionResult MatchesReference(const SceneBitmap& decoded,
                                            const BmpReference& reference) {
  if (decoded.Width() != reference.width || decoded.Height() != reference.height ||
      decoded.Header()->biBitCount != reference.bit_count) {
    return ::testing::AssertionFailure()
           << "decoded " << decoded.Width() << " x " << decoded.Height() << " x "
           << decoded.Header()->biBitCount << ", reference " << reference.width << " x "
           << reference.height << " x " << reference.bit_count;
  }
  if (reference.bit_count == 8 &&
      (reference.colour_table.size() < 1024 ||
       std::memcmp(decoded.ColorTable(), reference.colour_table.data(), 1024) != 0)) {
    return ::testing::AssertionFailure() << "the grey ramps differ";
  }
  if (decoded.ImageSize() != reference.pixels.size()) {
    return ::testing::AssertionFailure() << "pixel arrays of " << decoded.ImageSize() << " and "
                                         << reference.pixels.size() << " bytes";
  }
  for (size_t at = 0; at < reference.pixels.size(); at++) {
    if (decoded.Bits()[at] != reference.pixels[at]) {
      const size_t stride = reference.pixels.size() / reference.height;
      return ::testing::AssertionFailure()
             << "first difference at stored row " << at / stride << ", byte " << at % stride;
    }
  }
  return ::testing::AssertionSuccess();
}

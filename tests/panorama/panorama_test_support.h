// Strips and pixel access shared by the panorama core tests. Every bitmap is
// a SceneBitmap, whose block is allocated exactly, so the sanitizers catch
// any read or write past a frame or strip.
#ifndef VISTELLO_TESTS_PANORAMA_PANORAMA_TEST_SUPPORT_H
#define VISTELLO_TESTS_PANORAMA_PANORAMA_TEST_SUPPORT_H

#include <stdint.h>

#include <string>
#include <vector>

#include "tour/scene_bitmap.h"

// A 24-bit strip of pseudo-random pixels: no two columns or rows alike, so a
// sample taken from the wrong place shows.
inline OwnedSceneBitmap NoiseStrip(int width, int height, uint32_t seed = 1) {
  OwnedSceneBitmap strip(new SceneBitmap(width, height));
  BYTE* bits = strip->Bits();
  for (long i = 0; i < 3L * width * height; i++) {
    seed = seed * 1664525u + 1013904223u;
    bits[i] = static_cast<BYTE>(seed >> 24);
  }
  return strip;
}

inline std::string DemoStripPath(int index) {
  return std::string(VISTELLO_TOURS_DIR) + "/demo/" + std::to_string(index) + ".JPG";
}

// The decoded demo strip, or null while the tour's artwork is not there.
OwnedSceneBitmap DemoStrip(int index);

// The three bytes of pixel (column, stored row).
inline std::vector<int> Pixel(const SceneBitmap& bitmap, int column, int row) {
  const BYTE* at = bitmap.Bits() + (static_cast<long>(row) * bitmap.Width() + column) * 3;
  return {at[0], at[1], at[2]};
}

inline std::vector<BYTE> Bytes(const SceneBitmap& bitmap) {
  return std::vector<BYTE>(bitmap.Bits(), bitmap.Bits() + 3L * bitmap.Width() * bitmap.Height());
}

#endif  // VISTELLO_TESTS_PANORAMA_PANORAMA_TEST_SUPPORT_H

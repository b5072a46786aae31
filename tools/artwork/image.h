// Pixel containers and the file writers for every artwork format the tour
// carries. Rows are stored top-down in memory; writers flip to bottom-up
// where BMP/ICO/CUR require it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace artwork {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

// 8-bit RGB image, row-major, top row first.
struct Image {
  int width = 0, height = 0;
  std::vector<Rgb> px;
  Image() = default;
  Image(int w, int h, Rgb fill = {}) : width(w), height(h), px(w * h, fill) {}
  Rgb& at(int x, int y) { return px[y * width + x]; }
  const Rgb& at(int x, int y) const { return px[y * width + x]; }
};

// Palette image: one index per pixel, top row first, plus an optional
// transparency mask (true = transparent) for icons and cursors.
struct Indexed {
  int width = 0, height = 0;
  std::vector<Rgb> palette;
  std::vector<uint8_t> index;
  std::vector<bool> transparent;
  Indexed() = default;
  Indexed(int w, int h, std::vector<Rgb> pal)
      : width(w), height(h), palette(std::move(pal)), index(w * h, 0), transparent(w * h, false) {}
  uint8_t& at(int x, int y) { return index[y * width + x]; }
  uint8_t at(int x, int y) const { return index[y * width + x]; }
};

// The standard Windows 16-colour palette in its usual index order
// (black, dark red, dark green, olive, navy, purple, teal, silver, grey,
// red, lime, yellow, blue, fuchsia, aqua, white).
const std::vector<Rgb>& VgaPalette();
enum Vga : uint8_t {
  kBlack,
  kMaroon,
  kGreen,
  kOlive,
  kNavy,
  kPurple,
  kTeal,
  kSilver,
  kGrey,
  kRed,
  kLime,
  kYellow,
  kBlue,
  kFuchsia,
  kAqua,
  kWhite
};

// Maps every pixel to the nearest palette entry (no dithering: flat
// artwork keeps flat areas).
Indexed MapToPalette(const Image& img, const std::vector<Rgb>& palette);
// Median-cut palette of at most `colors` entries for `img`.
std::vector<Rgb> MedianCut(const Image& img, int colors);
Image ToRgb(const Indexed& img);

// Writers. Each returns the number of bytes written; failures abort.
size_t WriteJpeg(const std::string& path, const Image& img, int quality);
size_t PadFile(const std::string& path, size_t multiple, char pad);
size_t WriteBmp24(const std::string& path, const Image& img);
size_t WriteBmpIndexed(const std::string& path, const Indexed& img, int bpp);
// Icon/cursor with one or more images (each 4 or 8 bpp, or 1 bpp for
// monochrome cursors). For cursors pass the hot spot.
size_t WriteIco(const std::string& path, const std::vector<Indexed>& images, int bpp);
size_t WriteCur(const std::string& path, const Indexed& image, int hot_x, int hot_y);
// Uncompressed (stored-deflate) 24-bit PNG, used for previews only.
size_t WritePng(const std::string& path, const Image& img);
// Enlarged preview of a palette image; transparent pixels become a
// checkerboard so the mask is visible.
Image PreviewOf(const Indexed& img, int scale);
Image Scale(const Image& img, int scale);

}  // namespace artwork

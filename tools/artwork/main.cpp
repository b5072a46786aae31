// Artwork generator for the demo and storefront tours.
//
//   artwork [--quality Q] [--strips LIST] [--no-strips] TOURS_DIR PREVIEW_DIR
//       writes TOURS_DIR/demo/* and TOURS_DIR/storefront/*, and PNG
//       previews of everything into PREVIEW_DIR.
//   artwork --seam FILE.bmp...
//       for 24-bit BMPs (e.g. from `djpeg -bmp`): prints the mean absolute
//       difference between the last and first column next to the mean over
//       all neighbouring column pairs.
//
// Output is deterministic: the same sources give byte-identical files.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "image.h"
#include "painters.h"
#include "raycast.h"
#include "rooms.h"

namespace artwork {
namespace {

constexpr int kStripWidth = 1200;
constexpr int kStripHeight = 200;
// Strips travel by e-mail with the tour (files are padded to 2 KiB units).
// Quality 65 with 4:2:0 chroma keeps edges clean at about 13-24 KB each.
constexpr int kDefaultQuality = 65;
constexpr size_t kPadUnit = 2048;

void Report(const std::string& path, size_t bytes) {
  std::printf("%-36s %8zu bytes\n", path.c_str(), bytes);
}

Image StripImage(const std::vector<uint8_t>& rgb) {
  Image img(kStripWidth, kStripHeight);
  for (size_t i = 0; i < img.px.size(); ++i)
    img.px[i] = {rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]};
  return img;
}

Image Rotated(const Image& img, int shift) {
  Image out(img.width, img.height);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      out.at(x, y) = img.at((x + shift) % img.width, y);
  return out;
}

// 24-bit bottom-up BMP reader, enough for djpeg's output.
bool ReadBmp24(const std::string& path, Image* img) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f)
    return false;
  std::vector<uint8_t> d;
  int c;
  while ((c = std::fgetc(f)) != EOF)
    d.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  auto u32 = [&](size_t o) {
    return d[o] | (d[o + 1] << 8) | (d[o + 2] << 16) | (uint32_t(d[o + 3]) << 24);
  };
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M')
    return false;
  uint32_t off = u32(10);
  int w = static_cast<int>(u32(18));
  int h = static_cast<int>(u32(22));
  int bpp = d[28] | (d[29] << 8);
  if (bpp != 24 || h <= 0)
    return false;
  int stride = ((w * 24 + 31) / 32) * 4;
  *img = Image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = &d[off + static_cast<size_t>(h - 1 - y) * stride + x * 3];
      img->at(x, y) = {p[2], p[1], p[0]};
    }
  return true;
}

int Seam(int argc, char** argv) {
  for (int i = 2; i < argc; ++i) {
    Image img;
    if (!ReadBmp24(argv[i], &img)) {
      std::fprintf(stderr, "artwork: cannot read %s\n", argv[i]);
      return 1;
    }
    auto col_diff = [&](int a, int b) {
      double s = 0;
      for (int y = 0; y < img.height; ++y) {
        const Rgb& p = img.at(a, y);
        const Rgb& q = img.at(b, y);
        s += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
      }
      return s / (img.height * 3.0);
    };
    double all = 0;
    for (int x = 0; x + 1 < img.width; ++x)
      all += col_diff(x, x + 1);
    all /= img.width - 1;
    // The same measure for the three pairs on either side of the wrap, so
    // an edge that happens to run through the wrap is not taken for a seam.
    double local = 0;
    for (int k = 1; k <= 3; ++k)
      local += col_diff(img.width - 1 - k, img.width - k) + col_diff(k - 1, k);
    local /= 6;
    // JPEG codes 16-column MCUs independently, so pairs straddling an MCU
    // boundary differ more than pairs inside one; the wrap is such a pair.
    double mcu = 0;
    int n = 0;
    for (int x = 15; x + 1 < img.width; x += 16, ++n)
      mcu += col_diff(x, x + 1);
    mcu /= n;
    std::printf(
        "%s %dx%d seam(last,first)=%.3f neighbours: all=%.3f "
        "near-wrap=%.3f mcu-boundaries=%.3f\n",
        argv[i], img.width, img.height, col_diff(img.width - 1, 0), all, local, mcu);
  }
  return 0;
}

int Run(int argc, char** argv) {
  int quality = kDefaultQuality;
  std::vector<int> strips;
  bool all_strips = true, others = true;
  std::vector<std::string> dirs;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--quality" && i + 1 < argc) {
      quality = std::atoi(argv[++i]);
    } else if (a == "--strips" && i + 1 < argc) {
      all_strips = false;
      for (const char* p = argv[++i]; *p; ++p)
        if (*p >= '0' && *p <= '9')
          strips.push_back(*p - '0');
    } else if (a == "--no-strips") {
      all_strips = false;
    } else if (a == "--strips-only") {
      others = false;
    } else {
      dirs.push_back(a);
    }
  }
  if (dirs.size() != 2) {
    std::fprintf(stderr,
                 "usage: artwork [--quality Q] [--strips 0123] [--no-strips] "
                 "[--strips-only] TOURS_DIR PREVIEW_DIR\n"
                 "       artwork --seam FILE.bmp...\n");
    return 2;
  }
  const std::string demo = dirs[0] + "/demo/";
  const std::string store = dirs[0] + "/storefront/";
  const std::string prev = dirs[1] + "/";
  if (all_strips)
    for (int i = 0; i < kRoomCount; ++i)
      strips.push_back(i);

  for (int i : strips) {
    Scene scene = BuildRoom(i);
    Image img = StripImage(RenderStrip(scene, kStripWidth, kStripHeight, 3));
    std::string name = std::to_string(i) + ".JPG";
    size_t raw = WriteJpeg(demo + name, img, quality);
    size_t padded = PadFile(demo + name, kPadUnit, ' ');
    std::printf("%-36s %8zu bytes (JPEG %zu, q%d) %s\n", (demo + name).c_str(), padded, raw,
                quality, RoomTitle(i));
    WritePng(prev + "strip" + std::to_string(i) + ".png", img);
    WriteBmp24(prev + "raw" + std::to_string(i) + ".bmp", img);
    WritePng(prev + "strip" + std::to_string(i) + "-rot600.png", Rotated(img, kStripWidth / 2));
    // Close-up of the wrap-around: last 100 columns then first 100, x3.
    Image seam(200, kStripHeight);
    for (int y = 0; y < kStripHeight; ++y)
      for (int x = 0; x < 200; ++x)
        seam.at(x, y) = img.at((x + kStripWidth - 100) % kStripWidth, y);
    WritePng(prev + "seam" + std::to_string(i) + ".png", Scale(seam, 3));
  }
  if (!others)
    return 0;

  Indexed splash = PaintSplash();
  Report(demo + "splash.bmp", WriteBmpIndexed(demo + "splash.bmp", splash, 8));
  WritePng(prev + "splash.png", PreviewOf(splash, 2));

  Indexed toolbar = PaintToolbar();
  Report(demo + "toolbar.bmp", WriteBmpIndexed(demo + "toolbar.bmp", toolbar, 4));
  WritePng(prev + "toolbar.png", PreviewOf(toolbar, 3));

  Indexed badge = PaintBadge();
  Report(demo + "badge.bmp", WriteBmpIndexed(demo + "badge.bmp", badge, 4));
  WritePng(prev + "badge.png", PreviewOf(badge, 6));

  std::vector<Indexed> app = {PaintAppIcon(32), PaintAppIcon(16)};
  Report(demo + "app.ico", WriteIco(demo + "app.ico", app, 4));
  WritePng(prev + "app32.png", PreviewOf(app[0], 8));
  WritePng(prev + "app16.png", PreviewOf(app[1], 8));

  std::vector<Indexed> info = {PaintInfoIcon(32), PaintInfoIcon(16)};
  Report(demo + "info.ico", WriteIco(demo + "info.ico", info, 4));
  WritePng(prev + "info32.png", PreviewOf(info[0], 8));
  WritePng(prev + "info16.png", PreviewOf(info[1], 8));

  Indexed hand = PaintHandCursor();
  Report(demo + "hand.cur", WriteCur(demo + "hand.cur", hand, kHandHotX, kHandHotY));
  WritePng(prev + "hand.png", PreviewOf(hand, 8));

  std::vector<PanelButton> buttons;
  Image panel = PaintPanel(&buttons);
  Report(store + "panel.bmp", WriteBmp24(store + "panel.bmp", panel));
  WritePng(prev + "panel.png", Scale(panel, 2));
  for (const PanelButton& b : buttons)
    std::printf("  panel rect %-11s left=%d top=%d right=%d bottom=%d\n", b.label.c_str(), b.left,
                b.top, b.right, b.bottom);

  Image logo = PaintLogo();
  Report(store + "logo.bmp", WriteBmp24(store + "logo.bmp", logo));
  WritePng(prev + "logo.png", Scale(logo, 6));
  return 0;
}

}  // namespace
}  // namespace artwork

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--seam") == 0)
    return artwork::Seam(argc, argv);
  return artwork::Run(argc, argv);
}

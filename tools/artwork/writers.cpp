// File writers: JPEG (through libjpeg), BMP, ICO/CUR and preview PNG.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

#include "common/png_file.h"
#include "image.h"

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

namespace artwork {
namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "artwork: %s\n", what.c_str());
  std::exit(1);
}

class Bytes {
 public:
  void U8(unsigned v) { b_.push_back(static_cast<uint8_t>(v)); }
  void U16(unsigned v) {
    U8(v & 255);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v & 0xffff);
    U16(v >> 16);
  }
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Append(const std::vector<uint8_t>& o) { b_.insert(b_.end(), o.begin(), o.end()); }
  std::vector<uint8_t>& data() { return b_; }
  size_t size() const { return b_.size(); }

 private:
  std::vector<uint8_t> b_;
};

size_t Save(const std::string& path, const std::vector<uint8_t>& data) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f)
    Fail("cannot write " + path);
  if (std::fwrite(data.data(), 1, data.size(), f) != data.size())
    Fail("short write " + path);
  std::fclose(f);
  return data.size();
}

int Stride(int width, int bpp) {
  return ((width * bpp + 31) / 32) * 4;
}

// Pixel rows of a palette image, bottom-up, each padded to 4 bytes.
std::vector<uint8_t> PackIndexed(const Indexed& img, int bpp) {
  int stride = Stride(img.width, bpp);
  std::vector<uint8_t> out(static_cast<size_t>(stride) * img.height, 0);
  for (int y = 0; y < img.height; ++y) {
    uint8_t* row = &out[static_cast<size_t>(img.height - 1 - y) * stride];
    for (int x = 0; x < img.width; ++x) {
      unsigned v = img.at(x, y);
      if (v >= (1u << bpp))
        Fail("palette index out of range");
      int bit = x * bpp;
      row[bit / 8] |= v << (8 - bpp - bit % 8);
    }
  }
  return out;
}

// 1-bit AND mask rows (1 = transparent), bottom-up, padded to 4 bytes.
std::vector<uint8_t> PackMask(const Indexed& img) {
  int stride = Stride(img.width, 1);
  std::vector<uint8_t> out(static_cast<size_t>(stride) * img.height, 0);
  for (int y = 0; y < img.height; ++y) {
    uint8_t* row = &out[static_cast<size_t>(img.height - 1 - y) * stride];
    for (int x = 0; x < img.width; ++x)
      if (img.transparent[y * img.width + x])
        row[x / 8] |= 0x80 >> (x % 8);
  }
  return out;
}

void InfoHeader(Bytes* b, int w, int h, int bpp, uint32_t image_size, int colors) {
  b->U32(40);
  b->I32(w);
  b->I32(h);  // positive: rows stored bottom-up
  b->U16(1);
  b->U16(bpp);
  b->U32(0);  // BI_RGB
  b->U32(image_size);
  b->I32(2835);  // 72 dpi
  b->I32(2835);
  b->U32(colors);
  b->U32(0);
}

void PaletteQuads(Bytes* b, const std::vector<Rgb>& pal, int count) {
  for (int i = 0; i < count; ++i) {
    Rgb c = i < static_cast<int>(pal.size()) ? pal[i] : Rgb{};
    b->U8(c.b);
    b->U8(c.g);
    b->U8(c.r);
    b->U8(0);
  }
}

// XOR bitmap + AND mask as stored inside .ico/.cur (height doubled).
std::vector<uint8_t> IconImage(const Indexed& img, int bpp) {
  Indexed xor_img = img;
  // Transparent pixels carry colour index 0 (black) so the screen shows
  // through unchanged: result = (screen AND 1) XOR 0.
  for (size_t i = 0; i < xor_img.index.size(); ++i)
    if (xor_img.transparent[i])
      xor_img.index[i] = 0;
  std::vector<uint8_t> bits = PackIndexed(xor_img, bpp);
  std::vector<uint8_t> mask = PackMask(img);
  int colors = 1 << bpp;
  Bytes b;
  InfoHeader(&b, img.width, img.height * 2, bpp, static_cast<uint32_t>(bits.size() + mask.size()),
             0);
  PaletteQuads(&b, img.palette, colors);
  b.Append(bits);
  b.Append(mask);
  return b.data();
}

size_t WriteIconFile(const std::string& path, const std::vector<Indexed>& images, int bpp,
                     bool cursor, int hot_x, int hot_y) {
  Bytes b;
  b.U16(0);
  b.U16(cursor ? 2 : 1);
  b.U16(static_cast<unsigned>(images.size()));
  std::vector<std::vector<uint8_t>> blobs;
  for (const Indexed& img : images)
    blobs.push_back(IconImage(img, bpp));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    b.U8(images[i].width & 255);
    b.U8(images[i].height & 255);
    b.U8(bpp < 8 ? (1 << bpp) : 0);
    b.U8(0);
    b.U16(cursor ? hot_x : 1);
    b.U16(cursor ? hot_y : bpp);
    b.U32(static_cast<uint32_t>(blobs[i].size()));
    b.U32(offset);
    offset += static_cast<uint32_t>(blobs[i].size());
  }
  for (const auto& blob : blobs)
    b.Append(blob);
  return Save(path, b.data());
}

}  // namespace

const std::vector<Rgb>& VgaPalette() {
  static const std::vector<Rgb> pal = {
      {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},  {0, 0, 128}, {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},    {0, 255, 0}, {255, 255, 0},
      {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
  return pal;
}

Indexed MapToPalette(const Image& img, const std::vector<Rgb>& palette) {
  Indexed out(img.width, img.height, palette);
  std::map<uint32_t, uint8_t> cache;
  for (size_t i = 0; i < img.px.size(); ++i) {
    const Rgb& c = img.px[i];
    uint32_t key = (c.r << 16) | (c.g << 8) | c.b;
    auto it = cache.find(key);
    if (it == cache.end()) {
      int best = 0;
      long best_d = -1;
      for (size_t k = 0; k < palette.size(); ++k) {
        long dr = c.r - palette[k].r, dg = c.g - palette[k].g, db = c.b - palette[k].b;
        long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (best_d < 0 || d < best_d) {
          best_d = d;
          best = static_cast<int>(k);
        }
      }
      it = cache.emplace(key, static_cast<uint8_t>(best)).first;
    }
    out.index[i] = it->second;
  }
  return out;
}

std::vector<Rgb> MedianCut(const Image& img, int colors) {
  std::map<uint32_t, uint32_t> hist;
  for (const Rgb& c : img.px)
    ++hist[(c.r << 16) | (c.g << 8) | c.b];
  struct Entry {
    uint8_t c[3];
    uint32_t n;
  };
  std::vector<Entry> all;
  for (auto& [k, n] : hist)
    all.push_back({{uint8_t(k >> 16), uint8_t(k >> 8), uint8_t(k)}, n});
  struct Box {
    size_t first, last;
  };
  std::vector<Box> boxes = {{0, all.size()}};
  auto range = [&](const Box& b, int ch) {
    int lo = 255, hi = 0;
    for (size_t i = b.first; i < b.last; ++i) {
      lo = std::min<int>(lo, all[i].c[ch]);
      hi = std::max<int>(hi, all[i].c[ch]);
    }
    return hi - lo;
  };
  while (static_cast<int>(boxes.size()) < colors) {
    // Split the box with the widest channel spread (deterministic order).
    int best = -1, best_ch = 0, best_r = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].last - boxes[i].first < 2)
        continue;
      for (int ch = 0; ch < 3; ++ch) {
        int r = range(boxes[i], ch);
        if (r > best_r) {
          best_r = r;
          best = static_cast<int>(i);
          best_ch = ch;
        }
      }
    }
    if (best < 0)
      break;
    Box b = boxes[best];
    std::stable_sort(all.begin() + b.first, all.begin() + b.last,
                     [&](const Entry& a, const Entry& e) { return a.c[best_ch] < e.c[best_ch]; });
    uint64_t total = 0, acc = 0;
    for (size_t i = b.first; i < b.last; ++i)
      total += all[i].n;
    size_t mid = b.first + 1;
    for (size_t i = b.first; i < b.last - 1; ++i) {
      acc += all[i].n;
      mid = i + 1;
      if (acc * 2 >= total)
        break;
    }
    boxes[best] = {b.first, mid};
    boxes.push_back({mid, b.last});
  }
  std::vector<Rgb> pal;
  for (const Box& b : boxes) {
    double s[3] = {0, 0, 0}, n = 0;
    for (size_t i = b.first; i < b.last; ++i) {
      for (int ch = 0; ch < 3; ++ch)
        s[ch] += all[i].c[ch] * double(all[i].n);
      n += all[i].n;
    }
    pal.push_back({uint8_t(s[0] / n + 0.5), uint8_t(s[1] / n + 0.5), uint8_t(s[2] / n + 0.5)});
  }
  return pal;
}

Image ToRgb(const Indexed& img) {
  Image out(img.width, img.height);
  for (size_t i = 0; i < img.index.size(); ++i)
    out.px[i] = img.palette[img.index[i]];
  return out;
}

size_t WriteJpeg(const std::string& path, const Image& img, int quality) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f)
    Fail("cannot write " + path);
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = img.width;
  cinfo.image_height = img.height;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);  // JFIF header, YCbCr, baseline Huffman
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.write_JFIF_header = TRUE;
  cinfo.density_unit = 1;  // dots per inch
  cinfo.X_density = 72;
  cinfo.Y_density = 72;
  cinfo.optimize_coding = TRUE;  // still baseline, just tighter tables
  cinfo.dct_method = JDCT_ISLOW;
  // 4:2:0: luma at full resolution, both chroma planes halved each way.
  cinfo.comp_info[0].h_samp_factor = 2;
  cinfo.comp_info[0].v_samp_factor = 2;
  for (int c = 1; c < 3; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(img.width * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    int y = cinfo.next_scanline;
    for (int x = 0; x < img.width; ++x) {
      const Rgb& c = img.at(x, y);
      row[x * 3] = c.r;
      row[x * 3 + 1] = c.g;
      row[x * 3 + 2] = c.b;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  long size = std::ftell(f);
  std::fclose(f);
  return static_cast<size_t>(size);
}

size_t PadFile(const std::string& path, size_t multiple, char pad) {
  FILE* f = std::fopen(path.c_str(), "ab");
  if (!f)
    Fail("cannot append to " + path);
  std::fseek(f, 0, SEEK_END);
  size_t size = static_cast<size_t>(std::ftell(f));
  size_t extra = (multiple - size % multiple) % multiple;
  for (size_t i = 0; i < extra; ++i)
    std::fputc(pad, f);
  std::fclose(f);
  return size + extra;
}

size_t WriteBmp24(const std::string& path, const Image& img) {
  int stride = Stride(img.width, 24);
  uint32_t image_size = static_cast<uint32_t>(stride) * img.height;
  Bytes b;
  b.U8('B');
  b.U8('M');
  b.U32(14 + 40 + image_size);
  b.U32(0);
  b.U32(14 + 40);
  InfoHeader(&b, img.width, img.height, 24, image_size, 0);
  for (int y = img.height - 1; y >= 0; --y) {
    for (int x = 0; x < img.width; ++x) {
      const Rgb& c = img.at(x, y);
      b.U8(c.b);
      b.U8(c.g);
      b.U8(c.r);
    }
    for (int p = img.width * 3; p < stride; ++p)
      b.U8(0);
  }
  return Save(path, b.data());
}

size_t WriteBmpIndexed(const std::string& path, const Indexed& img, int bpp) {
  int colors = 1 << bpp;
  if (static_cast<int>(img.palette.size()) > colors)
    Fail("palette too big");
  std::vector<uint8_t> bits = PackIndexed(img, bpp);
  uint32_t header = 14 + 40 + 4 * colors;
  Bytes b;
  b.U8('B');
  b.U8('M');
  b.U32(header + static_cast<uint32_t>(bits.size()));
  b.U32(0);
  b.U32(header);
  InfoHeader(&b, img.width, img.height, bpp, static_cast<uint32_t>(bits.size()), colors);
  PaletteQuads(&b, img.palette, colors);
  b.Append(bits);
  return Save(path, b.data());
}

size_t WriteIco(const std::string& path, const std::vector<Indexed>& images, int bpp) {
  return WriteIconFile(path, images, bpp, false, 0, 0);
}

size_t WriteCur(const std::string& path, const Indexed& image, int hot_x, int hot_y) {
  return WriteIconFile(path, {image}, 1, true, hot_x, hot_y);
}

size_t WritePng(const std::string& path, const Image& img) {
  static_assert(sizeof(Rgb) == 3, "Image pixels are packed red, green, blue bytes");
  if (!WritePngFile(path.c_str(), reinterpret_cast<const uint8_t*>(img.px.data()), img.width,
                    img.height)) {
    return 0;
  }
  std::ifstream written(path, std::ios::binary | std::ios::ate);
  return static_cast<size_t>(written.tellg());
}

Image Scale(const Image& img, int scale) {
  Image out(img.width * scale, img.height * scale);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.at(x, y) = img.at(x / scale, y / scale);
  return out;
}

Image PreviewOf(const Indexed& img, int scale) {
  Image out(img.width * scale, img.height * scale);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      int sx = x / scale, sy = y / scale;
      if (img.transparent[sy * img.width + sx]) {
        bool dark = ((x / 4) + (y / 4)) & 1;
        out.at(x, y) = dark ? Rgb{200, 170, 200} : Rgb{240, 220, 240};
      } else {
        out.at(x, y) = img.palette[img.at(sx, sy)];
      }
    }
  return out;
}

}  // namespace artwork

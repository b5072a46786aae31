// FontFace: FreeType measuring and drawing.
#include "tools/authoring/font_face.h"

#include FT_DRIVER_H
#include FT_MODULE_H

#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <vector>

namespace {

// Code points of a UTF-8 text; a malformed byte stands for itself, so a
// stray Windows-1252 byte still gets a glyph of about the right width.
std::vector<unsigned long> CodePoints(const std::string& utf8) {
  std::vector<unsigned long> points;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    unsigned long point = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = i + extra < utf8.size() || extra == 0;
    for (int k = 1; valid && k <= extra; k++) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      point = (point << 6) | (next & 0x3F);
    }
    if (!valid) {
      points.push_back(lead);
      i += 1;
    } else {
      points.push_back(point);
      i += 1 + extra;
    }
  }
  return points;
}

}  // namespace

FontFace::FontFace() : library(nullptr), face(nullptr) {}

FontFace::~FontFace() {
  if (face != nullptr) {
    FT_Done_Face(face);
  }
  if (library != nullptr) {
    FT_Done_FreeType(library);
  }
}

std::string FontFace::Locate(const std::string& file_name) {
  std::vector<std::string> roots;
  const char* home = getenv("HOME");
  const char* data_home = getenv("XDG_DATA_HOME");
  if (data_home != nullptr && *data_home != '\0') {
    roots.push_back(data_home);
  } else if (home != nullptr) {
    roots.push_back(std::string(home) + "/.local/share");
  }
  const char* data_dirs = getenv("XDG_DATA_DIRS");
  std::stringstream dirs(
      data_dirs != nullptr && *data_dirs != '\0' ? data_dirs : "/usr/local/share:/usr/share");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    roots.push_back(dir);
  }
  for (const std::string& root : roots) {
    std::error_code error;
    const std::filesystem::path fonts = std::filesystem::path(root) / "fonts";
    if (!std::filesystem::is_directory(fonts, error)) {
      continue;
    }
    for (std::filesystem::recursive_directory_iterator it(fonts, error), end; !error && it != end;
         it.increment(error)) {
      if (it->path().filename() == file_name) {
        return it->path().string();
      }
    }
  }
  return {};
}

bool FontFace::Open(const std::string& file_name, int pixels) {
  const std::string path = Locate(file_name);
  if (path.empty()) {
    problem = "the font " + file_name + " is not installed (tools/setup installs it)";
    return false;
  }
  if (FT_Init_FreeType(&library) != 0) {
    problem = "FreeType could not start";
    return false;
  }
  // The classic hinting interpreter, as Wine uses to match GDI's advances.
  FT_UInt interpreter = TT_INTERPRETER_VERSION_35;
  FT_Property_Set(library, "truetype", "interpreter-version", &interpreter);
  if (FT_New_Face(library, path.c_str(), 0, &face) != 0 ||
      FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
    problem = path + ": not a usable font file";
    return false;
  }
  return true;
}

int FontFace::Measure(const std::string& utf8) const {
  long width = 0;
  for (unsigned long point : CodePoints(utf8)) {
    if (FT_Load_Char(face, point, FT_LOAD_DEFAULT) == 0) {
      width += face->glyph->advance.x >> 6;
    }
  }
  return static_cast<int>(width);
}

void FontFace::Draw(const std::string& utf8, int x, int baseline_y, const cv::Vec3b& colour,
                    cv::Mat& bgr) const {
  int pen = x;
  for (unsigned long point : CodePoints(utf8)) {
    if (FT_Load_Char(face, point, FT_LOAD_RENDER) != 0) {
      continue;
    }
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& coverage = glyph->bitmap;
    for (unsigned row = 0; row < coverage.rows; row++) {
      const int y = baseline_y - glyph->bitmap_top + static_cast<int>(row);
      if (y < 0 || y >= bgr.rows) {
        continue;
      }
      for (unsigned column = 0; column < coverage.width; column++) {
        const int px = pen + glyph->bitmap_left + static_cast<int>(column);
        if (px < 0 || px >= bgr.cols) {
          continue;
        }
        const int alpha = coverage.buffer[row * coverage.pitch + column];
        cv::Vec3b& pixel = bgr.at<cv::Vec3b>(y, px);
        for (int c = 0; c < 3; c++) {
          pixel[c] =
              static_cast<unsigned char>((colour[c] * alpha + pixel[c] * (255 - alpha)) / 255);
        }
      }
    }
    pen += static_cast<int>(glyph->advance.x >> 6);
  }
}

int FontFace::Ascent() const {
  return static_cast<int>(face->size->metrics.ascender >> 6);
}

int FontFace::LineHeight() const {
  return static_cast<int>(face->size->metrics.height >> 6);
}

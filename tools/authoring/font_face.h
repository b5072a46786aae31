// FontFace: one TrueType face at one pixel size through FreeType, to
// measure texts as the viewer's GDI fonts lay them out and to label
// pictures.
//
// Sizes follow GDI's LOGFONT convention: a font of P points on the
// viewer's 96-dpi screen has an em of MulDiv(P, 96, 72) pixels (lfHeight
// negative). Widths are sums of hinted integer advances without kerning,
// which is how GDI's ExtTextOut places the characters of a static text.
#ifndef VISTELLO_TOOLS_AUTHORING_FONT_FACE_H
#define VISTELLO_TOOLS_AUTHORING_FONT_FACE_H

#include <ft2build.h>
#include FT_FREETYPE_H

#include <opencv2/core.hpp>
#include <string>

class FontFace {
 public:
  FontFace();
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Opens the font file of that name from the system's font folders (see
  // Locate) with an em of `pixels`. False, with the reason in Problem(),
  // when it is not installed or cannot be read.
  bool Open(const std::string& file_name, int pixels);
  const std::string& Problem() const { return problem; }

  // Width in pixels of a UTF-8 text.
  int Measure(const std::string& utf8) const;
  // Draws a UTF-8 text with its baseline at y, blending the glyphs'
  // coverage over an 8-bit blue-green-red picture in the given colour.
  void Draw(const std::string& utf8, int x, int baseline_y, const cv::Vec3b& colour,
            cv::Mat& bgr) const;
  // Pixels from the top of a line to its baseline, and a line's height.
  int Ascent() const;
  int LineHeight() const;

  // The path of a font file in the folders fonts are installed in
  // ($XDG_DATA_HOME/fonts, then each of $XDG_DATA_DIRS/fonts, searched
  // below), or empty when there is none.
  static std::string Locate(const std::string& file_name);

 private:
  FT_Library library;
  FT_Face face;
  std::string problem;
};

#endif  // VISTELLO_TOOLS_AUTHORING_FONT_FACE_H

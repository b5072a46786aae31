// MainWindowFonts: four sizes and weights of the enumerated Arial face.
#include "app/main_window_fonts.h"

#include <string.h>

namespace {

// Keeps the first face enumerated and ends the enumeration.
int CALLBACK KeepFirstFont(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM found) {
  memcpy(reinterpret_cast<LOGFONTA*>(found), font, sizeof(LOGFONTA));
  return 0;
}

HFONT MakeFont(LOGFONTA face, HDC dc, int points, LONG weight) {
  face.lfWeight = weight;
  face.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  face.lfWidth = 0;
  return CreateFontIndirectA(&face);
}

}  // namespace

MainWindowFonts::~MainWindowFonts() {
  const HFONT fonts[] = {normal, bold, large_bold, small};
  for (HFONT font : fonts) {
    if (font != nullptr) {
      DeleteObject(font);
    }
  }
}

void MainWindowFonts::Create(HWND window) {
  LOGFONTA wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wanted.lfPitchAndFamily = 0;
  strcpy(wanted.lfFaceName, "Arial");
  // When no Arial exists the callback never runs and the fonts are cut
  // from this empty description: the system's default face.
  LOGFONTA face = {};
  HDC dc = GetDC(window);
  EnumFontFamiliesExA(dc, &wanted, KeepFirstFont, reinterpret_cast<LPARAM>(&face), 0);
  normal = MakeFont(face, dc, 8, FW_NORMAL);
  bold = MakeFont(face, dc, 8, FW_BOLD);
  large_bold = MakeFont(face, dc, 10, FW_BOLD);
  small = MakeFont(face, dc, 7, FW_NORMAL);
  ReleaseDC(window, dc);
}

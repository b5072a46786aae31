// MainWindowFonts: the application's four fonts, all cut from the first
// "Arial" face the system enumerates (or the system's default face when
// there is no Arial). The main window's lines use them and the contact box
// borrows three of them; they live as long as the application object.
#ifndef VISTELLO_APP_MAIN_WINDOW_FONTS_H
#define VISTELLO_APP_MAIN_WINDOW_FONTS_H

#include <windows.h>

class MainWindowFonts {
 public:
  MainWindowFonts() : normal(nullptr), bold(nullptr), large_bold(nullptr), small(nullptr) {}
  ~MainWindowFonts();
  MainWindowFonts(const MainWindowFonts&) = delete;
  MainWindowFonts& operator=(const MainWindowFonts&) = delete;

  // Makes the fonts for the window's device (its vertical resolution sets
  // the pixel heights). A font that cannot be made stays null.
  void Create(HWND window);

  HFONT Normal() const { return normal; }         // 8 pt, weight 400
  HFONT Bold() const { return bold; }             // 8 pt, weight 700
  HFONT LargeBold() const { return large_bold; }  // 10 pt, weight 700
  HFONT Small() const { return small; }           // 7 pt, weight 400

 private:
  HFONT normal;
  HFONT bold;
  HFONT large_bold;
  HFONT small;
};

#endif  // VISTELLO_APP_MAIN_WINDOW_FONTS_H

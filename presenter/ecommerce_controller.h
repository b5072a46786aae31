// EcommerceController: the optional e-commerce panel below the panorama
// view. It shows the tour's "ECOMMERCEIMAGE" at its natural size; the
// tour's hot spots make parts of it links, with a hand cursor and a status
// text on hover and the registered browser started on a click, the selected
// scene's link query appended.
#ifndef VISTELLO_PRESENTER_ECOMMERCE_CONTROLLER_H
#define VISTELLO_PRESENTER_ECOMMERCE_CONTROLLER_H

#include <windows.h>

#include "app/child_window.h"
#include "win32/scoped_handles.h"

class ViewerApp;

class EcommerceController : public ChildWindow {
 public:
  // Loads the image, the class name and the browser command (read once:
  // a browser registered later is not seen). No window exists yet.
  explicit EcommerceController(ViewerApp* owner);
  ~EcommerceController() override;

  // Registers the class and creates the panel (child id ID_ECOMMERCE_PANEL).
  bool Create(HWND parent);

  // Writes the image's size; without an image the outputs are left as they
  // are (the caller zeroes them first).
  void GetImageSize(int* width, int* height) const;

  // Realises the panel's halftone palette in its window; repaints the panel
  // when entries changed and returns their number (0 when it has no window).
  UINT RealizeHalftone(bool foreground);

  LRESULT WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

  // The first hot spot strictly containing (x, y), or -1.
  int HotSpotAt(int x, int y) const;
  void OnHotSpotHover(int x, int y);
  void OnHotSpotClick(int x, int y);

 private:
  void Paint(HWND window);
  HPALETTE HalftonePalette();

  HINSTANCE instance;
  ViewerApp* owner;               // not owned
  HalftonePaletteHolder palette;  // made at the first paint or realisation
  HBITMAP image;                  // owned DIB section; null when the tour has none
  int image_height;
  int image_width;
  char class_name[150];
  char* browser_command;  // owned; null when no browser is registered
  HCURSOR hand_cursor;    // shared, never destroyed
};

#endif  // VISTELLO_PRESENTER_ECOMMERCE_CONTROLLER_H

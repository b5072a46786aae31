// EcommerceLogo: the optional presenter's logo beside the "Presented by:"
// lines -- the tour's "ECOMMERCELOGO" at its natural size, passive: no
// mouse behaviour, no link.
#ifndef VISTELLO_PRESENTER_ECOMMERCE_LOGO_H
#define VISTELLO_PRESENTER_ECOMMERCE_LOGO_H

#include <windows.h>

#include "app/child_window.h"

class ViewerApp;

class EcommerceLogo : public ChildWindow {
 public:
  // Loads the logo and the class name; no window exists yet.
  explicit EcommerceLogo(ViewerApp* owner);
  ~EcommerceLogo() override;

  // Registers the class and creates the window (child id ID_ECOMMERCE_LOGO).
  bool Create(HWND parent);

  // Writes the logo's size, or 0 x 0 without a logo; does nothing when
  // either output is null. The size is read from the bitmap each time.
  void GetLogoSize(int* width, int* height) const;

  LRESULT WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HWND window);

  ViewerApp* owner;  // not owned
  HINSTANCE instance;
  HBITMAP logo;  // owned DIB section; null when the tour has none
  char class_name[150];
};

#endif  // VISTELLO_PRESENTER_ECOMMERCE_LOGO_H

// ChildWindow: the base of every object that owns a window of one of the
// program's own classes. The window and its object are bound through the
// window's user data, in exactly one place; every class registers
// SharedWindowProc, which forwards each message to the bound object's
// WindowProc.
#ifndef VISTELLO_APP_CHILD_WINDOW_H
#define VISTELLO_APP_CHILD_WINDOW_H

#include <windows.h>

class ChildWindow {
 public:
  ChildWindow() : window(nullptr) {}
  // Unbinds: later messages of the window, if it still exists, go to
  // DefWindowProcA. The window itself is not destroyed.
  virtual ~ChildWindow();
  ChildWindow(const ChildWindow&) = delete;
  ChildWindow& operator=(const ChildWindow&) = delete;

  // The object's window procedure. The base answers with DefWindowProcA.
  virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  HWND Window() const { return window; }

  // Stores object in the window's user data and, when it is not null,
  // the window in the object.
  static void Bind(HWND window, ChildWindow* object);
  static ChildWindow* ObjectFor(HWND window);

  // The window procedure of every class of the program's own. A window is
  // bound at WM_CREATE to the object passed as CreateWindowExA's creation
  // parameter; messages before that, and all messages of a window created
  // without one, go to DefWindowProcA.
  static LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  // A mouse message's client coordinates: signed 16-bit words of lparam.
  static int MouseX(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }
  static int MouseY(LPARAM lparam) { return static_cast<short>(HIWORD(lparam)); }

 protected:
  // Registers class_name for the program's child windows -- SharedWindowProc,
  // the arrow cursor, no icon, no background brush (the windows paint all of
  // their area themselves); a class registered already is fine -- and creates
  // this object's window of it: WS_CHILD | WS_CLIPSIBLINGS, 10 x 10 at (0, 0)
  // until laid out, child id id, bound to this object at WM_CREATE. Returns
  // the window, or null.
  HWND CreateChild(HWND parent, HINSTANCE instance, const char* class_name, DWORD extended_style,
                   int id);
  // Shows and paints a window just created; false when there is none.
  static bool Reveal(HWND window);

 private:
  HWND window;
};

#endif  // VISTELLO_APP_CHILD_WINDOW_H

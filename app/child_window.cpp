// ChildWindow: window-to-object binding through GWLP_USERDATA.
#include "app/child_window.h"

// The window's user data is pointer-sized on every Windows (the ...Ptr calls
// are the plain ones in a 32-bit build).
static_assert(sizeof(LONG_PTR) == sizeof(ChildWindow*), "GWLP_USERDATA holds the object pointer");

ChildWindow::~ChildWindow() {
  Bind(window, nullptr);
}

LRESULT ChildWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

void ChildWindow::Bind(HWND window, ChildWindow* object) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
  if (object != nullptr) {
    object->window = window;
  }
}

ChildWindow* ChildWindow::ObjectFor(HWND window) {
  return reinterpret_cast<ChildWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK ChildWindow::SharedWindowProc(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
  if (ChildWindow* object = ObjectFor(window)) {
    return object->WindowProc(window, message, wparam, lparam);
  }
  if (message == WM_CREATE) {
    auto* creation = reinterpret_cast<CREATESTRUCTA*>(lparam);
    if (auto* object = static_cast<ChildWindow*>(creation->lpCreateParams)) {
      Bind(window, object);
      return object->WindowProc(window, message, wparam, lparam);
    }
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

HWND ChildWindow::CreateChild(HWND parent, HINSTANCE instance, const char* class_name,
                              DWORD extended_style, int id) {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = SharedWindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.lpszClassName = class_name;
  RegisterClassExA(&window_class);  // fails harmlessly when already registered
  return CreateWindowExA(extended_style, class_name, nullptr, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 10,
                         10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                         this);
}

bool ChildWindow::Reveal(HWND window) {
  if (window == nullptr) {
    return false;
  }
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return true;
}

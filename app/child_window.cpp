// ChildWindow: window-to-object binding through GWL_USERDATA.
#include "app/child_window.h"

// The program is 32-bit: a pointer fits the LONG of the window's user data.
static_assert(sizeof(LONG) == sizeof(ChildWindow*), "GWL_USERDATA holds the object pointer");

ChildWindow::~ChildWindow() {
  Bind(window, nullptr);
}

LRESULT ChildWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

void ChildWindow::Bind(HWND window, ChildWindow* object) {
  SetWindowLongA(window, GWL_USERDATA, reinterpret_cast<LONG>(object));
  if (object != nullptr) {
    object->window = window;
  }
}

ChildWindow* ChildWindow::ObjectFor(HWND window) {
  return reinterpret_cast<ChildWindow*>(GetWindowLongA(window, GWL_USERDATA));
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

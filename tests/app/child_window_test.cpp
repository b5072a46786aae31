// Window-to-object binding: a window of one of the program's classes is
// bound to its object at WM_CREATE and reaches it for every later message;
// unbound windows behave as plain DefWindowProcA windows.
#include "app/child_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

const char kClassName[] = "CHILDWINDOWTEST";

class RecordingWindow : public ChildWindow {
 public:
  explicit RecordingWindow(LRESULT create_result = 0) : create_result(create_result) {}
  LRESULT WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override {
    messages.push_back(message);
    if (message == WM_CREATE)
      return create_result;
    if (message == WM_USER + 1)
      return 42;
    return ChildWindow::WindowProc(window, message, wparam, lparam);
  }
  std::vector<UINT> messages;
  LRESULT create_result;
};

class ChildWindowBinding : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = ChildWindow::SharedWindowProc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = kClassName;
    RegisterClassExA(&window_class);
  }
  static HWND Make(ChildWindow* object) {
    return CreateWindowExA(0, kClassName, "test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                           nullptr, GetModuleHandleA(nullptr), object);
  }
};

TEST_F(ChildWindowBinding, ObjectIsBoundAtCreateAndReceivesEveryLaterMessage) {
  RecordingWindow object;
  HWND window = Make(&object);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(object.Window(), window);
  EXPECT_EQ(ChildWindow::ObjectFor(window), &object);
  ASSERT_FALSE(object.messages.empty());
  EXPECT_EQ(object.messages.front(), static_cast<UINT>(WM_CREATE))
      << "earlier messages went to the default procedure";
  EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 42);
  DestroyWindow(window);
  EXPECT_EQ(object.messages.back(), static_cast<UINT>(WM_NCDESTROY))
      << "the binding lasts until the window is gone";
}

TEST_F(ChildWindowBinding, WindowWithoutAnObjectIsAPlainWindow) {
  HWND window = Make(nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ChildWindow::ObjectFor(window), nullptr);
  EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 0);
  SetWindowTextA(window, "plain");
  char text[16] = "";
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ(text, "plain");
  DestroyWindow(window);
}

TEST_F(ChildWindowBinding, DestroyedObjectLeavesTheWindowToTheDefaultProcedure) {
  auto* object = new RecordingWindow;
  HWND window = Make(object);
  ASSERT_NE(window, nullptr);
  delete object;
  EXPECT_EQ(ChildWindow::ObjectFor(window), nullptr);
  EXPECT_EQ(SendMessageA(window, WM_USER + 1, 0, 0), 0);
  DestroyWindow(window);
}

TEST_F(ChildWindowBinding, CreateResultOfTheObjectDecidesTheCreation) {
  RecordingWindow refusing(-1);
  EXPECT_EQ(Make(&refusing), nullptr);
  EXPECT_EQ(refusing.messages.front(), static_cast<UINT>(WM_CREATE));
}

}  // namespace

// The presenter tests' running viewer: the real application object of the
// test program's tour, started with the recorder program registered as the
// HTTP open command (the e-commerce panel reads the command once, when it
// is built), plus readers for what a user sees of it.
#ifndef VISTELLO_TESTS_PRESENTER_PRESENTER_TEST_SUPPORT_H
#define VISTELLO_TESTS_PRESENTER_PRESENTER_TEST_SUPPORT_H

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/viewer_app.h"
#include "share/registry_state.h"
#include "share/share_test_support.h"

// The recorder program beside the test program, quoted, as a browser
// command starts with it.
std::string QuotedRecorderPath();

class RunningViewer {
 public:
  // Registers the recorder, moves the pointer off every window, then makes
  // and initialises the one ViewerApp with the given show command.
  explicit RunningViewer(int show_command = SW_SHOW);
  // Destroys the main window, pumps its last messages and deletes the app.
  ~RunningViewer();
  RunningViewer(const RunningViewer&) = delete;
  RunningViewer& operator=(const RunningViewer&) = delete;

  ViewerApp* App() const { return app; }
  bool Initialized() const { return initialized; }
  HWND Main() const { return app->Window(); }
  HWND Toolbar() const { return app->Toolbar(); }

  // Pumps until the animation thread has switched in the first scene and
  // written its title back to the status line.
  bool WaitForFirstScene();

  std::string StatusText() const;

  // The command line the recorder was started with, once it has written
  // it, or nullopt when nothing was started within the time; the record is
  // removed, so the next call waits for the next start.
  std::optional<std::string> TakeBrowserStart(DWORD timeout_ms = 10000);

 private:
  RegistryState classes;
  std::string record_path;
  ScopedEnvironment record_setting;
  ViewerApp* app;
  bool initialized;
};

// Sends a mouse message with the client point packed as the system packs it.
LRESULT SendMouse(HWND window, UINT message, int x, int y, WPARAM keys = 0);

// A child's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND child);

// 32-bit pixels of a bitmap, top row first, as 0x00RRGGBB.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> rgb;  // COLORREF order: red in the low byte
  COLORREF At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};
Pixels ReadBitmapPixels(HBITMAP bitmap);
// A header for 32-bit top-down pixels of the given size.
BITMAPINFO TopDown32(int width, int height);
// What the user sees of the window's client area.
Pixels ReadWindowPixels(HWND window);

#endif  // VISTELLO_TESTS_PRESENTER_PRESENTER_TEST_SUPPORT_H

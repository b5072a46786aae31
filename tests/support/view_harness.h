// Test stand-ins for the panorama view's surroundings: a top-level window
// with a status line in place of the main window, a listener that records
// what it is told, and a message pump for the test's user-interface thread.
#ifndef VISTELLO_TESTS_SUPPORT_VIEW_HARNESS_H
#define VISTELLO_TESTS_SUPPORT_VIEW_HARNESS_H

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "panorama/pan_listener.h"
#include "panorama/panorama_controller.h"
#include "panorama/panorama_owner.h"
#include "tour/scene_bitmap.h"

// Dispatches this thread's messages for about the given time.
void PumpMessages(DWORD milliseconds);

// Dispatches messages until done() holds or the timeout passes; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 5000);

// The main window's stand-in: a top-level window with a STATIC child as the
// status line. Every status text the view sets is also logged, in order.
class TestOwner : public PanoramaOwner {
 public:
  TestOwner();
  ~TestOwner() override;

  HINSTANCE ModuleInstance() const override { return GetModuleHandleA(nullptr); }
  HWND MainWindow() const override { return main_window; }
  void SetStatusText(const char* text) override;

  std::vector<std::string> StatusLog() const;
  std::string StatusText() const;
  void ClearStatusLog();

  // Called with every status text, on the thread that sets it, before the
  // status line shows it: a test's way to act at a known point of a switch
  // (the view holds its scene lock while it sets the status text).
  void OnStatusText(std::function<void(const std::string&)> hook);

 private:
  HWND main_window;
  HWND status_line;
  mutable std::mutex log_lock;
  std::vector<std::string> log;
  std::function<void(const std::string&)> status_hook;
};

// Records every pan speed it hears and, at that moment, the view's pan and
// zoom level (the animation thread calls it in the middle of a scene switch).
class RecordingListener : public PanListener {
 public:
  explicit RecordingListener(const PanoramaController* view = nullptr) : view(view) {}
  void OnPanSpeedChanged(int speed) override;

  struct Heard {
    int speed;
    int pan;
    int zoom_level;
    DWORD thread;
  };
  std::vector<Heard> Log() const;
  void Clear();

 private:
  const PanoramaController* view;
  mutable std::mutex log_lock;
  std::vector<Heard> log;
};

// The client area of a window as 24-bit pixels, read back from the screen
// the way the user sees them; row 0 is the top row.
struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bgr;  // 3 bytes per pixel, blue green red
  const unsigned char* At(int x, int y) const { return &bgr[(y * width + x) * 3]; }
};
// Through the window's own DC, or -- for a window of another process,
// whose DC this process cannot read -- through the screen's, where the
// window's client area lies.
ScreenPixels ReadClientPixels(HWND window, bool through_screen = false);

// The "Loading new scene ..." splash as the user should see it in a client
// area of width x height: this program's splash bitmap (the tour's) centred
// on white, left = (width - 190) / 2, top = (height - 150) / 2. Empty when
// the area is smaller than the picture.
ScreenPixels CentredSplash(int width, int height);

// How many pixels of the screen differ from the expected picture (all of
// them when the sizes differ).
int PixelsDiffering(const ScreenPixels& screen, const ScreenPixels& expected);

// How many rows of the screen differ from the frame the view draws one to
// one into it, clipped at the right and bottom (the frame's rows are stored
// bottom-up); all of them when the screen is larger than the frame.
int RowsDiffering(const ScreenPixels& screen, const SceneBitmap& frame);

#endif  // VISTELLO_TESTS_SUPPORT_VIEW_HARNESS_H

// The presenter tests' running viewer and pixel readers.
#include "presenter/presenter_test_support.h"

#include "panorama/panorama_controller.h"
#include "support/view_harness.h"

namespace {

const char kCommandKey[] = "HTTP\\shell\\open\\command";

}  // namespace

std::string QuotedRecorderPath() {
  return "\"" + ExecutableDirectory() + "browser_recorder.exe\"";
}

RunningViewer::RunningViewer(int show_command)
    : classes(HKEY_CLASSES_ROOT, {kCommandKey}),
      record_path(FreshTemporaryPath("vistello_presenter_browser.txt")),
      record_setting("VISTELLO_RECORDER_OUTPUT", record_path.c_str()),
      app(nullptr),
      initialized(false) {
  SetRegistryText(HKEY_CLASSES_ROOT, kCommandKey, "", QuotedRecorderPath() + " \"%1\"");
  // A pointer resting over a window would send it mouse messages of its own.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  app = ViewerApp::Instance(GetModuleHandleA(nullptr));
  initialized = app != nullptr && app->Initialize(show_command);
}

RunningViewer::~RunningViewer() {
  if (app == nullptr) {
    return;
  }
  if (app->Window() != nullptr) {
    DestroyWindow(app->Window());
  }
  PumpMessages(100);
  delete app;
  DeleteFileA(record_path.c_str());
}

bool RunningViewer::WaitForFirstScene() {
  const char* title = app->Tour().Scene(0)->Title();
  return PumpUntil(
      [this, title] {
        return app->Panorama() != nullptr && app->Panorama()->CurrentScene() != nullptr &&
               StatusText() == title;
      },
      10000);
}

std::string RunningViewer::StatusText() const {
  char text[256] = "";
  GetWindowTextA(app->StatusLine(), text, sizeof text);
  return text;
}

std::optional<std::string> RunningViewer::TakeBrowserStart(DWORD timeout_ms) {
  std::optional<std::string> record;
  // The recorder writes its one line and closes the file; an empty file
  // is one it has opened and not yet written.
  PumpUntil(
      [this, &record] {
        record = ReadWholeFile(record_path);
        return record && !record->empty();
      },
      timeout_ms);
  if (record && record->empty()) {
    record.reset();
  }
  DeleteFileA(record_path.c_str());
  return record;
}

LRESULT SendMouse(HWND window, UINT message, int x, int y, WPARAM keys) {
  return SendMessageA(window, message, keys, MAKELPARAM(x, y));
}

RECT PlaceInParent(HWND child) {
  RECT rect = {};
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

namespace {

// Copies 32-bit top-down rows (blue, green, red, unused) into COLORREFs.
Pixels FromBgra(int width, int height, const unsigned char* bgra) {
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.rgb.resize(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < pixels.rgb.size(); i++) {
    pixels.rgb[i] = RGB(bgra[i * 4 + 2], bgra[i * 4 + 1], bgra[i * 4 + 0]);
  }
  return pixels;
}

}  // namespace

BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

Pixels ReadBitmapPixels(HBITMAP bitmap) {
  BITMAP size = {};
  if (GetObjectA(bitmap, sizeof size, &size) == 0) {
    return Pixels();
  }
  BITMAPINFO info = TopDown32(size.bmWidth, size.bmHeight);
  std::vector<unsigned char> bgra(static_cast<size_t>(size.bmWidth) * size.bmHeight * 4);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, size.bmHeight, bgra.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != size.bmHeight) {
    return Pixels();
  }
  return FromBgra(size.bmWidth, size.bmHeight, bgra.data());
}

Pixels ReadWindowPixels(HWND window) {
  const ScreenPixels screen = ReadClientPixels(window);
  Pixels pixels;
  pixels.width = screen.width;
  pixels.height = screen.height;
  pixels.rgb.resize(static_cast<size_t>(screen.width) * screen.height);
  for (size_t i = 0; i < pixels.rgb.size(); i++) {
    const unsigned char* bgr = &screen.bgr[i * 3];
    pixels.rgb[i] = RGB(bgr[2], bgr[1], bgr[0]);
  }
  return pixels;
}

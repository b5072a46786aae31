// Test stand-ins for the panorama view's owner and listener.
#include "support/view_harness.h"

#include <string.h>

#include "resources/resource_ids.h"

void PumpMessages(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (done()) {
      return true;
    }
    if (GetTickCount() - start >= timeout_ms) {
      return done();
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

TestOwner::TestOwner() {
  main_window = CreateWindowExA(0, "STATIC", "View test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                534, 321, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  status_line = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 260, 500, 20,
                                main_window, nullptr, GetModuleHandleA(nullptr), nullptr);
}

TestOwner::~TestOwner() {
  DestroyWindow(main_window);
}

void TestOwner::SetStatusText(const char* text) {
  std::function<void(const std::string&)> hook;
  {
    std::lock_guard<std::mutex> guard(log_lock);
    log.push_back(text ? text : "");
    hook = status_hook;
  }
  if (hook) {
    hook(text ? text : "");
  }
  SetWindowTextA(status_line, text);
}

void TestOwner::OnStatusText(std::function<void(const std::string&)> hook) {
  std::lock_guard<std::mutex> guard(log_lock);
  status_hook = std::move(hook);
}

std::vector<std::string> TestOwner::StatusLog() const {
  std::lock_guard<std::mutex> guard(log_lock);
  return log;
}

std::string TestOwner::StatusText() const {
  char text[256] = "";
  GetWindowTextA(status_line, text, sizeof text);
  return text;
}

void TestOwner::ClearStatusLog() {
  std::lock_guard<std::mutex> guard(log_lock);
  log.clear();
}

void RecordingListener::OnPanSpeedChanged(int speed) {
  Heard heard = {speed, view ? view->Pan() : 0, view ? view->ZoomLevel() : 0, GetCurrentThreadId()};
  std::lock_guard<std::mutex> guard(log_lock);
  log.push_back(heard);
}

std::vector<RecordingListener::Heard> RecordingListener::Log() const {
  std::lock_guard<std::mutex> guard(log_lock);
  return log;
}

void RecordingListener::Clear() {
  std::lock_guard<std::mutex> guard(log_lock);
  log.clear();
}

namespace {

// 32-bit top-down pixels of width x height, copied from source at (x, y).
ScreenPixels CopyPixels(HDC source, int x, int y, int width, int height) {
  ScreenPixels pixels;
  pixels.width = width;
  pixels.height = height;
  if (width <= 0 || height <= 0) {
    return pixels;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC memory = CreateCompatibleDC(source);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  pixels.bgr.resize(static_cast<size_t>(width) * height * 3);
  const unsigned char* bgra = static_cast<const unsigned char*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; i++) {
    pixels.bgr[i * 3 + 0] = bgra[i * 4 + 0];
    pixels.bgr[i * 3 + 1] = bgra[i * 4 + 1];
    pixels.bgr[i * 3 + 2] = bgra[i * 4 + 2];
  }
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
  return pixels;
}

}  // namespace

ScreenPixels ReadClientPixels(HWND window, bool through_screen) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  HWND source_window = window;
  if (through_screen) {
    ClientToScreen(window, &origin);
    source_window = nullptr;
  }
  HDC source = GetDC(source_window);
  const ScreenPixels pixels = CopyPixels(source, origin.x, origin.y, client.right, client.bottom);
  ReleaseDC(source_window, source);
  return pixels;
}

ScreenPixels CentredSplash(int width, int height) {
  HBITMAP splash =
      static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SPLASH),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP size = {};
  GetObjectA(splash, sizeof size, &size);
  ScreenPixels picture;
  const int left = (width - size.bmWidth) / 2;
  const int top = (height - size.bmHeight) / 2;
  if (splash != nullptr && left >= 0 && top >= 0) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, splash);
    const ScreenPixels own = CopyPixels(memory, 0, 0, size.bmWidth, size.bmHeight);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    picture.width = width;
    picture.height = height;
    picture.bgr.assign(static_cast<size_t>(width) * height * 3, 255);
    for (int y = 0; y < size.bmHeight; y++) {
      memcpy(&picture.bgr[((top + y) * width + left) * 3], own.At(0, y), size.bmWidth * 3);
    }
  }
  DeleteObject(splash);
  return picture;
}

int PixelsDiffering(const ScreenPixels& screen, const ScreenPixels& expected) {
  if (screen.width != expected.width || screen.height != expected.height) {
    return screen.width * screen.height;
  }
  int differing = 0;
  for (int y = 0; y < screen.height; y++) {
    for (int x = 0; x < screen.width; x++) {
      differing += memcmp(screen.At(x, y), expected.At(x, y), 3) != 0;
    }
  }
  return differing;
}

int RowsDiffering(const ScreenPixels& screen, const SceneBitmap& frame) {
  if (screen.width > frame.Width() || screen.height > frame.Height()) {
    return screen.height;
  }
  int differing = 0;
  for (int y = 0; y < screen.height; y++) {
    const BYTE* row = frame.Bits() + (frame.Height() - 1 - y) * frame.Width() * 3;
    differing += memcmp(screen.At(0, y), row, screen.width * 3) != 0;
  }
  return differing;
}

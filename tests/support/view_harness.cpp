// Test stand-ins for the panorama view's owner and listener.
#include "support/view_harness.h"

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

ScreenPixels ReadClientPixels(HWND window) {
  ScreenPixels pixels;
  RECT client;
  GetClientRect(window, &client);
  pixels.width = client.right;
  pixels.height = client.bottom;
  if (pixels.width <= 0 || pixels.height <= 0) {
    return pixels;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC window_dc = GetDC(window);
  HDC memory = CreateCompatibleDC(window_dc);
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, section);
  BitBlt(memory, 0, 0, pixels.width, pixels.height, window_dc, 0, 0, SRCCOPY);
  GdiFlush();
  pixels.bgr.resize(static_cast<size_t>(pixels.width) * pixels.height * 3);
  const unsigned char* bgra = static_cast<const unsigned char*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(pixels.width) * pixels.height; i++) {
    pixels.bgr[i * 3 + 0] = bgra[i * 4 + 0];
    pixels.bgr[i * 3 + 1] = bgra[i * 4 + 1];
    pixels.bgr[i * 3 + 2] = bgra[i * 4 + 2];
  }
  SelectObject(memory, previous);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(window, window_dc);
  return pixels;
}

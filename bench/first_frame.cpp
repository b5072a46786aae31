// first_frame: how long a tour executable takes from process start to its
// first panorama frame on screen, watched from outside the program (run it
// under Wine or on Windows).
//
//   first_frame PROGRAM.exe [RUNS]
//
// Each run starts the program, then copies the panorama view's screen
// pixels every two milliseconds once the view is visible: its corners are
// a flat grey until the first frame (white while the "Loading" splash is
// up; the main window may appear only during or after it), and coloured
// once a frame is there. Prints, per run and as medians, the milliseconds to the
// first frame and that less the splash's one second (the time the program
// itself needs: decoding, windows, the scene's tables and the frame), and
// when the splash was seen at all, the time it was first seen. Then the
// program is closed as a user would.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/process_window.h"
#include "common/screen_copy.h"

namespace {

const DWORD kSplashMs = 1000;
const DWORD kPollMs = 2;
const double kGiveUpMs = 60000;

// Copies the view's client area from the screen and tells whether its four
// corners are all white (the splash's background), mostly coloured (a frame:
// the demo's first frame has no grey corner), or anything else. Everything
// the view shows before its first frame -- nothing yet, the window colour,
// the splash's white -- is a flat grey at the corners.
enum class ViewState { kOther, kWhite, kFrame };

ViewState ReadView(HWND view) {
  RECT client;
  GetClientRect(view, &client);
  POINT origin = {0, 0};
  ClientToScreen(view, &origin);
  const int width = client.right;
  const int height = client.bottom;
  if (width < 8 || height < 8) {
    return ViewState::kOther;
  }
  const std::vector<uint32_t> pixels = CopyScreen(origin.x, origin.y, width, height);
  if (pixels.empty()) {
    return ViewState::kOther;
  }
  int white = 0, coloured = 0;
  for (const int y : {2, height - 3}) {
    for (const int x : {2, width - 3}) {
      const uint32_t pixel = pixels[y * width + x];
      const uint32_t blue = pixel & 0xFF, green = (pixel >> 8) & 0xFF, red = pixel >> 16;
      white += pixel == 0xFFFFFF;
      coloured += red != green || green != blue;
    }
  }
  return white == 4 ? ViewState::kWhite : (coloured >= 3 ? ViewState::kFrame : ViewState::kOther);
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& frequency) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1e3 * static_cast<double>(now.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// One start; false when the program did not get as far as a frame.
bool TimeOneStart(const char* program, double* splash_ms, double* frame_ms) {
  std::string command = std::string("\"") + program + "\"";
  std::vector<char> writable(command.begin(), command.end());
  writable.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER frequency, start;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    fprintf(stderr, "first_frame: cannot start %s (error %lu)\n", program, GetLastError());
    return false;
  }
  CloseHandle(process.hThread);

  HWND main_window = nullptr;
  HWND view = nullptr;
  *splash_ms = -1;
  *frame_ms = -1;
  while (*frame_ms < 0 && Milliseconds(start, frequency) < kGiveUpMs) {
    if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) {
      break;
    }
    if (view == nullptr) {
      main_window = FindProcessWindow(process.dwProcessId, "STANDALONEVIEWER");
      if (main_window != nullptr) {
        view = FindWindowExA(main_window, nullptr, "PANORAMACONTROLLER", nullptr);
      }
      if (view == nullptr || !IsWindowVisible(view)) {
        view = nullptr;
        continue;
      }
    }
    const double now = Milliseconds(start, frequency);
    const ViewState state = ReadView(view);
    if (state == ViewState::kWhite && *splash_ms < 0) {
      *splash_ms = now;
    } else if (state == ViewState::kFrame) {
      *frame_ms = now;
    }
  }
  if (*frame_ms < 0) {
    fprintf(stderr, "first_frame: %s\n",
            view == nullptr ? "the panorama view never appeared" : "no frame appeared in the view");
  }
  if (main_window != nullptr) {
    PostMessageA(main_window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hProcess);
  return *frame_ms >= 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 2 ? atoi(argv[2]) : 5;
  if (argc < 2 || runs < 1) {
    fprintf(stderr, "usage: first_frame PROGRAM.exe [RUNS]\n");
    return 2;
  }
  // The first screen copy of a process is slow (GDI and the display
  // connection start up); take it before the clock runs, or it can hide
  // the splash.
  ReadView(GetDesktopWindow());
  std::vector<double> frames, without;
  for (int run = 0; run < runs; run++) {
    double splash = 0, frame = 0;
    if (!TimeOneStart(argv[1], &splash, &frame)) {
      fprintf(stderr, "first_frame: run %d saw no frame\n", run + 1);
      return 1;
    }
    printf("run %d: first frame %.0f ms, without the splash %.0f ms", run + 1, frame,
           frame - kSplashMs);
    if (splash >= 0) {
      printf(" (splash seen at %.0f ms)", splash);
    }
    printf("\n");
    frames.push_back(frame);
    without.push_back(frame - kSplashMs);
  }
  printf("median of %d: first frame %.0f ms, without the splash %.0f ms\n", runs, Median(frames),
         Median(without));
  return 0;
}

// first_frame: how long a tour executable takes from process start to its
// first panorama frame on screen, watched from outside the program (run it
// under Wine or on Windows).
//
//   first_frame PROGRAM.exe [RUNS]
//
// Each run starts the program, then copies the panorama view's screen
// pixels every two milliseconds: the view turns white when the "Loading"
// splash goes up, and the first frame replaces the white at the view's
// corners. Prints, per run and as medians, the milliseconds to the splash
// and to the first frame, and the first frame less the splash's one second
// (the time the program itself needs: decoding, windows, the scene's tables
// and the frame). Then the program is closed as a user would.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const DWORD kSplashMs = 1000;
const DWORD kPollMs = 2;
const double kGiveUpMs = 60000;

struct Search {
  DWORD process_id;
  HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64];
  GetClassNameA(window, name, sizeof name);
  if (owner == search->process_id && lstrcmpiA(name, "STANDALONEVIEWER") == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Copies the view's client area from the screen and tells whether its four
// corners are all white (the splash's background), none of them white (a
// frame), or neither.
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
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  const DWORD* at = static_cast<const DWORD*>(pixels);
  int white = 0;
  for (const int y : {2, height - 3}) {
    for (const int x : {2, width - 3}) {
      white += (at[y * width + x] & 0xFFFFFF) == 0xFFFFFF;
    }
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return white == 4 ? ViewState::kWhite : (white == 0 ? ViewState::kFrame : ViewState::kOther);
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

  Search search = {process.dwProcessId, nullptr};
  HWND view = nullptr;
  *splash_ms = -1;
  *frame_ms = -1;
  while (*frame_ms < 0 && Milliseconds(start, frequency) < kGiveUpMs) {
    if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) {
      break;
    }
    if (view == nullptr) {
      EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr) {
        view = FindWindowExA(search.found, nullptr, "PANORAMACONTROLLER", nullptr);
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
    } else if (state == ViewState::kFrame && *splash_ms >= 0) {
      *frame_ms = now;
    }
  }
  if (*frame_ms < 0) {
    fprintf(stderr, "first_frame: %s\n",
            view == nullptr  ? "the panorama view never appeared"
            : *splash_ms < 0 ? "the view never showed the white splash background"
                             : "no frame replaced the splash");
  }
  if (search.found != nullptr) {
    PostMessageA(search.found, WM_CLOSE, 0, 0);
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
  std::vector<double> splashes, frames, without;
  for (int run = 0; run < runs; run++) {
    double splash = 0, frame = 0;
    if (!TimeOneStart(argv[1], &splash, &frame)) {
      fprintf(stderr, "first_frame: run %d saw no frame\n", run + 1);
      return 1;
    }
    printf("run %d: splash %.0f ms, first frame %.0f ms, without the splash %.0f ms\n", run + 1,
           splash, frame, frame - kSplashMs);
    splashes.push_back(splash);
    frames.push_back(frame);
    without.push_back(frame - kSplashMs);
  }
  printf("median of %d: splash %.0f ms, first frame %.0f ms, without the splash %.0f ms\n", runs,
         Median(splashes), Median(frames), Median(without));
  return 0;
}

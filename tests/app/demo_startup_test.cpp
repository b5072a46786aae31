// The real demo executable started as a user starts it, watched from
// outside through the screen: every start shows the "Loading" splash centred
// in the whole view and then the first scene from its switch position, and
// several copies started at the same moment all come up.
//
// VISTELLO_STARTS sets how many single starts the first test makes (3
// unless told), VISTELLO_COPY_ROUNDS how many rounds of four copies the
// second starts (2 unless told), and VISTELLO_TOUR_EXE another executable
// of the demo tour to start (this build's unless told).
#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <utility>
#include <vector>

#include "common/process_window.h"
#include "panorama/view_pipeline.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"
#include "tour/scene_bitmap.h"

namespace {

const char kMainClass[] = "STANDALONEVIEWER";

int Setting(const char* name, int fallback) {
  char text[16];
  const DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
  return length > 0 && length < sizeof text ? atoi(text) : fallback;
}

// A started copy of the demo executable; closed (and waited for) on destruction.
class RunningTour {
 public:
  RunningTour() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string path = VISTELLO_DEMO_EXE;
    char other[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("VISTELLO_TOUR_EXE", other, sizeof other);
    if (length > 0 && length < sizeof other) {
      path = other;
    }
    std::string command = "\"" + path + "\"";
    std::vector<char> writable(command.begin(), command.end());
    writable.push_back('\0');
    started = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process) != FALSE;
  }
  ~RunningTour() {
    if (started && Close() == STILL_ACTIVE) {
      TerminateProcess(process.hProcess, 99);
    }
    if (started) {
      CloseHandle(process.hThread);
      CloseHandle(process.hProcess);
    }
  }
  RunningTour(const RunningTour&) = delete;
  RunningTour& operator=(const RunningTour&) = delete;

  bool Started() const { return started; }

  // The visible main window, once there is one; null while there is none,
  // and for good once the process has ended.
  HWND MainWindow() {
    if (main_window == nullptr && started) {
      main_window = FindProcessWindow(process.dwProcessId, kMainClass);
    }
    return main_window;
  }
  bool Ended() const { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }

  // Closes the main window as the close box does; returns the exit code, or
  // STILL_ACTIVE when the program did not end.
  DWORD Close() {
    if (main_window != nullptr) {
      PostMessageA(main_window, WM_CLOSE, 0, 0);
    }
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, 20000) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &code);
    }
    return code;
  }

 private:
  PROCESS_INFORMATION process = {};
  bool started = false;
  HWND main_window = nullptr;
};

// Frames of the demo's first scene as the core renders them (level 0, so
// the tilt makes no difference), for the pan columns a start may show
// first: from W'/3 - 160 = 442 on, and from the middle W'/2 = 903 on.
class FirstSceneFrames {
 public:
  FirstSceneFrames() {
    SceneBitmap strip;
    const std::string path = std::string(VISTELLO_TOURS_DIR) + "/demo/0.JPG";
    ViewPipeline pipeline;
    if (!strip.DecodeJpegFile(path.c_str()) || !pipeline.Prepare(strip)) {
      return;
    }
    for (int start : {442, 903}) {
      for (int pan = start; pan < start + 30; pan++) {
        pipeline.Render(pan, 0, 0);
        const SceneBitmap& frame = pipeline.Zoomed();
        ScreenPixels picture;  // top row first, as the screen is read
        picture.width = frame.Width();
        picture.height = frame.Height();
        for (int y = picture.height - 1; y >= 0; y--) {
          const BYTE* row = frame.Bits() + y * picture.width * 3;
          picture.bgr.insert(picture.bgr.end(), row, row + picture.width * 3);
        }
        frames.push_back({pan, picture});
      }
    }
    strip.Release();
  }

  bool Prepared() const { return !frames.empty(); }

  // The pan column whose frame the screen shows (clipped by the client
  // area), or -1 when it shows none of them.
  int PanShown(const ScreenPixels& screen) const {
    for (const auto& frame : frames) {
      if (Shows(screen, frame.second)) {
        return frame.first;
      }
    }
    return -1;
  }

 private:
  static bool Shows(const ScreenPixels& screen, const ScreenPixels& frame) {
    if (screen.width > frame.width || screen.height > frame.height || screen.width <= 0) {
      return false;
    }
    for (int y = 0; y < screen.height; y++) {
      if (memcmp(screen.At(0, y), frame.At(0, y), screen.width * 3) != 0) {
        return false;
      }
    }
    return true;
  }

  std::vector<std::pair<int, ScreenPixels>> frames;
};

TEST(DemoStart, ShowsTheSplashCentredThenTheFirstSceneFromItsSwitchPosition) {
  FirstSceneFrames frames;
  ASSERT_TRUE(frames.Prepared());
  const int starts = Setting("VISTELLO_STARTS", 3);
  for (int start = 1; start <= starts; start++) {
    SCOPED_TRACE(testing::Message() << "start " << start);
    RunningTour tour;
    ASSERT_TRUE(tour.Started());
    const DWORD begin = GetTickCount();
    HWND view = nullptr;
    int splash_seen = 0;
    int other_seen = 0;  // neither the splash nor a frame: not yet painted, or mid-copy
    int first_pan = -1;
    while (first_pan < 0 && GetTickCount() - begin < 60000 && !tour.Ended()) {
      if (view == nullptr) {
        HWND main = tour.MainWindow();
        view = main != nullptr ? GetDlgItem(main, ID_PANORAMA) : nullptr;
        if (view == nullptr) {
          Sleep(5);
          continue;
        }
      }
      const ScreenPixels screen = ReadClientPixels(view, true);
      const ScreenPixels splash = CentredSplash(screen.width, screen.height);
      if (!splash.bgr.empty() && PixelsDiffering(screen, splash) == 0) {
        splash_seen++;
      } else if ((first_pan = frames.PanShown(screen)) < 0) {
        other_seen++;
      }
    }
    printf("start %d: splash centred in %d captures, %d other, first frame at pan %d\n", start,
           splash_seen, other_seen, first_pan);
    EXPECT_GT(splash_seen, 0) << "the splash centred in the whole view";
    // W'/3 - 160 = 1806 / 3 - 160. The first frame is drawn with the
    // switch and stays a whole tick, so even a slow capture sees it before
    // the view moves on by 2 columns.
    EXPECT_EQ(first_pan, 442);
    EXPECT_EQ(tour.Close(), 0u);
  }
}

TEST(DemoStart, FourCopiesStartedAtOnceAllComeUp) {
  const int rounds = Setting("VISTELLO_COPY_ROUNDS", 2);
  for (int round = 1; round <= rounds; round++) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    RunningTour copies[4];
    for (RunningTour& copy : copies) {
      ASSERT_TRUE(copy.Started());
    }
    const DWORD begin = GetTickCount();
    int up = 0;
    while (GetTickCount() - begin < 60000) {
      up = 0;
      int ended = 0;
      for (RunningTour& copy : copies) {
        up += copy.MainWindow() != nullptr;
        ended += copy.MainWindow() == nullptr && copy.Ended();
      }
      if (up + ended == 4) {
        break;
      }
      Sleep(50);
    }
    printf("round %d: %d of 4 copies showed their window\n", round, up);
    EXPECT_EQ(up, 4);
    for (RunningTour& copy : copies) {
      if (copy.MainWindow() != nullptr) {
        EXPECT_EQ(copy.Close(), 0u);
      }
    }
  }
}

}  // namespace

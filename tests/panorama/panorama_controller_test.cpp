// The panorama view as a real window under Wine: its operations and their
// limits, scene switches on the animation thread, keyboard and mouse, the
// pixels it puts on the screen, and its teardown.
#include "panorama/panorama_controller.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "panorama/view_pipeline.h"
#include "support/view_harness.h"
#include "tour/tour_description.h"

namespace {

const char kLoading[] = "Loading new scene ...";

class PanoramaView : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { tour = new TourDescription; }
  static void TearDownTestSuite() {
    delete tour;
    tour = nullptr;
  }

  void SetUp() override {
    view.reset(new PanoramaController(&owner));
    ASSERT_TRUE(view->Create(owner.MainWindow()));
    MoveWindow(view->Window(), 0, 0, 322, 202, TRUE);
    listener.reset(new RecordingListener(view.get()));
    view->SetListener(listener.get());
  }

  void TearDown() override { view.reset(); }

  // Requests a scene and waits until the switch has finished: the title is
  // back in the status line after the splash.
  void ShowScene(int index) {
    owner.ClearStatusLog();
    view->RequestScene(tour->Scene(index));
    ASSERT_TRUE(PumpUntil([&] {
      return view->CurrentScene() == tour->Scene(index) &&
             owner.StatusText() == tour->Scene(index)->Title();
    }));
  }

  // Stops all motion and waits until the view has drawn its settled frame.
  void Settle() {
    view->Stop();
    view->StopTilt();
    view->StopZoom();
    PumpMessages(300);
  }

  static TourDescription* tour;
  TestOwner owner;
  std::unique_ptr<PanoramaController> view;
  std::unique_ptr<RecordingListener> listener;
};

TourDescription* PanoramaView::tour = nullptr;

TEST_F(PanoramaView, OperationsLimitTheirValuesAndReportPanSpeeds) {
  ASSERT_FALSE(listener->Log().empty());
  EXPECT_EQ(listener->Log()[0].speed, 0) << "the listener hears the speed at once";
  listener->Clear();

  view->SetPanSpeed(250);
  EXPECT_EQ(view->PanSpeed(), 100);
  view->SetPanSpeed(-250);
  EXPECT_EQ(view->PanSpeed(), -100);
  view->LookLeft();
  EXPECT_EQ(view->PanSpeed(), -4);
  view->LookLeft();
  EXPECT_EQ(view->PanSpeed(), -4) << "looking left twice does not speed up";
  view->LookRight();
  EXPECT_EQ(view->PanSpeed(), 4);
  view->Stop();
  EXPECT_EQ(view->PanSpeed(), 0);
  std::vector<int> heard;
  for (const auto& entry : listener->Log())
    heard.push_back(entry.speed);
  EXPECT_EQ(heard, (std::vector<int>{100, -100, -4, -4, 4, 0}));

  view->SetZoomLevel(-3);
  EXPECT_EQ(view->ZoomLevel(), 0);
  view->SetZoomLevel(20);
  EXPECT_EQ(view->ZoomLevel(), 15);
  view->ZoomInStep();
  EXPECT_EQ(view->ZoomLevel(), 15);
  view->SetZoomLevel(0);
  view->ZoomOutStep();
  EXPECT_EQ(view->ZoomLevel(), 0);

  view->LookUp();
  EXPECT_EQ(view->TiltSpeed(), -8);
  view->LookDown();
  EXPECT_EQ(view->TiltSpeed(), 8);
  view->SetTiltSpeed(-5000);
  EXPECT_EQ(view->TiltSpeed(), -5000) << "the tilt speed is not limited";
}

TEST_F(PanoramaView, SceneRequestSwitchesWithTheSplashAndStartsPanningRight) {
  listener->Clear();
  ShowScene(3);
  const std::vector<std::string> log = owner.StatusLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], kLoading);
  EXPECT_EQ(log[1], "Suite 1");
  EXPECT_EQ(view->ZoomLevel(), 0);

  // The switch told the listener +4 right after placing the pan column.
  ASSERT_FALSE(listener->Log().empty());
  const RecordingListener::Heard switched = listener->Log().back();
  EXPECT_EQ(switched.speed, 4);
  EXPECT_EQ(switched.pan, 1806 / 3 - 160);
  EXPECT_EQ(switched.zoom_level, 0);
  EXPECT_EQ(switched.thread, view->AnimationThreadId());
  EXPECT_EQ(view->WidenedWidth(), 1806);
  EXPECT_EQ(view->Margin(), 303);

  // Auto-panning moves the view right.
  const int pan = view->Pan();
  PumpMessages(300);
  EXPECT_GT(view->Pan(), pan);
}

TEST_F(PanoramaView, RequestingTheShownSceneDoesNothing) {
  ShowScene(1);
  owner.ClearStatusLog();
  view->RequestScene(tour->Scene(1));
  PumpMessages(400);
  EXPECT_TRUE(owner.StatusLog().empty());
  EXPECT_EQ(view->CurrentScene(), tour->Scene(1));
}

TEST_F(PanoramaView, OnlyTheLatestOfSeveralRequestsIsShown) {
  ShowScene(0);
  owner.ClearStatusLog();
  view->RequestScene(tour->Scene(5));
  // While the splash for that request shows, two more requests come in.
  ASSERT_TRUE(PumpUntil([&] { return owner.StatusText() == kLoading; }));
  view->RequestScene(tour->Scene(7));
  view->RequestScene(tour->Scene(8));
  ASSERT_TRUE(PumpUntil([&] { return owner.StatusText() == "Gym"; }));
  PumpMessages(300);
  EXPECT_EQ(owner.StatusLog(), (std::vector<std::string>{kLoading, "Gym"}));
  EXPECT_EQ(view->CurrentScene(), tour->Scene(8));
}

TEST_F(PanoramaView, SpeedsOfOneDoNotMove) {
  ShowScene(2);
  view->SetPanSpeed(1);
  PumpMessages(100);
  const int pan = view->Pan();
  PumpMessages(300);
  EXPECT_EQ(view->Pan(), pan);
  view->SetPanSpeed(-1);
  PumpMessages(300);
  EXPECT_EQ(view->Pan(), pan);
}

TEST_F(PanoramaView, KeyboardDrivesZoomPanAndTilt) {
  HWND window = view->Window();
  auto key_down = [&](WPARAM key) { SendMessageA(window, WM_KEYDOWN, key, 0); };
  auto key_up = [&](WPARAM key) { SendMessageA(window, WM_KEYUP, key, 0); };

  key_down(VK_PRIOR);
  key_down(VK_PRIOR);  // auto-repeat: one step per repeat
  EXPECT_EQ(view->ZoomLevel(), 2);
  key_down(VK_NEXT);
  EXPECT_EQ(view->ZoomLevel(), 1);
  key_down(VK_PRIOR);
  key_down(VK_HOME);
  EXPECT_EQ(view->ZoomLevel(), 0);

  key_down(VK_LEFT);
  EXPECT_EQ(view->PanSpeed(), -4);
  key_down(VK_RIGHT);
  EXPECT_EQ(view->PanSpeed(), 4);
  key_up(VK_RIGHT);
  EXPECT_EQ(view->PanSpeed(), 0);

  // Auto-panning, then an arrow is released: panning stops altogether.
  view->LookRight();
  key_up(VK_LEFT);
  EXPECT_EQ(view->PanSpeed(), 0);

  key_down(VK_UP);
  EXPECT_EQ(view->TiltSpeed(), -8);
  key_down(VK_DOWN);
  EXPECT_EQ(view->TiltSpeed(), 8);
  key_up(VK_UP);
  EXPECT_EQ(view->TiltSpeed(), 0);

  view->SetZoomLevel(3);
  view->LookLeft();
  key_down(VK_END);
  key_down('A');
  key_up(VK_PRIOR);
  EXPECT_EQ(view->ZoomLevel(), 3);
  EXPECT_EQ(view->PanSpeed(), -4);
}

TEST_F(PanoramaView, MouseDragSetsSpeedsFromTheOffset) {
  HWND window = view->Window();
  auto at = [](int x, int y) { return static_cast<LPARAM>(MAKELONG(x, y)); };

  // Movement without the button does nothing.
  SendMessageA(window, WM_MOUSEMOVE, 0, at(200, 150));
  EXPECT_EQ(view->PanSpeed(), 0);

  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 100));
  EXPECT_EQ(GetCapture(), window);
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(130, 90));
  EXPECT_EQ(view->PanSpeed(), 30);
  EXPECT_EQ(view->TiltSpeed(), -10);
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(-150, 100));
  EXPECT_EQ(view->PanSpeed(), -100) << "limited";
  EXPECT_EQ(view->TiltSpeed(), 0);
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(101, 150));
  EXPECT_EQ(view->PanSpeed(), 1);
  EXPECT_EQ(view->TiltSpeed(), 50);

  SendMessageA(window, WM_LBUTTONUP, 0, at(101, 150));
  EXPECT_EQ(view->PanSpeed(), 0);
  EXPECT_EQ(view->TiltSpeed(), 0);
  EXPECT_NE(GetCapture(), window);
}

TEST_F(PanoramaView, ShiftDragZoomsOneLevelPerPixelAndStopsMotion) {
  HWND window = view->Window();
  auto at = [](int x, int y) { return static_cast<LPARAM>(MAKELONG(x, y)); };
  view->LookRight();
  view->LookDown();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(50, 100));
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, at(60, 95));
  EXPECT_EQ(view->ZoomLevel(), 5);
  EXPECT_EQ(view->PanSpeed(), 0);
  EXPECT_EQ(view->TiltSpeed(), 0);
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, at(60, 97));
  EXPECT_EQ(view->ZoomLevel(), 3) << "downwards zooms out";
  // The anchor followed the pointer: an unshifted move pans from x = 60.
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(70, 100));
  EXPECT_EQ(view->PanSpeed(), 10);
  SendMessageA(window, WM_LBUTTONUP, 0, at(70, 100));
}

TEST_F(PanoramaView, LosingTheCaptureKeepsTheSpeeds) {
  HWND window = view->Window();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELONG(100, 100));
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELONG(140, 100));
  EXPECT_EQ(view->PanSpeed(), 40);
  ReleaseCapture();  // another window takes the mouse
  EXPECT_EQ(view->PanSpeed(), 40);
  // The drag is over: further movement changes nothing.
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELONG(180, 100));
  EXPECT_EQ(view->PanSpeed(), 40);
}

TEST_F(PanoramaView, HeldZoomClimbsOneLevelPerTickToTheLimit) {
  ShowScene(4);
  view->Stop();
  std::vector<int> levels = {view->ZoomLevel()};
  view->StartZoomIn();
  ASSERT_TRUE(PumpUntil(
      [&] {
        if (view->ZoomLevel() != levels.back())
          levels.push_back(view->ZoomLevel());
        return levels.back() == 15;
      },
      5000));
  for (size_t i = 1; i < levels.size(); i++) {
    EXPECT_EQ(levels[i], levels[i - 1] + 1) << "no level is skipped";
  }
  PumpMessages(200);
  EXPECT_EQ(view->ZoomLevel(), 15);

  view->StartZoomOut();
  ASSERT_TRUE(PumpUntil([&] { return view->ZoomLevel() == 0; }, 5000));
  view->StopZoom();
  view->SetZoomLevel(6);
  PumpMessages(200);
  EXPECT_EQ(view->ZoomLevel(), 6) << "a stopped zoom stays where it is";
}

// Held at a tilt limit -- a key held down, or a drag resting off-centre --
// the picture cannot move, and the view draws nothing more.
TEST_F(PanoramaView, NothingIsDrawnWhileTheTiltIsHeldAtItsLimit) {
  ShowScene(5);
  Settle();
  const struct {
    int level;
    int tilt_speed;
    int limit;  // ZoomTable margins: -1 at level 0, -56 .. 55 at level 15
  } rows[] = {{0, 8, -1}, {0, -8, -1}, {15, -40, 55}, {15, 40, -56}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "level " << row.level << ", tilt speed " << row.tilt_speed);
    view->SetZoomLevel(row.level);
    view->SetTiltSpeed(row.tilt_speed);
    ASSERT_TRUE(PumpUntil([&] { return view->Tilt() == row.limit; }));
    PumpMessages(100);  // the frame of the last real move
    const LONG frames = view->FramesDrawn();
    PumpMessages(500);  // ten ticks
    EXPECT_EQ(view->FramesDrawn() - frames, 0);
  }
  view->StopTilt();
}

// What the user sees is exactly the frame the core renders for the same
// pan, tilt and zoom, clipped by the client area (318 x 198 inside the
// client edge of the 322 x 202 view).
TEST_F(PanoramaView, ScreenShowsTheRenderedFrame) {
  ShowScene(6);
  ViewPipeline expected;
  ASSERT_TRUE(expected.Prepare(*tour->Scene(6)->Bitmap()));

  struct Setting {
    int zoom_level;
    int tilt_speed;
  } const settings[] = {{0, 0}, {9, 0}, {15, 16}};
  for (const Setting& setting : settings) {
    view->SetZoomLevel(setting.zoom_level);
    view->SetTiltSpeed(setting.tilt_speed);
    PumpMessages(150);
    Settle();
    const int pan = view->Pan();
    const int tilt = view->Tilt();
    const int level = view->ZoomLevel();
    const ScreenPixels screen = ReadClientPixels(view->Window());
    ASSERT_EQ(screen.width, 318);
    ASSERT_EQ(screen.height, 198);
    expected.Render(pan, tilt, level);
    EXPECT_EQ(RowsDiffering(screen, expected.Zoomed()), 0)
        << "rows differing at pan " << pan << ", tilt " << tilt << ", level " << level;
  }
}

// A scene that cannot be prepared (here: no strip at all; out of memory
// takes the same road) leaves an empty view, and the next scene shows.
TEST_F(PanoramaView, SceneThatCannotBePreparedShowsAnEmptyView) {
  SceneRecord empty;
  ASSERT_TRUE(empty.SetTitle("Nothing here"));
  owner.ClearStatusLog();
  view->RequestScene(&empty);
  ASSERT_TRUE(PumpUntil([&] { return owner.StatusText() == "Nothing here"; }));
  PumpMessages(200);
  const ScreenPixels screen = ReadClientPixels(view->Window());
  const COLORREF window_colour = GetSysColor(COLOR_WINDOW);
  int other = 0;
  for (int y = 0; y < screen.height; y += 3) {
    for (int x = 0; x < screen.width; x += 3) {
      const unsigned char* p = screen.At(x, y);
      other += RGB(p[2], p[1], p[0]) != window_colour;
    }
  }
  EXPECT_EQ(other, 0) << "the view is blank, not a stale splash or frame";
  ShowScene(2);
  EXPECT_EQ(view->WidenedWidth(), 1806);
}

TEST_F(PanoramaView, DestroyingDuringTheSplashEndsPromptly) {
  view->RequestScene(tour->Scene(9));
  ASSERT_TRUE(PumpUntil([&] { return owner.StatusText() == kLoading; }));
  const DWORD render_id = view->RenderThreadId();
  const DWORD animation_id = view->AnimationThreadId();
  HANDLE render = OpenThread(THREAD_QUERY_INFORMATION | SYNCHRONIZE, FALSE, render_id);
  HANDLE animation = OpenThread(THREAD_QUERY_INFORMATION | SYNCHRONIZE, FALSE, animation_id);
  ASSERT_NE(render, nullptr);
  ASSERT_NE(animation, nullptr);

  const DWORD start = GetTickCount();
  view.reset();
  const DWORD took = GetTickCount() - start;
  EXPECT_LT(took, 2000u);

  DWORD exit_code = 12345;
  EXPECT_EQ(WaitForSingleObject(render, 0), WAIT_OBJECT_0);
  GetExitCodeThread(render, &exit_code);
  EXPECT_EQ(exit_code, 0u) << "the render thread ended by itself";
  EXPECT_EQ(WaitForSingleObject(animation, 0), WAIT_OBJECT_0);
  GetExitCodeThread(animation, &exit_code);
  EXPECT_EQ(exit_code, 0u) << "the animation thread ended by itself";
  CloseHandle(render);
  CloseHandle(animation);
}

// The owner lays the view out once, around the first scene switch: before
// it starts, or while it runs (here: right as it begins, with the scene
// lock held). Either way the user sees the splash centred in the whole
// view, then the scene's first frame at W'/3 - 160 = 442, already on the
// screen when its title appears, and the scene stays there when nothing
// moves it -- no later resize puts it back to the middle.
TEST(PanoramaViewStartUp, SplashIsCentredAndTheFirstPanKeptWhateverTheOrderOfFirstResize) {
  TourDescription tour;
  ViewPipeline expected;
  ASSERT_TRUE(expected.Prepare(*tour.Scene(0)->Bitmap()));
  expected.Render(442, 0, 0);
  for (const bool during_switch : {false, true}) {
    SCOPED_TRACE(during_switch ? "resized during the switch" : "resized before the switch");
    TestOwner owner;
    PanoramaController view(&owner);
    ASSERT_TRUE(view.Create(owner.MainWindow()));
    ScreenPixels at_title;
    int pan_at_title = -1;
    owner.OnStatusText([&](const std::string& text) {
      if (text == kLoading && during_switch) {
        MoveWindow(view.Window(), 0, 0, 322, 202, TRUE);
      } else if (text == "Front Desk") {
        // The switch is done but holds the scene lock: nothing has moved
        // the view since its first frame.
        pan_at_title = view.Pan();
        at_title = ReadClientPixels(view.Window());
        view.Stop();
      }
    });
    if (!during_switch) {
      MoveWindow(view.Window(), 0, 0, 322, 202, TRUE);
    }
    view.RequestScene(tour.Scene(0));
    int splash_seen = 0;
    ASSERT_TRUE(PumpUntil([&] {
      const ScreenPixels screen = ReadClientPixels(view.Window());
      splash_seen += screen.width == 318 && screen.height == 198 &&
                     PixelsDiffering(screen, CentredSplash(318, 198)) == 0;
      return owner.StatusText() == "Front Desk";
    }));
    PumpMessages(500);  // ten ticks: room for a resize still pending to do harm

    EXPECT_GT(splash_seen, 0);
    EXPECT_EQ(pan_at_title, 442);
    EXPECT_EQ(view.Pan(), 442);
    ASSERT_EQ(at_title.width, 318);
    ASSERT_EQ(at_title.height, 198);
    EXPECT_EQ(RowsDiffering(at_title, expected.Zoomed()), 0);
    owner.OnStatusText(nullptr);
  }
}

// The owner lays the view out once, while the first scene is switching in.
TEST(PanoramaViewStartUp, FirstResizeDuringTheFirstSwitchDoesNotDeadlock) {
  TourDescription tour;
  TestOwner owner;
  PanoramaController view(&owner);
  ASSERT_TRUE(view.Create(owner.MainWindow()));
  view.RequestScene(tour.Scene(0));
  ASSERT_TRUE(PumpUntil([&] { return owner.StatusText() == kLoading; }));

  const DWORD start = GetTickCount();
  MoveWindow(view.Window(), 0, 0, 322, 202, TRUE);
  EXPECT_LT(GetTickCount() - start, 500u) << "the resize does not wait for the switch";

  ASSERT_TRUE(PumpUntil([&] { return owner.StatusText() == "Front Desk"; }));
  view.Stop();
  PumpMessages(400);
  // The buffer was rebuilt at the new size: the frame reaches the far corner.
  const ScreenPixels screen = ReadClientPixels(view.Window());
  ASSERT_EQ(screen.width, 318);
  std::set<int> colours;
  for (int y = 150; y < 198; y++) {
    for (int x = 250; x < 318; x++) {
      const unsigned char* p = screen.At(x, y);
      colours.insert(p[0] << 16 | p[1] << 8 | p[2]);
    }
  }
  EXPECT_GT(colours.size(), 20u) << "a picture, not the window colour";
}

}  // namespace

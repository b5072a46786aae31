// Thousands of random key, mouse, scene-request and resize events against a
// running view, then teardown: nothing hangs, nothing crashes, and both
// worker threads end by themselves.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>

#include "panorama/panorama_controller.h"
#include "support/view_harness.h"
#include "tour/tour_description.h"

namespace {

TEST(PanoramaStress, RandomEventsThenTeardown) {
  TourDescription tour;
  TestOwner owner;
  auto* view = new PanoramaController(&owner);
  ASSERT_TRUE(view->Create(owner.MainWindow()));
  RecordingListener listener(view);
  view->SetListener(&listener);
  MoveWindow(view->Window(), 0, 0, 322, 202, TRUE);
  HWND window = view->Window();

  std::mt19937 random(20261208);
  auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const WPARAM keys[] = {VK_PRIOR, VK_NEXT, VK_HOME, VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_END};
  int events = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 4000) {
    for (int burst = 0; burst < 20; burst++, events++) {
      const LPARAM point = MAKELONG(pick(-50, 400), pick(-50, 300));
      switch (pick(0, 9)) {
        case 0:
          SendMessageA(window, WM_KEYDOWN, keys[pick(0, 7)], 0);
          break;
        case 1:
          SendMessageA(window, WM_KEYUP, keys[pick(0, 7)], 0);
          break;
        case 2:
          SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
          break;
        case 3:
          SendMessageA(window, WM_MOUSEMOVE, pick(0, 1) ? MK_LBUTTON : MK_LBUTTON | MK_SHIFT,
                       point);
          break;
        case 4:
          SendMessageA(window, WM_LBUTTONUP, 0, point);
          break;
        case 5:
          view->RequestScene(tour.Scene(pick(0, 9)));
          break;
        case 6:
          MoveWindow(window, 0, 0, pick(0, 400), pick(0, 300), TRUE);
          break;
        case 7:
          view->SetZoomSpeed(pick(-1, 1));
          break;
        case 8:
          InvalidateRect(window, nullptr, TRUE);
          break;
        default:
          view->RealizeHalftone(pick(0, 1) == 1);
          break;
      }
    }
    PumpMessages(10);
  }
  EXPECT_GT(events, 2000);

  HANDLE render = OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, view->RenderThreadId());
  HANDLE animation =
      OpenThread(SYNCHRONIZE | THREAD_QUERY_INFORMATION, FALSE, view->AnimationThreadId());
  ASSERT_NE(render, nullptr);
  ASSERT_NE(animation, nullptr);
  EXPECT_EQ(WaitForSingleObject(render, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "still running";

  delete view;
  DWORD exit_code = 1;
  ASSERT_EQ(WaitForSingleObject(render, 0), WAIT_OBJECT_0);
  GetExitCodeThread(render, &exit_code);
  EXPECT_EQ(exit_code, 0u);
  ASSERT_EQ(WaitForSingleObject(animation, 0), WAIT_OBJECT_0);
  GetExitCodeThread(animation, &exit_code);
  EXPECT_EQ(exit_code, 0u);
  CloseHandle(render);
  CloseHandle(animation);
}

}  // namespace

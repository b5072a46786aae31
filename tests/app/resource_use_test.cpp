// Nothing grows with use: repeated scene preparations, box openings and
// toolbar paints leave the process's heap where it was. (Wine's
// GetGuiResources always answers 0, but Wine keeps GDI objects, DCs and
// window data on the process heap, so a leaked handle shows there too.)
#include <windows.h>

#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/viewer_app.h"
#include "dialogs/information_dialogs.h"
#include "panorama/panorama_controller.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"

namespace {

// Bytes in use on every heap of the process.
size_t HeapBytesInUse() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  size_t used = 0;
  for (DWORD i = 0; i < count && i < 64; i++) {
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heaps[i]);
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
        used += entry.cbData;
      }
    }
    HeapUnlock(heaps[i]);
  }
  return used;
}

BOOL CALLBACK PressOkOnBoxes(HWND window, LPARAM) {
  char name[16] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpA(name, "#32770") == 0) {
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }
  return TRUE;
}

// Closes whatever box the main window has open, from inside its modal loop.
VOID CALLBACK CloseOpenBox(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), PressOkOnBoxes, 0);
}

class ResourceUse : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    app = ViewerApp::Instance(GetModuleHandleA(nullptr));
    ASSERT_TRUE(app->Initialize(SW_SHOW));
    ASSERT_TRUE(PumpUntil([] { return app->Panorama()->CurrentScene() != nullptr; }));
    PumpMessages(1500);
  }
  static void TearDownTestSuite() {
    DestroyWindow(app->Window());
    PumpMessages(100);
    delete app;
  }

  // Runs a batch three times and returns the heap growth over the last two
  // (the first warms up caches).
  template <typename Batch>
  static long GrowthOver(Batch batch) {
    batch();
    const size_t before = HeapBytesInUse();
    batch();
    batch();
    return static_cast<long>(HeapBytesInUse()) - static_cast<long>(before);
  }

  static ViewerApp* app;
};

ViewerApp* ResourceUse::app = nullptr;

TEST_F(ResourceUse, ScenePreparationsDoNotGrow) {
  // Every resize re-prepares the scene: strip, tables, frames, buffer.
  HWND view = app->Panorama()->Window();
  const long growth = GrowthOver([&] {
    for (int i = 0; i < 10; i++) {
      MoveWindow(view, 0, 44, 322 - (i % 2), 202, TRUE);
      PumpMessages(80);
    }
  });
  EXPECT_LT(growth, 16 * 1024) << "a widened strip alone is 1 MB";
}

TEST_F(ResourceUse, ToolbarPaintsDoNotGrow) {
  const long growth = GrowthOver([&] {
    for (int i = 0; i < 100; i++) {
      InvalidateRect(app->Toolbar(), nullptr, TRUE);
      UpdateWindow(app->Toolbar());
    }
  });
  EXPECT_LT(growth, 8 * 1024) << "200 paints, each making 6 DCs and 5 bitmaps";
}

// Wine's EDIT control keeps the text it was given after it is destroyed
// (measured here: exactly the text's length per control), so the growth
// that the same text in a bare edit control causes is the platform's, not
// the box's. Returns it for count controls.
long EditControlGrowth(HWND parent, const char* text, int count) {
  const size_t before = HeapBytesInUse();
  for (int i = 0; i < count; i++) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 100,
                                100, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowTextA(edit, text);
    DestroyWindow(edit);
  }
  return static_cast<long>(HeapBytesInUse()) - static_cast<long>(before);
}

TEST_F(ResourceUse, BoxOpeningsDoNotGrow) {
  const int kHelp[] = {IDS_HELP_OVERVIEW, IDS_HELP_FEATURES, IDS_HELP_DOWNLOADING, IDS_HELP_SHARING,
                       IDS_HELP_SYSTEMS,  IDS_HELP_CONTACT,  IDS_HELP_TRADEMARKS};
  const int kAboutMaker[] = {IDS_ABOUT_MAKER_TITLE, IDS_ABOUT_MAKER_BUSINESS,
                             IDS_ABOUT_MAKER_LEARN_MORE, IDS_ABOUT_MAKER_TERMS,
                             IDS_ABOUT_MAKER_COPYRIGHT};
  char* help = JoinStrings(GetModuleHandleA(nullptr), kHelp, 7);
  char* about_maker = JoinStrings(GetModuleHandleA(nullptr), kAboutMaker, 5);
  ASSERT_NE(help, nullptr);
  ASSERT_NE(about_maker, nullptr);
  struct Box {
    int command;
    const char* text_box;  // the text of its edit control, if it has one
  } const boxes[] = {{CMD_CONTACT, nullptr},
                     {CMD_HELP, help},
                     {CMD_ABOUT_MAKER, about_maker},
                     {CMD_ABOUT_TOUR, nullptr}};
  for (const Box& box : boxes) {
    const long growth = GrowthOver([&] {
      for (int i = 0; i < 5; i++) {
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, CloseOpenBox);
        SendMessageA(app->Window(), WM_COMMAND, MAKEWPARAM(box.command, 0), 0);
        KillTimer(nullptr, timer);
      }
    });
    const long platform = box.text_box ? EditControlGrowth(app->Window(), box.text_box, 10) : 0;
    EXPECT_LT(growth - platform, 2048) << "box " << box.command << ": grew " << growth
                                       << " bytes, of which the edit control " << platform;
  }
  free(help);
  free(about_maker);
}

}  // namespace

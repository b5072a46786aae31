// The application object with the demo tour, as the user meets it: the
// fixed main window and its children where the layout puts them, the first
// scene, the toolbar showing the pan direction, and every command row.
#include "app/viewer_app.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window_layout.h"
#include "panorama/panorama_controller.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"

namespace {

const char* const kTitles[] = {"Front Desk", "Conference Rm.", "Conference Rm2.", "Suite 1",
                               "Suite 2",    "Dining Room",    "Lounge",          "Bar",
                               "Gym",        "Pool Area"};

class Viewer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    app = ViewerApp::Instance(GetModuleHandleA(nullptr));
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(app->Initialize(SW_SHOW));
    // The first scene has switched in once its title is back after the splash.
    ASSERT_TRUE(PumpUntil(
        [] { return app->Panorama()->CurrentScene() != nullptr && StatusText() == "Front Desk"; }));
    PumpMessages(200);
  }
  static void TearDownTestSuite() {
    if (app != nullptr && IsWindow(app->Window())) {
      DestroyWindow(app->Window());
    }
    PumpMessages(100);
    delete app;
    app = nullptr;
  }

  static std::string StatusText() {
    char text[256] = "";
    GetWindowTextA(app->StatusLine(), text, sizeof text);
    return text;
  }
  static std::string TextOf(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  static std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
  }
  static LRESULT Command(int id, int code = 0, HWND from = nullptr) {
    return SendMessageA(app->Window(), WM_COMMAND, MAKEWPARAM(id, code),
                        reinterpret_cast<LPARAM>(from));
  }
  static bool Pressed(int command) {
    return (SendMessageA(app->Toolbar(), TB_GETSTATE, command, 0) & TBSTATE_PRESSED) != 0;
  }
  // The three pan buttons: which of left, stop, right show pressed.
  static std::vector<bool> PanButtons() {
    return {Pressed(CMD_LOOK_LEFT), Pressed(CMD_STOP), Pressed(CMD_LOOK_RIGHT)};
  }
  // A child's rectangle in the main window's client coordinates.
  static RECT PlaceOf(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, app->Window(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  // The main window's static line showing text (two lines share an id).
  static HWND LineWithText(const std::string& text) {
    for (HWND child = GetWindow(app->Window(), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (TextOf(child) == text) {
        return child;
      }
    }
    return nullptr;
  }
  // Chooses list entry index as the user does.
  static void Choose(int index) {
    SendMessageA(app->SceneList(), LB_SETCURSEL, index, 0);
    Command(ID_SCENE_LIST, LBN_SELCHANGE, app->SceneList());
  }
  static int Height(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
  }

  static ViewerApp* app;
};

ViewerApp* Viewer::app = nullptr;

TEST_F(Viewer, MainWindowHasAFixedSize) {
  RECT outside;
  GetWindowRect(app->Window(), &outside);
  EXPECT_EQ(outside.right - outside.left, 534);
  EXPECT_EQ(outside.bottom - outside.top, 321);
  const LONG style = GetWindowLongA(app->Window(), GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME) << "cannot be resized";
  EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "cannot be maximised";
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_EQ(TextOf(app->Window()), "Orvo Vistello");
  EXPECT_EQ(ClassOf(app->Window()), "STANDALONEVIEWER");
  EXPECT_EQ(ViewerApp::Current(), app);
}

TEST_F(Viewer, ChildrenHaveTheirIdsClassesTextsAndFonts) {
  struct Expected {
    int id;
    const char* window_class;
    const char* text;
    HFONT font;
  };
  const MainWindowFonts& fonts = app->Fonts();
  const Expected children[] = {
      {ID_SCENE_LIST, "ListBox", nullptr, fonts.Normal()},
      {ID_LISTING, "Static", "MLS# 4471920", fonts.Normal()},
      {ID_PRESENTED_BY, "Static", "Presented by: ", fonts.Small()},
      {ID_PRESENTER_NAME, "Static", "Dana Whitfield", fonts.Bold()},
      {ID_PRESENTER_COMPANY, "Static", "Harbor Point Realty", fonts.Normal()},
      {ID_SEPARATOR, "Static", "", nullptr},
      {ID_PANORAMA, "PANORAMACONTROLLER", "", nullptr},
      {ID_STATUS, "msctls_statusbar32", nullptr, nullptr},
      {ID_TOOLBAR, "ToolbarWindow32", nullptr, nullptr},
  };
  for (const Expected& expected : children) {
    HWND child = GetDlgItem(app->Window(), expected.id);
    ASSERT_NE(child, nullptr) << expected.id;
    EXPECT_STRCASEEQ(ClassOf(child).c_str(), expected.window_class) << expected.id;
    if (expected.text != nullptr) {
      EXPECT_EQ(TextOf(child), expected.text) << expected.id;
    }
    if (expected.font != nullptr) {
      EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)), expected.font)
          << expected.id;
    }
  }
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(app->Window(), ID_SEPARATOR), GWL_STYLE) & SS_ETCHEDHORZ);
  // The tour's texts show an ampersand as typed.
  for (int id : {ID_LISTING, ID_PRESENTER_NAME, ID_PRESENTER_COMPANY}) {
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(app->Window(), id), GWL_STYLE) & SS_NOPREFIX) << id;
  }
  const LONG list_style = GetWindowLongA(app->SceneList(), GWL_STYLE);
  EXPECT_TRUE(list_style & LBS_NOTIFY);
  EXPECT_TRUE(list_style & WS_VSCROLL);
  EXPECT_FALSE(list_style & LBS_SORT) << "list index = scene index";

  // Two lines share id 10004: the label "Select scene:" (small font) and
  // the location (large bold font).
  std::vector<std::string> labels;
  for (HWND child = GetWindow(app->Window(), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == ID_LABEL) {
      labels.push_back(TextOf(child));
      const HFONT font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
      EXPECT_EQ(font, TextOf(child) == "Select scene:" ? fonts.Small() : fonts.LargeBold());
    }
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"Select scene:", "Port Ellery, ME"}));
  EXPECT_EQ(GetDlgItem(app->Window(), ID_ECOMMERCE_PANEL), nullptr) << "not in the demo tour";
  EXPECT_EQ(GetDlgItem(app->Window(), ID_ECOMMERCE_LOGO), nullptr);
}

// Every child at its fixed offset from the top of the content area (just
// below the measured toolbar): the numbers of the window's design, written
// out here rather than taken from the layout code.
TEST_F(Viewer, ChildrenSitAtTheirFixedOffsets) {
  RECT client;
  GetClientRect(app->Window(), &client);
  const int top = Height(app->Toolbar());
  const int status_height = Height(app->StatusLine());
  EXPECT_GT(top, 38);
  EXPECT_GT(status_height, 0);
  RECT content;
  app->ContentRect(&content);
  EXPECT_EQ(content.top, top);
  EXPECT_EQ(content.bottom, client.bottom - status_height);

  const int column = 328;                   // 6 pixels right of the 322-pixel view
  const int width = client.right - column;  // the right column, about 200 pixels
  const struct {
    const char* what;
    HWND window;
    int x, y, cx, cy;
  } rows[] = {
      {"separator", GetDlgItem(app->Window(), ID_SEPARATOR), 0, top, client.right, 2},
      {"panorama", app->Panorama()->Window(), 0, top + 4, 322, 202},
      {"location", LineWithText("Port Ellery, ME"), column, top + 4, width, 17},
      {"listing", GetDlgItem(app->Window(), ID_LISTING), column, top + 21, width, 17},
      {"select scene", LineWithText("Select scene:"), column, top + 38, width, 14},
      {"scene list", app->SceneList(), column, top + 52, width, 82},
      {"presented by", GetDlgItem(app->Window(), ID_PRESENTED_BY), column, top + 134, width - 2,
       14},
      {"presenter name", GetDlgItem(app->Window(), ID_PRESENTER_NAME), column, top + 148, width - 2,
       17},
      {"presenter company", GetDlgItem(app->Window(), ID_PRESENTER_COMPANY), column, top + 165,
       width - 2, 17},
      {"status line", app->StatusLine(), 0, client.bottom - status_height, client.right,
       status_height},
  };
  const int item = static_cast<int>(SendMessageA(app->SceneList(), LB_GETITEMHEIGHT, 0, 0));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_NE(row.window, nullptr);
    const RECT rect = PlaceOf(row.window);
    EXPECT_EQ(rect.left, row.x);
    EXPECT_EQ(rect.top, row.y);
    EXPECT_EQ(rect.right - rect.left, row.cx);
    if (row.window == app->SceneList()) {
      // The list box keeps to whole entries: it may come out up to one
      // entry short of its height.
      EXPECT_LE(rect.bottom - rect.top, row.cy);
      EXPECT_GT(rect.bottom - rect.top, row.cy - item);
    } else {
      EXPECT_EQ(rect.bottom - rect.top, row.cy);
    }
  }
}

TEST(MainWindowLayout, LogoNarrowsThePresenterLinesAndThePanelFollowsTheView) {
  const MainWindowLayout layout = ComputeMainWindowLayout(Area{0, 0, 528, 360}, 44, 20, 64, 48, 40);
  EXPECT_EQ(layout.ecommerce_panel.x, 0);
  EXPECT_EQ(layout.ecommerce_panel.y, 44 + 206);
  EXPECT_EQ(layout.ecommerce_panel.width, 528);
  EXPECT_EQ(layout.ecommerce_panel.height, 64);
  EXPECT_EQ(layout.ecommerce_logo.x, 528 - 48 - 2);
  EXPECT_EQ(layout.ecommerce_logo.y, 44 + 134);
  EXPECT_EQ(layout.ecommerce_logo.width, 48);
  EXPECT_EQ(layout.ecommerce_logo.height, 40);
  EXPECT_EQ(layout.presenter_name.width, 528 - 328 - 2 - 48);
  EXPECT_EQ(layout.location.width, 528 - 328) << "lines above the logo keep the full width";
  EXPECT_EQ(layout.status_line.y, 340);

  // Minimised: the client area is empty and the widths go negative, which
  // the system treats as empty windows.
  const MainWindowLayout minimised = ComputeMainWindowLayout(Area{0, 0, 0, 0}, 0, 0, 0, 0, 0);
  EXPECT_LT(minimised.location.width, 0);
}

TEST_F(Viewer, StartsWithTheFirstSceneSelectedAndThePanoramaFocused) {
  ASSERT_EQ(SendMessageA(app->SceneList(), LB_GETCOUNT, 0, 0), 10);
  for (int i = 0; i < 10; i++) {
    char text[64] = "";
    SendMessageA(app->SceneList(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, kTitles[i]);
  }
  EXPECT_EQ(SendMessageA(app->SceneList(), LB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(SendMessageA(app->SceneList(), LB_GETTOPINDEX, 0, 0), 0);
  EXPECT_EQ(StatusText(), "Front Desk");
  EXPECT_STREQ(app->CurrentTitle(), "Front Desk");
  EXPECT_EQ(app->Panorama()->CurrentScene(), app->Tour().Scene(0));
  EXPECT_EQ(GetFocus(), app->Panorama()->Window());
  EXPECT_EQ(PanButtons(), (std::vector<bool>{false, false, true})) << "look right pressed";
}

TEST_F(Viewer, ChoosingASceneSwitchesTheViewAndGivesItTheFocus) {
  SetFocus(app->SceneList());
  SendMessageA(app->SceneList(), LB_SETCURSEL, 6, 0);
  EXPECT_EQ(Command(ID_SCENE_LIST, LBN_SELCHANGE, app->SceneList()), 0);
  EXPECT_EQ(GetFocus(), app->Panorama()->Window());
  EXPECT_EQ(StatusText(), "Lounge");
  ASSERT_TRUE(PumpUntil([] {
    return app->Panorama()->CurrentScene() == app->Tour().Scene(6) && StatusText() == "Lounge";
  }));
  EXPECT_STREQ(app->CurrentTitle(), "Lounge");
  ASSERT_NE(app->CurrentLinkQuery(), nullptr);
  EXPECT_STREQ(app->CurrentLinkQuery(), "");

  // Other notifications of the list do nothing.
  SetFocus(app->SceneList());
  SendMessageA(app->SceneList(), LB_SETCURSEL, 2, 0);
  EXPECT_EQ(Command(ID_SCENE_LIST, LBN_DBLCLK, app->SceneList()), 0);
  EXPECT_EQ(GetFocus(), app->SceneList());
  PumpMessages(150);
  EXPECT_EQ(app->Panorama()->CurrentScene(), app->Tour().Scene(6));

  // Choosing the shown scene again keeps its texts and switches nothing.
  app->SelectScene(6);
  EXPECT_STREQ(app->CurrentTitle(), "Lounge");
  EXPECT_EQ(StatusText(), "Lounge");
  PumpMessages(150);
  EXPECT_EQ(StatusText(), "Lounge") << "no splash for the scene already shown";
}

// A change of mind while the splash shows: the latest choice wins, even
// when it is the scene still shown, and what the user reads agrees with it.
TEST_F(Viewer, ChangeOfMindDuringTheSplashEndsOnTheLatestChoice) {
  PanoramaController* view = app->Panorama();
  int shown = 0;
  while (shown < 10 && app->Tour().Scene(shown) != view->CurrentScene()) {
    shown++;
  }
  ASSERT_LT(shown, 10);
  Choose((shown + 1) % 10);
  ASSERT_TRUE(PumpUntil([] { return StatusText() == "Loading new scene ..."; }));
  const LONG frames = view->FramesDrawn();  // none is drawn during the splash
  Choose(shown);
  // Settled: the switch is over and the view draws again.
  ASSERT_TRUE(PumpUntil([&] { return view->FramesDrawn() > frames; }, 10000));
  PumpMessages(200);

  const SceneRecord* scene = app->Tour().Scene(shown);
  EXPECT_EQ(view->CurrentScene(), scene);
  EXPECT_EQ(StatusText(), kTitles[shown]);
  EXPECT_EQ(SendMessageA(app->SceneList(), LB_GETCURSEL, 0, 0), shown);
  EXPECT_STREQ(app->CurrentTitle(), kTitles[shown]);
  EXPECT_STREQ(app->CurrentLinkQuery(), scene->LinkQuery());
}

TEST_F(Viewer, PanButtonsDriveTheViewAndShowItsDirection) {
  PanoramaController* view = app->Panorama();
  EXPECT_EQ(Command(CMD_LOOK_LEFT), 0);
  EXPECT_EQ(view->PanSpeed(), -4);
  EXPECT_EQ(PanButtons(), (std::vector<bool>{true, false, false}));
  Command(CMD_LOOK_LEFT);
  EXPECT_EQ(view->PanSpeed(), -4) << "the speed does not grow";
  Command(CMD_STOP);
  EXPECT_EQ(view->PanSpeed(), 0);
  EXPECT_EQ(PanButtons(), (std::vector<bool>{false, true, false}));
  const int pan = view->Pan();
  PumpMessages(200);
  EXPECT_EQ(view->Pan(), pan) << "stopped";
  Command(CMD_LOOK_RIGHT);
  EXPECT_EQ(view->PanSpeed(), 4);
  EXPECT_EQ(PanButtons(), (std::vector<bool>{false, false, true}));
  // Speeds set elsewhere (keyboard, drag) show on the toolbar too.
  SendMessageA(view->Window(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(PanButtons(), (std::vector<bool>{true, false, false}));
  SendMessageA(view->Window(), WM_KEYUP, VK_LEFT, 0);
  EXPECT_EQ(PanButtons(), (std::vector<bool>{false, true, false}));
}

TEST_F(Viewer, ZoomButtonsStepAndStopAtTheirBounds) {
  PanoramaController* view = app->Panorama();
  view->SetZoomLevel(0);
  EXPECT_EQ(Command(CMD_ZOOM_OUT), 0);
  EXPECT_EQ(view->ZoomLevel(), 0);
  Command(CMD_ZOOM_IN);
  Command(CMD_ZOOM_IN);
  EXPECT_EQ(view->ZoomLevel(), 2);
  view->SetZoomLevel(15);
  Command(CMD_ZOOM_IN);
  EXPECT_EQ(view->ZoomLevel(), 15);
  Command(CMD_ZOOM_OUT);
  EXPECT_EQ(view->ZoomLevel(), 14);
  view->SetZoomLevel(0);
}

TEST_F(Viewer, UnusedAndUnknownCommandsDoNothing) {
  PanoramaController* view = app->Panorama();
  Command(CMD_LOOK_RIGHT);
  view->SetZoomLevel(3);
  for (int id : {CMD_UNUSED_32774, CMD_UNUSED_32784, CMD_UNUSED_32785, 4242, 32786}) {
    EXPECT_EQ(Command(id), 0) << id;
  }
  EXPECT_EQ(view->PanSpeed(), 4);
  EXPECT_EQ(view->ZoomLevel(), 3);
  EXPECT_TRUE(IsWindowEnabled(app->Window())) << "no box opened";
  EXPECT_TRUE(IsWindow(app->Window()));
  view->SetZoomLevel(0);
}

TEST_F(Viewer, MouseOverTheBareWindowRestoresTheTitle) {
  app->SetStatusText("something else");
  EXPECT_EQ(StatusText(), "something else");
  SendMessageA(app->Window(), WM_MOUSEMOVE, 0, MAKELONG(500, 300));
  EXPECT_EQ(StatusText(), app->CurrentTitle());
}

TEST_F(Viewer, FocusGivenToTheMainWindowGoesToTheView) {
  SetFocus(app->SceneList());
  SetFocus(app->Window());
  EXPECT_EQ(GetFocus(), app->Panorama()->Window());
}

TEST_F(Viewer, PaletteMessagesReachTheView) {
  SendMessageA(app->Window(), WM_QUERYNEWPALETTE, 0, 0);
  SendMessageA(app->Window(), WM_PALETTECHANGED, reinterpret_cast<WPARAM>(GetDesktopWindow()), 0);
  SendMessageA(app->Window(), WM_PALETTECHANGED, reinterpret_cast<WPARAM>(app->Window()), 0);
  PumpMessages(100);
  EXPECT_TRUE(IsWindow(app->Panorama()->Window()));
}

// Last: File > Exit ends the message loop with 0 and takes the window along.
TEST_F(Viewer, ExitEndsTheMessageLoopWithZero) {
  PostMessageA(app->Window(), WM_COMMAND, MAKEWPARAM(CMD_EXIT, 0), 0);
  EXPECT_EQ(app->Run(), 0);
  EXPECT_FALSE(IsWindow(app->Window()));
}

}  // namespace

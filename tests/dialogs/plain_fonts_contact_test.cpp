// Run in a Wine prefix without the Arial mapping: with no "Arial" face the
// application cuts its four fonts from the system's default face, and the
// contact box still shows the presenter in them.
#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>

#include "app/viewer_app.h"
#include "dialogs/modal_probe.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"

namespace {

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool SystemHasArial() {
  LOGFONTA wanted = {};
  wanted.lfCharSet = DEFAULT_CHARSET;
  strcpy(wanted.lfFaceName, "Arial");
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

TEST(ContactBoxWithoutArial, ApplicationFontsFallBackAndTheBoxShowsThem) {
  ASSERT_FALSE(SystemHasArial()) << "this prefix still maps Arial";

  ViewerApp* app = ViewerApp::Instance(GetModuleHandleA(nullptr));
  ASSERT_NE(app, nullptr);
  ASSERT_TRUE(app->Initialize(SW_SHOW));

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const MainWindowFonts& fonts = app->Fonts();
  const struct {
    HFONT font;
    int points;
    LONG weight;
  } made[] = {{fonts.Normal(), 8, FW_NORMAL},
              {fonts.Bold(), 8, FW_BOLD},
              {fonts.LargeBold(), 10, FW_BOLD},
              {fonts.Small(), 7, FW_NORMAL}};
  for (const auto& expected : made) {
    SCOPED_TRACE(expected.points);
    ASSERT_NE(expected.font, nullptr);
    LOGFONTA description = {};
    ASSERT_EQ(GetObjectA(expected.font, sizeof description, &description),
              static_cast<int>(sizeof description));
    EXPECT_EQ(description.lfHeight, -MulDiv(expected.points, dpi, 72));
    EXPECT_EQ(description.lfWeight, expected.weight);
    EXPECT_STRNE(description.lfFaceName, "Arial");
  }

  DialogView box = {};
  int seen = 0;
  {
    ModalProbe probe([&box](HWND dialog) {
      box = ReadDialog(dialog);
      return ClickOk(dialog);
    });
    SendMessageA(app->Window(), WM_COMMAND, MAKEWPARAM(CMD_CONTACT, 0), 0);
    seen = probe.DialogsSeen();
    EXPECT_FALSE(probe.ClosedByForce());
  }
  ASSERT_EQ(seen, 1);
  EXPECT_EQ(box.caption, "Contact Information");
  ASSERT_NE(box.Control(1015), nullptr);
  EXPECT_EQ(box.Control(1015)->text, app->Tour().presenter_name);
  EXPECT_EQ(box.Control(1015)->font, fonts.LargeBold());
  EXPECT_EQ(box.Control(1016)->font, fonts.Bold());
  EXPECT_EQ(box.Control(1025)->font, fonts.Small());
  EXPECT_EQ(box.focus_id, IDOK);

  DestroyWindow(app->Window());
  PumpMessages(100);
  delete app;
}

}  // namespace

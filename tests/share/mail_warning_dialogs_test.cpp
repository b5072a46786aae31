// The warning dialogs 161 to 164, run with MailWarningDialogProc from their
// templates and read back while they are up: caption, frame, font, size,
// and every control's id, kind, text and place, in template (tab) order.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "share/dialog_driver.h"
#include "share/registry_state.h"
#include "share/send_to_friend.h"
#include "share/share_test_support.h"

namespace {

const char kFlagKey[] = "Software\\Orvo\\Vistello";
const char kFlagValue[] = "NoEmailMessageBox";

const char kDoesNotWork[] =
    "\"Send to a Friend\" does not work on AOL(tm), CompuServe(tm), or web-based email "
    "applications like YahooMail(tm) or Hotmail(tm).";
const char kDoNotShow[] = "Do not show this message again.";
const char kTrademarks[] =
    "All trademarks and service marks contained above are the property of their respective "
    "owners";

enum class Kind { kDefaultButton, kButton, kCheckBox, kText, kCentredText, kIcon, kEtchedLine };

struct ExpectedControl {
  int id;
  Kind kind;
  const char* text;
  short x, y, cx, cy;
};

struct ExpectedDialog {
  int id;
  short cx, cy;
  std::vector<ExpectedControl> controls;  // in template order
};

const std::vector<ExpectedDialog>& Dialogs() {
  static const std::vector<ExpectedDialog> dialogs = {
      {161,
       315,
       116,
       {{6, Kind::kDefaultButton, "Yes", 208, 79, 50, 14},
        {7, Kind::kButton, "No", 261, 79, 50, 14},
        {-1, Kind::kText, kDoesNotWork, 44, 7, 267, 19},
        {1028, Kind::kCheckBox, kDoNotShow, 43, 79, 157, 12},
        {1029, Kind::kIcon, nullptr, 10, 9, 20, 20},
        {-1, Kind::kCentredText, kTrademarks, 3, 104, 308, 9},
        {-1, Kind::kEtchedLine, "", 3, 101, 308, 1},
        {-1, Kind::kText,
         "We have detected an email application on your computer that we will try to use. You "
         "need to have an email application like Outlook(tm), Outlook Express(tm), Eudora(tm) "
         "for\"Send to a Friend\" to work.",
         44, 31, 267, 25},
        {-1, Kind::kText, "Do you still want to try to \"Send to a Friend\"?", 44, 62, 267, 10}}},
      {162,
       315,
       94,
       {{6, Kind::kDefaultButton, "Yes", 205, 56, 50, 14},
        {7, Kind::kButton, "No", 258, 56, 50, 14},
        {-1, Kind::kText,
         "We have detected an email application on your computer that we will try to use. You "
         "need an email application like Outlook(tm), Outlook Express(tm), Eudora(tm) for \"Send "
         "to a Friend\" to work.\n\nDo you still want to try to \"Send to a Friend\"?",
         43, 7, 265, 45},
        {1028, Kind::kCheckBox, kDoNotShow, 44, 56, 142, 12},
        {1029, Kind::kIcon, nullptr, 10, 9, 20, 20},
        {-1, Kind::kCentredText, kTrademarks, 3, 81, 306, 9},
        {-1, Kind::kEtchedLine, "", 5, 78, 306, 1}}},
      {163,
       316,
       105,
       {{1, Kind::kDefaultButton, "OK", 133, 65, 50, 14},
        {-1, Kind::kText, kDoesNotWork, 44, 7, 265, 22},
        {1029, Kind::kIcon, nullptr, 10, 9, 20, 20},
        {-1, Kind::kCentredText, kTrademarks, 3, 92, 306, 9},
        {-1, Kind::kEtchedLine, "", 5, 89, 306, 1},
        {-1, Kind::kText,
         "We have detected that you have AOL(tm) or CompuServe(tm) installed and no other email "
         "application on your computer. You need to have an email application like Outlook(tm), "
         "Outlook Express(tm), Eudora(tm) for \"Send to a Friend\" to work.",
         44, 29, 265, 31}}},
      {164,
       315,
       78,
       {{1, Kind::kDefaultButton, "OK", 133, 42, 50, 14},
        {-1, Kind::kText,
         "We are unable to detect an email application on your computer. You need to have an "
         "email application like Outlook(tm), Outlook Express(tm), Eudora(tm) for \"Send to a "
         "Friend\" to work. ",
         44, 7, 264, 34},
        {1029, Kind::kIcon, nullptr, 10, 9, 20, 20},
        {-1, Kind::kCentredText, kTrademarks, 7, 65, 301, 9},
        {-1, Kind::kEtchedLine, "", 6, 61, 305, 1}}},
  };
  return dialogs;
}

void ExpectKind(Kind kind, const std::string& class_name, DWORD style) {
  const DWORD button_type = style & 0x0F;
  const DWORD static_type = style & SS_TYPEMASK;
  const bool tab_stop = (style & WS_TABSTOP) != 0;
  EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
  switch (kind) {
    case Kind::kDefaultButton:
    case Kind::kButton:
    case Kind::kCheckBox:
      EXPECT_TRUE(lstrcmpiA(class_name.c_str(), "Button") == 0) << class_name;
      EXPECT_TRUE(tab_stop);
      EXPECT_EQ(button_type, static_cast<DWORD>(kind == Kind::kDefaultButton ? BS_DEFPUSHBUTTON
                                                : kind == Kind::kButton      ? BS_PUSHBUTTON
                                                                             : BS_AUTOCHECKBOX));
      break;
    default:
      EXPECT_TRUE(lstrcmpiA(class_name.c_str(), "Static") == 0) << class_name;
      EXPECT_FALSE(tab_stop);
      EXPECT_EQ(static_type, static_cast<DWORD>(kind == Kind::kText          ? SS_LEFT
                                                : kind == Kind::kCentredText ? SS_CENTER
                                                : kind == Kind::kIcon        ? SS_ICON
                                                                             : SS_ETCHEDHORZ));
  }
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// Dialogs share the system's class, and the procedure sets its icon for
// good; clear it so that each check below sees the procedure's own doing.
void ClearDialogClassIcon() {
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(164), nullptr,
                                   PlainDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  SetClassLongPtrA(dialog, GCLP_HICON, 0);
  DestroyWindow(dialog);
}

class MailWarningDialogTest : public testing::Test {
 protected:
  MailWarningDialogTest() : user_keys(HKEY_CURRENT_USER, {"Software\\Orvo", kFlagKey}) {}
  void SetUp() override { ASSERT_TRUE(DeleteRegistryKey(HKEY_CURRENT_USER, kFlagKey)); }

  // Runs a template modally, as the command does; returns its result.
  INT_PTR Run(int id, Answer answer) {
    ClearDialogClassIcon();
    DialogDriver driver({answer});
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                           main.Handle(), MailWarningDialogProc, 0);
    seen = driver.Seen();
    return result;
  }

  RegistryState user_keys;
  TestMainWindow main;
  std::vector<DialogSnapshot> seen;
};

// Dialog units to pixels, as the dialog manager places controls.
RECT ToPixels(const ExpectedControl& control, SIZE base_units) {
  const int x = MulDiv(control.x, base_units.cx, 4);
  const int y = MulDiv(control.y, base_units.cy, 8);
  return {x, y, x + MulDiv(control.cx, base_units.cx, 4), y + MulDiv(control.cy, base_units.cy, 8)};
}

const ExpectedDialog& Expected(int id) {
  for (const ExpectedDialog& dialog : Dialogs()) {
    if (dialog.id == id) {
      return dialog;
    }
  }
  ADD_FAILURE() << "no expectation for dialog " << id;
  return Dialogs()[0];
}

TEST_F(MailWarningDialogTest, ShowTheirTemplateAndEndWithTheAnswersId) {
  HMODULE module = GetModuleHandleA(nullptr);
  const HICON application_icon = LoadIconA(module, MAKEINTRESOURCEA(107));
  const HICON information_sign = LoadIconA(module, MAKEINTRESOURCEA(161));
  ASSERT_NE(application_icon, nullptr);
  ASSERT_NE(information_sign, nullptr);
  HDC screen = GetDC(nullptr);
  const LONG eight_points = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);

  const struct {
    int id;
    Answer answer;
    INT_PTR result;
    std::vector<int> tab_order;
  } rows[] = {
      {161, Answer::kNo, IDNO, {IDYES, IDNO, 1028}},
      {161, Answer::kYes, IDYES, {IDYES, IDNO, 1028}},
      {162, Answer::kEscape, IDCANCEL, {IDYES, IDNO, 1028}},
      {163, Answer::kOk, IDOK, {IDOK}},
      {164, Answer::kEscape, IDCANCEL, {IDOK}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "dialog " << row.id);
    EXPECT_EQ(Run(row.id, row.answer), row.result);
    ASSERT_EQ(seen.size(), 1u);
    const DialogSnapshot& dialog = seen[0];
    const ExpectedDialog& expected = Expected(row.id);
    EXPECT_EQ(dialog.WarningId(), row.id);
    EXPECT_EQ(dialog.caption, "Orvo(tm) Vistello 3.0");
    // Pop-up with caption and modal frame; no system menu, so no close box.
    EXPECT_EQ(dialog.style & (WS_POPUP | WS_CAPTION | DS_MODALFRAME | WS_SYSMENU),
              static_cast<LONG>(WS_POPUP | WS_CAPTION | DS_MODALFRAME));
    EXPECT_EQ(dialog.font_face, "MS Sans Serif");
    EXPECT_EQ(dialog.font_height, eight_points);
    EXPECT_EQ(dialog.client_size.cx, MulDiv(expected.cx, dialog.base_units.cx, 4));
    EXPECT_EQ(dialog.client_size.cy, MulDiv(expected.cy, dialog.base_units.cy, 8));
    EXPECT_EQ(dialog.class_icon, application_icon);
    EXPECT_EQ(dialog.tab_order, row.tab_order) << "focus starts on the first tab stop";

    ASSERT_EQ(dialog.controls.size(), expected.controls.size());
    for (size_t i = 0; i < dialog.controls.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "control " << i);
      const ControlSnapshot& control = dialog.controls[i];
      const ExpectedControl& want = expected.controls[i];
      EXPECT_EQ(control.id, want.id);
      ExpectKind(want.kind, control.class_name, control.style);
      if (want.kind == Kind::kIcon) {
        EXPECT_EQ(control.icon, information_sign);
      } else {
        EXPECT_EQ(control.text, want.text);
      }
      // An icon sizes itself to its picture and an etched line to its
      // groove and edges; only where they start is the template's.
      RECT place = ToPixels(want, dialog.base_units);
      if (want.kind == Kind::kIcon || want.kind == Kind::kEtchedLine) {
        place.right = place.left + control.rect.right - control.rect.left;
        place.bottom = place.top + control.rect.bottom - control.rect.top;
      }
      EXPECT_TRUE(EqualRect(&control.rect, &place))
          << control.rect.left << "," << control.rect.top << " " << control.rect.right << ","
          << control.rect.bottom << " expected " << place.left << "," << place.top << " "
          << place.right << "," << place.bottom;
    }
  }
}

TEST_F(MailWarningDialogTest, YesWritesTheCheckBoxStateOnlyWhenThereIsABox) {
  EXPECT_EQ(Run(163, Answer::kYesCommand), IDYES);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kFlagKey));

  EXPECT_EQ(Run(162, Answer::kTickAndYes), IDYES);
  EXPECT_EQ(ReadNoEmailMessageBox(), 1u);
  EXPECT_EQ(Run(162, Answer::kYes), IDYES);
  EXPECT_EQ(ReadNoEmailMessageBox(), 0u);
  DWORD type = 0;
  std::vector<BYTE> data;
  ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, kFlagKey, kFlagValue, &type, &data));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(data, std::vector<BYTE>(4, 0));
}

}  // namespace

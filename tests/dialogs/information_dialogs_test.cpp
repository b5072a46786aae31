// The contact, help, about-the-maker and about boxes on the running
// application: opened from their commands, menu items, toolbar button and
// accelerators, read back as the user sees them, and closed every way a
// user closes them.
#include "dialogs/information_dialogs.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/viewer_app.h"
#include "dialogs/modal_probe.h"
#include "panorama/panorama_controller.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"

namespace {

const char kContactCaption[] = "Contact Information";
const char kHelpCaption[] = "Orvo(tm) Vistello 3.0 Help";
const char kAboutMakerCaption[] = "Orvo(tm) Vistello";
const char kAboutCaption[] = "About Orvo(tm) Vistello 3.0";

// The help text up to the "Contact Us" section, whose wording is the
// maker's own, and the closing note after it.
const char kHelpBeforeContact[] =
    "Overview\r\n\r\nThe Orvo(tm) Vistello is a program (executable file) that is attached to "
    "an email. You start it just like you would any program on your computer. Because it "
    "includes several panoramic virtual tour scenes, the file can be 300-500K in size."
    "\r\n\r\nFeatures of the Tour\r\nOnce you have opened the tour, you can move from scene to "
    "scene in the tour, stop, look left, look right, zoom in for a closer look, and even get "
    "contact information to learn more about the property! Just click the buttons on the tool "
    "bar."
    "\r\n\r\nDownloading the Tour\r\nSome email programs allow you to \"run\" an email "
    "attachment by double clicking on it. Others may require you to save it onto your computer "
    "before you can double-click on it to run it. We recommend saving the file on your desktop "
    "so that it will be easy to find."
    "\r\n\r\nSharing the Tour\r\nYou can share the Orvo Vistello three ways:\r\n1. Use the "
    "\"Send to a Friend\" button to automatically create an email with the Orvo Vistello "
    "attached\r\nIf you use AOL, Compuserve, or a web-based email service (like Yahoo!Mail or "
    "Hotmail) then please use the second or third options below.\r\n2. Send it as an attachment "
    "to an email. If you send the email via modem, it may take a minute or two to send due to "
    "the size of the file. However, once the file is received, it can be run quickly without "
    "being connected to the Internet.\r\n3. Save it onto a floppy disk. We recommend using an "
    "empty floppy disk and only saving a maximum of two tours per disk, if you want to run the "
    "tours from it. The Orvo Vistello can be run from the disk, or can be copied to the desktop "
    "and run from there."
    "\r\n\r\nSystems Supported\r\nWindows 98, Windows 95, and Windows NT PCs are able to view "
    "the tour. Windows 3.1, Macintosh, and other operating systems are not supported."
    "\r\n\r\nContact Us\r\n";
const char kHelpClosingNote[] =
    "\r\n\r\nAll trademarks and service marks contained above are the property of their "
    "respective owners.";

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  parts.push_back(text.substr(from));
  return parts;
}

bool HasLineBreak(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos;
}

// The first word that starts with prefix ("www."), without closing punctuation.
std::string WordStarting(const std::string& text, const std::string& prefix) {
  const size_t at = text.find(prefix);
  if (at == std::string::npos) {
    return "";
  }
  std::string word = text.substr(at, text.find_first_of(" ,;\r\n", at) - at);
  while (!word.empty() && (word.back() == '.' || word.back() == ',')) {
    word.pop_back();
  }
  return word;
}

HICON ApplicationIcon() {
  return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
}

int PointsToPixels(int points) {
  HDC screen = GetDC(nullptr);
  const int pixels = MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return pixels;
}

struct Opened {
  int dialogs_seen = 0;
  bool closed_by_force = false;
  DialogView view;
  bool owner_enabled_after = false;
};

using CloseAction = std::function<bool(HWND)>;

class InformationBoxes : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    app = ViewerApp::Instance(GetModuleHandleA(nullptr));
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(app->Initialize(SW_SHOW));
    // The first scene is loaded and the view pans by itself.
    ASSERT_TRUE(PumpUntil([] { return app->Panorama()->CurrentScene() != nullptr; }, 10000));
    const int start = app->Panorama()->Pan();
    ASSERT_TRUE(PumpUntil([start] { return app->Panorama()->Pan() != start; }, 5000));
  }

  static void TearDownTestSuite() {
    if (app != nullptr) {
      DestroyWindow(app->Window());
      PumpMessages(100);
      delete app;
      app = nullptr;
    }
  }

  void SetUp() override {
    ASSERT_NE(app, nullptr);
    ASSERT_NE(app->Window(), nullptr);
  }

  // Runs trigger (which should open one box), reads the box as it opens and
  // closes it with close.
  static Opened Open(const std::function<void()>& trigger, const CloseAction& close = ClickOk) {
    Opened opened;
    ClearDialogClassIcon();
    {
      ModalProbe probe([&](HWND dialog) {
        opened.view = ReadDialog(dialog);
        return close(dialog);
      });
      trigger();
      PumpMessages(50);
      opened.dialogs_seen = probe.DialogsSeen();
      opened.closed_by_force = probe.ClosedByForce();
    }
    opened.owner_enabled_after = IsWindowEnabled(app->Window()) != FALSE;
    return opened;
  }

  static Opened OpenByCommand(int command, const CloseAction& close = ClickOk) {
    return Open([command] { SendMessageA(app->Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0); },
                close);
  }

  static std::string ContactLineTexts(const DialogView& box) {
    std::vector<ControlView> lines = box.controls;
    std::stable_sort(lines.begin(), lines.end(), [](const ControlView& a, const ControlView& b) {
      return a.rect.top < b.rect.top;
    });
    std::string texts;
    for (const ControlView& line : lines) {
      texts += line.text + "|";
    }
    return texts;
  }

  static ViewerApp* app;
};

ViewerApp* InformationBoxes::app = nullptr;

// Expected control in template order: id, class, text, place in dialog units.
struct Row {
  int id;
  const char* class_name;
  std::string text;
  int x, y, cx, cy;
};

// With top_below (the contact box): the e-mail line, at 45 units, keeps the
// height it grew to, and the tops of the controls below it are where
// top_below puts them.
void ExpectControls(const DialogView& box, const std::vector<Row>& rows,
                    const std::function<int(int)>& top_below = nullptr) {
  ASSERT_EQ(box.controls.size(), rows.size()) << box.caption;
  for (size_t i = 0; i < rows.size(); i++) {
    const Row& row = rows[i];
    const ControlView& control = box.controls[i];
    SCOPED_TRACE(box.caption + ", control " + std::to_string(i));
    const bool grown_line = top_below && row.y == 45;
    const bool below = top_below && row.y > 45;
    EXPECT_EQ(control.id, row.id);
    EXPECT_EQ(control.class_name, row.class_name);
    EXPECT_EQ(control.text, row.text);
    EXPECT_EQ(control.rect.left, box.X(row.x));
    EXPECT_EQ(control.rect.top, below ? top_below(row.y) : box.Y(row.y));
    if (control.icon == nullptr) {  // an icon control takes the icon's size
      EXPECT_EQ(control.rect.right - control.rect.left, box.X(row.cx));
      if (!grown_line) {
        EXPECT_EQ(control.rect.bottom - control.rect.top, box.Y(row.cy));
      }
    }
  }
}

TEST_F(InformationBoxes, ContactBoxShowsThePresenterRecordInTheApplicationsFonts) {
  const Opened opened = OpenByCommand(CMD_CONTACT);
  ASSERT_EQ(opened.dialogs_seen, 1);
  EXPECT_FALSE(opened.closed_by_force);
  const DialogView& box = opened.view;
  const TourDescription& tour = app->Tour();
  ASSERT_STREQ(tour.presenter_name, "Dana Whitfield");  // the demo tour

  EXPECT_EQ(box.caption, kContactCaption);
  // The e-mail line grows from its one line of 8 units to hold the list,
  // one address to a line (see ContactBoxShowsEveryAddress); what lies
  // below it moves down by as much, and the box grows by as much.
  const std::string addresses =
      "dana.whitfield@harborpointrealty.example;\r\noffice@harborpointrealty.example";
  ASSERT_NE(box.Control(1024), nullptr);
  const int grown = box.Control(1024)->rect.bottom - box.Control(1024)->rect.top - box.Y(8);
  EXPECT_GT(grown, 0);
  const auto below = [&box, grown](int units) { return box.Y(units) + grown; };
  EXPECT_EQ(box.client_size.cx, box.X(160));
  EXPECT_EQ(box.client_size.cy, below(113));
  ExpectControls(box,
                 {
                     {IDOK, "button", "OK", 52, 92, 50, 14},
                     {1015, "static", tour.presenter_name, 14, 13, 139, 11},
                     {1016, "static", tour.presenter_company, 14, 25, 139, 12},
                     {1017, "static", tour.presenter_phone, 14, 37, 139, 8},
                     {1019, "static", tour.listing, 14, 70, 139, 8},
                     {1020, "static", tour.location, 14, 61, 139, 8},
                     {1024, "static", addresses, 14, 45, 139, 8},
                     {1025, "static", "Presented by:", 14, 5, 139, 8},
                 },
                 below);
  EXPECT_EQ(ContactLineTexts(box),
            "Presented by:|Dana Whitfield|Harbor Point Realty|(207) 555-0186|" + addresses +
                "|Port Ellery, ME|MLS# 4471920|OK|");

  // Name, company and the label in the application's own fonts; the rest in
  // the box's font.
  const MainWindowFonts& fonts = app->Fonts();
  ASSERT_NE(fonts.LargeBold(), nullptr);
  ASSERT_NE(fonts.Bold(), nullptr);
  ASSERT_NE(fonts.Small(), nullptr);
  EXPECT_EQ(box.Control(1015)->font, fonts.LargeBold());
  EXPECT_EQ(box.Control(1016)->font, fonts.Bold());
  EXPECT_EQ(box.Control(1025)->font, fonts.Small());
  for (int id : {IDOK, 1017, 1019, 1020, 1024}) {
    EXPECT_EQ(box.Control(id)->font, box.font) << "control " << id;
  }
}

TEST_F(InformationBoxes, HelpBoxJoinsItsSectionsEachUnderItsHeading) {
  const Opened opened = OpenByCommand(CMD_HELP);
  ASSERT_EQ(opened.dialogs_seen, 1);
  EXPECT_FALSE(opened.closed_by_force);
  const DialogView& box = opened.view;
  EXPECT_EQ(box.caption, kHelpCaption);
  EXPECT_EQ(box.client_size.cx, box.X(261));
  EXPECT_EQ(box.client_size.cy, box.Y(167));
  ASSERT_EQ(box.controls.size(), 2u);
  const std::string text = box.controls[1].text;
  ExpectControls(box, {
                          {IDOK, "button", "OK", 105, 146, 50, 14},
                          {1003, "edit", text, 7, 7, 247, 133},
                      });
  EXPECT_EQ(box.Control(1003)->style & (ES_MULTILINE | ES_READONLY | WS_VSCROLL),
            ES_MULTILINE | ES_READONLY | WS_VSCROLL);

  // "Overview" on the first line, every piece one empty line from the next,
  // every heading on a line of its own.
  const std::vector<std::string> lines = Split(text, "\r\n");
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Overview");
  for (size_t i = 1; i < lines.size(); i++) {
    EXPECT_FALSE(lines[i].empty() && lines[i - 1].empty()) << "two empty lines before line " << i;
  }
  const std::vector<std::string> pieces = Split(text, "\r\n\r\n");
  const char* const headings[] = {"Overview",
                                  "",
                                  "Features of the Tour",
                                  "Downloading the Tour",
                                  "Sharing the Tour",
                                  "Systems Supported",
                                  "Contact Us",
                                  "All trademarks"};
  ASSERT_EQ(pieces.size(), sizeof headings / sizeof headings[0]) << text;
  for (size_t i = 0; i < pieces.size(); i++) {
    EXPECT_EQ(pieces[i].compare(0, strlen(headings[i]), headings[i]), 0) << pieces[i];
  }

  // The fixed sections word for word; the contact section is one sentence.
  ASSERT_EQ(text.compare(0, strlen(kHelpBeforeContact), kHelpBeforeContact), 0) << text;
  ASSERT_GT(text.size(), strlen(kHelpBeforeContact) + strlen(kHelpClosingNote));
  EXPECT_EQ(text.substr(text.size() - strlen(kHelpClosingNote)), kHelpClosingNote);
  const std::string contact =
      text.substr(strlen(kHelpBeforeContact),
                  text.size() - strlen(kHelpBeforeContact) - strlen(kHelpClosingNote));
  EXPECT_FALSE(HasLineBreak(contact)) << contact;
  EXPECT_NE(WordStarting(contact, "www."), "") << contact;
  EXPECT_NE(contact.find('@'), std::string::npos) << contact;
}

TEST_F(InformationBoxes, AboutMakerBoxTellsOfTheMakerAndItsTerms) {
  const Opened opened = OpenByCommand(CMD_ABOUT_MAKER);
  ASSERT_EQ(opened.dialogs_seen, 1);
  EXPECT_FALSE(opened.closed_by_force);
  const DialogView& box = opened.view;
  EXPECT_EQ(box.caption, kAboutMakerCaption);
  EXPECT_EQ(box.client_size.cx, box.X(236));
  EXPECT_EQ(box.client_size.cy, box.Y(167));
  ASSERT_EQ(box.controls.size(), 3u);
  const std::string text = box.controls[1].text;
  ExpectControls(box,
                 {
                     {IDOK, "button", "OK", 91, 146, 50, 14},
                     {1003, "edit", text, 7, 22, 222, 118},
                     {-1, "static", "Orvo(tm), a leading producer of Virtual Tours", 7, 7, 222, 8},
                 });

  // Title, business, how to learn more, the terms two empty lines down, and
  // the copyright notice.
  const std::vector<std::string> pieces = Split(text, "\r\n\r\n");
  ASSERT_EQ(pieces.size(), 5u) << text;
  EXPECT_EQ(pieces[0], "About Lumetra Corp.(tm) Orvo(tm)");
  EXPECT_FALSE(HasLineBreak(pieces[1])) << "one paragraph: " << pieces[1];
  EXPECT_NE(pieces[1].find("Lumetra Corp."), std::string::npos) << pieces[1];
  EXPECT_EQ(pieces[2].compare(0, 13, "To learn more"), 0) << pieces[2];
  EXPECT_FALSE(HasLineBreak(pieces[2])) << pieces[2];
  EXPECT_NE(WordStarting(pieces[2], "www."), "") << pieces[2];
  EXPECT_NE(pieces[2].find('@'), std::string::npos) << pieces[2];
  const std::string terms_heading = "\r\nTERMS AND CONDITIONS\r\n";
  ASSERT_EQ(pieces[3].compare(0, terms_heading.size(), terms_heading), 0) << pieces[3];
  const std::string terms = pieces[3].substr(terms_heading.size());
  EXPECT_FALSE(HasLineBreak(terms)) << "one paragraph: " << terms;
  EXPECT_NE(terms.find("\"AS IS\""), std::string::npos) << terms;
  EXPECT_EQ(pieces[4].compare(0, 9, "Copyright"), 0) << pieces[4];
  EXPECT_NE(pieces[4].find("Lumetra Corp."), std::string::npos) << pieces[4];
  EXPECT_EQ(pieces[4].substr(pieces[4].size() - 7), "owners.") << pieces[4];
}

TEST_F(InformationBoxes, HelpAndAboutMakerGiveTheSameWebAddress) {
  const Opened help = OpenByCommand(CMD_HELP);
  const Opened maker = OpenByCommand(CMD_ABOUT_MAKER);
  ASSERT_EQ(help.dialogs_seen, 1);
  ASSERT_EQ(maker.dialogs_seen, 1);
  const std::string in_help = WordStarting(help.view.Control(1003)->text, "www.");
  EXPECT_NE(in_help, "");
  EXPECT_EQ(in_help, WordStarting(maker.view.Control(1003)->text, "www."));
}

TEST_F(InformationBoxes, AboutBoxShowsTheIconNameAndCopyright) {
  const Opened opened = OpenByCommand(CMD_ABOUT_TOUR);
  ASSERT_EQ(opened.dialogs_seen, 1);
  EXPECT_FALSE(opened.closed_by_force);
  const DialogView& box = opened.view;
  EXPECT_EQ(box.caption, kAboutCaption);
  EXPECT_EQ(box.client_size.cx, box.X(269));
  EXPECT_EQ(box.client_size.cy, box.Y(56));
  ASSERT_EQ(box.controls.size(), 4u);
  const std::string copyright = box.controls[2].text;
  ExpectControls(box, {
                          {2, "static", box.controls[0].text, 14, 7, 20, 20},
                          {-1, "static", "Orvo(tm) Vistello 3.0", 46, 7, 216, 8},
                          {-1, "static", copyright, 46, 18, 216, 8},
                          {IDOK, "button", "OK", 109, 35, 50, 14},
                      });
  EXPECT_NE(box.controls[0].icon, nullptr) << "the application icon";
  EXPECT_EQ(box.controls[0].style & SS_TYPEMASK, SS_ICON);
  EXPECT_NE(box.controls[1].style & SS_NOPREFIX, 0) << "ampersands shown as typed";
  EXPECT_EQ(copyright.compare(0, 9, "Copyright"), 0) << copyright;
  EXPECT_NE(copyright.find("2000"), std::string::npos) << copyright;
  EXPECT_NE(copyright.find("Lumetra Corp."), std::string::npos) << copyright;
  EXPECT_NE(copyright.find("All rights reserved"), std::string::npos) << copyright;
}

TEST_F(InformationBoxes, EveryBoxEndsWithOkEscapeTheCloseBoxAndCancel) {
  const struct {
    int id;
    DLGPROC procedure;
  } boxes[] = {{IDD_CONTACT, ContactDialogProc},
               {IDD_HELP, HelpDialogProc},
               {IDD_ABOUT_MAKER, AboutMakerDialogProc},
               {IDD_ABOUT, AboutDialogProc}};
  const struct {
    const char* name;
    CloseAction close;
    INT_PTR result;
  } actions[] = {{"OK", ClickOk, IDOK},
                 {"Escape", PressEscape, IDCANCEL},
                 {"close box", PressCloseBox, IDCANCEL},
                 {"cancel command", SendCancelCommand, IDCANCEL}};
  for (const auto& box : boxes) {
    for (const auto& action : actions) {
      SCOPED_TRACE("dialog " + std::to_string(box.id) + ", " + action.name);
      ModalProbe probe(action.close);
      const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(box.id),
                                             app->Window(), box.procedure, 0);
      EXPECT_EQ(probe.DialogsSeen(), 1);
      EXPECT_FALSE(probe.ClosedByForce());
      EXPECT_EQ(result, action.result);
    }
  }
  // Through the commands too: Escape ends each box opened from the menu.
  for (int command : {CMD_CONTACT, CMD_HELP, CMD_ABOUT_MAKER, CMD_ABOUT_TOUR}) {
    const Opened opened = OpenByCommand(command, PressEscape);
    EXPECT_EQ(opened.dialogs_seen, 1) << command;
    EXPECT_FALSE(opened.closed_by_force) << command;
  }
}

TEST_F(InformationBoxes, EscapeInTheTextBoxEndsHelpAndAboutMaker) {
  for (const auto& box : {std::make_pair(IDD_HELP, &HelpDialogProc),
                          std::make_pair(IDD_ABOUT_MAKER, &AboutMakerDialogProc)}) {
    SCOPED_TRACE(box.first);
    int focused_id = 0;
    ModalProbe probe([&focused_id](HWND dialog) {
      HWND text_box = GetDlgItem(dialog, IDC_TEXT_BOX);
      if (GetFocus() != text_box) {
        SetFocus(text_box);
        return false;
      }
      focused_id = GetDlgCtrlID(GetFocus());
      return PressEscape(dialog);
    });
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(box.first),
                                           app->Window(), box.second, 0);
    EXPECT_EQ(focused_id, IDC_TEXT_BOX);
    EXPECT_FALSE(probe.ClosedByForce());
    EXPECT_EQ(result, IDCANCEL);
  }
}

// Each box from its menu item, and what every box shares when it opens:
// owned by the main window, which is disabled meanwhile; the focus on OK;
// the application icon on the dialog class; 8 pt Arial; placed at its
// template's position in the owner's client area.
TEST_F(InformationBoxes, EachMenuItemOpensItsBoxOwnedByTheMainWindowWithTheFocusOnOk) {
  HMENU menu = GetMenu(app->Window());
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 3);
  auto item_text = [](HMENU owner, int position) {
    char text[64] = "";
    GetMenuStringA(owner, position, text, sizeof text, MF_BYPOSITION);
    return std::string(text);
  };
  HMENU information = GetSubMenu(menu, 1);
  HMENU help = GetSubMenu(menu, 2);
  EXPECT_EQ(item_text(menu, 1), "&Information");
  EXPECT_EQ(item_text(menu, 2), "&Help");
  ASSERT_EQ(GetMenuItemCount(information), 1);
  ASSERT_EQ(GetMenuItemCount(help), 4);
  EXPECT_EQ(GetMenuState(help, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));

  POINT owner_origin = {0, 0};
  ClientToScreen(app->Window(), &owner_origin);
  ASSERT_NE(ApplicationIcon(), nullptr);
  const struct {
    HMENU popup;
    int position;
    const char* item;
    const char* caption;
    int x, y;  // the box's place in dialog units
  } items[] = {{information, 0, "&Contact Info", kContactCaption, 0, 0},
               {help, 0, "Help Contents...", kHelpCaption, 0, 0},
               {help, 2, "About Orvo(tm)...", kAboutMakerCaption, 0, 0},
               {help, 3, "About Orvo(tm) Vistello ...", kAboutCaption, 22, 17}};
  for (const auto& expected : items) {
    SCOPED_TRACE(expected.item);
    EXPECT_EQ(item_text(expected.popup, expected.position), expected.item);
    const UINT id = GetMenuItemID(expected.popup, expected.position);
    const Opened opened = OpenByCommand(static_cast<int>(id));
    ASSERT_EQ(opened.dialogs_seen, 1);
    const DialogView& box = opened.view;
    EXPECT_EQ(box.caption, expected.caption);
    EXPECT_EQ(box.owner, app->Window());
    EXPECT_FALSE(box.owner_enabled) << "the owner of a modal box is disabled";
    EXPECT_TRUE(opened.owner_enabled_after);
    EXPECT_EQ(box.focus_id, IDOK);
    EXPECT_EQ(box.class_icon, ApplicationIcon());
    EXPECT_STREQ(box.font_description.lfFaceName, "Arial");
    EXPECT_EQ(box.font_description.lfHeight, -PointsToPixels(8));
    EXPECT_EQ(box.client_origin.x, owner_origin.x + box.X(expected.x));
    EXPECT_EQ(box.client_origin.y, owner_origin.y + box.Y(expected.y));
  }
}

TEST_F(InformationBoxes, ContactButtonOnTheToolbarOpensTheContactBox) {
  HWND toolbar = app->Toolbar();
  ASSERT_NE(toolbar, nullptr);
  TBBUTTON button = {};
  ASSERT_TRUE(SendMessageA(toolbar, TB_GETBUTTON, 7, reinterpret_cast<LPARAM>(&button)));
  EXPECT_EQ(button.idCommand, CMD_CONTACT_BUTTON);
  RECT place = {};
  ASSERT_TRUE(SendMessageA(toolbar, TB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&place)));
  const LPARAM middle = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);

  const Opened clicked = Open([toolbar, middle] {
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(toolbar, WM_LBUTTONUP, 0, middle);
  });
  ASSERT_EQ(clicked.dialogs_seen, 1);
  EXPECT_EQ(clicked.view.caption, kContactCaption);
  EXPECT_EQ(clicked.view.Control(1015)->text, app->Tour().presenter_name);

  const Opened commanded = OpenByCommand(CMD_CONTACT_BUTTON);
  ASSERT_EQ(commanded.dialogs_seen, 1);
  EXPECT_EQ(ContactLineTexts(commanded.view), ContactLineTexts(clicked.view));
}

// Alt + "?" or "/" as WM_SYSCHAR, translated with the module's own table.
class Accelerators : public InformationBoxes {
 protected:
  static bool Translate(HWND target, UINT message, char key, bool alt_down) {
    BYTE saved[256] = {};
    GetKeyboardState(saved);
    BYTE keys[256] = {};
    memcpy(keys, saved, sizeof keys);
    keys[VK_MENU] = alt_down ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG msg = {};
    msg.hwnd = target;
    msg.message = message;
    msg.wParam = static_cast<unsigned char>(key);
    msg.lParam = alt_down ? 0x20000001 : 0x00000001;  // context code: Alt held
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    EXPECT_NE(table, nullptr);
    const bool translated = TranslateAcceleratorA(target, table, &msg) != 0;
    SetKeyboardState(saved);
    return translated;
  }
};

TEST_F(Accelerators, AltQuestionMarkAndAltSlashOpenTheAboutBox) {
  for (char key : {'?', '/'}) {
    SCOPED_TRACE(std::string("Alt+") + key);
    bool translated = false;
    const Opened opened =
        Open([&] { translated = Translate(app->Window(), WM_SYSCHAR, key, true); });
    EXPECT_TRUE(translated);
    ASSERT_EQ(opened.dialogs_seen, 1);
    EXPECT_EQ(opened.view.caption, kAboutCaption);
  }
}

TEST_F(Accelerators, OpenNothingWithoutAltOrWhenAChildHasTheKeystroke) {
  bool translated = true;
  Opened opened = Open([&] { translated = Translate(app->Window(), WM_CHAR, '?', false); });
  EXPECT_FALSE(translated) << "a plain question mark is no accelerator";
  EXPECT_EQ(opened.dialogs_seen, 0);

  // The panorama view has the focus: the command goes to it, and it ignores it.
  HWND view = app->Panorama()->Window();
  ASSERT_NE(view, nullptr);
  opened = Open([&] {
    Translate(view, WM_SYSCHAR, '?', true);
    PumpMessages(200);
  });
  EXPECT_EQ(opened.dialogs_seen, 0);
}

TEST_F(InformationBoxes, ClosingTheContactBoxLeavesTheBorrowedFontsAlive) {
  const MainWindowFonts& fonts = app->Fonts();
  const HFONT borrowed[] = {fonts.LargeBold(), fonts.Bold(), fonts.Small()};
  for (int round = 0; round < 3; round++) {
    SCOPED_TRACE("opening " + std::to_string(round + 1));
    const Opened opened = OpenByCommand(round % 2 == 0 ? CMD_CONTACT : CMD_CONTACT_BUTTON,
                                        round == 1 ? PressEscape : ClickOk);
    ASSERT_EQ(opened.dialogs_seen, 1);
    EXPECT_EQ(opened.view.Control(1015)->font, borrowed[0]);
    EXPECT_EQ(opened.view.Control(1016)->font, borrowed[1]);
    EXPECT_EQ(opened.view.Control(1025)->font, borrowed[2]);
    for (HFONT font : borrowed) {
      EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
      LOGFONTA description = {};
      EXPECT_EQ(GetObjectA(font, sizeof description, &description),
                static_cast<int>(sizeof description));
    }
  }
  // The main window's presenter lines still draw with theirs.
  for (int id : {ID_PRESENTED_BY, ID_PRESENTER_NAME, ID_PRESENTER_COMPANY}) {
    HWND line = GetDlgItem(app->Window(), id);
    ASSERT_NE(line, nullptr) << id;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(line, WM_GETFONT, 0, 0));
    EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << id;
  }
}

// Puts the tour's presenter texts back however the test ends.
class PresenterTexts {
 public:
  explicit PresenterTexts(TourDescription& tour)
      : tour(tour), saved{tour.presenter_name,  tour.presenter_company, tour.presenter_phone,
                          tour.presenter_email, tour.listing,           tour.location} {}
  ~PresenterTexts() {
    tour.presenter_name = saved[0];
    tour.presenter_company = saved[1];
    tour.presenter_phone = saved[2];
    tour.presenter_email = saved[3];
    tour.listing = saved[4];
    tour.location = saved[5];
  }

 private:
  TourDescription& tour;
  const char* saved[6];
};

TEST_F(InformationBoxes, MissingOrEmptyPresenterTextsLeaveTheirLinesEmpty) {
  const Opened full = OpenByCommand(CMD_CONTACT);
  ASSERT_EQ(full.dialogs_seen, 1);

  // The description's texts are the tour's constants; a tour may leave any
  // of them out.
  TourDescription& tour = const_cast<TourDescription&>(app->Tour());
  PresenterTexts restore(tour);
  tour.presenter_company = nullptr;
  tour.presenter_phone = "";
  tour.listing = nullptr;
  const Opened sparse = OpenByCommand(CMD_CONTACT);
  ASSERT_EQ(sparse.dialogs_seen, 1);
  EXPECT_FALSE(sparse.closed_by_force);
  const DialogView& box = sparse.view;
  EXPECT_EQ(box.Control(1016)->text, "");
  EXPECT_EQ(box.Control(1017)->text, "");
  EXPECT_EQ(box.Control(1019)->text, "");
  EXPECT_EQ(box.Control(1016)->font, app->Fonts().Bold()) << "the empty line keeps its font";
  EXPECT_EQ(ContactLineTexts(box),
            "Presented by:|Dana Whitfield|||"
            "dana.whitfield@harborpointrealty.example;\r\noffice@harborpointrealty.example|"
            "Port Ellery, ME||OK|");
  // Every line keeps its place.
  ASSERT_EQ(box.controls.size(), full.view.controls.size());
  for (size_t i = 0; i < box.controls.size(); i++) {
    EXPECT_TRUE(EqualRect(&box.controls[i].rect, &full.view.controls[i].rect)) << i;
  }
}

// The e-mail line shows every address of the list, one to a line with its
// separator: the shown text, measured in the line's own font and wrapped
// as a static text wraps, fits inside the line; no other control covers
// any of it; and the line and the OK button lie inside the box -- for the
// demo's two addresses, for three, and for one too long for the line.
TEST_F(InformationBoxes, ContactBoxShowsEveryAddress) {
  TourDescription& tour = const_cast<TourDescription&>(app->Tour());
  PresenterTexts restore(tour);
  const struct {
    const char* list;
    const char* shown;
  } rows[] = {
      {tour.presenter_email,
       "dana.whitfield@harborpointrealty.example;\r\noffice@harborpointrealty.example"},
      {"sales@harbor.example; lettings@harbor.example;office@harbor.example",
       "sales@harbor.example;\r\nlettings@harbor.example;\r\noffice@harbor.example"},
      {"reservations.and.group.bookings@harborpointrealty-vacations.example",
       "reservations.and.group.bookings@harborpointrealty-vacations.example"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.list);
    tour.presenter_email = row.list;
    RECT measured = {};
    RECT line = {};
    const auto measure = [&](HWND dialog) {
      HWND email = GetDlgItem(dialog, 1024);
      GetClientRect(email, &line);
      measured = {0, 0, line.right, 0};
      const std::string shown = WindowText(email);
      HDC dc = GetDC(email);
      HGDIOBJ font =
          SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(email, WM_GETFONT, 0, 0)));
      DrawTextA(dc, shown.c_str(), -1, &measured,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
      SelectObject(dc, font);
      ReleaseDC(email, dc);
      return ClickOk(dialog);
    };
    const Opened opened = OpenByCommand(CMD_CONTACT, measure);
    ASSERT_EQ(opened.dialogs_seen, 1);
    const DialogView& box = opened.view;
    const ControlView* email = box.Control(1024);
    ASSERT_NE(email, nullptr);
    EXPECT_EQ(email->text, row.shown);
    EXPECT_GT(measured.bottom, 0);
    EXPECT_LE(measured.right, line.right) << "no address cut at the right";
    EXPECT_LE(measured.bottom, line.bottom) << "no line of the list cut at the bottom";
    for (const ControlView& other : box.controls) {
      RECT overlap;
      if (other.id != 1024 && IntersectRect(&overlap, &other.rect, &email->rect)) {
        ADD_FAILURE() << "control " << other.id << " covers part of the e-mail line";
      }
    }
    for (const ControlView* control : {email, box.Control(IDOK)}) {
      EXPECT_GE(control->rect.left, 0) << control->id;
      EXPECT_LE(control->rect.right, box.client_size.cx) << control->id;
      EXPECT_LE(control->rect.bottom, box.client_size.cy) << control->id;
    }
  }
}

TEST_F(InformationBoxes, PanoramaKeepsPanningWhileABoxIsOpen) {
  PanoramaController* view = app->Panorama();
  ASSERT_NE(view->PanSpeed(), 0) << "the view should be panning by itself";
  for (int command : {CMD_CONTACT, CMD_HELP, CMD_ABOUT_MAKER, CMD_ABOUT_TOUR}) {
    SCOPED_TRACE(command);
    int first = INT_MIN;
    int last = INT_MIN;
    DWORD opened_at = 0;
    ModalProbe probe([&](HWND dialog) {
      last = view->Pan();
      if (first == INT_MIN) {
        first = last;
        opened_at = GetTickCount();
        return false;
      }
      if (last == first && GetTickCount() - opened_at < 3000) {
        return false;
      }
      return ClickOk(dialog);
    });
    SendMessageA(app->Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    ASSERT_EQ(probe.DialogsSeen(), 1);
    EXPECT_NE(first, INT_MIN);
    EXPECT_NE(last, first) << "the view stood still while the box was open";
  }
}

}  // namespace

// The four information boxes as the executable carries them: each template
// read from the module's resources and compared with the layout the boxes
// are drawn to -- styles, font, caption, and every control in tab order with
// its id, class, text, style and place in dialog units.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/dialog_template.h"

namespace {

const DWORD kBoxStyle = WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
const DWORD kShown = WS_CHILD | WS_VISIBLE;
const DWORD kTextBox =
    ES_MULTILINE | ES_READONLY | ES_WANTRETURN | WS_VSCROLL | WS_BORDER | WS_TABSTOP;

struct Item {
  int id;
  const char* class_name;
  const char* text;  // nullptr: not compared (the box's procedure fills it)
  short x, y, cx, cy;
  DWORD type_mask;  // the bits that select the control's kind
  DWORD type;
  DWORD required;  // further bits that must be set
};

struct Box {
  int id;
  const char* caption;
  DWORD style;
  short x, y, cx, cy;
  std::vector<Item> items;
};

const DWORD kStaticType = SS_TYPEMASK;
const DWORD kButtonType = 0x0F;  // BS_TYPEMASK

const Box kBoxes[] = {
    {144,
     "Contact Information",
     kBoxStyle | WS_POPUP,
     0,
     0,
     160,
     113,
     {
         {1, "button", "OK", 52, 92, 50, 14, kButtonType, BS_DEFPUSHBUTTON, WS_TABSTOP},
         {1015, "static", "", 14, 13, 139, 11, kStaticType, SS_LEFT, SS_NOPREFIX},
         {1016, "static", "", 14, 25, 139, 12, kStaticType, SS_LEFT, SS_NOPREFIX},
         {1017, "static", "", 14, 37, 139, 8, kStaticType, SS_LEFT, SS_NOPREFIX},
         {1019, "static", "", 14, 70, 139, 8, kStaticType, SS_LEFT, SS_NOPREFIX},
         {1020, "static", "", 14, 61, 139, 8, kStaticType, SS_LEFT, SS_NOPREFIX},
         {1024, "static", "", 14, 45, 139, 8, kStaticType, SS_LEFT, SS_NOPREFIX},
         {1025, "static", "Presented by:", 14, 5, 139, 8, kStaticType, SS_LEFT, 0},
     }},
    {143,
     "Orvo(tm) Vistello 3.0 Help",
     kBoxStyle | WS_POPUP,
     0,
     0,
     261,
     167,
     {
         {1, "button", "OK", 105, 146, 50, 14, kButtonType, BS_DEFPUSHBUTTON, WS_TABSTOP},
         {1003, "edit", nullptr, 7, 7, 247, 133, 0, 0, kTextBox},
     }},
    {142,
     "Orvo(tm) Vistello",
     kBoxStyle | WS_POPUP,
     0,
     0,
     236,
     167,
     {
         {1, "button", "OK", 91, 146, 50, 14, kButtonType, BS_DEFPUSHBUTTON, WS_TABSTOP},
         {1003, "edit", nullptr, 7, 22, 222, 118, 0, 0, kTextBox},
         {-1, "static", "Orvo(tm), a leading producer of Virtual Tours", 7, 7, 222, 8, kStaticType,
          SS_LEFTNOWORDWRAP, 0},
     }},
    {103,
     "About Orvo(tm) Vistello 3.0",
     kBoxStyle,  // not a pop-up
     22,
     17,
     269,
     56,
     {
         {2, "static", "#107", 14, 7, 20, 20, kStaticType, SS_ICON, 0},
         {-1, "static", "Orvo(tm) Vistello 3.0", 46, 7, 216, 8, kStaticType, SS_LEFT, SS_NOPREFIX},
         {-1, "static", nullptr, 46, 18, 216, 8, kStaticType, SS_LEFT, 0},
         {1, "button", "OK", 109, 35, 50, 14, kButtonType, BS_DEFPUSHBUTTON, WS_TABSTOP | WS_GROUP},
     }},
};

class InformationBoxTemplate : public testing::TestWithParam<Box> {};

TEST_P(InformationBoxTemplate, MatchesItsLayout) {
  const Box& box = GetParam();
  const DialogTemplate dialog = ReadDialogTemplate(GetModuleHandleA(nullptr), box.id);
  ASSERT_TRUE(dialog.found) << "dialog " << box.id;
  ASSERT_FALSE(dialog.extended);
  EXPECT_EQ(dialog.style, box.style) << std::hex << dialog.style;
  EXPECT_EQ(dialog.caption, box.caption);
  EXPECT_EQ(dialog.point_size, 8);
  EXPECT_EQ(dialog.face, "Arial");
  EXPECT_EQ(dialog.x, box.x);
  EXPECT_EQ(dialog.y, box.y);
  EXPECT_EQ(dialog.cx, box.cx);
  EXPECT_EQ(dialog.cy, box.cy);

  ASSERT_EQ(dialog.items.size(), box.items.size());
  for (size_t i = 0; i < box.items.size(); i++) {
    const Item& want = box.items[i];
    const TemplateItem& item = dialog.items[i];
    SCOPED_TRACE("dialog " + std::to_string(box.id) + ", item " + std::to_string(i));
    EXPECT_EQ(item.id, want.id);
    EXPECT_EQ(item.class_name, want.class_name);
    if (want.text != nullptr) {
      EXPECT_EQ(item.text, want.text);
    }
    EXPECT_EQ(item.x, want.x);
    EXPECT_EQ(item.y, want.y);
    EXPECT_EQ(item.cx, want.cx);
    EXPECT_EQ(item.cy, want.cy);
    EXPECT_EQ(item.style & kShown, kShown);
    EXPECT_EQ(item.style & want.type_mask, want.type) << std::hex << item.style;
    EXPECT_EQ(item.style & want.required, want.required) << std::hex << item.style;
  }

  // The dialog manager gives the focus to the first tab stop: OK in every box.
  const TemplateItem* first_stop = nullptr;
  for (const TemplateItem& item : dialog.items) {
    if (item.style & WS_TABSTOP) {
      first_stop = &item;
      break;
    }
  }
  ASSERT_NE(first_stop, nullptr);
  EXPECT_EQ(first_stop->id, IDOK);
}

INSTANTIATE_TEST_SUITE_P(AllFour, InformationBoxTemplate, testing::ValuesIn(kBoxes),
                         [](const testing::TestParamInfo<Box>& info) {
                           return "Dialog" + std::to_string(info.param.id);
                         });

}  // namespace

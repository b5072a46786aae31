// The demo tour's resources as the running program finds them: the scene
// images under their upper-case names, the mail body, and the artwork in
// the sizes and formats the windows that use it expect.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/resource_ids.h"

namespace {

HMODULE Self() {
  return GetModuleHandleA(nullptr);
}

struct LoadedBitmap {
  explicit LoadedBitmap(LPCSTR name)
      : handle(static_cast<HBITMAP>(
            LoadImageA(Self(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {}
  ~LoadedBitmap() {
    if (handle)
      DeleteObject(handle);
  }
  DIBSECTION Section() const {
    DIBSECTION section = {};
    GetObjectA(handle, sizeof section, &section);
    return section;
  }
  HBITMAP handle;
};

TEST(DemoResources, SceneImagesAreFoundByTheirLowerCaseNames) {
  for (int i = 0; i < 10; i++) {
    const std::string name = std::to_string(i) + ".jpg";
    HRSRC resource = FindResourceA(Self(), name.c_str(), "JPEG");
    ASSERT_NE(resource, nullptr) << name;
    const DWORD size = SizeofResource(Self(), resource);
    EXPECT_GT(size, 4096u) << name;
    EXPECT_EQ(size % 2048, 0u) << name;
    const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Self(), resource)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    EXPECT_EQ(bytes[size - 1], ' ') << "padded with spaces";
  }
  EXPECT_EQ(FindResourceA(Self(), "10.jpg", "JPEG"), nullptr);
}

TEST(DemoResources, MailBodyIsCrLfTextWithoutTerminator) {
  HRSRC resource = FindResourceA(Self(), "MailBody", "MAILBODY");
  ASSERT_NE(resource, nullptr);
  const DWORD size = SizeofResource(Self(), resource);
  const char* text = static_cast<const char*>(LockResource(LoadResource(Self(), resource)));
  ASSERT_NE(text, nullptr);
  const std::string body(text, size);
  EXPECT_EQ(body.rfind("Hi,\r\n", 0), 0u);
  EXPECT_NE(body.find("a property located at:"), std::string::npos);
  EXPECT_EQ(body.find('\0'), std::string::npos);
  for (size_t at = body.find('\n'); at != std::string::npos; at = body.find('\n', at + 1)) {
    ASSERT_GT(at, 0u);
    EXPECT_EQ(body[at - 1], '\r') << "bare LF at byte " << at;
  }
}

TEST(DemoResources, BitmapsHaveTheirSizesAndDepths) {
  struct Expected {
    int id, width, height, bits;
  } const bitmaps[] = {
      {IDB_TOOLBAR, 400, 38, 4},
      {IDB_BADGE, 46, 46, 4},
      {IDB_SPLASH, 190, 150, 8},
  };
  for (const Expected& expected : bitmaps) {
    LoadedBitmap bitmap(MAKEINTRESOURCEA(expected.id));
    ASSERT_NE(bitmap.handle, nullptr) << expected.id;
    const DIBSECTION section = bitmap.Section();
    EXPECT_EQ(section.dsBmih.biWidth, expected.width) << expected.id;
    EXPECT_EQ(std::abs(section.dsBmih.biHeight), expected.height) << expected.id;
    EXPECT_EQ(section.dsBmih.biBitCount, expected.bits) << expected.id;
  }
}

TEST(DemoResources, BadgeIsKeyedOnAWhiteTopLeftPixel) {
  LoadedBitmap badge(MAKEINTRESOURCEA(IDB_BADGE));
  ASSERT_NE(badge.handle, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, badge.handle);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  // The logo itself is not all white.
  int coloured = 0;
  for (int y = 0; y < 46; y++) {
    for (int x = 0; x < 46; x++) {
      coloured += GetPixel(dc, x, y) != RGB(255, 255, 255);
    }
  }
  EXPECT_GT(coloured, 46 * 46 / 4);
  SelectObject(dc, previous);
  DeleteDC(dc);
}

TEST(DemoResources, IconsAndHandCursorLoad) {
  HICON application = LoadIconA(Self(), MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
  HICON information = LoadIconA(Self(), MAKEINTRESOURCEA(IDI_INFORMATION_SIGN));
  EXPECT_NE(application, nullptr);
  EXPECT_NE(information, nullptr);

  HCURSOR hand = LoadCursorA(Self(), MAKEINTRESOURCEA(IDC_HAND_POINTER));
  ASSERT_NE(hand, nullptr);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 6u);
  EXPECT_EQ(info.yHotspot, 0u);
  BITMAP mask = {};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_EQ(mask.bmBitsPixel, 1);
  EXPECT_EQ(info.hbmColor, nullptr) << "monochrome cursor";
  DeleteObject(info.hbmMask);
  if (info.hbmColor)
    DeleteObject(info.hbmColor);
}

TEST(DemoResources, WindowTitleAndClassNamesComeFromTheStringTable) {
  char text[150];
  ASSERT_GT(LoadStringA(Self(), IDS_WINDOW_TITLE, text, sizeof text), 0);
  EXPECT_STREQ(text, "Orvo Vistello");
  ASSERT_GT(LoadStringA(Self(), IDS_MAIN_CLASS, text, sizeof text), 0);
  EXPECT_STREQ(text, "STANDALONEVIEWER");
  ASSERT_GT(LoadStringA(Self(), IDS_PANORAMA_CLASS, text, sizeof text), 0);
  EXPECT_STREQ(text, "PANORAMACONTROLLER");
}

TEST(DemoResources, NoEcommerceBitmapsInTheDemoTour) {
  EXPECT_EQ(FindResourceA(Self(), "ECOMMERCEIMAGE", MAKEINTRESOURCEA(2)), nullptr);
  EXPECT_EQ(FindResourceA(Self(), "ECOMMERCELOGO", MAKEINTRESOURCEA(2)), nullptr);
}

}  // namespace

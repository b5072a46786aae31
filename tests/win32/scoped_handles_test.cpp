// Each handle holder gives back what it holds when its scope ends.
#include "win32/scoped_handles.h"

#include "win32/registry_key.h"

#include <gtest/gtest.h>

namespace {

TEST(ScopedHandles, GdiObjectIsDeleted) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  {
    GdiObject<HBRUSH> held(brush);
    EXPECT_EQ(GetObjectType(held), static_cast<DWORD>(OBJ_BRUSH));
  }
  EXPECT_EQ(GetObjectType(brush), 0u);

  GdiObject<HPEN> released(CreatePen(PS_SOLID, 1, 0));
  HPEN pen = released.Release();
  EXPECT_EQ(released.Get(), nullptr);
  EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN)) << "ownership handed back";
  DeleteObject(pen);
}

TEST(ScopedHandles, MemoryDcIsDeletedAndSelectionsAreUndone) {
  HDC kept = nullptr;
  HBITMAP bitmap = CreateBitmap(4, 4, 1, 1, nullptr);
  HPALETTE palette = CreateHalftonePalette(nullptr);
  {
    MemoryDC dc(nullptr);
    kept = dc;
    const HGDIOBJ original_bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    const HGDIOBJ original_palette = GetCurrentObject(dc, OBJ_PAL);
    {
      SelectedObject selected(dc, bitmap);
      SelectedPalette selected_palette(dc, palette, true);
      EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
      EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), palette);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), original_bitmap);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), original_palette);
  }
  EXPECT_EQ(GetObjectType(kept), 0u);
  DeleteObject(bitmap);
  DeleteObject(palette);
}

TEST(ScopedHandles, WindowDcAndPaintScopeBelongToTheirWindow) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  {
    WindowDC dc(window);
    EXPECT_EQ(WindowFromDC(dc), window);
  }
  InvalidateRect(window, nullptr, FALSE);
  EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE));
  { PaintScope paint(window); }
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "EndPaint validated the window";
  DestroyWindow(window);
}

TEST(ScopedHandles, KernelHandleIsClosed) {
  HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD flags = 0;
  {
    KernelHandle held(event);
    EXPECT_TRUE(GetHandleInformation(held, &flags));
  }
  EXPECT_FALSE(GetHandleInformation(event, &flags));
}

TEST(ScopedHandles, RegistryKeyIsClosed) {
  HKEY opened = nullptr;
  {
    RegistryKey key;
    ASSERT_TRUE(key.OpenForReading(HKEY_CURRENT_USER, "Software"));
    opened = key.Handle();
    EXPECT_EQ(RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
  }
  EXPECT_NE(RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
}

TEST(ScopedHandles, LoadedLibraryIsFreed) {
  ASSERT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);
  {
    LoadedLibrary library("msimg32.dll");
    ASSERT_TRUE(library.IsLoaded());
    EXPECT_EQ(GetModuleHandleA("msimg32.dll"), library.Get());
    EXPECT_NE(library.Procedure("AlphaBlend"), nullptr);
    EXPECT_EQ(library.Procedure("NoSuchEntryPoint"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleA("msimg32.dll"), nullptr);
  LoadedLibrary missing("nosuchlibrary.dll");
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_EQ(missing.Procedure("Anything"), nullptr);
}

TEST(ScopedHandles, CursorRestorerPutsThePreviousCursorBack) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(arrow);
  {
    CursorRestorer busy(wait);
    EXPECT_EQ(GetCursor(), wait);
  }
  EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace

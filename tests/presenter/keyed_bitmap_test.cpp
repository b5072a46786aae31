// DrawKeyedBitmap on known backgrounds: every pixel of the key colour shows
// what was there before, every other pixel shows the bitmap, nothing
// outside the bitmap's rectangle changes, and the caller's bitmap keeps its
// pixels although the routine works on it in place.
#include "presenter/keyed_bitmap.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <string.h>

#include <vector>

#include "presenter/presenter_test_support.h"
#include "resources/resource_ids.h"
#include "support/view_harness.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// Rows of 32-bit pixels, top row first, as SetDIBits and StretchDIBits take them.
std::vector<DWORD> ToBgra(const Pixels& pixels) {
  std::vector<DWORD> bgra(pixels.rgb.size());
  for (size_t i = 0; i < bgra.size(); i++) {
    const COLORREF c = pixels.rgb[i];
    bgra[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
  }
  return bgra;
}

// A device-dependent bitmap of the screen's format, like the one
// LoadBitmapA gives the toolbar, holding the given pixels.
HBITMAP MakeScreenBitmap(const Pixels& pixels) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, pixels.width, pixels.height);
  BITMAPINFO info = TopDown32(pixels.width, pixels.height);
  const std::vector<DWORD> bgra = ToBgra(pixels);
  SetDIBits(screen, bitmap, 0, pixels.height, bgra.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// Every pixel of its own colour, so a pixel taken from the wrong place
// cannot pass for the right one.
Pixels Background(int width, int height) {
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  for (int y = 0; y < height; y++) {
    for (int x = 0; x < width; x++) {
      pixels.rgb.push_back(RGB(x * 7 + 3, y * 9 + 5, (x + y) % 2 ? 40 : 160));
    }
  }
  return pixels;
}

// A small picture whose top-left pixel is white, with white pixels inside
// it too and two colours one step away from white that must stay visible.
Pixels Picture() {
  Pixels pixels;
  pixels.width = 8;
  pixels.height = 6;
  for (int y = 0; y < pixels.height; y++) {
    for (int x = 0; x < pixels.width; x++) {
      pixels.rgb.push_back(RGB(200 - x * 11, 30 + y * 13, 90 + x * y));
    }
  }
  const POINT white[] = {{0, 0}, {3, 2}, {4, 2}, {4, 3}, {7, 5}, {0, 5}};
  for (const POINT& p : white) {
    pixels.rgb[p.y * pixels.width + p.x] = kWhite;
  }
  pixels.rgb[1 * pixels.width + 5] = RGB(254, 255, 255);
  pixels.rgb[1 * pixels.width + 6] = RGB(255, 255, 254);
  pixels.rgb[4 * pixels.width + 1] = RGB(255, 0, 0);
  pixels.rgb[3 * pixels.width + 6] = RGB(255, 0, 0);
  return pixels;
}

// What the destination must show after drawing picture at (left, top) with
// the given key colour over background.
Pixels Expected(const Pixels& background, const Pixels& picture, int left, int top, COLORREF key) {
  Pixels expected = background;
  for (int y = 0; y < picture.height; y++) {
    for (int x = 0; x < picture.width; x++) {
      const COLORREF colour = picture.At(x, y);
      if (colour != key) {
        expected.rgb[static_cast<size_t>(top + y) * expected.width + left + x] = colour;
      }
    }
  }
  return expected;
}

void ExpectSamePixels(const Pixels& actual, const Pixels& expected) {
  ASSERT_EQ(actual.width, expected.width);
  ASSERT_EQ(actual.height, expected.height);
  int wrong = 0;
  for (int y = 0; y < expected.height; y++) {
    for (int x = 0; x < expected.width; x++) {
      if (actual.At(x, y) != expected.At(x, y) && ++wrong <= 10) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << actual.At(x, y)
                      << ", expected " << expected.At(x, y);
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

// A 32-bit memory surface with a known picture on it.
class MemorySurface {
 public:
  explicit MemorySurface(const Pixels& pixels)
      : width(pixels.width), height(pixels.height), dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = TopDown32(width, height);
    section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous = SelectObject(dc, section);
    const std::vector<DWORD> bgra = ToBgra(pixels);
    memcpy(bits, bgra.data(), bgra.size() * sizeof(DWORD));
  }
  ~MemorySurface() {
    SelectObject(dc, previous);
    DeleteObject(section);
    DeleteDC(dc);
  }
  HDC Dc() const { return dc; }
  Pixels Read() const {
    GdiFlush();
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    const DWORD* bgra = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; i++) {
      pixels.rgb.push_back(RGB((bgra[i] >> 16) & 255, (bgra[i] >> 8) & 255, bgra[i] & 255));
    }
    return pixels;
  }

 private:
  int width;
  int height;
  HDC dc;
  HBITMAP section = nullptr;
  HGDIOBJ previous = nullptr;
  void* bits = nullptr;
};

TEST(DrawKeyedBitmap, KeyColouredPixelsShowTheBackgroundWhereverTheyAre) {
  const Pixels background = Background(24, 20);
  const Pixels picture = Picture();
  MemorySurface surface(background);
  HBITMAP bitmap = MakeScreenBitmap(picture);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(ReadBitmapPixels(bitmap).rgb, picture.rgb);

  DrawKeyedBitmap(surface.Dc(), bitmap, 5, 7, 0, 0);

  // White inside the picture is as transparent as white at its corner; the
  // two colours one step from white are drawn.
  ExpectSamePixels(surface.Read(), Expected(background, picture, 5, 7, kWhite));
  EXPECT_EQ(ReadBitmapPixels(bitmap).rgb, picture.rgb) << "the caller's bitmap changed";

  // Drawn again at another place, the restored bitmap gives the same picture.
  MemorySurface second(background);
  DrawKeyedBitmap(second.Dc(), bitmap, 16, 0, 0, 0);
  ExpectSamePixels(second.Read(), Expected(background, picture, 16, 0, kWhite));
  DeleteObject(bitmap);
}

TEST(DrawKeyedBitmap, TheKeyIsTheColourOfTheNamedPixel) {
  const Pixels background = Background(20, 16);
  const Pixels picture = Picture();
  MemorySurface surface(background);
  HBITMAP bitmap = MakeScreenBitmap(picture);
  ASSERT_NE(bitmap, nullptr);

  // Pixel (1, 4) is red: both red pixels vanish and white is drawn.
  DrawKeyedBitmap(surface.Dc(), bitmap, 2, 3, 1, 4);

  ExpectSamePixels(surface.Read(), Expected(background, picture, 2, 3, RGB(255, 0, 0)));
  EXPECT_EQ(ReadBitmapPixels(bitmap).rgb, picture.rgb) << "the caller's bitmap changed";
  DeleteObject(bitmap);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    ValidateRect(window, nullptr);  // the test draws the window's picture itself
    return 0;
  }
  if (message == WM_ERASEBKGND) {
    return 1;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

// A visible window on the screen, as the toolbar is.
class ScreenWindow {
 public:
  ScreenWindow(int width, int height) {
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = PlainWindowProc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "KeyedBitmapTestSurface";
    RegisterClassA(&window_class);
    window =
        CreateWindowExA(WS_EX_TOPMOST, "KeyedBitmapTestSurface", "", WS_POPUP | WS_VISIBLE, 40, 40,
                        width, height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpMessages(200);
  }
  ~ScreenWindow() { DestroyWindow(window); }
  HWND Handle() const { return window; }

  void Show(const Pixels& pixels) {
    HDC dc = GetDC(window);
    BITMAPINFO info = TopDown32(pixels.width, pixels.height);
    const std::vector<DWORD> bgra = ToBgra(pixels);
    SetDIBitsToDevice(dc, 0, 0, pixels.width, pixels.height, 0, 0, 0, pixels.height, bgra.data(),
                      &info, DIB_RGB_COLORS);
    ReleaseDC(window, dc);
  }

 private:
  HWND window;
};

TEST(DrawKeyedBitmap, TheBadgeOnAWindowKeepsTheWindowAroundItsCircle) {
  HBITMAP badge = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BADGE));
  ASSERT_NE(badge, nullptr);
  const Pixels picture = ReadBitmapPixels(badge);
  ASSERT_EQ(picture.width, 46);
  ASSERT_EQ(picture.height, 46);
  ASSERT_EQ(picture.At(0, 0), kWhite);

  const Pixels background = Background(80, 64);
  ScreenWindow window(background.width, background.height);
  window.Show(background);
  ASSERT_EQ(ReadWindowPixels(window.Handle()).rgb, background.rgb) << "the screen is not 24-bit";

  HDC dc = GetDC(window.Handle());
  DrawKeyedBitmap(dc, badge, 21, 9, 0, 0);
  ReleaseDC(window.Handle(), dc);

  ExpectSamePixels(ReadWindowPixels(window.Handle()), Expected(background, picture, 21, 9, kWhite));
  EXPECT_EQ(ReadBitmapPixels(badge).rgb, picture.rgb) << "the badge bitmap changed";
  DeleteObject(badge);
}

}  // namespace

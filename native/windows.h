// Stand-in for <windows.h> in the Linux build of the portable core: exactly
// the Win32 types and calls the core uses (packed-DIB headers, movable
// global memory, critical sections), with the sizes and behaviour the core
// relies on. The Windows build uses the real header; nothing else differs.
#ifndef VISTELLO_NATIVE_WINDOWS_H
#define VISTELLO_NATIVE_WINDOWS_H

#include <cstddef>
#include <cstdint>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef unsigned int UINT;
typedef int BOOL;
typedef std::size_t SIZE_T;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HGLOBAL;

#define TRUE 1
#define FALSE 0

#define GMEM_MOVEABLE 0x0002
#define BI_RGB 0

#pragma pack(push, 2)
struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
#pragma pack(pop)

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

static_assert(sizeof(BITMAPINFOHEADER) == 40, "packed DIB header is 40 bytes");
static_assert(sizeof(RGBQUAD) == 4, "colour table entries are 4 bytes");

// Movable global memory. A block is allocated exactly as large as asked,
// so the sanitizers see any access past its end; the handle is the block
// itself and locking is a no-op.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL memory);
BOOL GlobalUnlock(HGLOBAL memory);
HGLOBAL GlobalHandle(LPCVOID pointer);
SIZE_T GlobalSize(HGLOBAL memory);
HGLOBAL GlobalFree(HGLOBAL memory);

// Critical sections: recursive for the owning thread, as on Windows.
struct CRITICAL_SECTION {
  void* mutex;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;
void InitializeCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);

#endif  // VISTELLO_NATIVE_WINDOWS_H

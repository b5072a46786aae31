// One small, non-copyable holder per kind of Win32 handle, named for what
// its destructor does (registry keys have their own, with the reads built
// on them, in registry_key.h). Every handle the program makes is held by one of
// these (or by an object that releases it in its destructor), so no return
// path can leak a DC, a GDI object, a kernel handle, a key or a library.
#ifndef VISTELLO_WIN32_SCOPED_HANDLES_H
#define VISTELLO_WIN32_SCOPED_HANDLES_H

#include <windows.h>

// Base of the holders: not copyable, not movable.
class NonCopyable {
 protected:
  NonCopyable() = default;
  ~NonCopyable() = default;

 public:
  NonCopyable(const NonCopyable&) = delete;
  NonCopyable& operator=(const NonCopyable&) = delete;
};

// A window's DC from GetDC, released with ReleaseDC.
class WindowDC : NonCopyable {
 public:
  explicit WindowDC(HWND window) : window(window), dc(GetDC(window)) {}
  ~WindowDC() {
    if (dc)
      ReleaseDC(window, dc);
  }
  HDC Get() const { return dc; }
  operator HDC() const { return dc; }

 private:
  HWND window;
  HDC dc;
};

// BeginPaint / EndPaint around the drawing of a WM_PAINT.
class PaintScope : NonCopyable {
 public:
  explicit PaintScope(HWND window) : window(window) { dc = BeginPaint(window, &paint); }
  ~PaintScope() { EndPaint(window, &paint); }
  HDC Get() const { return dc; }
  operator HDC() const { return dc; }

 private:
  HWND window;
  PAINTSTRUCT paint;
  HDC dc;
};

// A memory DC from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDC : NonCopyable {
 public:
  explicit MemoryDC(HDC compatible_with) : dc(CreateCompatibleDC(compatible_with)) {}
  ~MemoryDC() {
    if (dc)
      DeleteDC(dc);
  }
  HDC Get() const { return dc; }
  operator HDC() const { return dc; }

 private:
  HDC dc;
};

// A GDI object (bitmap, brush, palette, font), deleted with DeleteObject.
// Release() hands ownership back to the caller.
template <typename Handle>
class GdiObject : NonCopyable {
 public:
  explicit GdiObject(Handle object = nullptr) : object(object) {}
  ~GdiObject() { Reset(); }
  void Reset(Handle replacement = nullptr) {
    if (object)
      DeleteObject(object);
    object = replacement;
  }
  Handle Release() {
    Handle released = object;
    object = nullptr;
    return released;
  }
  Handle Get() const { return object; }
  operator Handle() const { return object; }

 private:
  Handle object;
};

// Selects an object into a DC and selects the previous one back.
class SelectedObject : NonCopyable {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc(dc), previous(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (previous)
      SelectObject(dc, previous);
  }

 private:
  HDC dc;
  HGDIOBJ previous;
};

// Selects a palette into a DC (as a background palette when asked) and
// selects the previous one back, by default as a background palette, so
// that restoring never makes a window claim the foreground palette.
class SelectedPalette : NonCopyable {
 public:
  SelectedPalette(HDC dc, HPALETTE palette, bool background, bool restore_as_background = true)
      : dc(dc),
        previous(SelectPalette(dc, palette, background ? TRUE : FALSE)),
        restore_as_background(restore_as_background) {}
  ~SelectedPalette() {
    if (previous)
      SelectPalette(dc, previous, restore_as_background ? TRUE : FALSE);
  }

 private:
  HDC dc;
  HPALETTE previous;
  bool restore_as_background;
};

// A window's halftone palette: made from the window's DC on first use and
// kept, shared by whoever draws into the window, deleted with the holder.
class HalftonePaletteHolder : NonCopyable {
 public:
  HalftonePaletteHolder() : palette(nullptr) {}
  ~HalftonePaletteHolder() {
    if (palette)
      DeleteObject(palette);
  }
  HPALETTE For(HWND window) {
    if (palette == nullptr) {
      WindowDC dc(window);
      palette = CreateHalftonePalette(dc);
    }
    return palette;
  }

 private:
  HPALETTE palette;
};

// A kernel object handle (thread, process, event, file), closed with CloseHandle.
class KernelHandle : NonCopyable {
 public:
  explicit KernelHandle(HANDLE handle = nullptr) : handle(handle) {}
  ~KernelHandle() { Reset(); }
  void Reset(HANDLE replacement = nullptr) {
    if (handle && handle != INVALID_HANDLE_VALUE)
      CloseHandle(handle);
    handle = replacement;
  }
  HANDLE Get() const { return handle; }
  operator HANDLE() const { return handle; }

 private:
  HANDLE handle;
};

// A DLL loaded at run time with LoadLibraryA, unloaded with FreeLibrary.
// On failure nothing is held and the thread's last-error code says why.
class LoadedLibrary : NonCopyable {
 public:
  explicit LoadedLibrary(const char* name) : module(LoadLibraryA(name)) {}
  ~LoadedLibrary() {
    if (module)
      FreeLibrary(module);
  }
  bool IsLoaded() const { return module != nullptr; }
  HMODULE Get() const { return module; }
  // The exported entry point, or null when it is missing or nothing is
  // loaded (GetProcAddress with a null module would search the executable
  // itself). Valid only while this object lives.
  FARPROC Procedure(const char* name) const {
    return module ? GetProcAddress(module, name) : nullptr;
  }

 private:
  HMODULE module;
};

// Shows a cursor for the length of a task and puts the previous one back.
// Cursors from LoadCursorA are shared and never destroyed.
class CursorRestorer : NonCopyable {
 public:
  explicit CursorRestorer(HCURSOR cursor) : previous(SetCursor(cursor)) {}
  ~CursorRestorer() { SetCursor(previous); }

 private:
  HCURSOR previous;
};

#endif  // VISTELLO_WIN32_SCOPED_HANDLES_H

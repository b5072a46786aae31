// PanoramaOwner: what the panorama view needs of the window that owns it --
// the module instance (window class, splash bitmap), the main window (is it
// the foreground window?) and the status line. The application object
// implements it; tests supply their own.
#ifndef VISTELLO_PANORAMA_PANORAMA_OWNER_H
#define VISTELLO_PANORAMA_PANORAMA_OWNER_H

#include <windows.h>

class PanoramaOwner {
 public:
  virtual ~PanoramaOwner() = default;
  virtual HINSTANCE ModuleInstance() const = 0;
  virtual HWND MainWindow() const = 0;
  // May be called from the view's animation thread; implementations only
  // send a message to a window of the user-interface thread.
  virtual void SetStatusText(const char* text) = 0;
};

#endif  // VISTELLO_PANORAMA_PANORAMA_OWNER_H

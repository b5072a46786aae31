// Entry point of a tour executable: the application object decodes the
// tour, builds the main window and runs the message loop.
#include <windows.h>

#include "app/viewer_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
  ViewerApp* app = ViewerApp::Instance(instance);
  if (app == nullptr) {
    return 0;
  }
  int result = 0;
  if (app->Initialize(show_command)) {
    result = app->Run();
  }
  delete app;
  return result;
}

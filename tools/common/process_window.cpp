// FindProcessWindow through EnumWindows.
#include "common/process_window.h"

namespace {

struct WindowSearch {
  DWORD process_id;
  const char* class_name;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char class_name[256] = "";
  GetClassNameA(window, class_name, sizeof class_name);
  if (owner == search->process_id && IsWindowVisible(window) &&
      lstrcmpiA(class_name, search->class_name) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD process_id, const char* class_name) {
  WindowSearch search = {process_id, class_name, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

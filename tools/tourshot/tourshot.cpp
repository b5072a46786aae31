// tourshot: starts a tour executable, waits for its main window, saves a
// screenshot of the window as PNG, closes the window the way a user would
// and returns the program's exit status. Used by the demo command and the
// end-to-end test, under Wine.
//
//   tourshot [--class NAME] [--settle MS] [--command ID] OUT.png PROGRAM.exe [ARGS...]
//
// The window is closed with WM_CLOSE (the close box), or with WM_COMMAND ID
// when --command is given (a menu item such as File > Exit).
//
// Exit status: the program's own, or 120 when it could not be started,
// 121 when no window appeared, 122 when it did not end after the close,
// 123 when it ended well but the screenshot could not be saved.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "common/png_file.h"
#include "common/process_window.h"
#include "common/screen_copy.h"

namespace {

HWND WaitForWindow(DWORD process_id, HANDLE process, const char* class_name, DWORD timeout_ms) {
  for (DWORD waited = 0; waited < timeout_ms; waited += 100) {
    if (HWND found = FindProcessWindow(process_id, class_name)) {
      return found;
    }
    if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0) {
      return nullptr;
    }
  }
  return nullptr;
}

// Copies the window's screen rectangle, as the user sees it.
bool SaveScreenshot(HWND window, const char* path) {
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const std::vector<uint32_t> pixels = CopyScreen(rect.left, rect.top, width, height);
  if (pixels.empty()) {
    return false;
  }
  std::vector<uint8_t> rgb(pixels.size() * 3);
  for (size_t i = 0; i < pixels.size(); i++) {
    rgb[i * 3 + 0] = static_cast<uint8_t>(pixels[i] >> 16);
    rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
    rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
  }
  return WritePngFile(path, rgb.data(), width, height);
}

std::string QuoteArgument(const char* argument) {
  std::string quoted = "\"";
  quoted += argument;
  quoted += "\"";
  return quoted;
}

}  // namespace

int main(int argc, char** argv) {
  const char* class_name = "STANDALONEVIEWER";
  DWORD settle_ms = 3000;
  int close_command = 0;
  int at = 1;
  while (at < argc && strncmp(argv[at], "--", 2) == 0) {
    if (strcmp(argv[at], "--class") == 0 && at + 1 < argc) {
      class_name = argv[at + 1];
      at += 2;
    } else if (strcmp(argv[at], "--command") == 0 && at + 1 < argc) {
      close_command = atoi(argv[at + 1]);
      at += 2;
    } else if (strcmp(argv[at], "--settle") == 0 && at + 1 < argc) {
      settle_ms = static_cast<DWORD>(atoi(argv[at + 1]));
      at += 2;
    } else {
      break;
    }
  }
  if (argc - at < 2) {
    fprintf(stderr,
            "usage: tourshot [--class NAME] [--settle MS] [--command ID] OUT.png PROGRAM.exe "
            "[ARGS...]\n");
    return 2;
  }
  const char* out_path = argv[at];
  std::string command_line;
  for (int i = at + 1; i < argc; i++) {
    if (!command_line.empty()) {
      command_line += ' ';
    }
    command_line += QuoteArgument(argv[i]);
  }

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::vector<char> writable(command_line.begin(), command_line.end());
  writable.push_back('\0');
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    fprintf(stderr, "tourshot: cannot start %s (error %lu)\n", argv[at + 1], GetLastError());
    return 120;
  }
  CloseHandle(process.hThread);

  HWND window = WaitForWindow(process.dwProcessId, process.hProcess, class_name, 60000);
  if (window == nullptr) {
    fprintf(stderr, "tourshot: no %s window appeared\n", class_name);
    TerminateProcess(process.hProcess, 121);
    CloseHandle(process.hProcess);
    return 121;
  }
  Sleep(settle_ms);
  char title[256] = "";
  GetWindowTextA(window, title, sizeof title);
  RECT rect;
  GetWindowRect(window, &rect);
  const bool saved = SaveScreenshot(window, out_path);
  if (saved) {
    printf("tourshot: \"%s\" %ld x %ld, saved %s\n", title, rect.right - rect.left,
           rect.bottom - rect.top, out_path);
  } else {
    fprintf(stderr, "tourshot: could not save %s\n", out_path);
  }

  if (close_command != 0) {
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(close_command, 0), 0);
  } else {
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) {
    fprintf(stderr, "tourshot: the program did not end when its window was closed\n");
    TerminateProcess(process.hProcess, 122);
    CloseHandle(process.hProcess);
    return 122;
  }
  DWORD exit_code = 0;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hProcess);
  printf("tourshot: exit status %lu\n", exit_code);
  if (exit_code == 0 && !saved) {
    return 123;
  }
  return static_cast<int>(exit_code);
}

// Browser launch from the registered HTTP open command.
#include "share/browser_launch.h"

#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "win32/registry_key.h"

namespace {

const char kCommandKey[] = "HTTP\\shell\\open\\command";
const char kPlaceholder[] = "\"%1\"";
const size_t kPlaceholderLength = sizeof kPlaceholder - 1;

// Long enough for a browser to put up its window; the user-interface
// thread is blocked for the wait.
const DWORD kInputIdleLimit = 10000;  // milliseconds

}  // namespace

char* ReadBrowserCommand() {
  RegistryKey key;
  if (!key.OpenForReading(HKEY_CLASSES_ROOT, kCommandKey)) {
    return nullptr;
  }
  char* command = key.ReadDefaultText();
  if (command != nullptr) {
    BlankAddressPlaceholder(command);
  }
  return command;
}

void BlankAddressPlaceholder(char* command) {
  for (char* p = command; *p != '\0'; p = CharNextA(p)) {
    if (strncmp(p, kPlaceholder, kPlaceholderLength) == 0) {
      memset(p, ' ', kPlaceholderLength);
      return;
    }
  }
}

void StartBrowser(char* command_line) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return;
  }
  // The wait is on the browser: asked about the viewer itself it would
  // answer at once. The handles are ours; keeping them would leak two
  // handles per click.
  WaitForInputIdle(process.hProcess, kInputIdleLimit);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

void LaunchBrowser(const char* address) {
  char* command = ReadBrowserCommand();
  if (command == nullptr) {
    return;
  }
  const size_t command_length = strlen(command);
  const size_t address_length = strlen(address);
  // Browser command, one blank, address, terminator.
  char* command_line = static_cast<char*>(malloc(command_length + address_length + 2));
  if (command_line != nullptr) {
    memcpy(command_line, command, command_length);
    command_line[command_length] = ' ';
    memcpy(command_line + command_length + 1, address, address_length + 1);
    StartBrowser(command_line);
    free(command_line);
  }
  free(command);
}

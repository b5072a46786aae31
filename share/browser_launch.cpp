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

// Whether path names a program file, as it is or with the ".exe" that the
// system adds to a name without an extension. The buffer has room for
// those four more characters.
bool NamesProgramFile(char* path) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
      if (*p == '\\' || *p == '/') {
        name = p + 1;
      }
    }
    if (strchr(name, '.') != nullptr) {
      return false;
    }
    strcat(path, ".exe");
    attributes = GetFileAttributesA(path);
  }
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A new copy of the command line (the caller frees it; null when memory
// runs out) in which an unquoted program path with blanks is quoted: the
// longest part up to a blank, or the whole line, that names a program file.
// Left unquoted, the system would try each shorter part first, so
// "C:\Program Files\Browser\browser.exe" could start a "C:\Program.exe"
// that someone put there. A line that starts with a quote, or in which no
// such part names a file, is copied as it is. (A blank is never the trail
// byte of a double-byte character, so the search may step by bytes.)
char* QuoteProgramPath(const char* command) {
  const size_t length = strlen(command);
  char* quoted = static_cast<char*>(malloc(length + 3));
  char* candidate = static_cast<char*>(malloc(length + 5));
  if (quoted == nullptr || candidate == nullptr) {
    free(quoted);
    free(candidate);
    return nullptr;
  }
  memcpy(quoted, command, length + 1);
  for (size_t end = length; command[0] != '"' && end > 0; end--) {
    // A part ends before a blank, and never in one: the file system would
    // overlook trailing blanks and find the program with them included.
    if ((end < length && command[end] != ' ') || command[end - 1] == ' ') {
      continue;
    }
    memcpy(candidate, command, end);
    candidate[end] = '\0';
    if (memchr(candidate, ' ', end) == nullptr) {
      break;  // no blank left in the path: nothing to mistake it for
    }
    if (NamesProgramFile(candidate)) {
      quoted[0] = '"';
      memcpy(quoted + 1, command, end);
      quoted[end + 1] = '"';
      memcpy(quoted + end + 2, command + end, length - end + 1);
      break;
    }
  }
  free(candidate);
  return quoted;
}

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

// Runs on the user-interface thread, so it does not wait for the browser
// to come up: a slow browser would freeze the viewer for that long. The
// two handles of the new process are ours and let go at once.
void StartBrowser(char* command_line) {
  char* quoted = QuoteProgramPath(command_line);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessA(nullptr, quoted != nullptr ? quoted : command_line, nullptr,
                                      nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  free(quoted);
  if (started) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
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

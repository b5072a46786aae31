// A stand-in browser for the tests, registered as the HTTP open command:
// it writes the command line it was started with, byte for byte, to the
// file named by VISTELLO_RECORDER_OUTPUT and ends. With
// VISTELLO_RECORDER_DELAY set it first sleeps that many milliseconds, like
// a browser that takes its time to come up; with VISTELLO_RECORDER_SELF
// set it adds a line with its own path, so a test sees which copy ran.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char text[32];
  DWORD length = GetEnvironmentVariableA("VISTELLO_RECORDER_DELAY", text, sizeof text);
  if (length > 0 && length < sizeof text) {
    Sleep(strtoul(text, nullptr, 10));
  }
  char path[MAX_PATH];
  length = GetEnvironmentVariableA("VISTELLO_RECORDER_OUTPUT", path, sizeof path);
  if (length == 0 || length >= sizeof path) {
    return 2;
  }
  HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return 1;
  }
  const char* command_line = GetCommandLineA();
  DWORD written = 0;
  WriteFile(file, command_line, static_cast<DWORD>(strlen(command_line)), &written, nullptr);
  if (GetEnvironmentVariableA("VISTELLO_RECORDER_SELF", text, sizeof text) > 0) {
    char self[MAX_PATH] = "\n";
    GetModuleFileNameA(nullptr, self + 1, sizeof self - 1);
    WriteFile(file, self, static_cast<DWORD>(strlen(self)), &written, nullptr);
  }
  CloseHandle(file);
  return 0;
}

// Support for the share tests: files, environment, child processes, the
// stand-in main window and the reader of the MAPI record.
#include "share/share_test_support.h"

#include <stdlib.h>

namespace {

const char kSeparateProcessMarker[] = "VISTELLO_SEPARATE_PROCESS";
// A hung child is a failure, not a hang of the whole run.
const DWORD kSeparateProcessTimeout = 120000;  // milliseconds

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

std::string ExecutablePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path - 1);
  return path;
}

std::string ExecutableDirectory() {
  const std::string path = ExecutablePath();
  return path.substr(0, path.find_last_of("\\/") + 1);
}

std::string FreshTemporaryPath(const std::string& name) {
  char directory[MAX_PATH] = {};
  GetTempPathA(sizeof directory, directory);
  const std::string path = std::string(directory) + name;
  DeleteFileA(path.c_str());
  return path;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name(name) {
  char old[4096];
  const DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
  if (length > 0 && length < sizeof old) {
    previous = std::string(old, length);
  }
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  SetEnvironmentVariableA(name.c_str(), previous ? previous->c_str() : nullptr);
}

std::vector<HANDLE> ProcessAndThreadHandles() {
  // Not declared for the Windows versions the product targets.
  typedef DWORD(WINAPI * IdOfHandle)(HANDLE);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  const IdOfHandle process_id = reinterpret_cast<IdOfHandle>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetProcessId")));
  const IdOfHandle thread_id = reinterpret_cast<IdOfHandle>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetThreadId")));
  std::vector<HANDLE> handles;
  for (UINT_PTR value = 4; value < 0x10000 && process_id && thread_id; value += 4) {
    const HANDLE handle = reinterpret_cast<HANDLE>(value);
    DWORD flags = 0;
    if (GetHandleInformation(handle, &flags) && (process_id(handle) || thread_id(handle))) {
      handles.push_back(handle);
    }
  }
  return handles;
}

TestMainWindow::TestMainWindow() {
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = MainWindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.lpszClassName = "VistelloShareTestMain";
  RegisterClassA(&window_class);  // already registered by an earlier test: fine
  window = CreateWindowExA(0, window_class.lpszClassName, "Vistello share test",
                           WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 534, 321, nullptr, nullptr,
                           window_class.hInstance, nullptr);
  SetActiveWindow(window);
  SetFocus(window);
}

TestMainWindow::~TestMainWindow() {
  DestroyWindow(window);
}

bool IsSeparateProcessRun() {
  return GetEnvironmentVariableA(kSeparateProcessMarker, nullptr, 0) > 0;
}

std::string SystemMapiLibrary::Path() {
  char directory[MAX_PATH] = {};
  GetSystemDirectoryA(directory, sizeof directory);
  return std::string(directory) + "\\MAPI32.DLL";
}

namespace {

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const BOOL wrote =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return wrote && written == bytes.size();
}

}  // namespace

SystemMapiLibrary::SystemMapiLibrary(const std::string& library)
    : previous(ReadWholeFile(Path())), installed(false) {
  const std::optional<std::string> bytes = ReadWholeFile(library);
  installed = bytes.has_value() && WriteWholeFile(Path(), *bytes);
}

SystemMapiLibrary::~SystemMapiLibrary() {
  if (previous) {
    WriteWholeFile(Path(), *previous);
  } else {
    DeleteFileA(Path().c_str());
  }
}

DWORD RunInSeparateProcess(const std::string& exe_path, const std::string& test_name) {
  ScopedEnvironment marker(kSeparateProcessMarker, "1");
  std::string command_line = "\"" + exe_path + "\" --gtest_filter=SeparateProcess." + test_name;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &startup, &process);
  if (!started) {
    return ~0u;
  }
  DWORD exit_code = ~0u;
  if (WaitForSingleObject(process.hProcess, kSeparateProcessTimeout) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &exit_code);
  } else {
    TerminateProcess(process.hProcess, ~0u);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exit_code;
}

std::vector<MapiCall> ReadMapiCalls(const std::string& path) {
  std::vector<MapiCall> calls;
  const std::optional<std::string> record = ReadWholeFile(path);
  if (!record) {
    return calls;
  }
  const std::string& text = *record;
  size_t at = 0;
  while (at < text.size()) {
    const size_t equals = text.find('=', at);
    if (equals == std::string::npos) {
      break;
    }
    const std::string key = text.substr(at, equals - at);
    std::optional<std::string> value;
    size_t end;
    if (text.compare(equals + 1, 5, "null\n") == 0) {
      end = equals + 5;
    } else if (text[equals + 1] == 's') {
      const size_t colon = text.find(':', equals);
      const size_t length = strtoul(text.c_str() + equals + 2, nullptr, 10);
      value = text.substr(colon + 1, length);
      end = colon + 1 + length;
    } else {
      end = text.find('\n', equals);
      value = text.substr(equals + 1, end - equals - 1);
    }
    if (key == "call") {
      calls.emplace_back();
    }
    if (!calls.empty()) {
      calls.back()[key] = value;
    }
    at = end + 1;
  }
  return calls;
}

unsigned long long MapiNumber(const MapiCall& call, const std::string& key) {
  const auto found = call.find(key);
  return found != call.end() && found->second ? strtoull(found->second->c_str(), nullptr, 10)
                                              : 0xDEADBEEFull;
}

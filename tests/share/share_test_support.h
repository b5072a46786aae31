// Files, processes, windows and the MAPI record for the share tests.
#ifndef VISTELLO_TESTS_SHARE_SHARE_TEST_SUPPORT_H
#define VISTELLO_TESTS_SHARE_SHARE_TEST_SUPPORT_H

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Full path of this test program, and its folder with a trailing backslash.
std::string ExecutablePath();
std::string ExecutableDirectory();
// A path in the temporary directory; any file there is deleted first.
std::string FreshTemporaryPath(const std::string& name);
// The whole file, or nullopt when it cannot be opened.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Sets an environment variable of this process for the object's lifetime
// (unsets it with a null value); children started meanwhile inherit it.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name;
  std::optional<std::string> previous;
};

// The handles of processes and threads that this process holds, found by
// trying every candidate handle value. (Wine's GetProcessHandleCount always
// answers 0, and its WaitForInputIdle keeps an event handle per call, so a
// plain count would not do.)
std::vector<HANDLE> ProcessAndThreadHandles();

// A visible top-level window standing in for the viewer's main window.
class TestMainWindow {
 public:
  TestMainWindow();
  ~TestMainWindow();
  TestMainWindow(const TestMainWindow&) = delete;
  TestMainWindow& operator=(const TestMainWindow&) = delete;

  HWND Handle() const { return window; }

 private:
  HWND window;
};

// Puts a MAPI32.DLL in the system directory -- the only place the viewer
// loads it from -- for the object's lifetime, and then puts back what was
// there (in the test prefix: Wine's own mapi32).
class SystemMapiLibrary {
 public:
  explicit SystemMapiLibrary(const std::string& library);
  ~SystemMapiLibrary();
  SystemMapiLibrary(const SystemMapiLibrary&) = delete;
  SystemMapiLibrary& operator=(const SystemMapiLibrary&) = delete;

  bool Installed() const { return installed; }
  // The system directory's MAPI32.DLL, as the viewer names it.
  static std::string Path();

 private:
  std::optional<std::string> previous;  // the file's bytes before
  bool installed;
};

// Tests of the suite "SeparateProcess" run only in a program started for
// one of them, with VISTELLO_SEPARATE_PROCESS set; a plain run of the test
// program leaves them out.
bool IsSeparateProcessRun();
// Runs one SeparateProcess test in the program at exe_path (this program or
// a copy of it) and returns its exit code (0 when the test passed), or ~0
// when it could not be started or hung. The child inherits this process's
// environment. (A changed WINEDLLOVERRIDES does not reach it under Wine:
// the loader takes the overrides from the Unix side.)
DWORD RunInSeparateProcess(const std::string& exe_path, const std::string& test_name);

// What the test MAPI32.DLL noted for one MAPISendMail call: numbers as
// decimal texts, texts as their bytes, null pointers as nullopt.
using MapiCall = std::map<std::string, std::optional<std::string>>;
std::vector<MapiCall> ReadMapiCalls(const std::string& path);
unsigned long long MapiNumber(const MapiCall& call, const std::string& key);

#endif  // VISTELLO_TESTS_SHARE_SHARE_TEST_SUPPORT_H

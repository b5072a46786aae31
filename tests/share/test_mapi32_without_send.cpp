// A MAPI32.DLL that loads but has no MAPISendMail. It notes its loading
// and unloading in the file named by VISTELLO_MAPI_RECORD ("attach=1",
// "detach=1"), so a test can tell that the viewer really loaded it, and
// freed it again.
#include <windows.h>

namespace {

void Note(const char* line, DWORD length) {
  char path[MAX_PATH];
  DWORD path_length = GetEnvironmentVariableA("VISTELLO_MAPI_RECORD", path, sizeof path);
  if (path_length == 0 || path_length >= sizeof path) {
    return;
  }
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, line, length, &written, nullptr);
    CloseHandle(file);
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    Note("attach=1\n", 9);
  } else if (reason == DLL_PROCESS_DETACH) {
    Note("detach=1\n", 9);
  }
  return TRUE;
}

// Some export, so that the library is an ordinary one without the entry
// point the viewer asks for.
extern "C" ULONG WINAPI MAPILogon(ULONG_PTR, LPSTR, LPSTR, ULONG, ULONG, ULONG_PTR*) {
  return 2;  // MAPI_E_FAILURE
}

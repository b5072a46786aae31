// "Send to a Friend": survey, warnings with their per-user flag, and the
// Simple MAPI submission of the running executable.
#include "share/send_to_friend.h"

#include <stdlib.h>
#include <string.h>

#include "resources/resource_ids.h"
#include "share/simple_mapi.h"
#include "win32/registry_key.h"
#include "win32/scoped_handles.h"

namespace {

const char kAolKey[] = "SOFTWARE\\America Online\\America Online";
const char kCompuServeKey[] = "SOFTWARE\\CompuServe\\CompuServe";
const char kMailClientsKey[] = "SOFTWARE\\Clients\\Mail";
const char kFlagKey[] = "Software\\Orvo\\Vistello";
const char kFlagValue[] = "NoEmailMessageBox";

const char kMailBodyName[] = "MailBody";
const char kMailBodyType[] = "MAILBODY";
const int kSubjectLength = 1024;  // characters, terminator included
const char kMapiLibrary[] = "\\MAPI32.DLL";

const char kFailureText[] = "Failed to send message";
const char kFailureCaption[] = "Send E-mail Tour";

bool MachineKeyExists(const char* path) {
  RegistryKey key;
  return key.Open(HKEY_LOCAL_MACHINE, path);
}

// Runs one of the warning dialogs; its result is the button's id, or -1
// when the dialog could not be created.
INT_PTR RunWarning(HWND main_window, HINSTANCE instance, int template_id) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(template_id), main_window,
                         MailWarningDialogProc, 0);
}

// The file name and extension of a full path: what follows the last path
// separator, or the drive's colon. The scan steps by characters of the
// ANSI code page, so the trail byte of a double-byte character (0x5C is a
// common one) is never taken for a backslash.
const char* FinalPathComponent(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; p = CharNextA(p)) {
    if (*p == '\\' || *p == '/' || (p == path + 1 && *p == ':')) {
      name = p + 1;
    }
  }
  return name;
}

// 0, 1 (the user cancelled the compose dialog) and 3 (the user cancelled
// the logon) are the user's own doing; anything else failed.
void ReportResult(HWND main_window, ULONG result) {
  if (result != kMapiSuccess && result != kMapiUserAbort && result != kMapiLoginFailure) {
    MessageBoxA(main_window, kFailureText, kFailureCaption, MB_OK | MB_ICONERROR);
  }
}

// The full path of the system directory's MAPI32.DLL in path (capacity
// characters), or false when the system directory does not fit. Only that
// file is ever loaded: a tour runs from download folders and among mail
// attachments, where a MAPI32.DLL saved beside it would otherwise run
// inside the viewer (a bare name searches the program's own folder first).
bool SystemMapiPath(char* path, UINT capacity) {
  const UINT room = capacity - static_cast<UINT>(sizeof kMapiLibrary);
  const UINT length = GetSystemDirectoryA(path, room);
  if (length == 0 || length >= room) {
    return false;
  }
  memcpy(path + length, kMapiLibrary, sizeof kMapiLibrary);
  return true;
}

// Hands the message to the mail client and blocks until its dialogs close.
// The main window is disabled and holds the capture meanwhile, so the
// viewer takes no input while the client's windows are up.
ULONG CallMailClient(MapiSendMailFunction send_mail, HWND main_window, MapiMessage* message) {
  EnableWindow(main_window, FALSE);
  SetCapture(main_window);
  SetFocus(nullptr);
  const ULONG result = send_mail(0, reinterpret_cast<ULONG_PTR>(main_window), message,
                                 kMapiLogonUi | kMapiDialog, 0);
  ReleaseCapture();
  EnableWindow(main_window, TRUE);
  // Deactivating first makes the activation below a real change, so the
  // main window comes back to the front after the client's windows.
  SetActiveWindow(nullptr);
  SetActiveWindow(main_window);
  SetFocus(main_window);
  return result;
}

void SendMail(HWND main_window, HINSTANCE instance) {
  // Destroyed in reverse order: the library is unloaded before the cursor
  // comes back, and any error box is shown while both are still held.
  CursorRestorer wait_cursor(LoadCursorA(nullptr, IDC_WAIT));
  char library_path[MAX_PATH];
  if (!SystemMapiPath(library_path, sizeof library_path)) {
    ReportResult(main_window, ERROR_PATH_NOT_FOUND);
    return;
  }
  LoadedLibrary mapi(library_path);
  if (!mapi.IsLoaded()) {
    // A load failure that leaves no error code behind is treated like a
    // library without the entry point: silently.
    const DWORD error = GetLastError();
    if (error != 0) {
      ReportResult(main_window, error);
    }
    return;
  }
  // Through void (*)(): FARPROC is only a placeholder for the real type.
  const MapiSendMailFunction send_mail = reinterpret_cast<MapiSendMailFunction>(
      reinterpret_cast<void (*)()>(mapi.Procedure("MAPISendMail")));
  if (send_mail == nullptr) {
    return;
  }

  // An empty path when it cannot be had: the mail client's answer decides.
  char path[MAX_PATH] = {};
  GetModuleFileNameA(instance, path, sizeof path);
  path[sizeof path - 1] = '\0';  // older systems do not terminate a truncated path
  char attachment_name[MAX_PATH];
  lstrcpynA(attachment_name, FinalPathComponent(path), sizeof attachment_name);

  MapiFileDesc attachment = {};
  attachment.nPosition = kMapiNoPosition;
  attachment.lpszPathName = path;
  attachment.lpszFileName = attachment_name;

  char subject[kSubjectLength] = {};
  LoadStringA(instance, IDS_MAIL_SUBJECT, subject, sizeof subject);
  char* body = nullptr;  // owned; null when the tour has no mail body
  LoadMailBody(&body);

  MapiMessage message = {};
  message.lpszSubject = subject;
  message.lpszNoteText = body;
  message.nFileCount = 1;
  message.lpFiles = &attachment;

  const ULONG result = CallMailClient(send_mail, main_window, &message);
  free(body);
  ReportResult(main_window, result);
}

}  // namespace

void SendToFriend(HWND main_window, HINSTANCE instance) {
  const bool has_aol = HasAolClient();
  const bool has_compuserve = HasCompuServeClient();
  const bool has_mail_client = HasDefaultMailClient();
  const bool has_online_service = has_aol || has_compuserve;

  // Without a mail client there is nothing to try; these two warnings
  // offer no choice, so the flag neither silences them nor is read.
  if (!has_mail_client) {
    RunWarning(main_window, instance, has_online_service ? IDD_MAIL_AOL_ONLY : IDD_MAIL_NONE);
    return;
  }
  if (ReadNoEmailMessageBox() == 0) {
    const int warning = has_online_service ? IDD_MAIL_AOL_AND_CLIENT : IDD_MAIL_CLIENT;
    if (RunWarning(main_window, instance, warning) == IDNO) {
      return;
    }
  }
  SendMail(main_window, instance);
}

bool HasAolClient() {
  return MachineKeyExists(kAolKey);
}

bool HasCompuServeClient() {
  return MachineKeyExists(kCompuServeKey);
}

bool HasDefaultMailClient() {
  RegistryKey key;
  if (!key.OpenForReading(HKEY_LOCAL_MACHINE, kMailClientsKey)) {
    return false;
  }
  char* client = key.ReadDefaultText();
  const bool named = client != nullptr && client[0] != '\0';
  free(client);
  return named;
}

DWORD ReadNoEmailMessageBox() {
  RegistryKey key;
  if (!key.Create(HKEY_CURRENT_USER, kFlagKey)) {
    return 0;
  }
  DWORD value = 0;
  DWORD type = REG_DWORD;
  DWORD size = sizeof value;
  const LONG status = RegQueryValueExA(key.Handle(), kFlagValue, nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size);
  return status == ERROR_SUCCESS && size == sizeof value ? value : 0;
}

void WriteNoEmailMessageBox(DWORD value) {
  RegistryKey key;
  if (key.Create(HKEY_CURRENT_USER, kFlagKey)) {
    RegSetValueExA(key.Handle(), kFlagValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
  }
}

DWORD LoadMailBody(char** body) {
  *body = nullptr;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC resource = FindResourceA(module, kMailBodyName, kMailBodyType);
  if (resource == nullptr) {
    return 0;
  }
  const DWORD size = SizeofResource(module, resource);
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  char* copy = bytes != nullptr && size < MAXDWORD ? static_cast<char*>(malloc(size + 1)) : nullptr;
  if (copy == nullptr) {
    return 0;
  }
  // The resource is not terminated, and whatever follows it in the image
  // is not part of the note.
  memcpy(copy, bytes, size);
  copy[size] = '\0';
  *body = copy;
  return size;
}

INT_PTR CALLBACK MailWarningDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      // The dialogs' class is the system's; every dialog of the process
      // shows the application icon from now on, which is what we want.
      SetClassLongPtrA(dialog, GCLP_HICON,
                       reinterpret_cast<LONG_PTR>(LoadIconA(
                           GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APPLICATION_ICON))));
      return TRUE;  // the dialog manager focuses the first tab stop
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDYES: {
          HWND check_box = GetDlgItem(dialog, IDC_DONT_SHOW_AGAIN);
          if (check_box != nullptr) {
            WriteNoEmailMessageBox(static_cast<DWORD>(SendMessageA(check_box, BM_GETCHECK, 0, 0)));
          }
          EndDialog(dialog, IDYES);
          return TRUE;
        }
        case IDOK:
        case IDCANCEL:
        case IDNO:
          EndDialog(dialog, LOWORD(wparam));
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

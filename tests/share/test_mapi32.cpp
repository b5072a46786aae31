// A stand-in MAPI32.DLL for the tests: MAPISendMail appends what it was
// given, and the state of the caller's windows at that moment, to the file
// named by VISTELLO_MAPI_RECORD, and answers with VISTELLO_MAPI_RESULT
// (0 when unset). It is built against the SDK's mapi.h, independently of
// the viewer's own definitions of the records, so a layout slip on either
// side shows up as garbage in the record.
//
// Record format, one "key=value" line per item: numbers in decimal, texts
// as "s<length>:<bytes>" (the bytes may hold line breaks), null pointers as
// "null". Every call starts with "call=<n>", n counting from 1.
#include <windows.h>

#include <mapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

LONG call_count = 0;

class Record {
 public:
  Record() : file(INVALID_HANDLE_VALUE) {
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("VISTELLO_MAPI_RECORD", path, sizeof path);
    if (length == 0 || length >= sizeof path) {
      return;
    }
    file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~Record() {
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
    }
  }
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;

  // Wide enough for a pointer or a handle in either build.
  void Number(const char* key, unsigned long long value) {
    char line[100];
    Write(line, snprintf(line, sizeof line, "%s=%llu\n", key, value));
  }
  void Text(const char* key, const char* text) {
    char head[100];
    if (text == nullptr) {
      Write(head, snprintf(head, sizeof head, "%s=null\n", key));
      return;
    }
    const size_t length = strlen(text);
    Write(head, snprintf(head, sizeof head, "%s=s%lu:", key, static_cast<unsigned long>(length)));
    Write(text, static_cast<int>(length));
    Write("\n", 1);
  }
  void Pointer(const char* key, const void* pointer) {
    if (pointer == nullptr) {
      Text(key, nullptr);
    } else {
      Number(key, reinterpret_cast<ULONG_PTR>(pointer));
    }
  }

 private:
  void Write(const void* bytes, int length) {
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE && length > 0) {
      WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr);
    }
  }

  HANDLE file;
};

ULONG ChosenResult() {
  char text[32];
  DWORD length = GetEnvironmentVariableA("VISTELLO_MAPI_RESULT", text, sizeof text);
  return length > 0 && length < sizeof text ? strtoul(text, nullptr, 0) : 0;
}

}  // namespace

extern "C" ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui_param, lpMapiMessage message,
                                     FLAGS flags, ULONG reserved) {
  Record record;
  record.Number("call", static_cast<unsigned long>(InterlockedIncrement(&call_count)));
  record.Number("session", session);
  record.Number("ui_param", ui_param);
  record.Number("flags", flags);
  record.Number("reserved", reserved);

  HWND window = reinterpret_cast<HWND>(ui_param);
  record.Number("window_enabled", IsWindowEnabled(window) ? 1 : 0);
  record.Number("capture_is_window", GetCapture() == window ? 1 : 0);
  record.Number("focus_is_null", GetFocus() == nullptr ? 1 : 0);
  record.Number("wait_cursor", GetCursor() == LoadCursorA(nullptr, IDC_WAIT) ? 1 : 0);

  if (message == nullptr) {
    record.Text("message", nullptr);
    return ChosenResult();
  }
  record.Number("message.ulReserved", message->ulReserved);
  record.Text("message.lpszSubject", message->lpszSubject);
  record.Text("message.lpszNoteText", message->lpszNoteText);
  record.Text("message.lpszMessageType", message->lpszMessageType);
  record.Text("message.lpszDateReceived", message->lpszDateReceived);
  record.Text("message.lpszConversationID", message->lpszConversationID);
  record.Number("message.flFlags", message->flFlags);
  record.Pointer("message.lpOriginator", message->lpOriginator);
  record.Number("message.nRecipCount", message->nRecipCount);
  record.Pointer("message.lpRecips", message->lpRecips);
  record.Number("message.nFileCount", message->nFileCount);
  record.Pointer("message.lpFiles", message->lpFiles);
  for (ULONG i = 0; message->lpFiles != nullptr && i < message->nFileCount && i < 4; ++i) {
    const MapiFileDesc& file = message->lpFiles[i];
    record.Number("file.ulReserved", file.ulReserved);
    record.Number("file.flFlags", file.flFlags);
    record.Number("file.nPosition", file.nPosition);
    record.Text("file.lpszPathName", file.lpszPathName);
    record.Text("file.lpszFileName", file.lpszFileName);
    record.Pointer("file.lpFileType", file.lpFileType);
  }
  return ChosenResult();
}

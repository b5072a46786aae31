// The part of the published Simple MAPI interface that "Send to a Friend"
// uses. MAPISendMail is looked up at run time in MAPI32.DLL, so the
// executable neither imports the library nor depends on an SDK header for
// it; the records below must match the published layouts byte for byte,
// because the mail client reads them as such.
#ifndef VISTELLO_SHARE_SIMPLE_MAPI_H
#define VISTELLO_SHARE_SIMPLE_MAPI_H

#include <stddef.h>
#include <windows.h>

// Recipients are left to the user in the mail client's compose dialog, so
// this record is only ever referred to by null pointers.
struct MapiRecipDesc;

struct MapiFileDesc {
  ULONG ulReserved;    // 0
  ULONG flFlags;       // 0: an ordinary data file
  ULONG nPosition;     // character position in the note text; all bits set: none
  LPSTR lpszPathName;  // full path of the file to attach
  LPSTR lpszFileName;  // name the recipient sees; null: taken from the path
  LPVOID lpFileType;   // null: no type information
};

struct MapiMessage {
  ULONG ulReserved;
  LPSTR lpszSubject;
  LPSTR lpszNoteText;
  LPSTR lpszMessageType;
  LPSTR lpszDateReceived;
  LPSTR lpszConversationID;
  ULONG flFlags;
  MapiRecipDesc* lpOriginator;
  ULONG nRecipCount;
  MapiRecipDesc* lpRecips;
  ULONG nFileCount;
  MapiFileDesc* lpFiles;
};

#if defined(_WIN64)
// The 64-bit layouts: ULONG stays four bytes, pointers are eight and
// naturally aligned, so a ULONG before a pointer is followed by four bytes
// of padding.
static_assert(sizeof(MapiFileDesc) == 40 && offsetof(MapiFileDesc, nPosition) == 8 &&
                  offsetof(MapiFileDesc, lpszPathName) == 16 &&
                  offsetof(MapiFileDesc, lpFileType) == 32,
              "MapiFileDesc must keep the published layout");
static_assert(sizeof(MapiMessage) == 96 && offsetof(MapiMessage, lpszSubject) == 8 &&
                  offsetof(MapiMessage, flFlags) == 48 &&
                  offsetof(MapiMessage, lpOriginator) == 56 &&
                  offsetof(MapiMessage, nRecipCount) == 64 &&
                  offsetof(MapiMessage, lpRecips) == 72 &&
                  offsetof(MapiMessage, nFileCount) == 80 && offsetof(MapiMessage, lpFiles) == 88,
              "MapiMessage must keep the published layout");
#else
// The 32-bit layouts: every field is four bytes, no padding.
static_assert(sizeof(MapiFileDesc) == 24 && offsetof(MapiFileDesc, lpszPathName) == 12,
              "MapiFileDesc must keep the published layout");
static_assert(sizeof(MapiMessage) == 48 && offsetof(MapiMessage, flFlags) == 24 &&
                  offsetof(MapiMessage, lpFiles) == 44,
              "MapiMessage must keep the published layout");
#endif

typedef ULONG(WINAPI* MapiSendMailFunction)(ULONG_PTR session, ULONG_PTR ui_param,
                                            MapiMessage* message, ULONG flags, ULONG reserved);

// MAPISendMail flags.
const ULONG kMapiLogonUi = 0x00000001;  // the client may ask the user to log on
const ULONG kMapiDialog = 0x00000008;   // show the compose dialog

// MAPISendMail results that need no word from the viewer: the mail went,
// or the user cancelled the compose dialog or the logon.
const ULONG kMapiSuccess = 0;
const ULONG kMapiUserAbort = 1;
const ULONG kMapiLoginFailure = 3;

// nPosition for an attachment that has no place in the note text.
const ULONG kMapiNoPosition = 0xFFFFFFFF;

#endif  // VISTELLO_SHARE_SIMPLE_MAPI_H

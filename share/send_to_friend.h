// "Send to a Friend": mails the running executable -- the whole tour --
// through the installed mail client with Simple MAPI, after a registry
// survey that warns when the mail software found is unlikely to work.
#ifndef VISTELLO_SHARE_SEND_TO_FRIEND_H
#define VISTELLO_SHARE_SEND_TO_FRIEND_H

#include <windows.h>

// The whole command, on the user-interface thread. main_window owns every
// dialog and message box and is handed to the mail client; instance holds
// the dialog templates and the subject string and names the executable
// that is attached. Returns when the warning and the mail client's dialogs
// are closed. Only the Yes button of a warning changes anything that
// outlives the call (the flag below).
void SendToFriend(HWND main_window, HINSTANCE instance);

// The survey, asked afresh at every invocation.
bool HasAolClient();
bool HasCompuServeClient();
// True when HKEY_LOCAL_MACHINE "SOFTWARE\Clients\Mail" names a default
// client: its default value reads as a non-empty text.
bool HasDefaultMailClient();

// The per-user flag that silences the warnings offering a choice,
// HKEY_CURRENT_USER "Software\Orvo\Vistello" value "NoEmailMessageBox".
// Reading creates the key when it is missing. Anything but a 4-byte value
// reads as 0: the flag is only ever written as a REG_DWORD, so a value of
// another size was not written by us and must not silence the warnings.
// A 4-byte value is read as a number whatever its stored type.
DWORD ReadNoEmailMessageBox();
// Stores the flag as REG_DWORD; a failure is silent.
void WriteNoEmailMessageBox(DWORD value);

// Sets *body to a new NUL-terminated copy of the executable's "MailBody"
// resource of type "MAILBODY" -- exactly its bytes, which carry no
// terminator of their own -- to be released with free(). Returns the
// resource's size in bytes. When the resource is missing or cannot be
// copied *body is null and the result is 0.
DWORD LoadMailBody(char** body);

// Shared by the warning dialogs 161 to 164, run modally with
// DialogBoxParamA. Yes (6) stores the state of check box 1028, when the
// dialog has one, as the flag; Yes, OK (1), cancel (2, also Escape) and
// No (7) end the dialog with their own id.
INT_PTR CALLBACK MailWarningDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

#endif  // VISTELLO_SHARE_SEND_TO_FRIEND_H

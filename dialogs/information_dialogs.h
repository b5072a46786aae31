// The information boxes: contact information (144), help (143), about the
// maker (142) and the about box (103). Each is modal, owned by the main
// window and keeps no state: every opening reads the tour's presenter texts
// and the string table anew.
#ifndef VISTELLO_DIALOGS_INFORMATION_DIALOGS_H
#define VISTELLO_DIALOGS_INFORMATION_DIALOGS_H

#include <windows.h>

// Runs box dialog_id (IDD_ABOUT, IDD_ABOUT_MAKER, IDD_HELP or IDD_CONTACT)
// and returns when it is closed. The result is of no interest to anyone:
// OK, Escape and the close box all just close it.
void ShowInformationDialog(HINSTANCE instance, HWND owner, int dialog_id);

// The dialog procedures, one per box.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK ContactDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK HelpDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK AboutMakerDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The help or about text: the strings of ids joined in order, each piece
// cut at 4195 characters; a missing string contributes nothing. Returns a
// malloc'd text the caller frees, or null when memory runs out.
char* JoinStrings(HINSTANCE instance, const int* ids, int count);

#endif  // VISTELLO_DIALOGS_INFORMATION_DIALOGS_H

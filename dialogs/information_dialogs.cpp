// Dialog procedures of the contact, help, about-the-maker and about boxes.
#include "dialogs/information_dialogs.h"

#include <stdlib.h>
#include <string.h>

#include "app/viewer_app.h"
#include "resources/resource_ids.h"

namespace {

const int kPieceCapacity = 4196;
const int kHelpStrings[] = {IDS_HELP_OVERVIEW,  IDS_HELP_FEATURES, IDS_HELP_DOWNLOADING,
                            IDS_HELP_SHARING,   IDS_HELP_SYSTEMS,  IDS_HELP_CONTACT,
                            IDS_HELP_TRADEMARKS};
const int kAboutMakerStrings[] = {IDS_ABOUT_MAKER_TITLE, IDS_ABOUT_MAKER_BUSINESS,
                                  IDS_ABOUT_MAKER_LEARN_MORE, IDS_ABOUT_MAKER_TERMS,
                                  IDS_ABOUT_MAKER_COPYRIGHT};

// What every box does: the application icon on the dialog class when it
// opens, and OK, Escape and the close box end it with their id.
bool HandleCommon(HWND dialog, UINT message, WPARAM wparam) {
  if (message == WM_INITDIALOG) {
    SetClassLongA(dialog, GCL_HICON,
                  reinterpret_cast<LONG>(LoadIconA(GetModuleHandleA(nullptr),
                                                   MAKEINTRESOURCEA(IDI_APPLICATION_ICON))));
    return false;  // the box's own set-up follows
  }
  if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wparam));
    return true;
  }
  return false;
}

void SetTextAndFont(HWND dialog, int id, const char* text, HFONT font) {
  if (text != nullptr) {
    SetDlgItemTextA(dialog, id, text);
  }
  if (font != nullptr) {
    SendDlgItemMessageA(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

void FillTextBox(HWND dialog, const int* ids, int count) {
  char* text = JoinStrings(GetModuleHandleA(nullptr), ids, count);
  if (text != nullptr) {
    SetDlgItemTextA(dialog, IDC_TEXT_BOX, text);
    free(text);
  }
}

INT_PTR TextBoxDialog(HWND dialog, UINT message, WPARAM wparam, const int* ids, int count) {
  if (HandleCommon(dialog, message, wparam)) {
    return TRUE;
  }
  if (message == WM_INITDIALOG) {
    FillTextBox(dialog, ids, count);
    return TRUE;  // the dialog manager focuses the first tab stop, OK
  }
  return FALSE;
}

}  // namespace

// Loads string id into piece (kPieceCapacity characters); returns its length.
static size_t LoadPiece(HINSTANCE instance, int id, char* piece) {
  const int length = LoadStringA(instance, id, piece, kPieceCapacity);
  return length > 0 ? static_cast<size_t>(length) : 0;
}

char* JoinStrings(HINSTANCE instance, const int* ids, int count) {
  char* piece = static_cast<char*>(malloc(kPieceCapacity));
  if (piece == nullptr) {
    return nullptr;
  }
  size_t total = 0;
  for (int i = 0; i < count; i++) {
    total += LoadPiece(instance, ids[i], piece);
  }
  char* joined = static_cast<char*>(malloc(total + 1));
  if (joined != nullptr) {
    size_t at = 0;
    for (int i = 0; i < count; i++) {
      const size_t length = LoadPiece(instance, ids[i], piece);
      memcpy(joined + at, piece, length);
      at += length;
    }
    joined[at] = '\0';
  }
  free(piece);
  return joined;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (HandleCommon(dialog, message, wparam)) {
    return TRUE;
  }
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The presenter's record in the application's fonts, which the box only
// borrows: the lines, top to bottom, are "Presented by:", name, company,
// telephone, e-mail list, location and listing.
INT_PTR CALLBACK ContactDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (HandleCommon(dialog, message, wparam)) {
    return TRUE;
  }
  if (message != WM_INITDIALOG) {
    return FALSE;
  }
  if (const ViewerApp* app = ViewerApp::Current()) {
    const TourDescription& tour = app->Tour();
    const MainWindowFonts& fonts = app->Fonts();
    SetTextAndFont(dialog, IDC_CONTACT_NAME, tour.presenter_name, fonts.LargeBold());
    SetTextAndFont(dialog, IDC_CONTACT_COMPANY, tour.presenter_company, fonts.Bold());
    SetTextAndFont(dialog, IDC_CONTACT_PRESENTED_BY, nullptr, fonts.Small());
    SetTextAndFont(dialog, IDC_CONTACT_EMAIL, tour.presenter_email, nullptr);
    SetTextAndFont(dialog, IDC_CONTACT_PHONE, tour.presenter_phone, nullptr);
    SetTextAndFont(dialog, IDC_CONTACT_LISTING, tour.listing, nullptr);
    SetTextAndFont(dialog, IDC_CONTACT_LOCATION, tour.location, nullptr);
  }
  return TRUE;
}

INT_PTR CALLBACK HelpDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  return TextBoxDialog(dialog, message, wparam, kHelpStrings,
                       sizeof kHelpStrings / sizeof kHelpStrings[0]);
}

INT_PTR CALLBACK AboutMakerDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  return TextBoxDialog(dialog, message, wparam, kAboutMakerStrings,
                       sizeof kAboutMakerStrings / sizeof kAboutMakerStrings[0]);
}

void ShowInformationDialog(HINSTANCE instance, HWND owner, int dialog_id) {
  DLGPROC procedure = nullptr;
  switch (dialog_id) {
    case IDD_ABOUT:
      procedure = AboutDialogProc;
      break;
    case IDD_ABOUT_MAKER:
      procedure = AboutMakerDialogProc;
      break;
    case IDD_HELP:
      procedure = HelpDialogProc;
      break;
    case IDD_CONTACT:
      procedure = ContactDialogProc;
      break;
    default:
      return;
  }
  DialogBoxParamA(instance, MAKEINTRESOURCEA(dialog_id), owner, procedure, 0);
}

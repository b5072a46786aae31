// Dialog procedures of the contact, help, about-the-maker and about boxes.
#include "dialogs/information_dialogs.h"

#include <stdlib.h>
#include <string.h>

#include "app/viewer_app.h"
#include "resources/resource_ids.h"
#include "win32/scoped_handles.h"

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
    SetClassLongPtrA(dialog, GCLP_HICON,
                     reinterpret_cast<LONG_PTR>(LoadIconA(GetModuleHandleA(nullptr),
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

// The e-mail list as the contact box shows it: each separator ends a line,
// so every address starts on a line of its own and none is split at the
// line's end. Blanks after a separator go. A malloc'd text the caller
// frees, or null when memory runs out.
char* AddressLines(const char* list) {
  size_t separators = 0;
  for (const char* p = list; *p != '\0'; p = CharNextA(p)) {
    separators += *p == ';';
  }
  char* lines = static_cast<char*>(malloc(strlen(list) + 2 * separators + 1));
  if (lines == nullptr) {
    return nullptr;
  }
  char* out = lines;
  for (const char* p = list; *p != '\0';) {
    const char* next = CharNextA(p);
    memcpy(out, p, next - p);
    out += next - p;
    if (*p == ';' && *next != '\0') {
      *out++ = '\r';
      *out++ = '\n';
      while (*next == ' ') {
        next++;
      }
    }
    p = next;
  }
  *out = '\0';
  return lines;
}

// Grows a text line of the box to what its text needs, measured in its own
// font and wrapped as a static text wraps: the controls below it move down
// by the extra height, the box grows by the extra height and width, and the
// OK button moves right by half the extra width, keeping to the middle.
void FitLineToText(HWND dialog, int id) {
  HWND line = GetDlgItem(dialog, id);
  const int length = line != nullptr ? GetWindowTextLengthA(line) : 0;
  char* text = length > 0 ? static_cast<char*>(malloc(length + 1)) : nullptr;
  if (text == nullptr) {
    return;
  }
  GetWindowTextA(line, text, length + 1);
  RECT place;
  GetWindowRect(line, &place);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  RECT needed = {0, 0, place.right - place.left, 0};
  {
    WindowDC dc(line);
    SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(line, WM_GETFONT, 0, 0)));
    DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  }
  free(text);
  const int wider = needed.right - (place.right - place.left);
  const int taller = needed.bottom - (place.bottom - place.top);
  if (wider <= 0 && taller <= 0) {
    return;
  }
  const int dx = wider > 0 ? wider : 0;
  const int dy = taller > 0 ? taller : 0;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    if (child == line) {
      SetWindowPos(child, nullptr, 0, 0, rect.right - rect.left + dx, rect.bottom - rect.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER);
    } else if (rect.top >= place.bottom) {
      const int right = GetDlgCtrlID(child) == IDOK ? dx / 2 : 0;
      SetWindowPos(child, nullptr, rect.left + right, rect.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    }
  }
  RECT box;
  GetWindowRect(dialog, &box);
  SetWindowPos(dialog, nullptr, 0, 0, box.right - box.left + dx, box.bottom - box.top + dy,
               SWP_NOMOVE | SWP_NOZORDER);
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
// telephone, e-mail list, location and listing. The e-mail line holds the
// whole list, one address to a line, and grows to show all of it.
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
    if (char* addresses = AddressLines(tour.presenter_email ? tour.presenter_email : "")) {
      SetTextAndFont(dialog, IDC_CONTACT_EMAIL, addresses, nullptr);
      free(addresses);
    }
    FitLineToText(dialog, IDC_CONTACT_EMAIL);
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

// Driving modal dialogs from a thread timer, inside their own modal loop.
#include "dialogs/modal_probe.h"

#include <ctype.h>
#include <string.h>

namespace {

const char kSeenMark[] = "VistelloDialogProbeSeen";
const DWORD kGraceMs = 3000;

}  // namespace

ModalProbe* ModalProbe::current = nullptr;

ModalProbe::ModalProbe(Visitor visitor)
    : visitor(std::move(visitor)),
      dialog(nullptr),
      visitor_done(false),
      done_at(0),
      polling(false),
      seen(0),
      forced(false),
      timer(0) {
  current = this;
  timer = SetTimer(nullptr, 0, 20, &ModalProbe::OnTimer);
}

ModalProbe::~ModalProbe() {
  KillTimer(nullptr, timer);
  current = nullptr;
}

void CALLBACK ModalProbe::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (current != nullptr) {
    current->Poll();
  }
}

BOOL CALLBACK ModalProbe::FindNewDialog(HWND window, LPARAM found) {
  char class_name[16] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (strcmp(class_name, "#32770") == 0 && IsWindowVisible(window) &&
      GetPropA(window, kSeenMark) == nullptr) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void ModalProbe::Poll() {
  if (polling) {
    return;  // a visitor's action pumped messages; this tick is already running
  }
  polling = true;
  if (dialog != nullptr && !IsWindow(dialog)) {
    dialog = nullptr;
  }
  if (dialog == nullptr) {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &ModalProbe::FindNewDialog,
                      reinterpret_cast<LPARAM>(&found));
    if (found != nullptr) {
      SetPropA(found, kSeenMark, reinterpret_cast<HANDLE>(1));
      dialog = found;
      visitor_done = false;
      seen++;
    }
  }
  if (dialog != nullptr) {
    if (!visitor_done) {
      visitor_done = visitor(dialog);
      done_at = GetTickCount();
    } else if (GetTickCount() - done_at > kGraceMs) {
      forced = true;
      EndDialog(dialog, -1);
      dialog = nullptr;
    }
  }
  polling = false;
}

bool ClickOk(HWND dialog) {
  SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  return true;
}

bool PressEscape(HWND dialog) {
  HWND focus = GetFocus();
  PostMessageA(focus != nullptr ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  return true;
}

bool PressCloseBox(HWND dialog) {
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  return true;
}

bool SendCancelCommand(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  return true;
}

std::string WindowText(HWND window) {
  std::string text(GetWindowTextLengthA(window) + 1, '\0');
  text.resize(GetWindowTextA(window, &text[0], static_cast<int>(text.size())));
  return text;
}

const ControlView* DialogView::Control(int id) const {
  for (const ControlView& control : controls) {
    if (control.id == id) {
      return &control;
    }
  }
  return nullptr;
}

DialogView ReadDialog(HWND dialog) {
  DialogView view = {};
  view.caption = WindowText(dialog);
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ControlView control = {};
    control.id = static_cast<short>(GetDlgCtrlID(child));
    char class_name[64] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    for (char* c = class_name; *c != '\0'; c++) {
      *c = static_cast<char>(tolower(static_cast<unsigned char>(*c)));
    }
    control.class_name = class_name;
    control.text = WindowText(child);
    control.style = GetWindowLongA(child, GWL_STYLE);
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
    control.font = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0));
    if (control.class_name == "static") {
      control.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    view.controls.push_back(control);
  }
  HWND focus = GetFocus();
  view.focus_id = focus != nullptr && IsChild(dialog, focus) ? GetDlgCtrlID(focus) : 0;
  view.owner = GetWindow(dialog, GW_OWNER);
  view.owner_enabled = view.owner != nullptr && IsWindowEnabled(view.owner);
  view.class_icon = reinterpret_cast<HICON>(GetClassLongPtrA(dialog, GCLP_HICON));
  view.font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  GetObjectA(view.font, sizeof view.font_description, &view.font_description);
  view.style = GetWindowLongA(dialog, GWL_STYLE);
  RECT client = {};
  GetClientRect(dialog, &client);
  view.client_size = {client.right, client.bottom};
  view.client_origin = {0, 0};
  ClientToScreen(dialog, &view.client_origin);
  RECT units = {0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  view.base_units = {units.right, units.bottom};
  return view;
}

void ClearDialogClassIcon() {
  HWND window = CreateWindowExA(0, "#32770", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window != nullptr) {
    SetClassLongPtrA(window, GCLP_HICON, 0);
    DestroyWindow(window);
  }
}

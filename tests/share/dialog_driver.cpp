// Driving modal dialogs from a thread timer, in the dialog's own thread.
#include "share/dialog_driver.h"

#include <string.h>

#include <utility>

namespace {

const char kDrivenMark[] = "VistelloTestDriven";

std::string WindowText(HWND window) {
  char text[2048] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The only dialogs here without the warnings' information sign (1029).
bool IsMessageBox(HWND dialog) {
  return GetDlgItem(dialog, 1029) == nullptr;
}

bool Click(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (button != nullptr) {
    SendMessageA(button, BM_CLICK, 0, 0);
  }
  return button != nullptr;
}

// Ends a dialog that the planned answer does not fit.
void Dismiss(HWND dialog) {
  PostMessageA(dialog, WM_COMMAND, IsMessageBox(dialog) ? IDOK : IDCANCEL, 0);
}

// Through the modal loop, which hands the key to the dialog manager.
void PressEscape(HWND dialog) {
  HWND focus = GetFocus();
  PostMessageA(focus != nullptr ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
}

}  // namespace

DialogDriver* DialogDriver::current = nullptr;

int DialogSnapshot::WarningId() const {
  const bool choice = Control(IDYES) != nullptr;
  if (Control(1029) == nullptr) {
    return 0;
  }
  if (ShowsText("\"Send to a Friend\" does not work on AOL")) {
    return choice ? 161 : 163;
  }
  if (ShowsText("We are unable to detect")) {
    return 164;
  }
  return choice ? 162 : 0;
}

const ControlSnapshot* DialogSnapshot::Control(int id) const {
  for (const ControlSnapshot& control : controls) {
    if (control.id == id) {
      return &control;
    }
  }
  return nullptr;
}

bool DialogSnapshot::ShowsText(const std::string& text) const {
  for (const ControlSnapshot& control : controls) {
    if (control.text.compare(0, text.size(), text) == 0) {
      return true;
    }
  }
  return false;
}

DialogDriver::DialogDriver(std::vector<Answer> answers)
    : answers(std::move(answers)), next_answer(0), timer(0) {
  current = this;
  timer = SetTimer(nullptr, 0, 25, &DialogDriver::OnTimer);
}

DialogDriver::~DialogDriver() {
  KillTimer(nullptr, timer);
  current = nullptr;
}

std::vector<int> DialogDriver::WarningIds() const {
  std::vector<int> ids;
  for (const DialogSnapshot& dialog : seen) {
    ids.push_back(dialog.WarningId());
  }
  return ids;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (current != nullptr) {
    current->Poll();
  }
}

BOOL CALLBACK DialogDriver::CollectDialog(HWND window, LPARAM dialogs) {
  char class_name[16] = {};
  GetClassNameA(window, class_name, sizeof class_name);
  if (strcmp(class_name, "#32770") == 0 && IsWindowVisible(window) &&
      GetPropA(window, kDrivenMark) == nullptr) {
    reinterpret_cast<std::vector<HWND>*>(dialogs)->push_back(window);
  }
  return TRUE;
}

void DialogDriver::Poll() {
  std::vector<HWND> dialogs;
  EnumThreadWindows(GetCurrentThreadId(), &DialogDriver::CollectDialog,
                    reinterpret_cast<LPARAM>(&dialogs));
  for (HWND dialog : dialogs) {
    Handle(dialog);
  }
}

void DialogDriver::Handle(HWND dialog) {
  SetPropA(dialog, kDrivenMark, reinterpret_cast<HANDLE>(1));

  DialogSnapshot snapshot = {};
  snapshot.caption = WindowText(dialog);
  snapshot.style = GetWindowLongA(dialog, GWL_STYLE);
  RECT client = {};
  GetClientRect(dialog, &client);
  snapshot.client_size = {client.right, client.bottom};
  RECT units = {0, 0, 4, 8};
  MapDialogRect(dialog, &units);
  snapshot.base_units = {units.right, units.bottom};
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
  snapshot.font_face = font.lfFaceName;
  snapshot.font_height = font.lfHeight;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ControlSnapshot control = {};
    control.id = static_cast<int>(static_cast<short>(GetDlgCtrlID(child)));
    char class_name[64] = {};
    GetClassNameA(child, class_name, sizeof class_name);
    control.class_name = class_name;
    control.text = WindowText(child);
    control.style = GetWindowLongA(child, GWL_STYLE);
    GetWindowRect(child, &control.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.rect), 2);
    control.checked = SendMessageA(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
    control.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    snapshot.controls.push_back(control);
  }
  HWND focus = GetFocus();
  snapshot.focus_id = focus != nullptr ? GetDlgCtrlID(focus) : 0;
  for (HWND item = focus; item != nullptr && snapshot.tab_order.size() < 10;) {
    snapshot.tab_order.push_back(GetDlgCtrlID(item));
    item = GetNextDlgTabItem(dialog, item, FALSE);
    if (item == focus) {
      break;
    }
  }
  snapshot.owner = GetWindow(dialog, GW_OWNER);
  snapshot.owner_enabled = snapshot.owner != nullptr && IsWindowEnabled(snapshot.owner);
  snapshot.class_icon = reinterpret_cast<HICON>(GetClassLongPtrA(dialog, GCLP_HICON));
  snapshot.cursor = GetCursor();
  snapshot.mapi_loaded = GetModuleHandleA("MAPI32.DLL") != nullptr;
  HKEY key = nullptr;
  snapshot.flag_key_exists = RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Orvo\\Vistello", 0,
                                           KEY_READ, &key) == ERROR_SUCCESS;
  if (key != nullptr) {
    RegCloseKey(key);
  }
  seen.push_back(snapshot);

  if (next_answer >= answers.size()) {
    Dismiss(dialog);
    return;
  }
  // A button the dialog lacks means the test expected another dialog; it
  // is noted above, and ending the dialog lets the test report it.
  bool answered = true;
  switch (answers[next_answer++]) {
    case Answer::kYes:
      answered = Click(dialog, IDYES);
      break;
    case Answer::kTickAndYes:
      answered = Click(dialog, 1028) && Click(dialog, IDYES);
      break;
    case Answer::kNo:
      answered = Click(dialog, IDNO);
      break;
    case Answer::kTickAndNo:
      answered = Click(dialog, 1028) && Click(dialog, IDNO);
      break;
    case Answer::kOk:
      answered = Click(dialog, IDOK);
      break;
    case Answer::kTickAndEscape:
      answered = Click(dialog, 1028);
      PressEscape(dialog);
      break;
    case Answer::kEscape:
      PressEscape(dialog);
      break;
    case Answer::kYesCommand:
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
      break;
  }
  if (!answered) {
    Dismiss(dialog);
  }
}

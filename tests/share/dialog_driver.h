// Answers the modal dialogs and message boxes that code under test opens
// on the calling thread, the way a user would, and notes what each showed.
#ifndef VISTELLO_TESTS_SHARE_DIALOG_DRIVER_H
#define VISTELLO_TESTS_SHARE_DIALOG_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

enum class Answer {
  kYes,            // click Yes
  kTickAndYes,     // click the check box, then Yes
  kNo,             // click No
  kTickAndNo,      // click the check box, then No
  kTickAndEscape,  // click the check box, then press Escape
  kOk,             // click OK
  kEscape,         // press Escape in the focused control
  kYesCommand,     // send WM_COMMAND with id 6 (Yes) to a dialog that has no such button
};

struct ControlSnapshot {
  int id;
  std::string class_name;
  std::string text;
  LONG style;
  RECT rect;     // in the dialog's client area, pixels
  bool checked;  // BM_GETCHECK of buttons
  HICON icon;    // STM_GETICON of statics
};

struct DialogSnapshot {
  std::string caption;
  LONG style;
  SIZE client_size;       // pixels
  SIZE base_units;        // pixels per 4 horizontal and 8 vertical dialog units
  std::string font_face;  // of the font the dialog gives its controls
  LONG font_height;
  std::vector<ControlSnapshot> controls;  // child windows in Z order: template order
  std::vector<int> tab_order;             // ids from the focused control on, by GetNextDlgTabItem
  HWND owner;
  bool owner_enabled;
  int focus_id;
  HICON class_icon;
  HCURSOR cursor;
  bool mapi_loaded;      // MAPI32.DLL in the process while the dialog is up
  bool flag_key_exists;  // HKCU "Software\Orvo\Vistello" exists while the dialog is up

  // 161 to 164 for the mail warnings, told apart by their texts; 0 otherwise.
  int WarningId() const;
  const ControlSnapshot* Control(int id) const;
  bool ShowsText(const std::string& text) const;
};

// While alive, polls the calling thread every 25 ms -- the timer fires
// inside the modal loops of dialogs and message boxes -- and gives every
// new dialog the next answer. A dialog beyond the answers is still noted
// and then dismissed (OK for a message box, cancel otherwise), so a wrong
// dialog fails the test instead of hanging it.
class DialogDriver {
 public:
  explicit DialogDriver(std::vector<Answer> answers = {});
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  const std::vector<DialogSnapshot>& Seen() const { return seen; }
  // The ids of the warnings seen, in order (0 for other dialogs).
  std::vector<int> WarningIds() const;

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK CollectDialog(HWND window, LPARAM dialogs);
  void Poll();
  void Handle(HWND dialog);

  static DialogDriver* current;  // thread timers carry no context
  std::vector<Answer> answers;
  size_t next_answer;
  std::vector<DialogSnapshot> seen;
  UINT_PTR timer;
};

#endif  // VISTELLO_TESTS_SHARE_DIALOG_DRIVER_H

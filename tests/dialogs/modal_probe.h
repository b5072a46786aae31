// Drives the modal dialogs that code under test opens on the calling
// thread, and reads back what a user would see in them.
#ifndef VISTELLO_TESTS_DIALOGS_MODAL_PROBE_H
#define VISTELLO_TESTS_DIALOGS_MODAL_PROBE_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// While alive, a thread timer (it fires inside DialogBoxParamA's modal loop)
// hands each new visible dialog of this thread to the visitor, tick after
// tick, until the visitor returns true: it has sent or posted the action
// that should close the box. A box still up three seconds later is ended
// by force and noted, so a box that ignores its close action fails the
// test instead of hanging it.
class ModalProbe {
 public:
  using Visitor = std::function<bool(HWND dialog)>;
  explicit ModalProbe(Visitor visitor);
  ~ModalProbe();
  ModalProbe(const ModalProbe&) = delete;
  ModalProbe& operator=(const ModalProbe&) = delete;

  int DialogsSeen() const { return seen; }
  bool ClosedByForce() const { return forced; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  static BOOL CALLBACK FindNewDialog(HWND window, LPARAM found);
  void Poll();

  static ModalProbe* current;  // thread timers carry no context
  Visitor visitor;
  HWND dialog;
  bool visitor_done;
  DWORD done_at;
  bool polling;
  int seen;
  bool forced;
  UINT_PTR timer;
};

// Close actions, as a user would take them.
bool ClickOk(HWND dialog);
// WM_KEYDOWN for Escape posted to the focused control, so that the modal
// loop's dialog manager (or the focused edit box) handles it.
bool PressEscape(HWND dialog);
bool PressCloseBox(HWND dialog);
bool SendCancelCommand(HWND dialog);

struct ControlView {
  int id;                  // -1 for a control without an id of its own
  std::string class_name;  // lower case
  std::string text;
  LONG style;
  RECT rect;  // in the dialog's client coordinates, pixels
  HFONT font;
  HICON icon;  // STM_GETICON
};

struct DialogView {
  std::string caption;
  std::vector<ControlView> controls;  // template order (GW_CHILD, GW_HWNDNEXT)
  int focus_id;
  HWND owner;
  bool owner_enabled;
  HICON class_icon;
  HFONT font;
  LOGFONTA font_description;  // read while the box's font exists
  LONG style;
  SIZE client_size;
  POINT client_origin;  // screen coordinates
  SIZE base_units;      // MapDialogRect of 4 x 8 dialog units

  const ControlView* Control(int id) const;
  // Dialog units to pixels, as the dialog manager maps them.
  int X(int units) const { return MulDiv(units, base_units.cx, 4); }
  int Y(int units) const { return MulDiv(units, base_units.cy, 8); }
};

DialogView ReadDialog(HWND dialog);
std::string WindowText(HWND window);

// Resets the large icon of the dialog class, so that a box that sets it is
// seen setting it.
void ClearDialogClassIcon();

#endif  // VISTELLO_TESTS_DIALOGS_MODAL_PROBE_H

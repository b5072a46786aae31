// ViewerApp: start-up, main window, layout, message loop and commands.
#include "app/viewer_app.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include <new>

#include "app/main_window_layout.h"
#include "dialogs/information_dialogs.h"
#include "panorama/panorama_controller.h"
#include "presenter/ecommerce_controller.h"
#include "presenter/ecommerce_logo.h"
#include "resources/resource_ids.h"
#include "share/browser_launch.h"
#include "share/send_to_friend.h"

namespace {

ViewerApp* the_app = nullptr;

const int kMainWindowWidth = 534;
const int kMainWindowHeight = 321;
const char kStartingText[] = "Starting ...";
const char kSelectSceneText[] = "Select scene:";
const char kPresentedByText[] = "Presented by: ";
const char kVisitWebsiteText[] = "Visit Orvo(tm) Website";
// The maker's site, a bare host name: the browser supplies the scheme.
const char kMakerAddress[] = "www.orvo.example";

// The toolbar: look left, stop, look right | zoom in, zoom out | contact
// info, send to a friend. The bitmap's captions are the buttons' labels.
const TBBUTTON kToolbarButtons[] = {
    {0, CMD_LOOK_LEFT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {1, CMD_STOP, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {2, CMD_LOOK_RIGHT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    {3, CMD_ZOOM_IN, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {4, CMD_ZOOM_OUT, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {0, 0, 0, TBSTYLE_SEP, {0, 0}, 0, 0},
    {5, CMD_CONTACT_BUTTON, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
    {6, CMD_SEND, TBSTATE_ENABLED, TBSTYLE_BUTTON, {0, 0}, 0, 0},
};
const int kToolbarButtonCount = sizeof kToolbarButtons / sizeof kToolbarButtons[0];
const int kToolbarImages = 9;
const int kButtonWidth = 40;
const int kButtonHeight = 38;

// A heap copy of text (null for null); the caller frees it.
char* CopyText(const char* text) {
  if (text == nullptr) {
    return nullptr;
  }
  const size_t length = strlen(text) + 1;
  char* copy = static_cast<char*>(malloc(length));
  if (copy != nullptr) {
    memcpy(copy, text, length);
  }
  return copy;
}

void Move(HWND window, const Placement& place) {
  if (window != nullptr) {
    MoveWindow(window, place.x, place.y, place.width, place.height, TRUE);
  }
}

}  // namespace

ViewerApp* ViewerApp::Instance(HINSTANCE instance) {
  if (the_app == nullptr) {
    the_app = new (std::nothrow) ViewerApp(instance);
  }
  return the_app;
}

ViewerApp* ViewerApp::Current() {
  return the_app;
}

ViewerApp::ViewerApp(HINSTANCE instance)
    : current_title(nullptr),
      current_link_query(nullptr),
      status_line(nullptr),
      toolbar(nullptr),
      scene_list(nullptr),
      panorama(nullptr),
      ecommerce_panel(nullptr),
      ecommerce_logo(nullptr),
      previous_toolbar_proc(nullptr),
      separator(nullptr),
      select_label(nullptr),
      location_line(nullptr),
      listing_line(nullptr),
      presented_by_label(nullptr),
      presenter_name_line(nullptr),
      presenter_company_line(nullptr),
      instance(instance) {
  window_title[0] = '\0';
  class_name[0] = '\0';
  LoadStringA(instance, IDS_WINDOW_TITLE, window_title, sizeof window_title);
  LoadStringA(instance, IDS_MAIN_CLASS, class_name, sizeof class_name);
}

ViewerApp::~ViewerApp() {
  delete panorama;
  panorama = nullptr;
  delete ecommerce_panel;
  ecommerce_panel = nullptr;
  delete ecommerce_logo;
  ecommerce_logo = nullptr;
  free(current_title);
  free(current_link_query);
  // Nothing may reach a deleted application through Current().
  if (the_app == this) {
    the_app = nullptr;
  }
}

// --- start-up ------------------------------------------------------------

void ViewerApp::RegisterMainClass() {
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = SharedWindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APPLICATION_ICON));
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
  window_class.lpszClassName = class_name;
  RegisterClassExA(&window_class);  // fails harmlessly when already registered
}

bool ViewerApp::Initialize(int show_command) {
  InitCommonControls();
  RegisterMainClass();

  int height = kMainWindowHeight;
  if (tour.HasEcommerceImage()) {
    // The window grows by the e-commerce image, measured here and let go.
    HGDIOBJ image = LoadImageA(instance, "ECOMMERCEIMAGE", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (image != nullptr) {
      BITMAP size = {};
      GetObjectA(image, sizeof size, &size);
      height += size.bmHeight;
      DeleteObject(image);
    }
  }
  HWND window =
      CreateWindowExA(0, class_name, window_title, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                      CW_USEDEFAULT, 0, kMainWindowWidth, height, nullptr, nullptr, instance, this);
  if (window == nullptr) {
    return false;
  }

  fonts.Create(window);
  CreateToolbar();
  CreateStatusLine();
  CreatePanorama();
  CreateEcommercePanel();
  CreateEcommerceLogo();
  CreateStaticControls();

  for (int index = 0; index < tour.SceneCount(); index++) {
    SendMessageA(scene_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tour.Scene(index)->Title()));
  }
  SendMessageA(scene_list, LB_SETCURSEL, 0, 0);
  SelectScene(0);
  SendMessageA(scene_list, LB_SETTOPINDEX, 0, 0);

  // The first WM_SIZE, and with it the first layout, comes with this show,
  // after every child exists.
  ShowWindow(window, show_command);
  UpdateWindow(window);
  if (panorama != nullptr) {
    SetFocus(panorama->Window());
  }
  return true;
}

void ViewerApp::CreateStatusLine() {
  status_line = CreateStatusWindowA(WS_CHILD | WS_CLIPSIBLINGS, kStartingText, Window(), ID_STATUS);
  if (status_line != nullptr) {
    ShowWindow(status_line, SW_SHOW);
  }
}

void ViewerApp::CreatePanorama() {
  panorama = new (std::nothrow) PanoramaController(this);
  if (panorama == nullptr || !panorama->Create(Window())) {
    return;  // the rest of the window works without it
  }
  // The view reports its current pan speed at once.
  panorama->SetListener(this);
  ShowWindow(panorama->Window(), SW_SHOW);
}

void ViewerApp::CreateEcommercePanel() {
  if (!tour.HasEcommerceImage()) {
    return;
  }
  ecommerce_panel = new (std::nothrow) EcommerceController(this);
  if (ecommerce_panel != nullptr && ecommerce_panel->Create(Window())) {
    ShowWindow(ecommerce_panel->Window(), SW_SHOW);
  }
}

void ViewerApp::CreateEcommerceLogo() {
  if (!tour.HasEcommerceLogo()) {
    return;
  }
  ecommerce_logo = new (std::nothrow) EcommerceLogo(this);
  if (ecommerce_logo != nullptr && ecommerce_logo->Create(Window())) {
    ShowWindow(ecommerce_logo->Window(), SW_SHOW);
  }
}

HWND ViewerApp::CreateLine(const char* window_class, DWORD extended_style, DWORD style, int id,
                           HFONT font, const char* text) {
  HWND line = CreateWindowExA(extended_style, window_class, nullptr, style, CW_USEDEFAULT, 0,
                              CW_USEDEFAULT, 0, Window(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (line == nullptr) {
    return nullptr;
  }
  if (font != nullptr) {
    SendMessageA(line, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (text != nullptr) {
    SetWindowTextA(line, text);
  }
  ShowWindow(line, SW_SHOW);
  return line;
}

void ViewerApp::CreateStaticControls() {
  SendMessageA(Window(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Normal()), TRUE);
  select_label = CreateLine("STATIC", 0, WS_CHILD, ID_LABEL, fonts.Small(), kSelectSceneText);
  scene_list = CreateLine("LISTBOX", WS_EX_CLIENTEDGE,
                          WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                          ID_SCENE_LIST, fonts.Normal(), nullptr);
  separator = CreateLine("STATIC", 0, WS_CHILD | SS_ETCHEDHORZ, ID_SEPARATOR, nullptr, nullptr);
  // The tour's own texts are shown as written: an ampersand in a company
  // name is a character, not a keyboard-mnemonic marker.
  const DWORD tour_text = WS_CHILD | SS_NOPREFIX;
  location_line = CreateLine("STATIC", 0, tour_text, ID_LABEL, fonts.LargeBold(), tour.location);
  listing_line = CreateLine("STATIC", 0, tour_text, ID_LISTING, fonts.Normal(), tour.listing);
  presented_by_label =
      CreateLine("STATIC", 0, WS_CHILD, ID_PRESENTED_BY, fonts.Small(), kPresentedByText);
  presenter_name_line =
      CreateLine("STATIC", 0, tour_text, ID_PRESENTER_NAME, fonts.Bold(), tour.presenter_name);
  presenter_company_line = CreateLine("STATIC", 0, tour_text, ID_PRESENTER_COMPANY, fonts.Normal(),
                                      tour.presenter_company);
}

// --- toolbar -------------------------------------------------------------

bool ViewerApp::CreateToolbar() {
  toolbar = CreateToolbarEx(Window(), WS_CLIPSIBLINGS, ID_TOOLBAR, kToolbarImages, instance,
                            IDB_TOOLBAR, kToolbarButtons, kToolbarButtonCount, kButtonWidth,
                            kButtonHeight, kButtonWidth, kButtonHeight, sizeof(TBBUTTON));
  if (toolbar == nullptr) {
    return false;
  }
  // The object goes in first, so the trampoline never finds it missing.
  SetWindowLongPtrA(toolbar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  previous_toolbar_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(toolbar, GWLP_WNDPROC));
  SetWindowLongPtrA(toolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ToolbarTrampoline));
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  ShowWindow(toolbar, SW_SHOW);
  return true;
}

LRESULT CALLBACK ViewerApp::ToolbarTrampoline(HWND toolbar, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
  auto* app = reinterpret_cast<ViewerApp*>(GetWindowLongPtrA(toolbar, GWLP_USERDATA));
  return app->ToolbarProc(toolbar, message, wparam, lparam);
}

LRESULT ViewerApp::ToolbarProc(HWND toolbar_window, UINT message, WPARAM wparam, LPARAM lparam) {
  const int x = MouseX(lparam);
  const int y = MouseY(lparam);
  switch (message) {
    case WM_PAINT: {
      // The toolbar paints (and validates) itself first; the badge goes on top.
      const LRESULT painted =
          CallWindowProcA(previous_toolbar_proc, toolbar_window, message, wparam, lparam);
      toolbar_badge.Paint(toolbar_window, instance);
      return painted;
    }
    case WM_MOUSEMOVE:
      // Rewritten at every move, so leaving the badge restores the title at once.
      if (HitsToolbarLogo(toolbar_window, x, y)) {
        SetCursor(LoadCursorA(instance, MAKEINTRESOURCEA(IDC_HAND_POINTER)));
        SetStatusText(kVisitWebsiteText);
      } else {
        RestoreStatusText();
      }
      break;
    case WM_LBUTTONDOWN:
      if (panorama != nullptr) {
        const int command = ToolbarCommandAt(x, y);
        if (command == CMD_ZOOM_IN) {
          panorama->StartZoomIn();
        } else if (command == CMD_ZOOM_OUT) {
          panorama->StartZoomOut();
        }
      }
      break;
    case WM_LBUTTONUP:
      // Only the release counts: wherever the press was, a release on the
      // badge (and not on a button) opens the maker's site.
      if (ToolbarCommandAt(x, y) == -1 && HitsToolbarLogo(toolbar_window, x, y)) {
        LaunchBrowser(kMakerAddress);
      }
      EndHeldZoom();
      break;
    case WM_CAPTURECHANGED:
      EndHeldZoom();
      break;
    default:
      break;
  }
  return CallWindowProcA(previous_toolbar_proc, toolbar_window, message, wparam, lparam);
}

// A held zoom lasts exactly as long as the press: any release the toolbar
// sees (it holds the capture while a button is down, so a release anywhere
// reaches it) and any loss of the capture end it.
void ViewerApp::EndHeldZoom() {
  if (panorama != nullptr) {
    panorama->StopZoom();
  }
}

int ViewerApp::ToolbarCommandAt(int x, int y) const {
  POINT point = {x, y};
  const LRESULT index = SendMessageA(toolbar, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point));
  if (index < 0) {
    return -1;
  }
  TBBUTTON button = {};
  if (!SendMessageA(toolbar, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button))) {
    return -1;
  }
  return button.idCommand;
}

bool ViewerApp::HitsToolbarLogo(HWND toolbar_window, int x, int y) const {
  return toolbar_badge.Hits(toolbar_window, x, y);
}

// Exactly one of the three pan buttons shows pressed: the current direction.
void ViewerApp::OnPanSpeedChanged(int speed) {
  const WORD pressed = TBSTATE_ENABLED | TBSTATE_PRESSED;
  const WORD released = TBSTATE_ENABLED;
  SendMessageA(toolbar, TB_SETSTATE, CMD_LOOK_LEFT, MAKELONG(speed < 0 ? pressed : released, 0));
  SendMessageA(toolbar, TB_SETSTATE, CMD_LOOK_RIGHT, MAKELONG(speed > 0 ? pressed : released, 0));
  SendMessageA(toolbar, TB_SETSTATE, CMD_STOP, MAKELONG(speed == 0 ? pressed : released, 0));
}

// --- scenes and status line ------------------------------------------------

void ViewerApp::SelectScene(int index) {
  SceneRecord* scene = tour.Scene(index);
  if (panorama != nullptr) {
    panorama->RequestScene(scene);
  }
  const LRESULT length = SendMessageA(scene_list, LB_GETTEXTLEN, index, 0);
  char* text = static_cast<char*>(malloc(length > 0 ? length + 1 : 1));
  if (text == nullptr) {
    return;
  }
  text[0] = '\0';
  if (length > 0) {
    SendMessageA(scene_list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
  }
  SetStatusText(text);
  free(current_title);
  current_title = CopyText(text);
  free(current_link_query);
  current_link_query = CopyText(scene->LinkQuery());
  free(text);
}

void ViewerApp::SetStatusText(const char* text) {
  SetWindowTextA(status_line, text);
}

void ViewerApp::RestoreStatusText() {
  SetStatusText(current_title ? current_title : "");
}

// --- layout ----------------------------------------------------------------

int ViewerApp::WindowHeight(HWND window) const {
  RECT rect;
  if (window == nullptr || !GetWindowRect(window, &rect)) {
    return 0;
  }
  return rect.bottom - rect.top;
}

void ViewerApp::ContentRect(RECT* rect) const {
  GetClientRect(Window(), rect);
  rect->top += WindowHeight(toolbar);
  rect->bottom -= WindowHeight(status_line);
}

void ViewerApp::Layout() {
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  RECT client;
  GetClientRect(Window(), &client);
  int panel_width = 0;
  int panel_height = 0;
  if (ecommerce_panel != nullptr) {
    ecommerce_panel->GetImageSize(&panel_width, &panel_height);
  }
  int logo_width = 0;
  int logo_height = 0;
  if (ecommerce_logo != nullptr) {
    ecommerce_logo->GetLogoSize(&logo_width, &logo_height);
  }
  const MainWindowLayout layout = ComputeMainWindowLayout(
      Area{client.left, client.top, client.right, client.bottom}, WindowHeight(toolbar),
      WindowHeight(status_line), panel_height, logo_width, logo_height);

  Move(status_line, layout.status_line);
  Move(separator, layout.separator);
  Move(panorama ? panorama->Window() : nullptr, layout.panorama);
  if (ecommerce_panel != nullptr) {
    Move(ecommerce_panel->Window(), layout.ecommerce_panel);
  }
  Move(location_line, layout.location);
  Move(listing_line, layout.listing);
  Move(select_label, layout.select_label);
  Move(scene_list, layout.scene_list);
  if (ecommerce_logo != nullptr) {
    Move(ecommerce_logo->Window(), layout.ecommerce_logo);
  }
  Move(presented_by_label, layout.presented_by);
  Move(presenter_name_line, layout.presenter_name);
  Move(presenter_company_line, layout.presenter_company);
}

// --- messages --------------------------------------------------------------

LRESULT ViewerApp::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      if (panorama != nullptr) {
        SetFocus(panorama->Window());
      }
      return 0;
    case WM_COMMAND:
      return OnCommand(window, wparam, lparam);
    case WM_MOUSEMOVE:
      // Over the main window's own background, not over a child.
      RestoreStatusText();
      return 0;
    case WM_QUERYNEWPALETTE:
      return panorama != nullptr ? panorama->RealizeHalftone(true) : 0;
    case WM_PALETTECHANGED:
      OnPaletteChanged(reinterpret_cast<HWND>(wparam));
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

void ViewerApp::OnPaletteChanged(HWND changed_by) {
  if (changed_by != Window() && panorama != nullptr) {
    panorama->RealizeHalftone(false);
  }
  if (ecommerce_panel != nullptr) {
    ecommerce_panel->RealizeHalftone(false);
  }
  // InvalidateRect of a null window would repaint every window there is,
  // so a window that failed to be made is left out.
  if (ecommerce_logo != nullptr && ecommerce_logo->Window() != nullptr) {
    InvalidateRect(ecommerce_logo->Window(), nullptr, TRUE);
  }
  if (toolbar != nullptr) {
    InvalidateRect(toolbar, nullptr, TRUE);
  }
}

LRESULT ViewerApp::OnCommand(HWND window, WPARAM wparam, LPARAM lparam) {
  switch (LOWORD(wparam)) {
    case CMD_ABOUT_TOUR:
      ShowAboutDialog();
      return 0;
    case CMD_EXIT:
      DestroyWindow(Window());
      return 0;
    case ID_SCENE_LIST:
      if (HIWORD(wparam) == LBN_SELCHANGE) {
        const LRESULT index = SendMessageA(scene_list, LB_GETCURSEL, 0, 0);
        if (index != LB_ERR) {
          SelectScene(static_cast<int>(index));
        }
        if (panorama != nullptr) {
          SetFocus(panorama->Window());
        }
      }
      return 0;
    case CMD_ABOUT_MAKER:
      ShowAboutMakerDialog();
      return 0;
    case CMD_HELP:
      ShowHelpDialog();
      return 0;
    case CMD_SEND_MENU:
    case CMD_SEND:
      SendToFriend();
      return 0;
    case CMD_CONTACT:
    case CMD_CONTACT_BUTTON:
      ShowContactDialog();
      return 0;
    case CMD_LOOK_LEFT:
      if (panorama != nullptr)
        panorama->LookLeft();
      return 0;
    case CMD_STOP:
      if (panorama != nullptr)
        panorama->Stop();
      return 0;
    case CMD_LOOK_RIGHT:
      if (panorama != nullptr)
        panorama->LookRight();
      return 0;
    case CMD_ZOOM_IN:
      if (panorama != nullptr)
        panorama->ZoomInStep();
      return 0;
    case CMD_ZOOM_OUT:
      if (panorama != nullptr)
        panorama->ZoomOutStep();
      return 0;
    case CMD_UNUSED_32774:
    case CMD_UNUSED_32784:
    case CMD_UNUSED_32785:
      return 0;
    default:
      return DefWindowProcA(window, WM_COMMAND, wparam, lparam);
  }
}

int ViewerApp::Run() {
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
  MSG message;
  // The translated command goes to the keystroke's own window: a child
  // with the focus receives it and ignores it.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (!TranslateAcceleratorA(message.hwnd, accelerators, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return static_cast<int>(message.wParam);
}

// --- boxes and sharing -------------------------------------------------------

void ViewerApp::ShowAboutDialog() {
  ShowInformationDialog(instance, Window(), IDD_ABOUT);
}

void ViewerApp::ShowAboutMakerDialog() {
  ShowInformationDialog(instance, Window(), IDD_ABOUT_MAKER);
}

void ViewerApp::ShowHelpDialog() {
  ShowInformationDialog(instance, Window(), IDD_HELP);
}

void ViewerApp::ShowContactDialog() {
  ShowInformationDialog(instance, Window(), IDD_CONTACT);
}

void ViewerApp::SendToFriend() {
  ::SendToFriend(Window(), instance);
}

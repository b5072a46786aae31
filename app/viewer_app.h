// ViewerApp: the single application object. It owns the tour, the fonts and
// every child of the main window: the toolbar, the status line, the
// panorama view, the scene list, the location, listing and presenter lines,
// and the optional e-commerce panel and logo. It lays them out, runs the
// message loop, dispatches the commands of the toolbar, menu, accelerators
// and scene list, and shows the pan direction on the toolbar.
#ifndef VISTELLO_APP_VIEWER_APP_H
#define VISTELLO_APP_VIEWER_APP_H

#include <windows.h>

#include "app/child_window.h"
#include "app/main_window_fonts.h"
#include "panorama/pan_listener.h"
#include "panorama/panorama_owner.h"
#include "presenter/toolbar_badge.h"
#include "tour/tour_description.h"

class PanoramaController;
class EcommerceController;
class EcommerceLogo;

class ViewerApp : public ChildWindow, public PanListener, public PanoramaOwner {
 public:
  // The one object: made by the first call (which decodes the whole tour
  // before any window exists), returned by every later one.
  static ViewerApp* Instance(HINSTANCE instance);
  // The object made by Instance, or null.
  static ViewerApp* Current();

  // Deletes the children (the panorama view stops its threads first), the
  // fonts and the tour. The main window is already gone by then.
  ~ViewerApp() override;

  LRESULT WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;
  // The toolbar's subclass procedure: the maker's badge drawn after the
  // toolbar paints and working as a link, and the zoom buttons zooming while
  // held. Every message but WM_PAINT then goes on to the toolbar's own
  // procedure, so it keeps its look, capture and click commands.
  virtual LRESULT ToolbarProc(HWND toolbar, UINT message, WPARAM wparam, LPARAM lparam);

  // The command of the toolbar button under client point (x, y), or -1 for
  // a separator or empty toolbar space.
  int ToolbarCommandAt(int x, int y) const;
  // Whether client point (x, y) of the toolbar is on the badge as last drawn.
  bool HitsToolbarLogo(HWND toolbar, int x, int y) const;

  // Creates the main window and all its children, shows the first scene and
  // gives the keyboard focus to the panorama view. False when the main
  // window cannot be created; a missing child is not an error.
  bool Initialize(int show_command);
  // The message loop; returns the quit message's code.
  int Run();

  // Makes list entry index the shown scene: the view switches to it and
  // the status line and link query follow.
  void SelectScene(int index);
  void SetStatusText(const char* text) override;
  // The current title back in the status line (empty before the first scene).
  void RestoreStatusText();
  void Layout();
  // The client area less the toolbar and the status line.
  void ContentRect(RECT* rect) const;

  HINSTANCE ModuleInstance() const override { return instance; }
  HWND MainWindow() const override { return Window(); }
  void OnPanSpeedChanged(int speed) override;

  // Commands that open boxes or send the tour.
  void ShowAboutDialog();
  void ShowAboutMakerDialog();
  void ShowHelpDialog();
  void ShowContactDialog();
  void SendToFriend();

  // What other parts of the program read.
  const TourDescription& Tour() const { return tour; }
  const MainWindowFonts& Fonts() const { return fonts; }
  PanoramaController* Panorama() const { return panorama; }
  HWND Toolbar() const { return toolbar; }
  HWND StatusLine() const { return status_line; }
  HWND SceneList() const { return scene_list; }
  const ToolbarBadge& Badge() const { return toolbar_badge; }
  const char* CurrentTitle() const { return current_title; }
  const char* CurrentLinkQuery() const { return current_link_query; }

 private:
  explicit ViewerApp(HINSTANCE instance);

  void RegisterMainClass();
  bool CreateToolbar();
  static LRESULT CALLBACK ToolbarTrampoline(HWND toolbar, UINT message, WPARAM wparam,
                                            LPARAM lparam);
  void CreateStatusLine();
  void CreatePanorama();
  void CreateEcommercePanel();
  void CreateEcommerceLogo();
  void CreateStaticControls();
  HWND CreateLine(const char* window_class, DWORD extended_style, DWORD style, int id, HFONT font,
                  const char* text);
  void EndHeldZoom();
  LRESULT OnCommand(HWND window, WPARAM wparam, LPARAM lparam);
  void OnPaletteChanged(HWND changed_by);
  int WindowHeight(HWND window) const;

  char* current_title;       // owned copy; the status line's resting text
  char* current_link_query;  // owned copy of the selected scene's query
  HWND status_line;
  HWND toolbar;
  HWND scene_list;
  PanoramaController* panorama;          // owned
  EcommerceController* ecommerce_panel;  // owned; null unless the tour has one
  EcommerceLogo* ecommerce_logo;         // owned; null unless the tour has one
  MainWindowFonts fonts;
  WNDPROC previous_toolbar_proc;  // the toolbar's own procedure
  TourDescription tour;
  HWND separator;
  HWND select_label;
  HWND location_line;
  HWND listing_line;
  HWND presented_by_label;
  HWND presenter_name_line;
  HWND presenter_company_line;
  HINSTANCE instance;
  char window_title[150];
  char class_name[150];
  // The badge's size as last drawn on the toolbar; 0 until the first paint.
  ToolbarBadge toolbar_badge;
};

#endif  // VISTELLO_APP_VIEWER_APP_H

// MainWindowLayout: where each child of the main window goes, from the
// client area and the measured sizes of the toolbar, the status line and
// the optional e-commerce image and logo. Pure arithmetic, so the numbers
// are tested on their own; ViewerApp::Layout moves the windows.
//
//   +----------------------------------------------------------+ toolbar
//   |==========================================================| separator (2 px)
//   | panorama view 322 x 202        | location      (17)      |
//   |                                | listing       (17)      |
//   |                                | Select scene: (14)      |
//   |                                | scene list    (82)      |
//   |                                | Presented by: (14) logo |
//   |                                | name          (17)      |
//   |                                | company       (17)      |
//   | e-commerce image, full width, when the tour has one      |
//   +----------------------------------------------------------+ status line
#ifndef VISTELLO_APP_MAIN_WINDOW_LAYOUT_H
#define VISTELLO_APP_MAIN_WINDOW_LAYOUT_H

// A window's place in its parent's client coordinates, as MoveWindow takes it.
struct Placement {
  int x;
  int y;
  int width;
  int height;
};

// A rectangle in client coordinates (left, top inclusive; right, bottom exclusive).
struct Area {
  int left;
  int top;
  int right;
  int bottom;
};

struct MainWindowLayout {
  Placement status_line;
  Placement separator;
  Placement panorama;
  Placement ecommerce_panel;
  Placement location;
  Placement listing;
  Placement select_label;
  Placement scene_list;
  Placement ecommerce_logo;
  Placement presented_by;
  Placement presenter_name;
  Placement presenter_company;
};

// The content area: the client area less the toolbar above and the status
// line below (a missing window counts as height 0).
Area ContentArea(const Area& client, int toolbar_height, int status_height);

// The places of all children. panel_height and the logo size are 0 when the
// tour has no e-commerce image or logo.
MainWindowLayout ComputeMainWindowLayout(const Area& client, int toolbar_height, int status_height,
                                         int panel_height, int logo_width, int logo_height);

#endif  // VISTELLO_APP_MAIN_WINDOW_LAYOUT_H

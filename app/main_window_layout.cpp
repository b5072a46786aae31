// MainWindowLayout: the fixed layout numbers of the main window.
#include "app/main_window_layout.h"

namespace {

// The right-hand column starts this far right of the content's left edge,
// 6 pixels beyond the 322-pixel panorama view.
const int kColumnOffset = 328;
const int kPanoramaTop = 4;
const int kPanoramaWidth = 322;
const int kPanoramaHeight = 202;
const int kPanelTop = 206;
const int kPresenterTop = 134;
const int kLineGap = 2;  // the presenter lines stop short of the right edge

Placement Place(int x, int y, int width, int height) {
  return Placement{x, y, width, height};
}

}  // namespace

Area ContentArea(const Area& client, int toolbar_height, int status_height) {
  Area content = client;
  content.top += toolbar_height;
  content.bottom -= status_height;
  return content;
}

MainWindowLayout ComputeMainWindowLayout(const Area& client, int toolbar_height, int status_height,
                                         int panel_height, int logo_width, int logo_height) {
  MainWindowLayout layout;
  const Area content = ContentArea(client, toolbar_height, status_height);
  const int x = content.left + kColumnOffset;
  const int column_width = content.right - x;
  const int top = content.top;

  layout.status_line = Place(0, client.bottom - status_height, client.right, status_height);
  layout.separator = Place(0, top, content.right, 2);
  layout.panorama = Place(content.left, top + kPanoramaTop, kPanoramaWidth, kPanoramaHeight);
  layout.ecommerce_panel = Place(content.left, top + kPanelTop, content.right, panel_height);
  layout.location = Place(x, top + 4, column_width, 17);
  layout.listing = Place(x, top + 21, column_width, 17);
  layout.select_label = Place(x, top + 38, column_width, 14);
  layout.scene_list = Place(x, top + 52, column_width, 82);
  layout.ecommerce_logo =
      Place(content.right - logo_width - kLineGap, top + kPresenterTop, logo_width, logo_height);
  const int line_width = column_width - kLineGap - logo_width;
  layout.presented_by = Place(x, top + kPresenterTop, line_width, 14);
  layout.presenter_name = Place(x, top + 148, line_width, 17);
  layout.presenter_company = Place(x, top + 165, line_width, 17);
  return layout;
}

// ContactSheet: one picture of a whole tour for its author to look at
// before sending it -- for each scene its strip, the joint of its seam
// magnified, and the frame the view starts on, rendered by the view's own
// pipeline (the code path of render_frame and the panorama view).
//
// Layout, per scene, top to bottom: a line with the scene's number, title
// and a note; the strip (scaled down to 1200 columns when wider) with a bar
// under the columns the start frame shows; then the start frame (320 x 200)
// beside the seam, 4x: the strip's last 32 and first 32 columns of the 50
// rows around the horizon, joined as the view joins them.
#ifndef VISTELLO_TOOLS_AUTHORING_CONTACT_SHEET_H
#define VISTELLO_TOOLS_AUTHORING_CONTACT_SHEET_H

#include <opencv2/core.hpp>
#include <string>
#include <vector>

#include "tools/authoring/font_face.h"
#include "tour/scene_bitmap.h"

class ContactSheet {
 public:
  // Fonts are file names in the system's font folders.
  bool Open(const std::string& regular_font, const std::string& bold_font, std::string& problem);
  void AddHeading(const std::string& text);
  // False when the view could not prepare the strip (not 24-bit, too narrow).
  bool AddScene(int index, const std::string& title, const std::string& note,
                const SceneBitmap& strip);
  bool Write(const std::string& png_path) const;

 private:
  cv::Mat NewBlock(int height) const;

  FontFace heading_font;
  FontFace text_font;
  std::vector<cv::Mat> blocks;
};

#endif  // VISTELLO_TOOLS_AUTHORING_CONTACT_SHEET_H

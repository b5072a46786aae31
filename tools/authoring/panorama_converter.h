// PanoramaConverter: the photos authors have -- a 360 x 180 degree
// equirectangular photo from a 360 camera, a cylindrical strip of any size,
// a phone panorama -- turned into a scene strip of the viewer's geometry.
//
// The viewer shows a strip of W x 200 pixels as a cylinder of radius R
// (the projection's own radius for that width, about W / 2 pi) around the
// eye: column x looks 360 x / W degrees round from the strip's left edge,
// and row y (0 at the top) lies R tan(e) above the middle line for the
// elevation e. So the strip covers about +-27.6 degrees above and below the
// horizon at W = 1200, and the horizon falls between rows 99 and 100. A
// scene starts with strip column StartColumn(W) at the view's centre.
//
// How far round a photo reaches is taken, in this order, from the
// author's degrees =, the photo's GPano metadata, the exact 2:1 shape of
// an equirectangular photo, or a strip 200 rows high and as wide as the
// scene's strip (a ready strip); anything else is refused. A photo that
// reaches less than a full turn fills the rest with colours blended from
// one of its edges to the other, or is stretched round on request.
//
// A converted strip is rolled so that the view starts facing the photo's
// centre (a 360 camera's front), or `look` degrees to its right; its
// horizon, where the metadata or `horizon` puts it, lies on the middle
// line. A ready strip JPEG that needs none of this goes into the tour as
// it is, starting where it always has.
#ifndef VISTELLO_TOOLS_AUTHORING_PANORAMA_CONVERTER_H
#define VISTELLO_TOOLS_AUTHORING_PANORAMA_CONVERTER_H

#include <opencv2/core.hpp>
#include <optional>
#include <string>
#include <vector>

#include "tools/authoring/photo.h"

// How the part of the circle a partial panorama does not cover is made.
enum class Fill {
  kUnstated,  // blended
  kBlend,     // colours blended across the gap from the right edge to the left
  kStretch,   // the picture widened to the whole circle
};

struct StripRequest {
  int width = 0;    // columns of the strip; 0 lets the converter choose
  int degrees = 0;  // horizontal coverage the author states; 0 when not stated
  Fill fill = Fill::kUnstated;
  std::optional<double> look;     // degrees right of the photo's centre the view starts facing
  std::optional<double> horizon;  // percent of the photo's height above its horizon
};

struct StripResult {
  cv::Mat strip;  // empty when the photo goes into the tour as it is
  bool as_it_is = false;
  std::string summary;             // what the photo was and what it became
  std::vector<std::string> notes;  // "coverage: ...", "start: ...", "view: ...", "rows: ..."
  std::vector<Message> warnings;
  Message refusal;
};

class PanoramaConverter {
 public:
  static const int kStripHeight = 200;  // the rows the view shows
  static const int kDefaultWidth = 1200;
  static const int kMaxWidth = 8192;

  // Converts an upright photo into a strip; false with result.refusal set
  // when it cannot be made right.
  bool Convert(const Photo& photo, const StripRequest& request, StripResult& result) const;

  // Whether a picture's right edge runs on into its left edge, as every
  // 360-degree picture's does: the step across the seam (the mean absolute
  // grey difference of columns two apart, at about 600 columns) may be no
  // stronger than the strongest one in a hundred of such steps inside, plus
  // 2 levels. Only a hint: a 360 picture's seam may fall on one of its
  // strongest edges, and a partial panorama's ends may happen to match.
  static bool EdgesMeet(const cv::Mat& picture, double& seam_step, double& column_step);

  // The cylinder radius in strip pixels that the viewer uses for a strip of
  // this width; 0 when the view cannot show such a strip.
  static double CylinderRadius(int strip_width);
  // The strip column at the view's centre when a scene starts.
  static int StartColumn(int strip_width);
};

#endif  // VISTELLO_TOOLS_AUTHORING_PANORAMA_CONVERTER_H

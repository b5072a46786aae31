// PanoramaConverter: the photos authors have -- a 360 x 180 degree
// equirectangular photo from a 360 camera, a cylindrical strip of any size,
// a phone panorama -- turned into a scene strip of the viewer's geometry.
//
// The viewer shows a strip of W x 200 pixels as a cylinder of radius R
// (the projection's own radius for that width, about W / 2 pi) around the
// eye: column x looks 360 x / W degrees round from the strip's left edge,
// and row y (0 at the top) lies R tan(e) above the middle line for the
// elevation e. So the strip covers about +-27.6 degrees above and below the
// horizon at W = 1200, and the horizon falls between rows 99 and 100.
//
// Every strip wraps: the view turns full circle and joins the right edge to
// the left. A picture whose edges do not meet is refused unless the author
// states its coverage and a way to fill the rest. Pictures are 8-bit
// blue-green-red, rows top-down, already upright (EXIF orientation applied
// by the reader).
#ifndef VISTELLO_TOOLS_AUTHORING_PANORAMA_CONVERTER_H
#define VISTELLO_TOOLS_AUTHORING_PANORAMA_CONVERTER_H

#include <opencv2/core.hpp>
#include <string>

// How the part of the circle a partial panorama does not cover is made.
enum class Fill {
  kNone,
  kBlend,    // colours blended across the gap from the right edge to the left
  kStretch,  // the picture widened to the whole circle
};

struct StripRequest {
  int width = 1200;  // columns of the strip
  int degrees = 0;   // horizontal coverage the author states; 0 when not stated
  Fill fill = Fill::kNone;
};

class PanoramaConverter {
 public:
  static const int kStripHeight = 200;  // the rows the view shows
  static const int kMaxWidth = 8192;

  // Converts an upright picture into a strip of request.width x 200 and
  // says in `message` what the picture was taken for ("360 x 180 degree
  // photo"). On a refusal returns false with the problem and its fix there.
  bool Convert(const cv::Mat& picture, const StripRequest& request, cv::Mat& strip,
               std::string& message) const;

  // Whether a picture's right edge runs on into its left edge, as every
  // 360-degree picture's does: the step across the seam (the mean absolute
  // grey difference of columns two apart, at about 600 columns) may be no
  // stronger than the strongest one in a hundred of such steps inside, plus
  // 2 levels. A 360 picture's seam is one column boundary among the others
  // (it may fall on a corner, rarely on one of its very strongest edges); a
  // partial panorama's ends are unrelated views, and the step between them
  // is usually among the strongest of the picture. Returns the seam's step
  // and that percentile.
  static bool EdgesMeet(const cv::Mat& picture, double& seam_step, double& column_step);

  // The cylinder radius in strip pixels that the viewer uses for a strip of
  // this width.
  static double CylinderRadius(int strip_width);

 private:
  cv::Mat FromEquirectangular(const cv::Mat& picture, int width) const;
  // A cylindrical picture covering `degrees` horizontally; empty with the
  // problem set when it is too low for the view at that width.
  cv::Mat FromCylinder(const cv::Mat& picture, const StripRequest& request, int degrees,
                       std::string& problem) const;
};

#endif  // VISTELLO_TOOLS_AUTHORING_PANORAMA_CONVERTER_H

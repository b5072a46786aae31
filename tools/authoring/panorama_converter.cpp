// PanoramaConverter: resampling photos into scene strips.
#include "tools/authoring/panorama_converter.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "panorama/cylinder_projection.h"
#include "panorama/strip_widening.h"
#include "panorama/view_pipeline.h"

namespace {

const double kPi = 3.14159265358979323846;
// Columns the seam is judged at: coarse enough that noise and fine detail
// do not count, fine enough that a real break shows.
const int kSeamColumns = 600;
// The seam is measured against the step between columns that only one in
// a hundred exceeds. Tried on the demo rooms: 72 % of partial panoramas cut
// out of them (400 to 1000 of 1200 columns, at every 75th column) are
// refused, and 1.5 % of the full strips rolled to put the seam at every
// 10th column; the fourth strongest step refused 32 % and 0.2 %. A false
// refusal says how to go on (degrees = 360); a false acceptance is a jump
// the recipient sees.
const double kStrongStepShare = 0.01;
// Columns averaged on each side of a gap for the blended fill.
const int kEdgeColumns = 4;

std::string SizeText(const cv::Mat& picture) {
  return std::to_string(picture.cols) + " x " + std::to_string(picture.rows);
}

// A 360 x 180 degree photo is twice as wide as high; cameras round their
// sizes a little.
bool IsEquirectangular(const cv::Mat& picture) {
  return fabs(static_cast<double>(picture.cols) / picture.rows - 2.0) <= 0.02;
}

// Resampled with an anti-aliasing filter when it shrinks (OpenCV's area
// averaging), bicubic when it grows.
cv::Mat Resized(const cv::Mat& picture, cv::Size size) {
  cv::Mat result;
  const bool shrinks = size.width <= picture.cols && size.height <= picture.rows;
  cv::resize(picture, result, size, 0, 0, shrinks ? cv::INTER_AREA : cv::INTER_CUBIC);
  return result;
}

// Problems end in "; " and the fix, which the tour build shows apart.
const char kPartialFix[] =
    ", and the view turns all the way round, joining the right edge to the left; say how many "
    "degrees it covers and how to fill the rest: degrees = 180 (for example) with fill = blend "
    "(the gap painted with colours blended from one edge to the other) or fill = stretch (the "
    "picture widened to the whole circle). If it does cover 360 degrees, say degrees = 360";

}  // namespace

double PanoramaConverter::CylinderRadius(int strip_width) {
  CylinderProjection projection;
  int width = 0;
  int height = 0;
  if (!projection.Build(WidenedWidth(strip_width), kStripHeight, ViewPipeline::kFieldOfView,
                        ViewPipeline::kScale, width, height)) {
    return 0;
  }
  return projection.Radius();
}

bool PanoramaConverter::EdgesMeet(const cv::Mat& picture, double& seam_step, double& column_step) {
  cv::Mat grey;
  cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
  const int width = std::min(kSeamColumns, grey.cols);
  const int height =
      std::max(1, static_cast<int>(lround(static_cast<double>(grey.rows) * width / grey.cols)));
  cv::Mat small;
  Resized(grey, cv::Size(width, height)).convertTo(small, CV_32F);
  // Steps are taken two columns apart, so that an edge the resampling
  // spread over two columns counts whole, inside and across the seam alike.
  auto step = [&small](int from, int to) {
    return cv::mean(cv::abs(small.col(to) - small.col(from)))[0];
  };
  seam_step = std::max(step(width - 2, 0), step(width - 1, 1));
  // A seam is a column boundary like any other: a 360-degree picture may
  // be cut at a corner or a door frame, so the seam is compared with the
  // strong steps inside the picture rather than with the usual one.
  std::vector<double> steps;
  for (int x = 0; x + 2 < width; x++) {
    steps.push_back(step(x, x + 2));
  }
  const size_t rank = static_cast<size_t>(kStrongStepShare * static_cast<double>(steps.size()));
  std::nth_element(steps.begin(), steps.begin() + rank, steps.end(), std::greater<double>());
  column_step = steps[rank];
  return seam_step <= column_step + 2;
}

bool PanoramaConverter::Convert(const cv::Mat& picture, const StripRequest& request, cv::Mat& strip,
                                std::string& problem) const {
  strip.release();
  if (picture.empty() || picture.type() != CV_8UC3 || picture.cols < 8) {
    problem = "cannot be read as a picture";
    return false;
  }
  if (request.width < 2 || request.width > kMaxWidth || CylinderRadius(request.width) <= 0) {
    problem = "a strip " + std::to_string(request.width) + " pixels wide cannot be made; choose " +
              "a width of at most " + std::to_string(kMaxWidth);
    return false;
  }
  if (request.degrees < 0 || request.degrees > 360) {
    problem = "degrees = " + std::to_string(request.degrees) + " is not a coverage; give 1 to " +
              "360, and crop a panorama that overlaps itself to one full turn";
    return false;
  }
  if (request.fill != Fill::kNone && (request.degrees == 0 || request.degrees == 360)) {
    problem = "fill is for a panorama that covers less than 360 degrees; say how many it " +
              std::string("covers with degrees = N");
    return false;
  }
  if (request.degrees != 0 && request.degrees < 360 && request.fill == Fill::kNone) {
    problem = "covers " + std::to_string(request.degrees) + " degrees" + kPartialFix;
    return false;
  }
  const bool full_circle = request.degrees == 0 || request.degrees == 360;
  if (full_circle && !IsEquirectangular(picture) && picture.cols < 2 * picture.rows) {
    problem = "is " + SizeText(picture) + " pixels, not a panorama: a 360-degree photo is twice " +
              "as wide as high and a panorama strip several times; use the 360 or panorama mode " +
              "of the camera";
    return false;
  }
  double seam_step = 0;
  double column_step = 0;
  if (request.degrees == 0 && !EdgesMeet(picture, seam_step, column_step)) {
    char numbers[128];
    snprintf(numbers, sizeof numbers,
             " (a step of %.0f grey levels across the seam, where only one in a hundred of "
             "the picture's own column steps exceeds %.0f)",
             seam_step, column_step);
    problem = "is " + SizeText(picture) + " pixels and its left and right edges do not meet" +
              numbers + ", so it looks like a panorama of less than 360 degrees" + kPartialFix;
    return false;
  }
  if (full_circle && IsEquirectangular(picture)) {
    strip = FromEquirectangular(picture, request.width);
    problem = "360 x 180 degree photo";
  } else {
    strip = FromCylinder(picture, request, full_circle ? 360 : request.degrees, problem);
    if (!strip.empty()) {
      problem = full_circle
                    ? "360-degree strip"
                    : "panorama of " + std::to_string(request.degrees) + " degrees, " +
                          (request.fill == Fill::kBlend ? "the rest blended" : "stretched round");
    }
  }
  return !strip.empty();
}

cv::Mat PanoramaConverter::FromEquirectangular(const cv::Mat& picture, int width) const {
  // First to one photo column per strip column, filtered: at the horizon a
  // strip pixel then spans one photo pixel both ways, and away from it the
  // cylinder only stretches rows, so the remap below needs no filter.
  const cv::Mat photo = Resized(picture, cv::Size(width, width / 2));
  const double radius = CylinderRadius(width);
  cv::Mat map_x(kStripHeight, width, CV_32F);
  cv::Mat map_y(kStripHeight, width, CV_32F);
  for (int y = 0; y < kStripHeight; y++) {
    // Height above the horizon on the cylinder, then the photo row of that
    // elevation (the photo's rows run from +90 degrees down to -90).
    const double above = kStripHeight / 2.0 - (y + 0.5);
    const double elevation = atan(above / radius);
    const float row = static_cast<float>((0.5 - elevation / kPi) * photo.rows - 0.5);
    for (int x = 0; x < width; x++) {
      map_x.at<float>(y, x) = static_cast<float>(x);
      map_y.at<float>(y, x) = row;
    }
  }
  cv::Mat strip;
  // Columns wrap round the seam; rows never come near the poles.
  cv::remap(photo, strip, map_x, map_y, cv::INTER_CUBIC, cv::BORDER_WRAP);
  return strip;
}

cv::Mat PanoramaConverter::FromCylinder(const cv::Mat& picture, const StripRequest& request,
                                        int degrees, std::string& problem) const {
  // The picture's own scale: how wide it would be for the whole circle.
  const double circle_width = picture.cols * 360.0 / degrees;
  const double scale = request.width / circle_width;
  const int scaled_height = static_cast<int>(lround(picture.rows * scale));
  if (scaled_height < kStripHeight) {
    const int needed = static_cast<int>(ceil(kStripHeight * circle_width / picture.rows));
    const double radius = CylinderRadius(request.width);
    const double reach = atan(scaled_height / 2.0 / radius) * 180 / kPi;
    const double view = atan(kStripHeight / 2.0 / radius) * 180 / kPi;
    char text[512];
    snprintf(text, sizeof text,
             "is %s pixels: made %d pixels wide it is only %d rows high and reaches %.1f "
             "degrees above and below the horizon, where the view shows %d rows (%.1f degrees); ",
             SizeText(picture).c_str(), request.width, scaled_height, reach, kStripHeight, view);
    problem = text;
    problem += needed <= kMaxWidth
                   ? "give this scene width = " + std::to_string(needed) + " or more, or use a " +
                         "photo that reaches further up and down"
                   : std::string("use a photo that reaches further up and down");
    return cv::Mat();
  }
  const int covered = request.fill == Fill::kStretch
                          ? request.width
                          : std::min(request.width, static_cast<int>(lround(picture.cols * scale)));
  const cv::Mat scaled = Resized(picture, cv::Size(covered, scaled_height));
  // The middle rows: a panorama is taken level, with the horizon across
  // the middle of the picture.
  const cv::Mat band = scaled.rowRange((scaled_height - kStripHeight) / 2,
                                       (scaled_height - kStripHeight) / 2 + kStripHeight);
  cv::Mat strip(kStripHeight, request.width, CV_8UC3);
  band.copyTo(strip.colRange(0, covered));
  const int gap = request.width - covered;
  if (gap <= 0) {
    return strip;
  }
  // The gap runs from the picture's right edge round to its left edge.
  const int edge = std::min(kEdgeColumns, covered);
  for (int y = 0; y < kStripHeight; y++) {
    const cv::Scalar right = cv::mean(band.row(y).colRange(covered - edge, covered));
    const cv::Scalar left = cv::mean(band.row(y).colRange(0, edge));
    for (int k = 0; k < gap; k++) {
      const double t = (k + 1.0) / (gap + 1.0);
      cv::Vec3b& pixel = strip.at<cv::Vec3b>(y, covered + k);
      for (int c = 0; c < 3; c++) {
        pixel[c] = cv::saturate_cast<unsigned char>(right[c] * (1 - t) + left[c] * t);
      }
    }
  }
  // Smoothed down the columns, so that single rows do not streak.
  cv::Mat filled = strip.colRange(covered, request.width);
  cv::GaussianBlur(filled, filled, cv::Size(1, 9), 0, 3, cv::BORDER_REPLICATE);
  return strip;
}

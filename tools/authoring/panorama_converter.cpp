// PanoramaConverter: placing photos round the eye and resampling them into
// scene strips.
#include "tools/authoring/panorama_converter.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <opencv2/imgproc.hpp>

#include "panorama/cylinder_projection.h"
#include "panorama/strip_widening.h"
#include "panorama/view_pipeline.h"
#include "tools/authoring/panorama_metadata.h"

namespace {

const double kPi = 3.14159265358979323846;
// Columns the seam is judged at: coarse enough that noise and fine detail
// do not count, fine enough that a real break shows.
const int kSeamColumns = 600;
// The seam is measured against the step between columns that only one in
// a hundred exceeds (tried on the demo rooms: most partial panoramas cut
// out of them have stronger steps at their ends, but not all, and a few
// full strips rolled to put the seam elsewhere have too).
const double kStrongStepShare = 0.01;
// Columns averaged on each side of a gap for the blended fill.
const int kEdgeColumns = 4;
// Enlarged further than this, a photo looks soft in the view.
const double kSoftEnlargement = 1.5;
// A photo reaches the strip's top or bottom edge when it stops no more
// than half a row short of it: the resampler repeats its edge pixels.
const double kReachTolerance = 0.5;
// Rows kept around the band the strip reads, for the cubic resampler.
const int kBandMargin = 4;

std::string Fixed(double value, int decimals) {
  char text[64];
  snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string SizeText(const cv::Mat& picture) {
  return std::to_string(picture.cols) + " x " + std::to_string(picture.rows);
}

// Where a photo's pixels lie round the eye. Columns: the photo's centre
// column faces longitude 0, and longitude grows to the right. Rows: an
// equirectangular photo's are evenly spaced in elevation, a cylindrical
// one's in the tangent of the elevation.
struct Placement {
  double degrees = 360;           // of longitude the photo's columns cover
  bool stretch = false;           // widened to the whole turn
  double columns_per_degree = 0;  // along the strip
  bool equirectangular = false;
  double rows_per_degree = 0;  // equirectangular
  double radius = 0;           // cylindrical: in photo rows
  double horizon_row = 0;      // row coordinate (from the top edge) of elevation 0
  bool from_shape = false;     // coverage read off the photo's shape alone
  std::string coverage;        // what gave the coverage
  std::string horizon;         // what gave the horizon, when not the middle

  bool Partial() const { return degrees < 360 && !stretch; }
  // The photo row coordinate of an elevation, in degrees.
  double Row(double elevation) const {
    return horizon_row -
           (equirectangular ? rows_per_degree * elevation : radius * tan(elevation * kPi / 180));
  }
  // Photo rows per strip row at the horizon, and photo columns per strip
  // column, for a strip of this radius and width.
  double RowStep(double strip_radius) const {
    return (equirectangular ? rows_per_degree * 180 / kPi : radius) / strip_radius;
  }
  double ColumnStep(int width) const { return columns_per_degree * 360 / width; }
};

// The elevation, in degrees, of a strip's top edge.
double EdgeElevation(double strip_radius) {
  return atan(PanoramaConverter::kStripHeight / 2.0 / strip_radius) * 180 / kPi;
}

bool Reaches(const Placement& place, int rows, double strip_radius) {
  const double edge = EdgeElevation(strip_radius);
  return place.Row(edge) >= -kReachTolerance && place.Row(-edge) <= rows + kReachTolerance;
}

// Whether the view can show a strip of this width: its projection builds
// and every pan column the view uses (from the start column round the
// wrap range) keeps its reads inside the widened strip.
bool ViewShows(int width) {
  if (width < 2 || width > PanoramaConverter::kMaxWidth) {
    return false;
  }
  CylinderProjection projection;
  int frame_width = 0;
  int frame_height = 0;
  const int widened = WidenedWidth(width);
  const int margin = StripMargin(width);
  const int start = PanoramaConverter::StartColumn(width) + margin;
  return projection.Build(widened, PanoramaConverter::kStripHeight, ViewPipeline::kFieldOfView,
                          ViewPipeline::kScale, frame_width, frame_height) &&
         projection.MinPan() <= std::min(margin, start) && projection.MaxPan() >= widened - margin;
}

// The narrowest width from `from` up to the widest strip at which the photo
// reaches the strip's edges; 0 when even the widest does not.
int NarrowestReaching(const Placement& place, int rows, int from) {
  const int widest = PanoramaConverter::kMaxWidth;
  if (from > widest || !Reaches(place, rows, PanoramaConverter::CylinderRadius(widest))) {
    return 0;
  }
  int low = from;
  int high = widest;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (Reaches(place, rows, PanoramaConverter::CylinderRadius(middle))) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

const char kDegreesFix[] =
    "give this scene degrees = N, how far round the photo reaches: degrees = 360 if it shows "
    "the whole turn, or the angle it covers (a phone panorama: the angle you turned while "
    "taking it)";

// Reads how far round the photo reaches and how its rows lie; false with
// the refusal set when nothing says.
bool Place(const Photo& photo, const StripRequest& request, Placement& place, Message& refusal) {
  const cv::Mat& picture = photo.picture;
  const PanoramaMetadata metadata = PanoramaMetadata::FromXmp(photo.xmp);
  std::string unusable;
  const bool described = metadata.Found() && metadata.Usable(unusable);
  const bool two_to_one = picture.cols == 2 * picture.rows;
  const int scene_width = request.width ? request.width : PanoramaConverter::kDefaultWidth;
  const bool strip_sized =
      picture.rows == PanoramaConverter::kStripHeight &&
      (picture.cols == scene_width || picture.cols == PanoramaConverter::kDefaultWidth);
  if (request.degrees != 0) {
    place.degrees = request.degrees;
    place.coverage = "degrees = " + std::to_string(request.degrees);
  } else if (metadata.Found() && !described) {
    refusal.problem = "is " + SizeText(picture) + " pixels and " + unusable +
                      ", so how far round it reaches is not known";
    refusal.fix = kDegreesFix;
    return false;
  } else if (described) {
    place.degrees = metadata.Degrees();
    place.coverage = "its GPano metadata";
  } else if (two_to_one || strip_sized) {
    place.degrees = 360;
    place.from_shape = true;
    place.coverage = two_to_one ? "its 2:1 shape (a 360 x 180 degree photo)"
                                : "its size (a strip 200 rows high, as wide as the scene's)";
  } else {
    double seam_step = 0;
    double column_step = 0;
    const bool meet = PanoramaConverter::EdgesMeet(picture, seam_step, column_step);
    refusal.problem = "is " + SizeText(picture) +
                      " pixels, and nothing says how far round it reaches: no degrees = in the "
                      "manifest, no panorama metadata (XMP GPano) in the photo, and it is neither "
                      "a 360 x 180 degree photo (exactly twice as wide as high) nor a strip 200 "
                      "rows high and as wide as the scene's strip; " +
                      (meet ? "its left and right edges meet, as a whole turn's do"
                            : "its left and right edges do not meet, so it is less than a "
                              "whole turn");
    refusal.fix = kDegreesFix;
    return false;
  }
  if (request.fill != Fill::kUnstated && place.degrees >= 360) {
    refusal.problem =
        "reaches all the way round (from " + place.coverage + "), so there is nothing to fill";
    refusal.fix = "leave out fill =, or give the degrees the photo covers if it is less";
    return false;
  }
  place.stretch = request.fill == Fill::kStretch;
  // Photo columns per full turn; a stretched photo is spread over it.
  const double circle = picture.cols * 360.0 / place.degrees;
  place.columns_per_degree = (place.stretch ? picture.cols : circle) / 360.0;
  if (described && request.degrees == 0) {
    place.equirectangular = true;
    place.rows_per_degree = metadata.RowsPerDegree(picture.cols, picture.rows);
    place.horizon_row = metadata.HorizonRow(picture.cols, picture.rows);
    place.horizon = "its GPano metadata";
  } else if (place.degrees == 360 && two_to_one) {
    place.equirectangular = true;
    place.rows_per_degree = picture.rows / 180.0;
    place.horizon_row = picture.rows / 2.0;
  } else {
    place.radius = circle / (2 * kPi);
    place.horizon_row = picture.rows / 2.0;
  }
  if (request.horizon) {
    place.horizon_row = *request.horizon / 100 * picture.rows;
    place.horizon = "horizon = " + Fixed(*request.horizon, 0);
  }
  return true;
}

// Fills the strip columns the photo does not cover (gap[x] set) with
// colours blended from the last covered columns before the gap to the
// first after it, each row on its own, then smoothed down the columns so
// that single rows do not streak. The gap is one arc of the circle, which
// may run over the strip's right edge into its left.
void BlendGap(const std::vector<bool>& gap, cv::Mat& strip) {
  const int width = strip.cols;
  int first = -1;
  for (int x = 0; x < width && first < 0; x++) {
    if (gap[x] && !gap[(x + width - 1) % width]) {
      first = x;
    }
  }
  if (first < 0) {
    return;
  }
  int length = 0;
  while (length < width && gap[(first + length) % width]) {
    length++;
  }
  const int covered = width - length;
  const int edge = std::min(kEdgeColumns, covered);
  cv::Mat filled(strip.rows, length, CV_8UC3);
  for (int y = 0; y < strip.rows; y++) {
    cv::Vec3d before(0, 0, 0);
    cv::Vec3d after(0, 0, 0);
    for (int k = 1; k <= edge; k++) {
      before += cv::Vec3d(strip.at<cv::Vec3b>(y, (first - k + width) % width));
      after += cv::Vec3d(strip.at<cv::Vec3b>(y, (first + length - 1 + k) % width));
    }
    for (int k = 0; k < length; k++) {
      const double t = (k + 1.0) / (length + 1.0);
      const cv::Vec3d colour = (before * (1 - t) + after * t) / edge;
      filled.at<cv::Vec3b>(y, k) =
          cv::Vec3b(cv::saturate_cast<uchar>(colour[0]), cv::saturate_cast<uchar>(colour[1]),
                    cv::saturate_cast<uchar>(colour[2]));
    }
  }
  cv::GaussianBlur(filled, filled, cv::Size(1, 9), 0, 3, cv::BORDER_REPLICATE);
  for (int k = 0; k < length; k++) {
    filled.col(k).copyTo(strip.col((first + k) % width));
  }
}

// The strip: for every strip pixel the longitude and elevation it shows,
// looked up in the photo. A photo larger than the strip is first reduced
// with area averaging to about the strip's scale (only the rows the strip
// reads), so that the cubic resampling needs no further filter.
cv::Mat Resample(const cv::Mat& picture, const Placement& place, int width, double look,
                 std::vector<bool>& gap) {
  const double strip_radius = PanoramaConverter::CylinderRadius(width);
  const double edge = EdgeElevation(strip_radius);
  const int top =
      std::clamp(static_cast<int>(floor(place.Row(edge))) - kBandMargin, 0, picture.rows - 1);
  const int bottom =
      std::clamp(static_cast<int>(ceil(place.Row(-edge))) + kBandMargin, top + 1, picture.rows);
  const cv::Mat band = picture.rowRange(top, bottom);
  const double shrink_x = std::min(1.0, 1 / place.ColumnStep(width));
  const double shrink_y = std::min(1.0, 1 / place.RowStep(strip_radius));
  cv::Mat reduced = band;
  if (shrink_x < 1 || shrink_y < 1) {
    const cv::Size size(std::max(1, static_cast<int>(lround(band.cols * shrink_x))),
                        std::max(1, static_cast<int>(lround(band.rows * shrink_y))));
    cv::resize(band, reduced, size, 0, 0, cv::INTER_AREA);
  }
  // Repeated edge rows, so that the resampler never wraps from the top row
  // to the bottom one.
  cv::Mat source;
  cv::copyMakeBorder(reduced, source, kBandMargin, kBandMargin, 0, 0, cv::BORDER_REPLICATE);
  const double scale_x = static_cast<double>(reduced.cols) / band.cols;
  const double scale_y = static_cast<double>(reduced.rows) / band.rows;

  const int height = PanoramaConverter::kStripHeight;
  const int start = PanoramaConverter::StartColumn(width);
  const bool whole = !place.Partial();
  cv::Mat map_x(height, width, CV_32F);
  cv::Mat map_y(height, width, CV_32F);
  gap.assign(width, false);
  std::vector<float> columns(width);
  for (int x = 0; x < width; x++) {
    // Strip column `start` shows longitude `look`, in the middle of its pixel.
    const double longitude = remainder(look + (x - start) * 360.0 / width, 360.0);
    double column = picture.cols / 2.0 + longitude * place.columns_per_degree;
    if (whole) {
      column = fmod(column + picture.cols, picture.cols);
    } else {
      gap[x] = column < 0 || column >= picture.cols;
    }
    columns[x] = static_cast<float>(column * scale_x - 0.5);
  }
  for (int y = 0; y < height; y++) {
    const double elevation = atan((height / 2.0 - (y + 0.5)) / strip_radius) * 180 / kPi;
    const float row =
        static_cast<float>((place.Row(elevation) - top) * scale_y - 0.5 + kBandMargin);
    for (int x = 0; x < width; x++) {
      map_x.at<float>(y, x) = columns[x];
      map_y.at<float>(y, x) = row;
    }
  }
  cv::Mat strip;
  cv::remap(source, strip, map_x, map_y, cv::INTER_CUBIC,
            whole ? cv::BORDER_WRAP : cv::BORDER_REPLICATE);
  return strip;
}

}  // namespace

double PanoramaConverter::CylinderRadius(int strip_width) {
  CylinderProjection projection;
  int width = 0;
  int height = 0;
  if (strip_width < 2 || strip_width > kMaxWidth ||
      !projection.Build(WidenedWidth(strip_width), kStripHeight, ViewPipeline::kFieldOfView,
                        ViewPipeline::kScale, width, height)) {
    return 0;
  }
  return projection.Radius();
}

int PanoramaConverter::StartColumn(int strip_width) {
  // The view's starting pan column, W' / 3 - 160, less the wrap margin.
  return WidenedWidth(strip_width) / 3 - CylinderProjection::kOutputWidth / 2 -
         StripMargin(strip_width);
}

bool PanoramaConverter::EdgesMeet(const cv::Mat& picture, double& seam_step, double& column_step) {
  const int width = std::min(kSeamColumns, picture.cols);
  const int height = std::max(
      1, static_cast<int>(lround(static_cast<double>(picture.rows) * width / picture.cols)));
  cv::Mat small;
  cv::resize(picture, small, cv::Size(width, height), 0, 0, cv::INTER_AREA);
  cv::cvtColor(small, small, cv::COLOR_BGR2GRAY);
  small.convertTo(small, CV_32F);
  // Steps are taken two columns apart, so that an edge the resampling
  // spread over two columns counts whole, inside and across the seam alike.
  auto step = [&small](int from, int to) {
    return cv::mean(cv::abs(small.col(to) - small.col(from)))[0];
  };
  seam_step = std::max(step(width - 2, 0), step(width - 1, 1));
  std::vector<double> steps;
  for (int x = 0; x + 2 < width; x++) {
    steps.push_back(step(x, x + 2));
  }
  const size_t rank = static_cast<size_t>(kStrongStepShare * static_cast<double>(steps.size()));
  std::nth_element(steps.begin(), steps.begin() + rank, steps.end(), std::greater<double>());
  column_step = steps[rank];
  return seam_step <= column_step + 2;
}

bool PanoramaConverter::Convert(const Photo& photo, const StripRequest& request,
                                StripResult& result) const {
  result = StripResult();
  Message& refusal = result.refusal;
  const cv::Mat& picture = photo.picture;
  if (picture.empty() || picture.type() != CV_8UC3 || picture.cols < 8 || picture.rows < 2) {
    refusal.problem = "is too small to be a panorama";
    refusal.fix = "use the photo the camera's panorama or 360 mode made";
    return false;
  }
  if (request.width != 0 && !ViewShows(request.width)) {
    refusal.problem = "is to become a strip " + std::to_string(request.width) +
                      " columns wide, which the view cannot show";
    refusal.fix = "give a width from the narrowest the view shows up to " +
                  std::to_string(kMaxWidth) + ", or leave width out";
    return false;
  }
  if (request.degrees < 0 || request.degrees > 360) {
    refusal.problem = "is said to reach " + std::to_string(request.degrees) + " degrees round";
    refusal.fix = "give degrees from 1 to 360; crop a panorama that overlaps itself to one turn";
    return false;
  }
  if (request.look && !(fabs(*request.look) <= 360)) {
    refusal.problem = "is to be looked at from a direction outside -360 to 360 degrees";
    refusal.fix = "give look as degrees right of the photo's centre, from -180 to 180";
    return false;
  }
  if (request.horizon && !(*request.horizon > 0 && *request.horizon < 100)) {
    refusal.problem = "is said to have its horizon outside the picture";
    refusal.fix =
        "give horizon as the percentage of the photo's height above the horizon, "
        "between 0 and 100";
    return false;
  }
  Placement place;
  if (!Place(photo, request, place, refusal)) {
    return false;
  }

  // The width: the author's; or a strip's own; or the default, widened
  // until the photo fills the view's height.
  int width = request.width;
  bool widened = false;
  if (width == 0) {
    const bool strip = !place.equirectangular && place.degrees == 360 && !place.stretch &&
                       picture.rows == kStripHeight && ViewShows(picture.cols);
    width = strip ? picture.cols : kDefaultWidth;
    if (!Reaches(place, picture.rows, CylinderRadius(width))) {
      width = NarrowestReaching(place, picture.rows, width + 1);
      widened = true;
    }
  }
  const double strip_radius = CylinderRadius(width);
  if (width == 0 || !Reaches(place, picture.rows, strip_radius)) {
    const double above = place.Row(0);
    const double below = picture.rows - place.Row(0);
    refusal.problem = "is " + SizeText(picture) + " pixels, with " + Fixed(above, 0) +
                      " rows above its horizon and " + Fixed(below, 0) +
                      " below: too few for the view's " + std::to_string(kStripHeight / 2) +
                      " rows above and below the middle line";
    const int needed =
        request.width ? NarrowestReaching(place, picture.rows, request.width + 1) : 0;
    refusal.fix = needed ? "give this scene width = " + std::to_string(needed) +
                               " or more (the view then shows a narrower angle), or leave width "
                               "out and the build chooses"
                         : "use a photo that reaches further up and down";
    if (place.horizon.empty() && !place.equirectangular) {
      refusal.fix +=
          "; if its horizon is not across its middle, say where with horizon = N, "
          "the percentage of its height above the horizon";
    }
    return false;
  }

  const double across = 2 * 2 * strip_radius * atan(160 / (2 * strip_radius)) * 360 / width;
  const double edge = EdgeElevation(strip_radius);
  result.notes.push_back("coverage: " + Fixed(place.degrees, 0) + " degrees, from " +
                         place.coverage);
  result.notes.push_back("view: " + Fixed(across, 0) + " degrees across, " + Fixed(edge, 1) +
                         " up and down, in a strip " + std::to_string(width) + " columns wide" +
                         (widened ? " (chosen so that the photo fills the view's height)" : ""));
  if (!place.horizon.empty()) {
    result.notes.push_back("horizon: " + Fixed(100 * place.horizon_row / picture.rows, 0) +
                           " % down the photo, from " + place.horizon);
  }

  result.as_it_is = photo.plain_jpeg && !place.equirectangular && place.degrees == 360 &&
                    !place.stretch && picture.rows == kStripHeight && picture.cols == width &&
                    !request.look && !request.horizon;
  if (result.as_it_is) {
    result.summary = "ready " + SizeText(picture) + " strip, used as it is";
    result.notes.push_back("start: as the strip is, " +
                           Fixed((StartColumn(width) + 0.5) * 360 / width, 0) +
                           " degrees round from its left edge");
  } else {
    const double look = request.look.value_or(0);
    std::vector<bool> gap;
    result.strip = Resample(picture, place, width, look, gap);
    if (place.Partial() && request.fill != Fill::kStretch) {
      BlendGap(gap, result.strip);
    }
    const std::string what =
        place.equirectangular
            ? (place.degrees == 360 && picture.cols == 2 * picture.rows
                   ? "360 x 180 degree photo"
                   : "equirectangular panorama of " + Fixed(place.degrees, 0) + " degrees")
            : (place.degrees == 360 ? "360-degree strip"
                                    : "panorama of " + Fixed(place.degrees, 0) + " degrees");
    result.summary = what + (place.Partial() ? ", the rest blended" : "") +
                     (place.stretch ? ", stretched round" : "") + ", " + SizeText(picture) +
                     " -> strip " + SizeText(result.strip);
    result.notes.push_back(
        "start: facing " +
        (look == 0 ? std::string("the photo's centre")
                   : Fixed(fabs(look), 0) + " degrees " + (look > 0 ? "right" : "left") +
                         " of the photo's centre (look = " + Fixed(look, 0) + ")"));
  }

  // Rows of the photo wholly beyond the strip's top and bottom edges.
  const int cut_above = std::max(0, static_cast<int>(floor(place.Row(edge))));
  const int cut_below = std::max(0, static_cast<int>(floor(picture.rows - place.Row(-edge))));
  if (cut_above > 0 || cut_below > 0) {
    result.notes.push_back("rows: the view shows rows " + std::to_string(cut_above) + " to " +
                           std::to_string(picture.rows - cut_below) + " of the photo's " +
                           std::to_string(picture.rows) + "; " + std::to_string(cut_above) +
                           " at the top and " + std::to_string(cut_below) +
                           " at the bottom are left out");
  }
  const double enlarged = std::max(1 / place.ColumnStep(width), 1 / place.RowStep(strip_radius));
  if (!result.as_it_is && enlarged > kSoftEnlargement) {
    result.warnings.push_back(
        {"is enlarged " + Fixed(enlarged, 1) + " times to make the strip, and will look soft",
         "use a photo at least " +
             std::to_string(static_cast<int>(ceil(picture.cols * enlarged / kSoftEnlargement))) +
             " pixels wide, or a smaller width ="});
  }
  double seam_step = 0;
  double column_step = 0;
  if (place.from_shape && !EdgesMeet(picture, seam_step, column_step)) {
    result.warnings.push_back(
        {"is taken as a whole turn from " + place.coverage +
             ", but its left and right edges do not meet (a step of " + Fixed(seam_step, 0) +
             " grey levels across the seam, where one in a hundred of its own column steps "
             "exceeds " +
             Fixed(column_step, 0) + ")",
         "if it reaches less than a whole turn, give degrees = N, the angle it covers"});
  }
  return true;
}

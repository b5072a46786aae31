// ContactSheet: drawing the preview of a tour.
#include "tools/authoring/contact_sheet.h"

#include <math.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include "panorama/cylinder_projection.h"
#include "panorama/view_pipeline.h"
#include "tools/authoring/panorama_converter.h"

namespace {

const int kSheetWidth = 1232;
const int kMargin = 16;
const int kStripShown = 1200;
const int kSeamColumns = 32;
const int kSeamRows = 50;
const int kSeamZoom = 4;
const cv::Vec3b kPaper(255, 255, 255);
const cv::Vec3b kInk(40, 40, 40);
const cv::Vec3b kMarker(0, 140, 230);  // orange, in blue-green-red

// A 24-bit SceneBitmap (rows bottom-up, blue-green-red) as an OpenCV
// picture (rows top-down, the same channel order).
cv::Mat ToPicture(const SceneBitmap& bitmap) {
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  cv::Mat picture(height, width, CV_8UC3);
  for (int row = 0; row < height; row++) {
    memcpy(picture.ptr(height - 1 - row), bitmap.Bits() + static_cast<size_t>(row) * width * 3,
           static_cast<size_t>(width) * 3);
  }
  return picture;
}

}  // namespace

bool ContactSheet::Open(const std::string& regular_font, const std::string& bold_font,
                        std::string& problem) {
  if (!heading_font.Open(bold_font, 15)) {
    problem = heading_font.Problem();
    return false;
  }
  if (!text_font.Open(regular_font, 12)) {
    problem = text_font.Problem();
    return false;
  }
  return true;
}

cv::Mat ContactSheet::NewBlock(int height) const {
  return cv::Mat(height, kSheetWidth, CV_8UC3, cv::Scalar(kPaper[0], kPaper[1], kPaper[2]));
}

void ContactSheet::AddHeading(const std::string& text) {
  cv::Mat block = NewBlock(36);
  heading_font.Draw(text, kMargin, 24, kInk, block);
  blocks.push_back(block);
}

bool ContactSheet::AddScene(int index, const std::string& title, const std::string& note,
                            const SceneBitmap& strip) {
  ViewPipeline pipeline;
  if (!pipeline.Prepare(strip)) {
    return false;
  }
  const int start_pan =
      PanoramaConverter::StartColumn(static_cast<int>(strip.Width())) + pipeline.Margin();
  pipeline.Render(start_pan, 0, 0);
  const cv::Mat frame = ToPicture(pipeline.Zoomed());
  const cv::Mat picture = ToPicture(strip);
  const int width = picture.cols;

  const double shrink = width > kStripShown ? static_cast<double>(kStripShown) / width : 1.0;
  const int shown_width = static_cast<int>(lround(width * shrink));
  const int shown_height = static_cast<int>(lround(picture.rows * shrink));
  const int strip_top = 26;
  const int bar_top = strip_top + shown_height + 2;
  const int lower_top = bar_top + 6 + 18;
  cv::Mat block = NewBlock(lower_top + frame.rows + 20);

  heading_font.Draw(std::to_string(index) + "  " + title, kMargin, 18, kInk, block);
  text_font.Draw(note, kMargin + 24 + heading_font.Measure(std::to_string(index) + "  " + title),
                 18, kInk, block);

  cv::Mat shown;
  cv::resize(picture, shown, cv::Size(shown_width, shown_height), 0, 0, cv::INTER_AREA);
  shown.copyTo(block(cv::Rect(kMargin, strip_top, shown_width, shown_height)));

  // The columns the start frame shows: its centre column is strip column
  // start_pan - m, and the frame's edges reach d atan(160 / d) either side.
  const double distance = 2 * pipeline.Projection().Radius();
  const int reach = static_cast<int>(distance * atan(160.0 / distance));
  const int centre = start_pan - pipeline.Margin();
  for (int offset = -reach; offset <= reach; offset++) {
    const int column = ((centre + offset) % width + width) % width;
    const int x = kMargin + static_cast<int>(column * shrink);
    block(cv::Rect(x, bar_top, 1, 4)).setTo(cv::Scalar(kMarker[0], kMarker[1], kMarker[2]));
  }

  text_font.Draw("Start frame, as the view shows it", kMargin, lower_top - 5, kInk, block);
  frame.copyTo(block(cv::Rect(kMargin, lower_top, frame.cols, frame.rows)));

  const int seam_columns = std::min(kSeamColumns, width / 2);
  const int seam_rows = std::min(kSeamRows, picture.rows);
  const int seam_top = (picture.rows - seam_rows) / 2;
  cv::Mat seam;
  cv::hconcat(picture(cv::Rect(width - seam_columns, seam_top, seam_columns, seam_rows)),
              picture(cv::Rect(0, seam_top, seam_columns, seam_rows)), seam);
  cv::resize(seam, seam, cv::Size(), kSeamZoom, kSeamZoom, cv::INTER_NEAREST);
  const int seam_left = kMargin + frame.cols + 32;
  text_font.Draw("Seam, 4x: last and first columns joined", seam_left, lower_top - 5, kInk, block);
  seam.copyTo(block(cv::Rect(seam_left, lower_top, seam.cols, seam.rows)));
  // Ticks just outside the magnified picture mark the joint.
  const int joint = seam_left + seam_columns * kSeamZoom;
  const cv::Scalar marker(kMarker[0], kMarker[1], kMarker[2]);
  block(cv::Rect(joint - 1, lower_top + seam.rows + 2, 2, 8)).setTo(marker);

  blocks.push_back(block);
  return true;
}

bool ContactSheet::Write(const std::string& png_path) const {
  cv::Mat sheet;
  cv::vconcat(blocks, sheet);
  return cv::imwrite(png_path, sheet);
}

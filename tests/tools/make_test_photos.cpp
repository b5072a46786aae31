// make_test_photos: the kinds of photos tour authors bring, made up for the
// author-scenario tests (and for trying the tour command by hand):
//
//   make_test_photos OUT_DIR
//
//   room360.jpg          360 x 180 degree equirectangular photo, 2048 x 1024,
//                        its right end 20 % brighter than its left
//   strip2400.jpg        cylindrical 360-degree strip, 2400 x 400
//   phone_pano.jpg       phone panorama covering 200 degrees, 4000 x 800,
//                        cylindrical, its horizon 40 % down from the top
//   gpano_pano.jpg       the same view as an equirectangular crop, 4000 x 800,
//                        described by its XMP GPano metadata (a 7200 x 3600
//                        panorama, cropped from column 1600 and row 1480)
//   strip.png            PNG strip, 1200 x 200
//   cmyk.jpg             CMYK JPEG strip (Adobe's inverted values), 1800 x 300
//   grey.jpg             greyscale JPEG strip, 1200 x 200
//   rotated.jpg          strip stored on its side with EXIF orientation 6
//   Salle à manger.jpg   ready strip, 1200 x 200, with an accented name
//
// Every picture shows one synthetic room: ceiling above +35 degrees, floor
// below -20, four walls of different colours with a door and a window, and
// markers: a red band along the horizon (elevation within +-0.8 degrees), a
// blue band at elevation 12 +- 0.8 degrees, and two posts from 1.5 to 10
// degrees above and below the horizon, 1.2 degrees wide: a green one at
// longitude 180, the picture's centre (a 360 camera's front), and a magenta
// one at 270, a quarter turn to its right. Pictures that cover the whole
// circle wrap round (their seam falls on a corner, as a real one may); the
// phone panoramas cover longitudes 80 to 280 and their ends do not meet.
#include <math.h>
#include <stdio.h>

#include <algorithm>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>
#include <string>
#include <vector>

#include "support/test_jpeg.h"

namespace {

const double kPi = 3.14159265358979323846;

// Colour (blue, green, red) of the room in the direction longitude,
// elevation (degrees); `tint` varies the walls between pictures.
cv::Vec3b Room(double longitude, double elevation, int tint) {
  if (fabs(elevation) < 0.8) {
    return cv::Vec3b(0, 0, 230);
  }
  if (fabs(elevation - 12) < 0.8) {
    return cv::Vec3b(230, 40, 0);
  }
  const double post = fabs(elevation);
  if (post >= 1.5 && post <= 10) {
    if (fabs(longitude - 180) < 0.6) {
      return cv::Vec3b(0, 220, 0);
    }
    if (fabs(longitude - 270) < 0.6) {
      return cv::Vec3b(220, 0, 220);
    }
  }
  if (elevation > 35) {
    return cv::Vec3b(225, 230, 232);
  }
  if (elevation < -20) {
    const int grain = static_cast<int>(20 * sin(longitude * kPi / 15));
    return cv::Vec3b(40, 80 + grain / 2, 130 + grain);
  }
  const double wall = fmod(longitude + 360, 360);
  const int side = static_cast<int>(wall / 90);
  static const cv::Vec3b kWalls[4] = {
      {150, 190, 210}, {120, 170, 140}, {200, 170, 150}, {140, 150, 200}};
  cv::Vec3b colour = kWalls[side];
  colour[0] = cv::saturate_cast<uchar>(colour[0] + tint);
  const double across = wall - side * 90;
  if (side == 1 && across > 30 && across < 50 && elevation < 15) {
    return cv::Vec3b(40, 70, 110);  // door
  }
  if (side == 3 && across > 25 && across < 65 && elevation > 5 && elevation < 28) {
    return cv::Vec3b(240, 200, 150);  // window
  }
  return colour;
}

// The light across a picture: from `left` times the room's colours at its
// left end to `right` times them at its right end, as the ends of a
// panorama face different light.
cv::Vec3b Lit(cv::Vec3b colour, double left, double right, int u, int width) {
  const double light = left + (right - left) * u / (width - 1);
  for (int c = 0; c < 3; c++) {
    colour[c] = cv::saturate_cast<uchar>(colour[c] * light);
  }
  return colour;
}

// An equirectangular picture: `width` x `height` pixels cut at (left, top)
// out of a full_width x full_height panorama of the whole sphere, whose
// columns run from longitude 0 to 360 and rows from +90 to -90 degrees.
cv::Mat Equirectangular(int width, int height, int full_width, int full_height, int left, int top,
                        double right_light) {
  cv::Mat picture(height, width, CV_8UC3);
  for (int v = 0; v < height; v++) {
    const double elevation = 90 - 180.0 * (top + v + 0.5) / full_height;
    for (int u = 0; u < width; u++) {
      picture.at<cv::Vec3b>(v, u) =
          Lit(Room(360.0 * (left + u + 0.5) / full_width, elevation, 0), 1, right_light, u, width);
    }
  }
  return picture;
}

// A cylindrical picture covering `degrees` across its width, centred on
// longitude 180, with the horizon `horizon` of its height down from the top.
// A partial one brightens from 50 % at its left end to 120 % at its right.
cv::Mat Cylinder(int width, int height, double degrees, int tint, double horizon = 0.5) {
  const double radius = width * 360.0 / degrees / (2 * kPi);
  cv::Mat picture(height, width, CV_8UC3);
  for (int v = 0; v < height; v++) {
    const double elevation = atan((horizon * height - (v + 0.5)) / radius) * 180 / kPi;
    for (int u = 0; u < width; u++) {
      const cv::Vec3b colour =
          Room(180 - degrees / 2 + degrees * (u + 0.5) / width, elevation, tint);
      picture.at<cv::Vec3b>(v, u) = degrees < 360 ? Lit(colour, 0.5, 1.2, u, width) : colour;
    }
  }
  return picture;
}

// An XMP packet in its APP1 marker, describing the picture as a crop of an
// equirectangular panorama in the GPano vocabulary.
std::vector<uint8_t> GPanoXmp(int full_width, int full_height, int left, int top, int width,
                              int height) {
  const std::string packet =
      "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>"
      "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
      "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description rdf:about='' "
      "xmlns:GPano='http://ns.google.com/photos/1.0/panorama/' "
      "GPano:ProjectionType='equirectangular' GPano:UsePanoramaViewer='True' "
      "GPano:FullPanoWidthPixels='" +
      std::to_string(full_width) + "' GPano:FullPanoHeightPixels='" + std::to_string(full_height) +
      "' GPano:CroppedAreaLeftPixels='" + std::to_string(left) + "' GPano:CroppedAreaTopPixels='" +
      std::to_string(top) + "'><GPano:CroppedAreaImageWidthPixels>" + std::to_string(width) +
      "</GPano:CroppedAreaImageWidthPixels><GPano:CroppedAreaImageHeightPixels>" +
      std::to_string(height) +
      "</GPano:CroppedAreaImageHeightPixels></rdf:Description></rdf:RDF></x:xmpmeta>"
      "<?xpacket end='w'?>";
  const std::string marker = std::string("http://ns.adobe.com/xap/1.0/") + '\0' + packet;
  return std::vector<uint8_t>(marker.begin(), marker.end());
}

// Writes a picture's samples (1, 3 or 4 channels, used as they are: grey,
// RGB or CMYK) as JPEG at quality 92, with an APP1 marker when given.
bool WriteJpeg(const std::string& path, const cv::Mat& samples,
               const std::vector<uint8_t>& app1 = {}) {
  TestJpeg picture;
  picture.width = samples.cols;
  picture.height = samples.rows;
  picture.components = samples.channels();
  picture.quality = 92;
  picture.app1 = app1;
  picture.pixel = [&samples](int x, int y, uint8_t* out) {
    const uint8_t* in = samples.ptr(y) + x * samples.channels();
    std::copy(in, in + samples.channels(), out);
  };
  return WriteTestJpeg(path, picture);
}

cv::Mat ToRgb(const cv::Mat& bgr) {
  cv::Mat rgb(bgr.size(), CV_8UC3);
  cv::mixChannels(bgr, rgb, {0, 2, 1, 1, 2, 0});
  return rgb;
}

// Adobe's CMYK as Photoshop stores it: inverted, so K' = max(R, G, B) and
// C' = 255 R / K' (and so on), which readers turn back into R = C' K' / 255.
cv::Mat ToAdobeCmyk(const cv::Mat& bgr) {
  cv::Mat cmyk(bgr.size(), CV_8UC4);
  for (int y = 0; y < bgr.rows; y++) {
    for (int x = 0; x < bgr.cols; x++) {
      const cv::Vec3b p = bgr.at<cv::Vec3b>(y, x);
      const int k = std::max({p[0], p[1], p[2]});
      cv::Vec4b& q = cmyk.at<cv::Vec4b>(y, x);
      for (int c = 0; c < 3; c++) {
        q[c] = static_cast<uchar>(k == 0 ? 0 : 255 * p[2 - c] / k);
      }
      q[3] = static_cast<uchar>(k);
    }
  }
  return cmyk;
}

// An EXIF block holding only IFD0's orientation tag.
std::vector<uint8_t> ExifOrientation(int orientation) {
  return {'E',
          'x',
          'i',
          'f',
          0,
          0,
          'I',
          'I',
          42,
          0,
          8,
          0,
          0,
          0,  // little-endian TIFF, IFD0 at 8
          1,
          0,  // one entry
          0x12,
          0x01,
          3,
          0,
          1,
          0,
          0,
          0,  // tag 0x0112, SHORT, count 1
          static_cast<uint8_t>(orientation),
          0,
          0,
          0,
          0,
          0,
          0,
          0};  // no next IFD
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fputs("usage: make_test_photos OUT_DIR\n", stderr);
    return 2;
  }
  const std::string out = std::string(argv[1]) + "/";
  const std::vector<int> quality = {cv::IMWRITE_JPEG_QUALITY, 92};
  const cv::Mat strip = Cylinder(1200, 200, 360, 0);
  cv::Mat grey;
  cv::cvtColor(Cylinder(1200, 200, 360, 20), grey, cv::COLOR_BGR2GRAY);
  cv::Mat on_its_side;
  cv::rotate(Cylinder(1200, 200, 360, 30), on_its_side, cv::ROTATE_90_COUNTERCLOCKWISE);
  const bool written =
      cv::imwrite(out + "room360.jpg", Equirectangular(2048, 1024, 2048, 1024, 0, 0, 1.2),
                  quality) &&
      cv::imwrite(out + "strip2400.jpg", Cylinder(2400, 400, 360, 10), quality) &&
      cv::imwrite(out + "phone_pano.jpg", Cylinder(4000, 800, 200, 0, 0.4), quality) &&
      WriteJpeg(out + "gpano_pano.jpg",
                ToRgb(Equirectangular(4000, 800, 7200, 3600, 1600, 1480, 1.2)),
                GPanoXmp(7200, 3600, 1600, 1480, 4000, 800)) &&
      cv::imwrite(out + "strip.png", Cylinder(1200, 200, 360, 40)) &&
      WriteJpeg(out + "cmyk.jpg", ToAdobeCmyk(Cylinder(1800, 300, 360, 50))) &&
      WriteJpeg(out + "grey.jpg", grey) &&
      WriteJpeg(out + "rotated.jpg", ToRgb(on_its_side), ExifOrientation(6)) &&
      cv::imwrite(out + "Salle \xc3\xa0 manger.jpg", strip, quality);
  if (!written) {
    fprintf(stderr, "make_test_photos: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}

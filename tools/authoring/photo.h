// Photo: a picture as the photo converter works on it, the limits of what
// it reads, and the messages it gives an author.
#ifndef VISTELLO_TOOLS_AUTHORING_PHOTO_H
#define VISTELLO_TOOLS_AUTHORING_PHOTO_H

#include <opencv2/core.hpp>
#include <string>

// A problem and what the author can do about it.
struct Message {
  std::string problem;
  std::string fix;
};

struct Photo {
  cv::Mat picture;  // 8-bit blue-green-red, rows top-down, upright
  // What the file is, in the author's words: "JPEG", "greyscale JPEG",
  // "EXIF-rotated JPEG", "PNG", ...
  std::string form;
  // An 8-bit colour JPEG stored upright in a coding the viewer's own
  // decoder reads: it can go into a tour as it is.
  bool plain_jpeg = false;
  std::string xmp;  // its XMP packet; empty when it has none
};

// The largest photo read. A decoder holds the whole picture in memory
// (three bytes a pixel, more while it works), so a file's claimed size is
// checked against these before anything is allocated for it: 100
// megapixels take the largest 360 cameras' photos (72 megapixels) and
// long phone panoramas, and every format's own limit is below the side.
const long kMaxPhotoPixels = 100000000;
const long kMaxPhotoSide = 65535;

// Whether a picture of this claimed size may be decoded; when not, says so.
inline bool PhotoFits(long width, long height, Message& refusal) {
  if (width > 0 && height > 0 && width <= kMaxPhotoSide && height <= kMaxPhotoSide &&
      width * height <= kMaxPhotoPixels) {
    return true;
  }
  refusal.problem = "is " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels, beyond what the build reads: photos of at most 100 megapixels and " +
                    std::to_string(kMaxPhotoSide) + " pixels a side";
  refusal.fix =
      "make a smaller copy in a photo editor (the widest strip, 8192 columns, needs no more "
      "than an 8192 x 4096 photo of a whole turn)";
  return false;
}

#endif  // VISTELLO_TOOLS_AUTHORING_PHOTO_H

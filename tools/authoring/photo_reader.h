// PhotoReader: the bytes of a photo file turned into an upright picture.
//
// Read are JPEG (decoded by JpegReader, which refuses any damage), PNG,
// TIFF, WebP and BMP (decoded by OpenCV). Every file's claimed size is
// read from its header and checked against the limits (see photo.h)
// before any decoder allocates for it. HEIC and AVIF photos, which phones
// take by default, are named as such with what to do instead; anything
// else is refused as not a picture the build reads.
#ifndef VISTELLO_TOOLS_AUTHORING_PHOTO_READER_H
#define VISTELLO_TOOLS_AUTHORING_PHOTO_READER_H

#include <stddef.h>
#include <stdint.h>

#include "tools/authoring/photo.h"

class PhotoReader {
 public:
  static bool Read(const uint8_t* data, size_t size, Photo& photo, Message& refusal);

 private:
  // The format a file's first bytes name ("JPEG", "PNG", ... or empty) and
  // the size its header claims (0 x 0 when the header is cut short).
  static std::string Format(const uint8_t* data, size_t size, long& width, long& height);
};

#endif  // VISTELLO_TOOLS_AUTHORING_PHOTO_READER_H

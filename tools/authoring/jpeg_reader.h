// JpegReader: a JPEG photo decoded with libjpeg into an upright picture.
//
// Any message the decoder gives -- a fatal error or a warning about
// damaged data, such as "Premature end of JPEG file" -- refuses the photo
// with the decoder's own words: a damaged photo shows grey or garbage
// where its data is missing, which the author must hear of. The EXIF
// orientation is applied; greyscale and CMYK (Adobe's inverted samples, as
// Photoshop writes them) become colour.
#ifndef VISTELLO_TOOLS_AUTHORING_JPEG_READER_H
#define VISTELLO_TOOLS_AUTHORING_JPEG_READER_H

#include <stddef.h>
#include <stdint.h>

#include "tools/authoring/photo.h"

class JpegReader {
 public:
  // Decodes data[0 .. size) into photo (picture, form, plain_jpeg; the XMP
  // is the caller's). On a refusal returns false with its message.
  static bool Read(const uint8_t* data, size_t size, Photo& photo, Message& refusal);

  // The EXIF orientation (1 to 8) in an APP1 marker's body; 1 when there
  // is none or it cannot be read.
  static int ExifOrientation(const uint8_t* body, size_t size);
};

#endif  // VISTELLO_TOOLS_AUTHORING_JPEG_READER_H

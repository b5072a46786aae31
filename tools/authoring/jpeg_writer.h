// JpegWriter: scene strips encoded as baseline JFIF with libjpeg-turbo --
// the coding the executable's decoder is built for.
#ifndef VISTELLO_TOOLS_AUTHORING_JPEG_WRITER_H
#define VISTELLO_TOOLS_AUTHORING_JPEG_WRITER_H

#include <opencv2/core.hpp>
#include <string>
#include <vector>

class JpegWriter {
 public:
  // Encodes an 8-bit, three-channel picture (OpenCV's blue-green-red order,
  // rows top-down) at the given quality (1 to 100), with optimised Huffman
  // tables and the library's default 2x2 chroma subsampling. Empty for any
  // other kind of picture.
  static std::vector<unsigned char> Encode(const cv::Mat& bgr, int quality);

  // Writes bytes to a file; false when it cannot be written whole.
  static bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);
};

#endif  // VISTELLO_TOOLS_AUTHORING_JPEG_WRITER_H

// photo_convert: the tour build's photo converter.
//
//   photo_convert strip [--width N] [--degrees N] [--fill blend|stretch] PHOTO OUT.png
//   photo_convert encode --budget BYTES STRIP.png OUT.jpg [STRIP.png OUT.jpg ...]
//
// strip reads a photo of any common format (EXIF orientation applied; CMYK,
// greyscale and PNG pictures become colour), makes the scene strip of the
// viewer's geometry (see PanoramaConverter) and writes it losslessly as
// PNG; with OUT "-" it only checks. It prints one line saying what the
// photo was taken for. A refusal exits 1 with the problem and its fix on
// the standard error stream.
//
// encode writes the strips as baseline JPEG at the one quality, from 40 to
// 90, that is the highest at which all of them together fit BYTES, and
// prints "quality Q" and the total; when even 40 does not fit it uses 40
// and prints "over".
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <opencv2/imgcodecs.hpp>
#include <string>
#include <vector>

#include "tools/authoring/jpeg_writer.h"
#include "tools/authoring/panorama_converter.h"

namespace {

const int kLowestQuality = 40;
// Above this the strips grow fast for no difference anyone sees at 320 x 200.
const int kHighestQuality = 90;

int Usage() {
  fputs(
      "usage: photo_convert strip [--width N] [--degrees N] [--fill blend|stretch] PHOTO "
      "OUT.png\n"
      "       photo_convert encode --budget BYTES STRIP.png OUT.jpg [STRIP.png OUT.jpg ...]\n",
      stderr);
  return 2;
}

bool ParseNumber(const char* text, long& value) {
  char* end = nullptr;
  value = strtol(text, &end, 10);
  return end != text && *end == '\0';
}

int Strip(int argc, char** argv) {
  StripRequest request;
  std::vector<const char*> files;
  for (int i = 2; i < argc; i++) {
    long number = 0;
    if (strcmp(argv[i], "--fill") == 0 && i + 1 < argc) {
      const char* method = argv[++i];
      if (strcmp(method, "blend") == 0) {
        request.fill = Fill::kBlend;
      } else if (strcmp(method, "stretch") == 0) {
        request.fill = Fill::kStretch;
      } else {
        fprintf(stderr, "fill = %s is not a way to fill; use fill = blend or fill = stretch\n",
                method);
        return 1;
      }
    } else if ((strcmp(argv[i], "--width") == 0 || strcmp(argv[i], "--degrees") == 0) &&
               i + 1 < argc) {
      const bool width = strcmp(argv[i], "--width") == 0;
      if (!ParseNumber(argv[++i], number) || number < 0 || number > 1000000) {
        fprintf(stderr, "%s = %s is not a whole number\n", width ? "width" : "degrees", argv[i]);
        return 1;
      }
      (width ? request.width : request.degrees) = static_cast<int>(number);
    } else if (argv[i][0] == '-' && argv[i][1] == '-') {
      return Usage();
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.size() != 2) {
    return Usage();
  }
  // IMREAD_COLOR applies the EXIF orientation and gives three 8-bit
  // channels whatever the file holds.
  const cv::Mat photo = cv::imread(files[0], cv::IMREAD_COLOR);
  if (photo.empty()) {
    fputs(
        "cannot be read as a picture (JPEG, PNG, TIFF, WebP, BMP and the like are read); "
        "save it again from a photo editor\n",
        stderr);
    return 1;
  }
  cv::Mat strip;
  std::string problem;  // or, when converted, what the photo was
  if (!PanoramaConverter().Convert(photo, request, strip, problem)) {
    fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  printf("%s, %d x %d -> strip %d x %d\n", problem.c_str(), photo.cols, photo.rows, strip.cols,
         strip.rows);
  if (strcmp(files[1], "-") != 0 &&
      !cv::imwrite(files[1], strip, {cv::IMWRITE_PNG_COMPRESSION, 1})) {
    fprintf(stderr, "cannot write %s\n", files[1]);
    return 1;
  }
  return 0;
}

int Encode(int argc, char** argv) {
  long budget = -1;
  std::vector<const char*> files;
  for (int i = 2; i < argc; i++) {
    if (strcmp(argv[i], "--budget") == 0 && i + 1 < argc) {
      if (!ParseNumber(argv[++i], budget)) {
        return Usage();
      }
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.empty() || files.size() % 2 != 0) {
    return Usage();
  }
  std::vector<cv::Mat> strips;
  for (size_t i = 0; i < files.size(); i += 2) {
    strips.push_back(cv::imread(files[i], cv::IMREAD_COLOR));
    if (strips.back().empty()) {
      fprintf(stderr, "%s: cannot be read\n", files[i]);
      return 1;
    }
  }
  auto encode_all = [&strips](int quality, std::vector<std::vector<unsigned char>>& out) {
    out.clear();
    long total = 0;
    for (const cv::Mat& strip : strips) {
      out.push_back(JpegWriter::Encode(strip, quality));
      total += static_cast<long>(out.back().size());
    }
    return total;
  };
  // The size grows with the quality; find the highest that fits.
  std::vector<std::vector<unsigned char>> encoded;
  int low = kLowestQuality;
  int high = kHighestQuality;
  while (low < high) {
    const int middle = (low + high + 1) / 2;
    if (encode_all(middle, encoded) <= budget) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  const long total = encode_all(low, encoded);
  for (size_t i = 0; i < encoded.size(); i++) {
    if (!JpegWriter::WriteFile(files[2 * i + 1], encoded[i])) {
      fprintf(stderr, "cannot write %s\n", files[2 * i + 1]);
      return 1;
    }
  }
  printf("quality %d\ntotal %ld%s\n", low, total, total > budget ? "\nover" : "");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && strcmp(argv[1], "strip") == 0) {
    return Strip(argc, argv);
  }
  if (argc >= 2 && strcmp(argv[1], "encode") == 0) {
    return Encode(argc, argv);
  }
  return Usage();
}

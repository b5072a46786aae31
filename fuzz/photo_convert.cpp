// Fuzz target photo_convert: arbitrary bytes as an author's photo, with
// and without panorama metadata and EXIF orientation, through the photo
// converter's whole work (ConvertPhoto) with an arbitrary request. Every
// input must end in a strip the view shows, the verdict that the photo
// goes in as it is, or a refusal with its problem and fix -- one that
// names the size cap whenever it gives a size beyond it.
//
// Input: the request and the metadata, then the photo file's bytes:
//   byte    bit 0: look given; bit 1: horizon given; bits 2-3: fill (1
//           blend, 2 stretch, else unstated); bits 4-7: an EXIF
//           orientation to give a JPEG (0: none)
//   int16   degrees (0: not stated)
//   uint16  width (0: the converter chooses)
//   int16   look, in tenths of a degree
//   int16   horizon, in hundredths of a percent
//   text    an XMP description to give the photo (empty: none), ended by
//           a zero byte
//   rest    the photo
// A JPEG gets its metadata where cameras write it, in APP1 segments right
// after its start; any other photo gets the XMP packet after its end,
// where its decoder does not look and the converter, which looks for the
// packet anywhere in the file, finds it as it would in a PNG's or TIFF's
// uncompressed text.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <opencv2/core/utility.hpp>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "panorama/view_pipeline.h"
#include "tools/authoring/photo_conversion.h"
#include "tour/scene_bitmap.h"

namespace {

// The strip widths the view shows (tools/tour-compile --min-width; the
// widest a tour build makes).
const int kNarrowestStrip = 583;
const int kWidestStrip = 8192;

// The engine closes the standard error stream for this target (see
// fuzz/CMakeLists.txt): its failures go to a copy taken before that.
FILE* failures = stderr;

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  fprintf(failures, "photo_convert: %s: %s\n", what, detail.c_str());
  fflush(failures);
  abort();
}

void Append16(std::vector<uint8_t>& bytes, unsigned value) {
  bytes.push_back(static_cast<uint8_t>(value >> 8));
  bytes.push_back(static_cast<uint8_t>(value));
}

// A JPEG APP1 segment holding `body`, cut to the most a segment holds.
void AppendApp1(std::vector<uint8_t>& jpeg, std::string body) {
  body.resize(std::min<size_t>(body.size(), 0xFFFF - 2));
  jpeg.push_back(0xFF);
  jpeg.push_back(0xE1);
  Append16(jpeg, static_cast<unsigned>(body.size() + 2));
  jpeg.insert(jpeg.end(), body.begin(), body.end());
}

// EXIF with one tag in IFD 0, the orientation, big-endian.
std::string Exif(unsigned orientation) {
  static const char kHead[] = "Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01";
  std::string exif(kHead, sizeof kHead - 1);
  exif += {static_cast<char>(orientation >> 8), static_cast<char>(orientation), 0, 0, 0, 0, 0, 0};
  return exif;
}

std::vector<uint8_t> PhotoWithMetadata(const uint8_t* photo, size_t size, unsigned orientation,
                                       const std::string& description) {
  const std::string xmp =
      description.empty() ? std::string()
                          : "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">" + description + "</x:xmpmeta>";
  std::vector<uint8_t> bytes;
  if (size >= 2 && photo[0] == 0xFF && photo[1] == 0xD8) {
    bytes.assign(photo, photo + 2);
    if (orientation != 0) {
      AppendApp1(bytes, Exif(orientation));
    }
    if (!xmp.empty()) {
      AppendApp1(bytes, std::string("http://ns.adobe.com/xap/1.0/", 29) + xmp);
    }
    bytes.insert(bytes.end(), photo + 2, photo + size);
  } else {
    bytes.assign(photo, photo + size);
    bytes.insert(bytes.end(), xmp.begin(), xmp.end());
  }
  return bytes;
}

// A strip the viewer cannot prepare would stop the tour at its start.
void CheckStrip(const cv::Mat& strip, const StripRequest& request) {
  const std::string size = std::to_string(strip.cols) + " x " + std::to_string(strip.rows);
  if (strip.type() != CV_8UC3 || strip.rows != 200 || strip.cols < kNarrowestStrip ||
      strip.cols > kWidestStrip || (request.width != 0 && strip.cols != request.width)) {
    Fail("a strip of the wrong shape", size);
  }
  SceneBitmap bitmap(strip.cols, strip.rows);
  ViewPipeline pipeline;
  const bool shown = pipeline.Prepare(bitmap);
  bitmap.Release();
  if (!shown) {
    Fail("a strip the view cannot prepare", size);
  }
}

// A refusal that gives the photo's size as beyond the cap says the cap.
void CheckCapNamed(const Message& refusal) {
  long width = 0;
  long height = 0;
  const size_t at = refusal.problem.find("is ");
  if (at == std::string::npos ||
      sscanf(refusal.problem.c_str() + at, "is %ld x %ld pixels", &width, &height) != 2) {
    return;
  }
  const bool beyond = width > 65535 || height > 65535 || width * height > 100000000;
  if (beyond && (refusal.problem.find("100 megapixels") == std::string::npos ||
                 refusal.problem.find("65535 pixels a side") == std::string::npos)) {
    Fail("a size beyond the cap refused without naming the cap", refusal.problem);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const int copy = dup(2);
  FILE* stream = copy >= 0 ? fdopen(copy, "w") : nullptr;
  failures = stream != nullptr ? stream : stderr;
  // One thread: OpenCV's pool would spread the work over threads the
  // engine does not watch.
  cv::setNumThreads(0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const int flags = input.Byte();
  StripRequest request;
  request.degrees = input.Int16();
  request.width = static_cast<uint16_t>(input.Int16());
  const int look = input.Int16();
  const int horizon = input.Int16();
  if (flags & 1) {
    request.look = look / 10.0;
  }
  if (flags & 2) {
    request.horizon = horizon / 100.0;
  }
  const int fill = flags >> 2 & 3;
  request.fill = fill == 1 ? Fill::kBlend : fill == 2 ? Fill::kStretch : Fill::kUnstated;
  const std::string description = input.Text();
  const std::vector<uint8_t> photo =
      PhotoWithMetadata(input.Rest(), input.RestSize(), flags >> 4, description);

  StripResult result;
  if (ConvertPhoto(photo.data(), photo.size(), request, result)) {
    if (result.summary.empty()) {
      Fail("a conversion without its summary", "");
    }
    if (!result.as_it_is) {
      CheckStrip(result.strip, request);
    } else if (!result.strip.empty()) {
      Fail("a photo used as it is came with a strip", result.summary);
    }
  } else if (result.refusal.problem.empty() || result.refusal.fix.empty()) {
    Fail("a refusal without its problem or fix", result.refusal.problem);
  }
  CheckCapNamed(result.refusal);
  return 0;
}

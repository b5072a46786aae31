// photo_convert: the tour build's photo converter.
//
//   photo_convert strip [--width N] [--degrees N] [--fill blend|stretch] [--look DEGREES]
//                       [--horizon PERCENT] PHOTO OUT.png
//   photo_convert encode --budget BYTES STRIP.png OUT.jpg [STRIP.png OUT.jpg ...]
//
// strip reads a photo of any common format (see PhotoReader), makes the
// scene strip of the viewer's geometry (see PanoramaConverter) and writes
// it losslessly as PNG; with OUT "-" it only checks. It prints what it did
// as lines of "name: text": summary (what the photo was and became),
// ready (only when the photo goes into the tour as it is, when nothing is
// written), coverage, view, start, horizon and rows, and each warning as
// a "warning:" line followed by its "fix:" line. A refusal exits 1 with
// the problem on the standard error stream and its fix on the line after,
// starting "fix: "; what the decoders would write there meanwhile is kept
// off it, its first line quoted in the problem.
//
// encode writes the strips as baseline JPEG at the one quality, from 40 to
// 90, that is the highest at which all of them together fit BYTES, and
// prints "quality Q" and the total; when even 40 does not fit it uses 40
// and prints "over".
#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <opencv2/imgcodecs.hpp>
#include <string>
#include <vector>

#include "tools/authoring/decoder_messages.h"
#include "tools/authoring/jpeg_writer.h"
#include "tools/authoring/photo_conversion.h"

namespace {

const int kLowestQuality = 40;
// Above this the strips grow fast for no difference anyone sees at 320 x 200.
const int kHighestQuality = 90;
// The largest photo file read into memory; the decoders' limits (photo.h)
// keep what they allocate below a few times this.
const long kMaxFileBytes = 1024L * 1024 * 1024;

int Usage() {
  fputs(
      "usage: photo_convert strip [--width N] [--degrees N] [--fill blend|stretch] "
      "[--look DEGREES] [--horizon PERCENT] PHOTO OUT.png\n"
      "       photo_convert encode --budget BYTES STRIP.png OUT.jpg [STRIP.png OUT.jpg ...]\n",
      stderr);
  return 2;
}

bool ParseNumber(const char* text, long& value) {
  char* end = nullptr;
  errno = 0;
  value = strtol(text, &end, 10);
  return end != text && *end == '\0' && errno == 0;
}

bool ParseReal(const char* text, double& value) {
  char* end = nullptr;
  value = strtod(text, &end);
  return end != text && *end == '\0' && isfinite(value);
}

int Refuse(const Message& refusal) {
  fprintf(stderr, "%s\nfix: %s\n", refusal.problem.c_str(), refusal.fix.c_str());
  return 1;
}

// The whole file, or false when it cannot be read or is too large.
bool ReadFile(const char* path, std::vector<uint8_t>& bytes, Message& refusal) {
  FILE* file = fopen(path, "rb");
  if (file == nullptr) {
    refusal = {std::string("cannot be opened: ") + strerror(errno), "check the file"};
    return false;
  }
  bool read = fseek(file, 0, SEEK_END) == 0;
  const long size = read ? ftell(file) : -1;
  if (size < 0 || size > kMaxFileBytes) {
    fclose(file);
    refusal = {"is larger than the 1 GiB a photo may be", "make a smaller copy in a photo editor"};
    return false;
  }
  bytes.resize(static_cast<size_t>(size));
  read =
      fseek(file, 0, SEEK_SET) == 0 && fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  fclose(file);
  if (!read) {
    refusal = {"cannot be read", "check the file"};
  }
  return read;
}

int Strip(int argc, char** argv) {
  StripRequest request;
  std::vector<const char*> files;
  for (int i = 2; i < argc; i++) {
    const char* option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    long number = 0;
    double real = 0;
    if (strcmp(option, "--fill") == 0 && value) {
      if (strcmp(value, "blend") == 0) {
        request.fill = Fill::kBlend;
      } else if (strcmp(value, "stretch") == 0) {
        request.fill = Fill::kStretch;
      } else {
        return Refuse({std::string("is to be filled by \"") + value + "\"",
                       "use fill = blend or fill = stretch"});
      }
    } else if ((strcmp(option, "--width") == 0 || strcmp(option, "--degrees") == 0) && value) {
      if (!ParseNumber(value, number) || number < 1 || number > 1000000) {
        return Refuse({std::string(option + 2) + " = " + value + " is not a whole number",
                       "give a whole number"});
      }
      (option[2] == 'w' ? request.width : request.degrees) = static_cast<int>(number);
    } else if ((strcmp(option, "--look") == 0 || strcmp(option, "--horizon") == 0) && value) {
      if (!ParseReal(value, real)) {
        return Refuse(
            {std::string(option + 2) + " = " + value + " is not a number", "give a number"});
      }
      (option[2] == 'l' ? request.look : request.horizon) = real;
    } else if (option[0] == '-' && option[1] == '-') {
      return Usage();
    } else {
      files.push_back(option);
      continue;
    }
    i++;
  }
  if (files.size() != 2) {
    return Usage();
  }
  std::vector<uint8_t> bytes;
  StripResult result;
  if (!ReadFile(files[0], bytes, result.refusal)) {
    return Refuse(result.refusal);
  }
  DecoderMessages messages;
  const bool converted = ConvertPhoto(bytes.data(), bytes.size(), request, result);
  const std::string said = messages.FirstLine();
  if (!converted) {
    if (!said.empty()) {
      result.refusal.problem += " (its decoder: \"" + said + "\")";
    }
    return Refuse(result.refusal);
  }
  printf("summary: %s\n", result.summary.c_str());
  if (result.as_it_is) {
    puts("ready: used as it is");
  }
  for (const std::string& note : result.notes) {
    printf("%s\n", note.c_str());
  }
  for (const Message& warning : result.warnings) {
    printf("warning: %s\nfix: %s\n", warning.problem.c_str(), warning.fix.c_str());
  }
  if (!result.as_it_is && strcmp(files[1], "-") != 0 &&
      !cv::imwrite(files[1], result.strip, {cv::IMWRITE_PNG_COMPRESSION, 1})) {
    fprintf(stderr, "cannot write %s\nfix: check the free disk space of the build folder\n",
            files[1]);
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

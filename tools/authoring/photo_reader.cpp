// PhotoReader: format, claimed size and decoding of authors' photo files.
#include "tools/authoring/photo_reader.h"

#include <string.h>

#include <opencv2/imgcodecs.hpp>
#include <vector>

#include "tools/authoring/jpeg_reader.h"

namespace {

bool Starts(const uint8_t* data, size_t size, size_t at, const char* text) {
  const size_t length = strlen(text);
  return size >= at + length && memcmp(data + at, text, length) == 0;
}

long Big(const uint8_t* at, int bytes) {
  long value = 0;
  for (int i = 0; i < bytes; i++) {
    value = value << 8 | at[i];
  }
  return value;
}

long Little(const uint8_t* at, int bytes) {
  long value = 0;
  for (int i = bytes - 1; i >= 0; i--) {
    value = value << 8 | at[i];
  }
  return value;
}

// The size in a JPEG's first frame header (SOF0 to SOF15 but DHT, JPG and
// DAC), found by walking the marker segments from the start.
void JpegSize(const uint8_t* data, size_t size, long& width, long& height) {
  size_t at = 2;
  while (at + 4 <= size && data[at] == 0xFF) {
    const int marker = data[at + 1];
    if (marker == 0xFF) {
      at++;
      continue;
    }
    const size_t length = static_cast<size_t>(Big(data + at + 2, 2));
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (at + 9 <= size) {
        height = Big(data + at + 5, 2);
        width = Big(data + at + 7, 2);
      }
      return;
    }
    if (marker == 0xDA || length < 2) {
      return;
    }
    at += 2 + length;
  }
}

// ImageWidth (256) and ImageLength (257) of a TIFF's first directory.
void TiffSize(const uint8_t* data, size_t size, long& width, long& height) {
  const bool little = data[0] == 'I';
  auto number = [&](size_t at, int bytes) {
    return little ? Little(data + at, bytes) : Big(data + at, bytes);
  };
  const size_t directory = static_cast<size_t>(number(4, 4));
  if (directory > size || size - directory < 2) {
    return;
  }
  const long count = number(directory, 2);
  for (long i = 0; i < count; i++) {
    const size_t entry = directory + 2 + 12 * static_cast<size_t>(i);
    if (entry + 12 > size) {
      return;
    }
    const long tag = number(entry, 2);
    const long type = number(entry + 2, 2);
    const long value = type == 3 ? number(entry + 8, 2) : type == 4 ? number(entry + 8, 4) : 0;
    if (tag == 256) {
      width = value;
    } else if (tag == 257) {
      height = value;
    }
  }
}

// The canvas of a WebP file: a lossy (VP8), lossless (VP8L) or extended
// (VP8X) first chunk.
void WebpSize(const uint8_t* data, size_t size, long& width, long& height) {
  if (Starts(data, size, 12, "VP8 ") && size >= 30 && data[23] == 0x9D && data[24] == 0x01 &&
      data[25] == 0x2A) {
    width = Little(data + 26, 2) & 0x3FFF;
    height = Little(data + 28, 2) & 0x3FFF;
  } else if (Starts(data, size, 12, "VP8L") && size >= 25 && data[20] == 0x2F) {
    const long bits = Little(data + 21, 4);
    width = (bits & 0x3FFF) + 1;
    height = (bits >> 14 & 0x3FFF) + 1;
  } else if (Starts(data, size, 12, "VP8X") && size >= 30) {
    width = Little(data + 24, 3) + 1;
    height = Little(data + 27, 3) + 1;
  }
}

// The XMP packet, wherever the format keeps it (a JPEG's APP1 marker, a
// PNG's iTXt chunk, a TIFF's tag 700, a WebP's XMP chunk): its text lies
// in the file uncompressed between these two tags.
std::string XmpPacket(const uint8_t* data, size_t size) {
  static const char kStart[] = "<x:xmpmeta";
  static const char kEnd[] = "</x:xmpmeta>";
  const char* text = reinterpret_cast<const char*>(data);
  const char* start = static_cast<const char*>(memmem(text, size, kStart, strlen(kStart)));
  if (start == nullptr) {
    return std::string();
  }
  const size_t rest = size - static_cast<size_t>(start - text);
  const char* end = static_cast<const char*>(memmem(start, rest, kEnd, strlen(kEnd)));
  return end ? std::string(start, end + strlen(kEnd)) : std::string();
}

}  // namespace

std::string PhotoReader::Format(const uint8_t* data, size_t size, long& width, long& height) {
  width = height = 0;
  if (Starts(data, size, 0, "\xFF\xD8\xFF")) {
    JpegSize(data, size, width, height);
    return "JPEG";
  }
  if (Starts(data, size, 0, "\x89PNG\r\n\x1A\n") && Starts(data, size, 12, "IHDR") && size >= 24) {
    width = Big(data + 16, 4);
    height = Big(data + 20, 4);
    return "PNG";
  }
  if ((Starts(data, size, 0, "II*") || Starts(data, size, 0, "MM\0*")) && size >= 8) {
    TiffSize(data, size, width, height);
    return "TIFF";
  }
  if (Starts(data, size, 0, "RIFF") && Starts(data, size, 8, "WEBP")) {
    WebpSize(data, size, width, height);
    return "WebP";
  }
  if (Starts(data, size, 0, "BM") && size >= 26) {
    const bool core = Little(data + 14, 4) == 12;  // the OS/2 header: 16-bit sizes
    width = core ? Little(data + 18, 2) : static_cast<int32_t>(Little(data + 18, 4));
    height = core ? Little(data + 20, 2) : static_cast<int32_t>(Little(data + 22, 4));
    height = height < 0 ? -height : height;  // top-down rows
    return "BMP";
  }
  return std::string();
}

bool PhotoReader::Read(const uint8_t* data, size_t size, Photo& photo, Message& refusal) {
  photo = Photo();
  long width = 0;
  long height = 0;
  const std::string format = Format(data, size, width, height);
  if (format.empty()) {
    // ISO base media files (HEIF, AVIF) start with a box "ftyp" and a brand.
    static const char* const kHeif[] = {"heic", "heix", "hevc", "hevx",
                                        "heim", "heis", "mif1", "msf1"};
    const bool media = Starts(data, size, 4, "ftyp");
    bool heif = false;
    for (const char* brand : kHeif) {
      heif = heif || (media && Starts(data, size, 8, brand));
    }
    if (heif || (media && (Starts(data, size, 8, "avif") || Starts(data, size, 8, "avis")))) {
      refusal.problem = std::string("is a ") + (heif ? "HEIC" : "AVIF") +
                        " photo (the format many phones save by default), which the build "
                        "cannot read";
      refusal.fix =
          "save it as JPEG: export it from the phone's or computer's photo app as JPEG, or "
          "set the iPhone to take JPEGs (Settings > Camera > Formats > Most Compatible)";
    } else {
      refusal.problem = "is not a picture the build reads: JPEG, PNG, TIFF, WebP or BMP";
      refusal.fix = "save it as JPEG from a photo editor";
    }
    return false;
  }
  if (width == 0 || height == 0) {
    refusal.problem = "is cut short or damaged: its " + format + " header gives no size";
    refusal.fix = "copy it again from the camera, or save it again from a photo editor";
    return false;
  }
  if (!PhotoFits(width, height, refusal)) {
    return false;
  }
  photo.xmp = XmpPacket(data, size);
  if (format == "JPEG") {
    return JpegReader::Read(data, size, photo, refusal);
  }
  // IMREAD_COLOR gives three 8-bit channels whatever the file holds.
  const cv::Mat bytes(1, static_cast<int>(size), CV_8UC1, const_cast<uint8_t*>(data));
  photo.picture = cv::imdecode(bytes, cv::IMREAD_COLOR);
  if (photo.picture.empty()) {
    refusal.problem = "cannot be decoded: the " + format +
                      " file is damaged or of a kind "
                      "the decoder does not know";
    refusal.fix = "open it in a photo editor and save it again as JPEG";
    return false;
  }
  photo.form = format;
  return true;
}

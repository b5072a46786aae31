// JpegReader: libjpeg decoding of authors' photos, every message a refusal.
#include "tools/authoring/jpeg_reader.h"

#include <setjmp.h>
#include <stdio.h>
#include <string.h>

#include <jpeglib.h>

#include <opencv2/core.hpp>
#include <vector>

namespace {

// The library's memory for one photo beyond the picture itself (a
// progressive photo keeps all its coefficients): past this it stops with
// an error instead of allocating more.
const long kMaxDecoderMemory = 1024L * 1024 * 1024;

// The error manager: the library's public struct first, as the library
// expects, then where to return to. Errors and warnings alike end the
// decoding there with the library's message.
struct Refusing {
  jpeg_error_mgr library;
  jmp_buf back;
  char words[JMSG_LENGTH_MAX];
};

void Stop(j_common_ptr info) {
  Refusing* errors = reinterpret_cast<Refusing*>(info->err);
  errors->library.format_message(info, errors->words);
  longjmp(errors->back, 1);
}

// Level -1 is a warning about damaged data; higher levels are traces.
void Emit(j_common_ptr info, int level) {
  if (level < 0) {
    Stop(info);
  }
}

uint32_t Read32(const uint8_t* at, bool little) {
  return little ? at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24
                : static_cast<uint32_t>(at[0]) << 24 | at[1] << 16 | at[2] << 8 | at[3];
}

uint16_t Read16(const uint8_t* at, bool little) {
  return static_cast<uint16_t>(little ? at[0] | at[1] << 8 : at[0] << 8 | at[1]);
}

// Turns a picture stored with EXIF orientation 2 to 8 upright.
cv::Mat Upright(const cv::Mat& stored, int orientation) {
  cv::Mat upright;
  switch (orientation) {
    case 2:
      cv::flip(stored, upright, 1);
      break;
    case 3:
      cv::rotate(stored, upright, cv::ROTATE_180);
      break;
    case 4:
      cv::flip(stored, upright, 0);
      break;
    case 5:
      cv::transpose(stored, upright);
      break;
    case 6:
      cv::rotate(stored, upright, cv::ROTATE_90_CLOCKWISE);
      break;
    case 7:
      cv::transpose(stored, upright);
      cv::rotate(upright, upright, cv::ROTATE_180);
      break;
    case 8:
      cv::rotate(stored, upright, cv::ROTATE_90_COUNTERCLOCKWISE);
      break;
    default:
      upright = stored;
  }
  return upright;
}

// CMYK samples to blue-green-red. Adobe's files (Photoshop's) store the
// samples inverted, so that R = C' K' / 255; others store plain CMYK,
// R = (255 - C)(255 - K) / 255.
void CmykRow(const uint8_t* cmyk, int width, bool inverted, uint8_t* bgr) {
  for (int x = 0; x < width; x++, cmyk += 4, bgr += 3) {
    const int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int c = 0; c < 3; c++) {
      const int ink = inverted ? cmyk[c] : 255 - cmyk[c];
      bgr[2 - c] = static_cast<uint8_t>((ink * k + 127) / 255);
    }
  }
}

}  // namespace

int JpegReader::ExifOrientation(const uint8_t* body, size_t size) {
  // "Exif\0\0", then a TIFF header (byte order, 42, offset of IFD0) and
  // IFD0: a count, then 12-byte entries of tag, type, count and value.
  if (size < 14 || memcmp(body, "Exif\0\0", 6) != 0) {
    return 1;
  }
  const uint8_t* tiff = body + 6;
  const size_t length = size - 6;
  const bool little = tiff[0] == 'I';
  if ((tiff[0] != 'I' && tiff[0] != 'M') || tiff[1] != tiff[0]) {
    return 1;
  }
  const uint32_t ifd = Read32(tiff + 4, little);
  if (ifd > length - 2) {
    return 1;
  }
  const uint16_t count = Read16(tiff + ifd, little);
  for (uint32_t i = 0; i < count && ifd + 2 + 12 * (i + 1) <= length; i++) {
    const uint8_t* entry = tiff + ifd + 2 + 12 * i;
    if (Read16(entry, little) == 0x0112 && Read16(entry + 2, little) == 3) {  // SHORT
      const int orientation = Read16(entry + 8, little);
      return orientation >= 1 && orientation <= 8 ? orientation : 1;
    }
  }
  return 1;
}

bool JpegReader::Read(const uint8_t* data, size_t size, Photo& photo, Message& refusal) {
  // Everything with a destructor lives outside the stretch a longjmp can
  // leave, and the stretch creates none.
  jpeg_decompress_struct info;
  Refusing errors;
  cv::Mat stored;
  std::vector<uint8_t> cmyk;
  info.err = jpeg_std_error(&errors.library);
  errors.library.error_exit = Stop;
  errors.library.emit_message = Emit;
  jpeg_create_decompress(&info);
  if (setjmp(errors.back) != 0) {
    jpeg_destroy_decompress(&info);
    refusal.problem = std::string("cannot be decoded cleanly: \"") + errors.words + "\"";
    refusal.fix =
        "the file is damaged or cut short: copy it again from the camera, or open it in a "
        "photo editor and save it again as JPEG";
    return false;
  }
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&info, TRUE);
  if (!PhotoFits(info.image_width, info.image_height, refusal)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  const bool is_cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  const bool is_grey = info.jpeg_color_space == JCS_GRAYSCALE;
  if (!is_cmyk && !is_grey && info.num_components != 3) {
    jpeg_destroy_decompress(&info);
    refusal.problem = "is a JPEG of " + std::to_string(info.num_components) +
                      " colour channels, which the build does not read";
    refusal.fix = "save it again as an ordinary colour JPEG from a photo editor";
    return false;
  }
  int orientation = 1;
  for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
    if (marker->marker == JPEG_APP0 + 1 && orientation == 1) {
      orientation = ExifOrientation(marker->data, marker->data_length);
    }
  }
  info.out_color_space = is_cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  stored.create(static_cast<int>(info.output_height), static_cast<int>(info.output_width), CV_8UC3);
  cmyk.resize(is_cmyk ? 4 * static_cast<size_t>(info.output_width) : 0);
  while (info.output_scanline < info.output_height) {
    uint8_t* row = stored.ptr(static_cast<int>(info.output_scanline));
    JSAMPROW rows[1] = {is_cmyk ? cmyk.data() : row};
    jpeg_read_scanlines(&info, rows, 1);
    if (is_cmyk) {
      CmykRow(cmyk.data(), stored.cols, info.saw_Adobe_marker, row);
    }
  }
  jpeg_finish_decompress(&info);
  photo.plain_jpeg =
      !is_cmyk && !is_grey && info.data_precision == 8 && !info.arith_code && orientation == 1;
  jpeg_destroy_decompress(&info);

  photo.picture = Upright(stored, orientation);
  photo.form = is_cmyk ? "CMYK JPEG" : is_grey ? "greyscale JPEG" : "JPEG";
  if (orientation != 1) {
    photo.form = "EXIF-rotated " + photo.form;
  }
  return true;
}

// SceneBitmap: JPEG decoding into a packed DIB, and blank frame buffers.
#include "tour/scene_bitmap.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jerror.h>
#include <jpeglib.h>

#include "tour/dib_destination.h"

namespace {

const DWORD kHeaderBytes = 40;

// A decompressor with the library's standard error handling (a fatal error
// ends the process) and the program's add-on message table; destroyed when
// it goes out of scope.
struct JpegDecoder {
  JpegDecoder() {
    decompress.err = jpeg_std_error(&errors);
    errors.addon_message_table = kAddonMessageTable;
    errors.first_addon_message = kFirstAddonMessage;
    errors.last_addon_message = kLastAddonMessage;
    jpeg_create_decompress(&decompress);
  }
  ~JpegDecoder() { jpeg_destroy_decompress(&decompress); }
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  jpeg_decompress_struct decompress;
  jpeg_error_mgr errors;
};

}  // namespace

SceneBitmap::SceneBitmap()
    : block(nullptr), info(nullptr), header(nullptr), color_table(nullptr), bits(nullptr) {}

SceneBitmap::SceneBitmap(int width, int height) : SceneBitmap() {
  if (width <= 0 || height <= 0) {
    return;
  }
  const unsigned long long pixel_bytes =
      3ull * static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height);
  if (pixel_bytes > 0xFFFFFFFFull - kHeaderBytes || pixel_bytes + kHeaderBytes > SIZE_T(-1)) {
    return;
  }
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(pixel_bytes + kHeaderBytes));
  if (memory == nullptr) {
    return;
  }
  block = static_cast<BYTE*>(GlobalLock(memory));
  if (block == nullptr) {
    GlobalFree(memory);
    return;
  }

  BITMAPINFOHEADER blank = {};
  blank.biSize = kHeaderBytes;
  blank.biWidth = width;
  blank.biHeight = height;
  blank.biPlanes = 1;
  blank.biBitCount = 24;
  blank.biCompression = BI_RGB;
  blank.biSizeImage = static_cast<DWORD>(pixel_bytes);
  memcpy(block, &blank, sizeof blank);

  // A recognisable pattern rather than zeros, so a frame that is shown
  // before it was ever rendered stands out.
  BYTE* pixel = block + kHeaderBytes;
  for (int row = 0; row < height; row++) {
    for (int column = 0; column < width; column++) {
      pixel[0] = 0;
      pixel[1] = static_cast<BYTE>(row < 255 ? row : 255);
      pixel[2] = static_cast<BYTE>(column < 255 ? column : 255);
      pixel += 3;
    }
  }
  AttachFields();
}

void SceneBitmap::AttachFields() {
  info = reinterpret_cast<BITMAPINFO*>(block);
  header = reinterpret_cast<BITMAPINFOHEADER*>(block);
  color_table = reinterpret_cast<RGBQUAD*>(block + header->biSize);
  bits = block + header->biSize + 4 * ColorCount();
}

bool SceneBitmap::DecodeJpegFile(const char* path) {
  JpegDecoder decoder;
  FILE* file = fopen(path, "rb");
  if (file == nullptr) {
    // "%s: can't open %s\n" with "this", written piecewise: fputs keeps the
    // executable free of a printf implementation.
    fputs("this: can't open ", stderr);
    fputs(path, stderr);
    fputs("\n", stderr);
    exit(1);
  }
  jpeg_stdio_src(&decoder.decompress, file);
  DecodeFromSource(&decoder.decompress);
  fclose(file);
  return true;
}

bool SceneBitmap::DecodeJpegMemory(const void* bytes, unsigned long size) {
  JpegDecoder decoder;
  // An empty buffer ends the process with libjpeg's "Empty input file".
  jpeg_mem_src(&decoder.decompress, static_cast<const unsigned char*>(bytes), size);
  DecodeFromSource(&decoder.decompress);
  return true;
}

void SceneBitmap::DecodeFromSource(jpeg_decompress_struct* decoder) {
  jpeg_read_header(decoder, TRUE);
  // Nothing is allocated for the pixels yet; the output is the image's own
  // size (no scaling).
  const unsigned long long pixels =
      static_cast<unsigned long long>(decoder->image_width) * decoder->image_height;
  if (pixels > kMaxPixels) {
    ERREXIT3(decoder, kSceneTooLargeMessage, decoder->image_width, decoder->image_height,
             kMaxPixels);
  }

  DibDestination* destination = InitDibDestination(decoder);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, DibBlockSize(decoder, destination));
  block = memory ? static_cast<BYTE*>(GlobalLock(memory)) : nullptr;
  if (block == nullptr) {
    ERREXIT1(decoder, JERR_OUT_OF_MEMORY, 1);
  }
  destination->output_start = block;
  destination->write_position = block;

  jpeg_start_decompress(decoder);
  destination->start_output(decoder, destination);
  while (decoder->output_scanline < decoder->output_height) {
    JDIMENSION rows = jpeg_read_scanlines(decoder, destination->buffer, destination->buffer_height);
    destination->put_pixel_rows(decoder, destination, rows);
  }
  destination->finish_output(decoder, destination);
  jpeg_finish_decompress(decoder);

  AttachFields();
  header->biSizeImage = ImageSize();
  if (header->biClrUsed == 0) {
    header->biClrUsed = ColorCount();
  }
}

void SceneBitmap::Release() {
  if (block != nullptr) {
    HGLOBAL memory = GlobalHandle(block);
    GlobalUnlock(memory);
    GlobalFree(memory);
  }
  block = nullptr;
  info = nullptr;
  header = nullptr;
  color_table = nullptr;
  bits = nullptr;
}

DWORD SceneBitmap::ColorCount() const {
  if (header == nullptr) {
    return 0;
  }
  if (header->biClrUsed != 0) {
    return header->biClrUsed;
  }
  if (header->biBitCount <= 8) {
    return 1u << header->biBitCount;
  }
  return 0;
}

DWORD SceneBitmap::ImageSize() const {
  if (header == nullptr) {
    return 0;
  }
  if (header->biSizeImage != 0) {
    return header->biSizeImage;
  }
  const DWORD stride = (static_cast<DWORD>(header->biWidth) * header->biBitCount + 7) / 8;
  return stride * static_cast<DWORD>(header->biHeight);
}

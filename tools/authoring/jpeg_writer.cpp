// JpegWriter: libjpeg compression into memory.
#include "tools/authoring/jpeg_writer.h"

#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

std::vector<unsigned char> JpegWriter::Encode(const cv::Mat& bgr, int quality) {
  if (bgr.type() != CV_8UC3 || bgr.empty()) {
    return {};
  }
  jpeg_compress_struct compress;
  jpeg_error_mgr errors;
  // The library's standard error handling: a fatal error (only running out
  // of memory can happen here) ends the tool with the library's message.
  compress.err = jpeg_std_error(&errors);
  jpeg_create_compress(&compress);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&compress, &buffer, &size);
  compress.image_width = static_cast<JDIMENSION>(bgr.cols);
  compress.image_height = static_cast<JDIMENSION>(bgr.rows);
  compress.input_components = 3;
  compress.in_color_space = JCS_RGB;
  jpeg_set_defaults(&compress);
  jpeg_set_quality(&compress, quality, TRUE);
  compress.optimize_coding = TRUE;
  jpeg_start_compress(&compress, TRUE);
  // One row at a time, turned from blue-green-red into red-green-blue.
  std::vector<unsigned char> row(static_cast<size_t>(bgr.cols) * 3);
  while (compress.next_scanline < compress.image_height) {
    const unsigned char* source = bgr.ptr<unsigned char>(static_cast<int>(compress.next_scanline));
    for (int x = 0; x < bgr.cols; x++) {
      row[3 * x + 0] = source[3 * x + 2];
      row[3 * x + 1] = source[3 * x + 1];
      row[3 * x + 2] = source[3 * x + 0];
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&compress, rows, 1);
  }
  jpeg_finish_compress(&compress);
  jpeg_destroy_compress(&compress);
  std::vector<unsigned char> bytes(buffer, buffer + size);
  free(buffer);
  return bytes;
}

bool JpegWriter::WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* out = fopen(path.c_str(), "wb");
  if (out == nullptr) {
    return false;
  }
  const bool written = fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return fclose(out) == 0 && written;
}

// libjpeg encoder front end for tests.
#include "support/test_jpeg.h"

#include <stdio.h>

#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>

bool WriteTestJpeg(const std::string& path, const TestJpeg& picture) {
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) {
    return false;
  }
  jpeg_compress_struct encoder;
  jpeg_error_mgr errors;
  encoder.err = jpeg_std_error(&errors);
  jpeg_create_compress(&encoder);
  jpeg_stdio_dest(&encoder, file);
  encoder.image_width = picture.width;
  encoder.image_height = picture.height;
  encoder.input_components = picture.components;
  encoder.in_color_space = picture.components == 1   ? JCS_GRAYSCALE
                           : picture.components == 4 ? JCS_CMYK
                                                     : JCS_RGB;
  jpeg_set_defaults(&encoder);
  jpeg_set_quality(&encoder, picture.quality, TRUE);
  encoder.density_unit = static_cast<UINT8>(picture.density_unit);
  encoder.X_density = static_cast<UINT16>(picture.x_density);
  encoder.Y_density = static_cast<UINT16>(picture.y_density);
  jpeg_start_compress(&encoder, TRUE);
  if (!picture.app1.empty()) {
    jpeg_write_marker(&encoder, JPEG_APP0 + 1, picture.app1.data(),
                      static_cast<unsigned>(picture.app1.size()));
  }
  std::vector<JSAMPLE> row(picture.width * picture.components);
  std::vector<uint8_t> samples(4);
  while (encoder.next_scanline < encoder.image_height) {
    for (int x = 0; x < picture.width; x++) {
      picture.pixel(x, static_cast<int>(encoder.next_scanline), samples.data());
      for (int c = 0; c < picture.components; c++) {
        row[x * picture.components + c] = samples[c];
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&encoder, rows, 1);
  }
  jpeg_finish_compress(&encoder);
  jpeg_destroy_compress(&encoder);
  return fclose(file) == 0;
}

std::string ScratchPath(const std::string& name) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string unique = test ? std::string(test->test_suite_name()) + "." + test->name() : "test";
  for (char& c : unique) {
    if (c == '/')
      c = '_';
  }
  return ::testing::TempDir() + unique + "." + name;
}

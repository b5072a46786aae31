// render_frame: renders one frame of a scene strip exactly as the panorama
// view shows it, for tour authors and tests.
//
//   render_frame [--pan N] [--tilt N] [--level N] STRIP.JPG FRAME.BMP
//   render_frame --geometry STRIP.JPG
//
// The frame is written as a 24-bit BMP of 320 x h. Without --pan the view's
// starting column W' / 3 - 160 is used; tilt and level default to 0. Pan,
// tilt and level go to the resamplers as given, which limit them as they do
// in the view (a note on the standard error stream says so). --geometry
// prints the derived geometry instead of rendering.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "panorama/view_pipeline.h"
#include "tour/scene_bitmap.h"

namespace {

void Usage() {
  fprintf(stderr,
          "usage: render_frame [--pan N] [--tilt N] [--level N] STRIP.JPG FRAME.BMP\n"
          "       render_frame --geometry STRIP.JPG\n");
}

bool ParseInt(const char* text, int& value) {
  char* end = nullptr;
  errno = 0;
  const long parsed = strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || parsed < -2147483647L || parsed > 2147483647L) {
    return false;
  }
  value = static_cast<int>(parsed);
  return true;
}

void PutLittleEndian(std::vector<unsigned char>& out, unsigned long value, int bytes) {
  for (int i = 0; i < bytes; i++) {
    out.push_back(static_cast<unsigned char>(value >> (8 * i)));
  }
}

// A BMP file: the 14-byte file header, a 40-byte info header, then the rows
// bottom-up as in the frame, each padded to a multiple of 4 bytes.
bool WriteBmp(const char* path, const SceneBitmap& frame) {
  const unsigned long width = frame.Width();
  const unsigned long height = frame.Height();
  const unsigned long row_bytes = 3 * width;
  const unsigned long padded = (row_bytes + 3) & ~3ul;
  const unsigned long offset = 14 + 40;
  std::vector<unsigned char> file;
  file.push_back('B');
  file.push_back('M');
  PutLittleEndian(file, offset + padded * height, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, offset, 4);
  PutLittleEndian(file, 40, 4);
  PutLittleEndian(file, width, 4);
  PutLittleEndian(file, height, 4);
  PutLittleEndian(file, 1, 2);   // planes
  PutLittleEndian(file, 24, 2);  // bits per pixel
  PutLittleEndian(file, 0, 4);   // BI_RGB
  PutLittleEndian(file, padded * height, 4);
  PutLittleEndian(file, 2835, 4);  // 72 dpi
  PutLittleEndian(file, 2835, 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, 0, 4);
  for (unsigned long row = 0; row < height; row++) {
    const BYTE* bits = frame.Bits() + row * row_bytes;
    file.insert(file.end(), bits, bits + row_bytes);
    file.insert(file.end(), padded - row_bytes, 0);
  }
  FILE* out = fopen(path, "wb");
  if (out == nullptr) {
    return false;
  }
  const bool written = fwrite(file.data(), 1, file.size(), out) == file.size();
  return fclose(out) == 0 && written;
}

void PrintGeometry(const SceneBitmap& strip, ViewPipeline& pipeline) {
  CylinderProjection& projection = pipeline.Projection();
  const int margin = pipeline.Margin();
  const int widened = pipeline.WidenedWidth();
  printf("strip %ld x %ld\n", static_cast<long>(strip.Width()), static_cast<long>(strip.Height()));
  printf("m %d\n", margin);
  printf("W' %d\n", widened);
  printf("R %.3f\n", projection.Radius());
  printf("d %.3f\n", 2 * projection.Radius());
  printf("plane_width %d\n", projection.PlaneWidth());
  printf("margin_x %d\n", projection.MarginX());
  printf("margin_y %d\n", projection.MarginY());
  printf("H %d\n", projection.OutputHeight());
  printf("pan_range %d %d\n", margin, widened - margin);
  printf("pan_limits %d %d\n", projection.MinPan(), projection.MaxPan());
  if (projection.MinPan() > margin || projection.MaxPan() < widened - margin) {
    fprintf(stderr,
            "render_frame: the strip is too narrow for its margin; the view will stop "
            "short of the seam\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  bool geometry = false;
  bool has_pan = false;
  int pan = 0, tilt = 0, level = 0;
  std::vector<const char*> files;
  for (int i = 1; i < argc; i++) {
    const char* arg = argv[i];
    int* value = nullptr;
    if (strcmp(arg, "--geometry") == 0) {
      geometry = true;
      continue;
    } else if (strcmp(arg, "--pan") == 0) {
      value = &pan;
      has_pan = true;
    } else if (strcmp(arg, "--tilt") == 0) {
      value = &tilt;
    } else if (strcmp(arg, "--level") == 0) {
      value = &level;
    } else if (arg[0] == '-' && arg[1] == '-') {
      Usage();
      return 2;
    } else {
      files.push_back(arg);
      continue;
    }
    if (i + 1 >= argc || !ParseInt(argv[++i], *value)) {
      fprintf(stderr, "render_frame: %s needs a whole number\n", arg);
      return 2;
    }
  }
  if (files.size() != (geometry ? 1u : 2u)) {
    Usage();
    return 2;
  }

  // Any decoding failure ends the process with a message, as in the viewer.
  SceneBitmap strip;
  strip.DecodeJpegFile(files[0]);
  ViewPipeline pipeline;
  const bool prepared = pipeline.Prepare(strip);
  if (!prepared && pipeline.WidenedWidth() == 0) {
    fprintf(stderr, "render_frame: %s: not a 24-bit colour strip of at least 3 x 2 pixels\n",
            files[0]);
    strip.Release();
    return 1;
  }
  if (geometry) {
    PrintGeometry(strip, pipeline);
    strip.Release();
    return prepared ? 0 : 1;
  }
  strip.Release();
  if (!prepared) {
    fprintf(stderr, "render_frame: the scene could not be prepared\n");
    return 1;
  }

  if (!has_pan) {
    pan = pipeline.WidenedWidth() / 3 - 160;
  }
  int projection_status = 0, zoom_status = 0;
  pipeline.Render(pan, tilt, level, &projection_status, &zoom_status);
  if (projection_status < 0) {
    fprintf(stderr, "render_frame: pan %d limited to %d .. %d\n", pan,
            pipeline.Projection().MinPan(), pipeline.Projection().MaxPan());
  }
  if (zoom_status < 0) {
    fprintf(stderr, "render_frame: tilt %d or level %d limited (level margin %d)\n", tilt, level,
            pipeline.Zoom().MarginY());
  }
  if (!WriteBmp(files[1], pipeline.Zoomed())) {
    fprintf(stderr, "render_frame: cannot write %s\n", files[1]);
    return 1;
  }
  return 0;
}

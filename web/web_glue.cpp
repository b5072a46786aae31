// The seam between the page's JavaScript and the portable core compiled to
// WebAssembly: a handful of C functions with plain integer arguments. The
// page hands over a scene's JPEG bytes, the core decodes it, prepares the
// same ViewPipeline as the executable and advances the same MotionModel;
// each frame is converted once into one RGBA buffer in wasm memory that the
// page views directly as ImageData.
//
// Frame contract (what the page's ImageData relies on):
//   vt_frame() points at FrameWidth x FrameHeight pixels, 4 bytes each in
//   the order red, green, blue, alpha (always 255), rows top-down, no
//   padding. The buffer moves only when a scene of another height is
//   prepared; wasm memory may grow then, so the page re-reads the pointer
//   and the memory after every vt_prepare.
#include <emscripten.h>
#include <stdint.h>
#include <stdlib.h>

#include "panorama/cylinder_projection.h"
#include "panorama/motion_model.h"
#include "panorama/view_pipeline.h"
#include "tour/scene_bitmap.h"

namespace {

// The core's zoomed frame (24-bit, bottom-up, blue-green-red) turned into
// the page's RGBA rows. One pass; no allocation.
void ConvertFrame(const SceneBitmap& frame, uint32_t* rgba) {
  const int width = frame.Width();
  const int height = frame.Height();
  for (int row = 0; row < height; row++) {
    const BYTE* source = frame.Bits() + (height - 1 - row) * 3 * width;
    uint32_t* target = rgba + row * width;
    for (int column = 0; column < width; column++) {
      // Little-endian: the first byte in memory is the lowest.
      target[column] = 0xFF000000u | (uint32_t(source[0]) << 16) | (uint32_t(source[1]) << 8) |
                       uint32_t(source[2]);
      source += 3;
    }
  }
}

// Everything the page's view holds between calls.
struct WebView {
  ViewPipeline pipeline;
  MotionModel motion;
  unsigned char* input = nullptr;  // the JPEG bytes of the scene being prepared
  int input_capacity = 0;
  uint32_t* rgba = nullptr;  // the frame as the page shows it
  int rgba_pixels = 0;
};

WebView view;

}  // namespace

extern "C" {

// A buffer of at least `bytes` for the next scene's JPEG, or 0 when there
// is no memory for it. Grows only when a larger scene arrives.
EMSCRIPTEN_KEEPALIVE unsigned char* vt_input(int bytes) {
  if (bytes <= 0) {
    return nullptr;
  }
  if (bytes > view.input_capacity) {
    unsigned char* larger = static_cast<unsigned char*>(realloc(view.input, bytes));
    if (larger == nullptr) {
      return nullptr;
    }
    view.input = larger;
    view.input_capacity = bytes;
  }
  return view.input;
}

// Decodes the `bytes` JPEG bytes in the input buffer and prepares the scene
// as the view's scene switch does: zoom level 0, the pan column at
// W' / 3 - 160, no vertical movement. The pan speed is left to the page
// (auto-pan, unless the reader asked for reduced motion). Returns 1, or 0
// when the scene could not be prepared; then nothing is rendered. An image
// that libjpeg cannot decode ends the call with the exit status 1, which
// reaches the page as an exception.
EMSCRIPTEN_KEEPALIVE int vt_prepare(int bytes) {
  view.pipeline.Clear();
  if (view.input == nullptr || bytes <= 0 || bytes > view.input_capacity) {
    return 0;
  }
  {
    SceneBitmap strip;
    strip.DecodeJpegMemory(view.input, static_cast<unsigned long>(bytes));
    // The strip is needed only until it is widened.
    const bool prepared = view.pipeline.Prepare(strip);
    strip.Release();
    if (!prepared) {
      return 0;
    }
  }
  const int pixels = view.pipeline.FrameWidth() * view.pipeline.FrameHeight();
  if (pixels != view.rgba_pixels) {
    free(view.rgba);
    view.rgba = static_cast<uint32_t*>(malloc(sizeof(uint32_t) * pixels));
    view.rgba_pixels = view.rgba ? pixels : 0;
    if (view.rgba == nullptr) {
      view.pipeline.Clear();
      return 0;
    }
  }
  MotionModel& motion = view.motion;
  motion.SetStrip(view.pipeline.Margin(), view.pipeline.WidenedWidth());
  motion.SetZoomLevel(0);
  motion.SetPan(view.pipeline.WidenedWidth() / 3 - CylinderProjection::kOutputWidth / 2);
  motion.SetTiltSpeed(0);
  return 1;
}

EMSCRIPTEN_KEEPALIVE int vt_frame_width() {
  return view.pipeline.IsPrepared() ? view.pipeline.FrameWidth() : 0;
}
EMSCRIPTEN_KEEPALIVE int vt_frame_height() {
  return view.pipeline.IsPrepared() ? view.pipeline.FrameHeight() : 0;
}
EMSCRIPTEN_KEEPALIVE uint32_t* vt_frame() {
  return view.rgba;
}

// Renders the frame for the current pan column, tilt and zoom level.
EMSCRIPTEN_KEEPALIVE void vt_render() {
  if (!view.pipeline.IsPrepared()) {
    return;
  }
  view.pipeline.Render(view.motion.Pan(), view.motion.Tilt(), view.motion.ZoomLevel());
  ConvertFrame(view.pipeline.Zoomed(), view.rgba);
}

// One 50 ms animation tick; 1 when the view moved and needs a new frame.
EMSCRIPTEN_KEEPALIVE int vt_tick() {
  return view.pipeline.IsPrepared() && view.motion.Advance(view.pipeline.Zoom()) ? 1 : 0;
}

// 1 while a tick may still move the view (MotionModel::InMotion). With
// none, the page needs no ticks until its reader does something.
EMSCRIPTEN_KEEPALIVE int vt_in_motion() {
  return view.pipeline.IsPrepared() && view.motion.InMotion() ? 1 : 0;
}

// Start of the animation: the positions the first tick compares against.
EMSCRIPTEN_KEEPALIVE void vt_remember_positions() {
  view.motion.RememberPositions();
}

// Speeds and the zoom level, limited by the model as in the executable.
EMSCRIPTEN_KEEPALIVE void vt_set_pan_speed(int speed) {
  view.motion.SetPanSpeed(speed);
}
EMSCRIPTEN_KEEPALIVE void vt_set_tilt_speed(int speed) {
  view.motion.SetTiltSpeed(speed);
}
EMSCRIPTEN_KEEPALIVE void vt_set_zoom_level(int level) {
  view.motion.SetZoomLevel(level);
}
EMSCRIPTEN_KEEPALIVE void vt_set_zoom_speed(int speed) {
  view.motion.SetZoomSpeed(speed);
}
EMSCRIPTEN_KEEPALIVE int vt_pan_speed() {
  return view.motion.PanSpeed();
}
EMSCRIPTEN_KEEPALIVE int vt_zoom_level() {
  return view.motion.ZoomLevel();
}

// Places the view at a pan column and tilt as given, unlimited: the
// resamplers limit them exactly as for the command-line renderer, so a
// page can show any frame that renderer writes.
EMSCRIPTEN_KEEPALIVE void vt_set_view(int pan, int tilt) {
  view.motion.SetPan(pan);
  view.motion.SetTilt(tilt);
}
EMSCRIPTEN_KEEPALIVE int vt_pan() {
  return view.motion.Pan();
}

// The strip's width in columns: 360 degrees of pan (and, at the horizon,
// as many rows of tilt per degree).
EMSCRIPTEN_KEEPALIVE int vt_strip_width() {
  return view.pipeline.IsPrepared() ? view.motion.WidenedWidth() - 2 * view.motion.Margin() : 0;
}

// Turns the view to a pan column, taken round the cylinder into the range
// a tick keeps it in (m .. m + strip width), and a tilt, limited to the
// zoom level's margin as a tick limits it.
EMSCRIPTEN_KEEPALIVE void vt_look(int pan, int tilt) {
  const int width = vt_strip_width();
  if (width <= 0) {
    return;
  }
  const int margin = view.motion.Margin();
  int offset = (pan - margin) % width;
  if (offset < 0) {
    offset += width;
  }
  view.motion.SetPan(margin + offset);
  view.motion.SetTilt(view.pipeline.Zoom().ClampVertical(tilt, view.motion.ZoomLevel()));
}
EMSCRIPTEN_KEEPALIVE int vt_tilt() {
  return view.motion.Tilt();
}

}  // extern "C"

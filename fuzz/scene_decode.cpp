// Fuzz target scene_decode: arbitrary bytes as a scene JPEG, along the
// viewer's whole road from a scene's bytes to a frame -- decoded into a
// SceneBitmap by the product's DIB destination, widened, the projection and
// zoom tables prepared, and one frame rendered at a pan column, tilt and
// zoom level taken from the input, once with the scalar rows and once with
// the vector rows, which must give the same bytes.
//
// Input: pan column and tilt (signed 16-bit each, little-endian), zoom
// level (a signed byte), then the JPEG. The view is used as given: the
// renderers limit it as they limit the view's own. A JPEG the decoder
// refuses ends the input as the program ends.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/program_end.h"
#include "panorama/view_pipeline.h"
#include "tour/scene_bitmap.h"

namespace {

struct SceneBytes {
  SceneBitmap* strip;
  const uint8_t* bytes;
  size_t size;
};

void Decode(void* context) {
  SceneBytes* scene = static_cast<SceneBytes*>(context);
  scene->strip->DecodeJpegMemory(scene->bytes, scene->size);
}

[[noreturn]] void Fail(const char* what) {
  fprintf(stderr, "scene_decode: %s\n", what);
  abort();
}

// Header, colour table and rows end exactly where the block does.
void CheckLayout(const SceneBitmap& strip) {
  const SIZE_T block_size = GlobalSize(GlobalHandle(strip.Block()));
  if (strip.Bits() + strip.ImageSize() != strip.Block() + block_size) {
    Fail("the decoded bitmap's layout does not fill its block exactly");
  }
}

void RenderBothWays(const SceneBitmap& strip, int pan, int tilt, int level) {
  ViewPipeline pipeline;
  if (!pipeline.Prepare(strip)) {
    return;
  }
  pipeline.UseVectorRows(false);
  pipeline.Render(pan, tilt, level);
  const SceneBitmap& frame = pipeline.Zoomed();
  const std::vector<BYTE> scalar(frame.Bits(), frame.Bits() + frame.ImageSize());
  if (!pipeline.UseVectorRows(true)) {
    return;  // this processor has no vector rows to compare
  }
  pipeline.Render(pan, tilt, level);
  if (memcmp(scalar.data(), frame.Bits(), scalar.size()) != 0) {
    Fail("the vector rows' frame differs from the scalar rows' frame");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const int pan = input.Int16();
  const int tilt = input.Int16();
  const int level = static_cast<int8_t>(input.Byte());

  SceneBitmap strip;
  SceneBytes scene = {&strip, input.Rest(), input.RestSize()};
  if (RunUntilProgramEnd(Decode, &scene)) {
    CheckLayout(strip);
    RenderBothWays(strip, pan, tilt, level);
  }
  strip.Release();
  return 0;
}

// portable_timing: the frame of the portable core, timed with the standard
// clock, plus a checksum of a sweep of frames, in C++ that builds anywhere:
// for the WebAssembly edition (bench/web-measure runs it in Chromium with
// and without WebAssembly SIMD) and natively, whose checksums the web
// builds must reproduce.
//
// The strip is the benchmarks' noise strip (1200 x 200, every byte
// pseudo-random), so no JPEG decoder is needed.
#include <stdint.h>
#include <stdio.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench_scene.h"
#include "panorama/view_pipeline.h"

namespace {

// FNV-1a over every byte of the frames of every fifth pan column of the
// animation's range, at levels 0, 8 and 15, tilts -30, 0 and 30.
uint32_t SweepChecksum(ViewPipeline& pipeline) {
  uint32_t hash = 2166136261u;
  const size_t bytes = 3u * pipeline.FrameWidth() * pipeline.FrameHeight();
  for (int pan = pipeline.Margin(); pan <= pipeline.WidenedWidth() - pipeline.Margin(); pan += 5) {
    for (const int level : {0, 8, 15}) {
      for (const int tilt : {-30, 0, 30}) {
        pipeline.Render(pan, tilt, level);
        const BYTE* bits = pipeline.Zoomed().Bits();
        for (size_t i = 0; i < bytes; i++) {
          hash = (hash ^ bits[i]) * 16777619u;
        }
      }
    }
  }
  return hash;
}

// Frames are timed in batches: browsers coarsen their clock to 100 us or
// more, longer than a frame.
double MedianFrameMicroseconds(ViewPipeline& pipeline, int level) {
  const int kBatch = 100;
  const int kBatches = 15;
  const int pan = pipeline.WidenedWidth() / 3 - 160;
  std::vector<double> times;
  for (int batch = -1; batch < kBatches; batch++) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kBatch; i++) {
      pipeline.Render(pan, 0, level);
    }
    const auto end = std::chrono::steady_clock::now();
    if (batch >= 0) {  // the first batch warms up
      times.push_back(std::chrono::duration<double, std::micro>(end - start).count() / kBatch);
    }
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  OwnedSceneBitmap strip = NoiseStrip();
  ViewPipeline pipeline;
  if (!pipeline.Prepare(*strip)) {
    printf("scene preparation failed\n");
    return 1;
  }
  const bool vector = pipeline.VectorRows();
  for (int pass = 0; pass < (vector ? 2 : 1); pass++) {
    const bool scalar = !vector || pass == 1;
    pipeline.UseVectorRows(!scalar);
    const char* rows = scalar ? "scalar" : "vector";
    printf("%s rows: frame level 0 median %.1f us, level 15 median %.1f us, checksum %08x\n", rows,
           MedianFrameMicroseconds(pipeline, 0), MedianFrameMicroseconds(pipeline, 15),
           static_cast<unsigned>(SweepChecksum(pipeline)));
  }
  return 0;
}

// The peer of the frame benchmark: OpenCV's cv::remap on the same geometry,
// bilinear with fixed-point maps (convertMaps to CV_16SC2) for the
// projection and nearest-neighbour for the zoom. The maps are made from our
// own tables for the measured pan column, so both sides sample the same
// positions; OpenCV then uses its own 5-bit sub-pixel weights, and the
// counter max_difference says how far its frame is from ours.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench_scene.h"
#include "panorama/view_pipeline.h"

namespace {

struct PeerMaps {
  cv::Mat projection_xy, projection_weights;
  cv::Mat zoom_xy;
};

PeerMaps MakeMaps(ViewPipeline& pipeline, int pan, int tilt, int level) {
  const CylinderProjection& projection = pipeline.Projection();
  const int width = pipeline.FrameWidth();
  const int height = pipeline.FrameHeight();
  const int a = pipeline.WidenedWidth();
  cv::Mat map_x(height, width, CV_32FC1);
  cv::Mat map_y(height, width, CV_32FC1);
  const int base = 3 * (projection.MarginX() + pan);
  for (int i = 0; i < height; i++) {
    for (int j = 0; j < width; j++) {
      const int k = (projection.MarginY() + i) * width + j;
      const int pixel = (projection.Offsets()[k] + base) / 3;
      map_x.at<float>(i, j) = static_cast<float>(pixel % a + projection.FracX()[k] / 256.0);
      map_y.at<float>(i, j) = static_cast<float>(pixel / a + projection.FracY()[k] / 256.0);
    }
  }
  PeerMaps maps;
  cv::convertMaps(map_x, map_y, maps.projection_xy, maps.projection_weights, CV_16SC2, false);

  const ZoomTable& zoom = pipeline.Zoom();
  const int margin = zoom.Rows(level)[0] / 3;
  tilt = tilt < -margin ? -margin : (tilt > margin ? margin : tilt);
  cv::Mat zoom_x(height, width, CV_32FC1);
  cv::Mat zoom_y(height, width, CV_32FC1);
  for (int r = 0; r < height; r++) {
    for (int k = 0; k < width; k++) {
      zoom_x.at<float>(r, k) = static_cast<float>(zoom.Columns(level)[k] / 3);
      zoom_y.at<float>(r, k) = static_cast<float>(zoom.Rows(level)[r] / 3 + tilt);
    }
  }
  cv::Mat unused;
  cv::convertMaps(zoom_x, zoom_y, maps.zoom_xy, unused, CV_16SC2, true);
  return maps;
}

void BM_OpenCvFrame(benchmark::State& state) {
  ViewPipeline pipeline;
  if (!PrepareBenchPipeline(VISTELLO_TOURS_DIR, &pipeline)) {
    state.SkipWithError("scene preparation failed");
    return;
  }
  const int level = static_cast<int>(state.range(0));
  const int threads = static_cast<int>(state.range(1));
  const int pan = StartPan(pipeline);
  const int width = pipeline.FrameWidth();
  const int height = pipeline.FrameHeight();
  PeerMaps maps = MakeMaps(pipeline, pan, 0, level);

  // The images wrap the same pixel arrays: memory row 0 is the bottom row,
  // and the maps address memory rows.
  const SceneBitmap& widened = pipeline.Widened();
  cv::Mat source(widened.Height(), widened.Width(), CV_8UC3, widened.Bits());
  cv::Mat projected(height, width, CV_8UC3);
  cv::Mat zoomed(height, width, CV_8UC3);

  const int previous_threads = cv::getNumThreads();
  cv::setNumThreads(threads);
  for (auto _ : state) {
    cv::remap(source, projected, maps.projection_xy, maps.projection_weights, cv::INTER_LINEAR,
              cv::BORDER_REPLICATE);
    cv::remap(projected, zoomed, maps.zoom_xy, cv::noArray(), cv::INTER_NEAREST,
              cv::BORDER_REPLICATE);
    benchmark::DoNotOptimize(zoomed.data[0]);
    benchmark::ClobberMemory();
  }
  cv::setNumThreads(previous_threads);

  pipeline.Render(pan, 0, level);
  int difference = 0;
  for (int i = 0; i < width * height * 3; i++) {
    const int d = abs(int(zoomed.data[i]) - int(pipeline.Zoomed().Bits()[i]));
    difference = d > difference ? d : difference;
  }
  state.counters["max_difference"] = difference;
  state.SetItemsProcessed(state.iterations() * width * height);
}
// Arguments: zoom level, OpenCV threads (1 to match our single-threaded
// frame; 0 lets OpenCV use its default pool).
BENCHMARK(BM_OpenCvFrame)
    ->ArgNames({"level", "threads"})
    ->Args({0, 1})
    ->Args({15, 1})
    ->Args({0, 0})
    ->Args({15, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

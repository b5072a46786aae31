// Frame and start-up costs of the panorama core: one whole frame (projection
// then zoom) at the view's levels 0 and 15, the per-scene preparation and
// table building, and decoding the ten demo scenes. The OpenCV peer of the
// frame is in opencv_peer.cpp.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_scene.h"
#include "panorama/strip_widening.h"
#include "panorama/view_pipeline.h"

namespace {

void BM_Frame(benchmark::State& state) {
  ViewPipeline pipeline;
  if (!PrepareBenchPipeline(VISTELLO_TOURS_DIR, &pipeline)) {
    state.SkipWithError("scene preparation failed");
    return;
  }
  const int level = static_cast<int>(state.range(0));
  if (!pipeline.UseVectorRows(state.range(1) != 0)) {
    state.SkipWithError("no vector rows on this machine");
    return;
  }
  const int pan = StartPan(pipeline);
  for (auto _ : state) {
    pipeline.Render(pan, 0, level);
    benchmark::DoNotOptimize(pipeline.Zoomed().Bits()[0]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * pipeline.FrameWidth() * pipeline.FrameHeight());
}
// Arguments: zoom level, vector rows (1, as the program picks them here)
// or the scalar rows (0) of processors without SSE2.
BENCHMARK(BM_Frame)
    ->ArgNames({"level", "vector"})
    ->Args({0, 1})
    ->Args({15, 1})
    ->Args({0, 0})
    ->Args({15, 0})
    ->Unit(benchmark::kMicrosecond);

// The two stages apart, at the level the view shows most.
void BM_Projection(benchmark::State& state) {
  ViewPipeline pipeline;
  if (!PrepareBenchPipeline(VISTELLO_TOURS_DIR, &pipeline)) {
    state.SkipWithError("scene preparation failed");
    return;
  }
  const int pan = StartPan(pipeline);
  for (auto _ : state) {
    benchmark::DoNotOptimize(pipeline.Projection().Render(pan, 0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Projection)->Unit(benchmark::kMicrosecond);

void BM_Zoom(benchmark::State& state) {
  ViewPipeline pipeline;
  if (!PrepareBenchPipeline(VISTELLO_TOURS_DIR, &pipeline)) {
    state.SkipWithError("scene preparation failed");
    return;
  }
  const int level = static_cast<int>(state.range(0));
  pipeline.Projection().Render(StartPan(pipeline), 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(pipeline.Zoom().Render(0, 0, level));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Zoom)->ArgName("level")->Arg(0)->Arg(15)->Unit(benchmark::kMicrosecond);

// Both table builds of a scene change (the trigonometry).
void BM_BuildTables(benchmark::State& state) {
  CylinderProjection projection;
  ZoomTable zoom;
  int width = 0;
  int height = 0;
  for (auto _ : state) {
    bool built = projection.Build(WidenedWidth(1200), 200, ViewPipeline::kFieldOfView,
                                  ViewPipeline::kScale, width, height);
    built = zoom.Build(width, 200, ViewPipeline::kMaxZoom, ViewPipeline::kZoomSteps) && built;
    benchmark::DoNotOptimize(built);
  }
}
BENCHMARK(BM_BuildTables)->Unit(benchmark::kMicrosecond);

// A whole scene preparation: widening, grey band, tables, frame buffers.
void BM_PrepareScene(benchmark::State& state) {
  OwnedSceneBitmap strip = LoadBenchStrip(VISTELLO_TOURS_DIR);
  for (auto _ : state) {
    ViewPipeline pipeline;
    benchmark::DoNotOptimize(pipeline.Prepare(*strip));
  }
}
BENCHMARK(BM_PrepareScene)->Unit(benchmark::kMicrosecond);

// Start-up: the ten demo scenes decoded from their bytes in memory, as the
// program decodes its scene resources, and from their JPEG files; in both
// the scenes stay until the round's time is taken, as in the program.
void BM_DecodeTenScenes(benchmark::State& state) {
  const bool from_files = state.range(0) != 0;
  std::vector<std::string> scenes;
  if (!ReadDemoScenes(VISTELLO_TOURS_DIR, &scenes)) {
    state.SkipWithError("demo strips not found");
    return;
  }
  for (auto _ : state) {
    SceneBitmap decoded[kDemoScenes];
    if (from_files) {
      DecodeDemoSceneFiles(VISTELLO_TOURS_DIR, decoded);
    } else {
      DecodeDemoScenes(scenes, decoded);
    }
    benchmark::DoNotOptimize(decoded[kDemoScenes - 1].Bits()[0]);
    state.PauseTiming();
    ReleaseScenes(decoded);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DecodeTenScenes)->ArgName("files")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

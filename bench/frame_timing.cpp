// frame_timing: the frame of the real 32-bit product build, timed with
// QueryPerformanceCounter (run it under Wine or on Windows).
//
//   frame_timing [TOURS_DIR] [FRAMES]
//
// Prints the median, fastest and 90th-percentile time of FRAMES frames
// (default 1000) at zoom levels 0 and 15, with the rows the program picks
// and (where those are vector rows) with the scalar rows, then the median of
// the per-scene table building and of decoding the ten demo scenes, from
// memory and from their files.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench_scene.h"
#include "panorama/strip_widening.h"
#include "panorama/view_pipeline.h"

namespace {

double Microseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to,
                    const LARGE_INTEGER& frequency) {
  return 1e6 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Runs work count times, each followed by the untimed after, and prints
// median, fastest and 90th percentile.
template <typename Work, typename After>
void Time(const char* name, int count, Work work, After after) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  for (int i = 0; i < count; i++) {
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    after();
    times.push_back(Microseconds(start, end, frequency));
  }
  std::sort(times.begin(), times.end());
  printf("%-22s median %9.1f us   fastest %9.1f us   90%% %9.1f us   (%d runs)\n", name,
         times[times.size() / 2], times.front(), times[times.size() * 9 / 10], count);
}

template <typename Work>
void Time(const char* name, int count, Work work) {
  Time(name, count, work, [] {});
}

}  // namespace

int main(int argc, char** argv) {
  const std::string tours = argc > 1 ? argv[1] : VISTELLO_TOURS_DIR;
  const int frames = argc > 2 ? atoi(argv[2]) : 1000;
  if (frames < 1) {
    fprintf(stderr, "usage: frame_timing [TOURS_DIR] [FRAMES]\n");
    return 2;
  }
  ViewPipeline pipeline;
  if (!PrepareBenchPipeline(tours, &pipeline)) {
    fprintf(stderr, "frame_timing: scene preparation failed\n");
    return 1;
  }
  const int pan = StartPan(pipeline);
  // The rows the program picks on this machine, then the scalar rows that
  // processors without SSE2 run.
  const bool vector = pipeline.VectorRows();
  for (int pass = 0; pass < (vector ? 2 : 1); pass++) {
    const bool scalar = !vector || pass == 1;
    pipeline.UseVectorRows(!scalar);
    for (const int level : {0, 15}) {
      for (int i = 0; i < 20; i++) {
        pipeline.Render(pan, 0, level);
      }
      char name[40];
      snprintf(name, sizeof name, "frame, level %d, %s", level, scalar ? "scalar" : "vector");
      Time(name, frames, [&] { pipeline.Render(pan, 0, level); });
    }
  }

  CylinderProjection projection;
  ZoomTable zoom;
  Time("table building", 50, [&] {
    int width = 0, height = 0;
    projection.Build(WidenedWidth(1200), 200, ViewPipeline::kFieldOfView, ViewPipeline::kScale,
                     width, height);
    zoom.Build(width, 200, ViewPipeline::kMaxZoom, ViewPipeline::kZoomSteps);
  });

  // As the program decodes its scenes (from the resources' bytes in
  // memory, each into a bitmap that stays), and through the files.
  std::vector<std::string> scenes;
  if (ReadDemoScenes(tours, &scenes)) {
    SceneBitmap decoded[kDemoScenes];
    Time(
        "decoding ten scenes from memory", 30, [&] { DecodeDemoScenes(scenes, decoded); },
        [&] { ReleaseScenes(decoded); });
    Time(
        "decoding ten scenes from files", 30, [&] { DecodeDemoSceneFiles(tours, decoded); },
        [&] { ReleaseScenes(decoded); });
  }
  return 0;
}

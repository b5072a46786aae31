// The scene strips the frame measurements run on: the demo tour's strips
// when they are there, otherwise a synthetic strip of the same size.
#ifndef VISTELLO_BENCH_BENCH_SCENE_H
#define VISTELLO_BENCH_BENCH_SCENE_H

#include <string>
#include <vector>

#include "panorama/view_pipeline.h"
#include "tour/scene_bitmap.h"

// tours/demo/<index>.JPG under the given tours folder.
std::string DemoStripPath(const std::string& tours_dir, int index);

bool FileExists(const std::string& path);

// The bytes of the ten demo scenes' JPEG files, as the program holds its
// scene resources; false when one cannot be read.
bool ReadDemoScenes(const std::string& tours_dir, std::vector<std::string>* scenes);

// The ten scenes decoded as the program decodes them at start: each into a
// bitmap of its own that stays (the next decoding gets fresh memory, as
// there), from their bytes or through their files. ReleaseScenes lets go
// of them between two measurements.
const int kDemoScenes = 10;
void DecodeDemoScenes(const std::vector<std::string>& scenes, SceneBitmap decoded[kDemoScenes]);
void DecodeDemoSceneFiles(const std::string& tours_dir, SceneBitmap decoded[kDemoScenes]);
void ReleaseScenes(SceneBitmap decoded[kDemoScenes]);

// A 1200 x 200 strip of pseudo-random pixels: the worst case for any
// shortcut, and the same on every build.
OwnedSceneBitmap NoiseStrip();

// Decodes the demo strip when the file exists, else makes the noise strip.
// Says on the standard error stream which one it used.
OwnedSceneBitmap LoadBenchStrip(const std::string& tours_dir);

// Prepares the pipeline with the bench strip, as the view prepares a scene.
bool PrepareBenchPipeline(const std::string& tours_dir, ViewPipeline* pipeline);

// The pan column the view starts a scene at: W' / 3 - 160.
int StartPan(const ViewPipeline& pipeline);

#endif  // VISTELLO_BENCH_BENCH_SCENE_H

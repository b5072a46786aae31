// Scene strips for the frame measurements.
#include "bench_scene.h"

#include <stdint.h>
#include <stdio.h>

std::string DemoStripPath(const std::string& tours_dir, int index) {
  return tours_dir + "/demo/" + std::to_string(index) + ".JPG";
}

bool FileExists(const std::string& path) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return false;
  }
  fclose(file);
  return true;
}

bool ReadDemoScenes(const std::string& tours_dir, std::vector<std::string>* scenes) {
  scenes->clear();
  for (int index = 0; index < kDemoScenes; index++) {
    FILE* file = fopen(DemoStripPath(tours_dir, index).c_str(), "rb");
    if (file == nullptr) {
      return false;
    }
    std::string bytes;
    char chunk[4096];
    size_t read = 0;
    while ((read = fread(chunk, 1, sizeof chunk, file)) > 0) {
      bytes.append(chunk, read);
    }
    fclose(file);
    scenes->push_back(bytes);
  }
  return true;
}

void DecodeDemoScenes(const std::vector<std::string>& scenes, SceneBitmap decoded[kDemoScenes]) {
  for (int index = 0; index < kDemoScenes; index++) {
    decoded[index].DecodeJpegMemory(scenes[index].data(), scenes[index].size());
  }
}

void DecodeDemoSceneFiles(const std::string& tours_dir, SceneBitmap decoded[kDemoScenes]) {
  for (int index = 0; index < kDemoScenes; index++) {
    decoded[index].DecodeJpegFile(DemoStripPath(tours_dir, index).c_str());
  }
}

void ReleaseScenes(SceneBitmap decoded[kDemoScenes]) {
  for (int index = 0; index < kDemoScenes; index++) {
    decoded[index].Release();
  }
}

OwnedSceneBitmap NoiseStrip() {
  OwnedSceneBitmap strip(new SceneBitmap(1200, 200));
  uint32_t state = 12345;
  BYTE* bits = strip->Bits();
  for (int i = 0; i < 1200 * 200 * 3; i++) {
    state = state * 1664525u + 1013904223u;
    bits[i] = static_cast<BYTE>(state >> 24);
  }
  return strip;
}

OwnedSceneBitmap LoadBenchStrip(const std::string& tours_dir) {
  // Said once, not for every benchmark that loads it.
  static bool told = false;
  const bool tell = !told;
  told = true;
  const std::string path = DemoStripPath(tours_dir, 0);
  if (FileExists(path)) {
    OwnedSceneBitmap strip(new SceneBitmap);
    strip->DecodeJpegFile(path.c_str());
    if (tell) {
      fprintf(stderr, "strip: %s\n", path.c_str());
    }
    return strip;
  }
  OwnedSceneBitmap strip = NoiseStrip();
  if (tell) {
    fprintf(stderr, "strip: synthetic 1200 x 200 (no %s)\n", path.c_str());
  }
  return strip;
}

bool PrepareBenchPipeline(const std::string& tours_dir, ViewPipeline* pipeline) {
  OwnedSceneBitmap strip = LoadBenchStrip(tours_dir);
  return strip && pipeline->Prepare(*strip);
}

int StartPan(const ViewPipeline& pipeline) {
  return pipeline.WidenedWidth() / 3 - CylinderProjection::kOutputWidth / 2;
}

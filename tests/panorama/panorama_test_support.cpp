// Demo strips for the panorama core tests.
#include "panorama/panorama_test_support.h"

#include <stdio.h>

OwnedSceneBitmap DemoStrip(int index) {
  const std::string path = DemoStripPath(index);
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) {
    return nullptr;
  }
  fclose(file);
  OwnedSceneBitmap strip(new SceneBitmap);
  strip->DecodeJpegFile(path.c_str());
  return strip;
}

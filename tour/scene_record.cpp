// SceneRecord: owns a scene's bitmap and copies of its texts.
#include "tour/scene_record.h"

#include <stdlib.h>
#include <string.h>

#include "tour/scene_loader.h"

namespace {

void DestroyBitmap(SceneBitmap*& bitmap) {
  if (bitmap != nullptr) {
    SceneBitmapDeleter()(bitmap);
    bitmap = nullptr;
  }
}

// Frees the held copy and stores a fresh one of text (or null).
bool ReplaceCopy(char*& field, const char* text) {
  free(field);
  field = nullptr;
  if (text == nullptr) {
    return true;
  }
  const size_t length = strlen(text);
  field = static_cast<char*>(malloc(length + 1));
  if (field == nullptr) {
    return false;
  }
  memcpy(field, text, length + 1);
  return true;
}

}  // namespace

SceneRecord::SceneRecord() : bitmap(nullptr), title(nullptr), link_query(nullptr) {}

SceneRecord::~SceneRecord() {
  free(title);
  free(link_query);
  DestroyBitmap(bitmap);
}

SceneBitmap* SceneRecord::SetImage(const char* image_name) {
  DestroyBitmap(bitmap);
  bitmap = LoadSceneBitmap(image_name);
  return bitmap;
}

bool SceneRecord::SetTitle(const char* text) {
  return ReplaceCopy(title, text);
}

bool SceneRecord::SetLinkQuery(const char* text) {
  return ReplaceCopy(link_query, text);
}

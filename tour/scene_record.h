// SceneRecord: one scene of the tour -- its decoded strip, its title and
// the query its hot-spot links carry while it is shown.
#ifndef VISTELLO_TOUR_SCENE_RECORD_H
#define VISTELLO_TOUR_SCENE_RECORD_H

#include "tour/scene_bitmap.h"

class SceneRecord {
 public:
  SceneRecord();
  ~SceneRecord();
  SceneRecord(const SceneRecord&) = delete;
  SceneRecord& operator=(const SceneRecord&) = delete;

  // Releases any bitmap held, then loads and keeps the named image (see
  // LoadSceneBitmap; a failure ends the process). The name is not kept.
  SceneBitmap* SetImage(const char* image_name);

  // Replace the held copy with a fresh heap copy of text; a null text
  // leaves the field null. Return false only when the copy could not be
  // allocated (the field is then null).
  bool SetTitle(const char* text);
  bool SetLinkQuery(const char* text);

  SceneBitmap* Bitmap() const { return bitmap; }
  const char* Title() const { return title; }
  const char* LinkQuery() const { return link_query; }

 private:
  SceneBitmap* bitmap;  // owned
  char* title;          // owned copy
  char* link_query;     // owned copy
};

#endif  // VISTELLO_TOUR_SCENE_RECORD_H

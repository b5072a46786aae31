// TourDescription: everything tour-specific apart from the resources --
// the ten scenes, the presenter's contact texts, the e-commerce hot spots
// and the two panel flags. Filled once from the tour's build-time constants;
// constructing it decodes all ten scene images.
#ifndef VISTELLO_TOUR_TOUR_DESCRIPTION_H
#define VISTELLO_TOUR_TOUR_DESCRIPTION_H

#include "tour/scene_record.h"
#include "tour/tour_constants.h"

class TourDescription {
 public:
  // Fills every field from the tour's build-time values, which it keeps
  // pointing at (they outlive it), and decodes every scene image, in list
  // order. Any failure (an image that cannot be decoded, memory that cannot
  // be had) ends the process with status 1 before any window exists: there
  // is no partial tour. The program's values are kTourConstants; the fuzz
  // targets pass others.
  explicit TourDescription(const TourConstants& tour = kTourConstants);
  virtual ~TourDescription();
  TourDescription(const TourDescription&) = delete;
  TourDescription& operator=(const TourDescription&) = delete;

  int SceneCount() const { return kSceneCount; }
  // index is a list index, 0 to 9; not range-checked.
  SceneRecord* Scene(int index) const { return scenes[index]; }

  int HotSpotCount() const;
  // index is below HotSpotCount(); not range-checked.
  HotSpotRectangle* HotSpotRect(int index) const { return hot_spot_rects[index]; }
  const char* HotSpotLink(int index) const { return hot_spot_links[index]; }
  const char* HotSpotStatusText(int index) const { return hot_spot_status_texts[index]; }

  bool HasEcommerceImage() const;
  bool HasEcommerceLogo() const;

 private:
  SceneRecord** scenes;                // kSceneCount records, owned
  HotSpotRectangle** hot_spot_rects;   // array and records owned
  const char** hot_spot_links;         // array owned, texts constant
  const char** hot_spot_status_texts;  // array owned, texts constant
  const TourConstants* constants;      // the counts and flags; not owned

 public:
  // Constant texts of the tour, read directly by the main window and the
  // contact box; never copied or freed.
  const char* presenter_name;
  const char* presenter_company;
  const char* presenter_phone;
  const char* presenter_email;  // one or more addresses separated by ";"
  const char* listing;
  const char* location;
};

#endif  // VISTELLO_TOUR_TOUR_DESCRIPTION_H

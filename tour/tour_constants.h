// The build-time values of one tour, generated from its manifest
// (tours/<name>/tour.ini) into tour_data.cpp. The tour description is
// filled from these; the texts are constants and are never copied or freed
// where the description hands them out as they are.
#ifndef VISTELLO_TOUR_TOUR_CONSTANTS_H
#define VISTELLO_TOUR_TOUR_CONSTANTS_H

#include <stdint.h>

const int kSceneCount = 10;

struct SceneConstant {
  const char* image_name;  // resource name of type "JPEG"
  const char* title;
  const char* link_query;  // appended as "?" + query to hot-spot links; may be empty
};

// A rectangle of the e-commerce image, in its pixels; a point is inside
// when it lies strictly between the edges.
struct HotSpotRectangle {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct HotSpotConstant {
  HotSpotRectangle rect;
  const char* link;
  const char* status_text;  // may be empty
};

struct TourConstants {
  SceneConstant scenes[kSceneCount];
  const char* presenter_name;
  const char* presenter_company;
  const char* presenter_phone;
  const char* presenter_email;
  const char* listing;
  const char* location;
  const HotSpotConstant* hot_spots;  // null when there are none
  int hot_spot_count;
  bool has_ecommerce_image;
  bool has_ecommerce_logo;
};

// Defined by the tour's generated tour_data.cpp.
extern const TourConstants kTourConstants;

#endif  // VISTELLO_TOUR_TOUR_CONSTANTS_H

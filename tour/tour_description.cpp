// TourDescription: built from the tour's generated data (kTourConstants).
#include "tour/tour_description.h"

#include <stdio.h>
#include <stdlib.h>

#include <new>

namespace {

[[noreturn]] void OutOfMemory() {
  fputs("this: out of memory\n", stderr);
  exit(1);
}

template <typename T>
T* Require(T* allocated) {
  if (allocated == nullptr) {
    OutOfMemory();
  }
  return allocated;
}

// An owned array of count elements, valid (non-null) even when count is 0.
template <typename T>
T* NewArray(int count) {
  return Require(new (std::nothrow) T[count > 0 ? count : 1]());
}

}  // namespace

TourDescription::TourDescription(const TourConstants& tour)
    : scenes(nullptr),
      hot_spot_rects(nullptr),
      hot_spot_links(nullptr),
      hot_spot_status_texts(nullptr),
      constants(&tour),
      presenter_name(nullptr),
      presenter_company(nullptr),
      presenter_phone(nullptr),
      presenter_email(nullptr),
      listing(nullptr),
      location(nullptr) {
  const int hot_spots = HotSpotCount();
  scenes = NewArray<SceneRecord*>(kSceneCount);
  hot_spot_rects = NewArray<HotSpotRectangle*>(hot_spots);
  hot_spot_links = NewArray<const char*>(hot_spots);
  hot_spot_status_texts = NewArray<const char*>(hot_spots);

  for (int index = 0; index < kSceneCount; index++) {
    const SceneConstant& scene = tour.scenes[index];
    SceneRecord* record = Require(new (std::nothrow) SceneRecord);
    scenes[index] = record;
    record->SetImage(scene.image_name);
    if (!record->SetTitle(scene.title) || !record->SetLinkQuery(scene.link_query)) {
      OutOfMemory();
    }
  }

  for (int index = 0; index < hot_spots; index++) {
    hot_spot_rects[index] =
        Require(new (std::nothrow) HotSpotRectangle(tour.hot_spots[index].rect));
    hot_spot_links[index] = tour.hot_spots[index].link;
    hot_spot_status_texts[index] = tour.hot_spots[index].status_text;
  }

  presenter_name = tour.presenter_name;
  presenter_company = tour.presenter_company;
  presenter_phone = tour.presenter_phone;
  presenter_email = tour.presenter_email;
  listing = tour.listing;
  location = tour.location;
}

TourDescription::~TourDescription() {
  for (int index = 0; index < kSceneCount; index++) {
    delete scenes[index];
  }
  delete[] scenes;
  for (int index = 0; index < HotSpotCount(); index++) {
    delete hot_spot_rects[index];
  }
  delete[] hot_spot_rects;
  delete[] hot_spot_links;
  delete[] hot_spot_status_texts;
}

int TourDescription::HotSpotCount() const {
  return constants->hot_spot_count;
}

bool TourDescription::HasEcommerceImage() const {
  return constants->has_ecommerce_image;
}

bool TourDescription::HasEcommerceLogo() const {
  return constants->has_ecommerce_logo;
}

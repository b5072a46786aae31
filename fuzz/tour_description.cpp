// Fuzz target tour_description: arbitrary texts and tables in the shape the
// tour compiler writes them (tour_data.cpp), built into the program's
// TourDescription, which must hand out exactly what the tour holds.
//
// Input: the hot-spot count (a byte, modulo kMaxHotSpots + 1), the panel
// flags (bit 0 the e-commerce image, bit 1 the logo), per scene one byte
// choosing whether it shows its own picture or an earlier scene's (as
// scenes sharing a photo share one resource), the hot-spot rectangles (four
// signed 32-bit numbers each), then the texts, each ended by a zero byte:
// per scene the title and the link query, the six presenter texts, per hot
// spot the link and the status text.
//
// The scene images are the scene_decode target's subject: here a resource
// is a small blank strip, looked up by the name the description asks for.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "tour/scene_loader.h"
#include "tour/tour_description.h"

namespace {

const int kMaxHotSpots = 64;
const int kPresenterTexts = 6;

// The tour of one input; its texts and tables live as long as it does.
struct FuzzedTour {
  std::vector<std::string> image_names;
  std::vector<std::string> titles;
  std::vector<std::string> link_queries;
  std::vector<std::string> presenter;
  std::vector<std::string> links;
  std::vector<std::string> statuses;
  std::vector<HotSpotConstant> hot_spots;
  TourConstants constants;
};

// The resources of the tour being built: "<n>.JPG" for each scene n that
// shows a picture of its own.
std::vector<std::string> resources;

[[noreturn]] void Fail(const char* what, int index) {
  fprintf(stderr, "tour_description: %s (%d)\n", what, index);
  abort();
}

void Read(FuzzInput& input, FuzzedTour& tour) {
  const int hot_spots = input.Byte() % (kMaxHotSpots + 1);
  const int flags = input.Byte();
  // A shared picture's resource is named after the first scene showing it.
  resources.clear();
  int resource_of[kSceneCount];
  for (int scene = 0; scene < kSceneCount; scene++) {
    const int choice = input.Byte();
    if (scene > 0 && choice % 2 != 0) {
      resource_of[scene] = resource_of[choice / 2 % scene];
    } else {
      resource_of[scene] = scene;
      resources.push_back(std::to_string(scene) + ".JPG");
    }
    tour.image_names.push_back(std::to_string(resource_of[scene]) + ".jpg");
  }
  tour.hot_spots.resize(hot_spots);
  for (HotSpotConstant& spot : tour.hot_spots) {
    spot.rect = {input.Int32(), input.Int32(), input.Int32(), input.Int32()};
  }
  for (int scene = 0; scene < kSceneCount; scene++) {
    tour.titles.push_back(input.Text());
    tour.link_queries.push_back(input.Text());
  }
  for (int text = 0; text < kPresenterTexts; text++) {
    tour.presenter.push_back(input.Text());
  }
  for (int spot = 0; spot < hot_spots; spot++) {
    tour.links.push_back(input.Text());
    tour.statuses.push_back(input.Text());
  }

  TourConstants& constants = tour.constants;
  for (int scene = 0; scene < kSceneCount; scene++) {
    constants.scenes[scene] = {tour.image_names[scene].c_str(), tour.titles[scene].c_str(),
                               tour.link_queries[scene].c_str()};
  }
  const char** presenter[kPresenterTexts] = {
      &constants.presenter_name,  &constants.presenter_company, &constants.presenter_phone,
      &constants.presenter_email, &constants.listing,           &constants.location};
  for (int text = 0; text < kPresenterTexts; text++) {
    *presenter[text] = tour.presenter[text].c_str();
  }
  for (int spot = 0; spot < hot_spots; spot++) {
    tour.hot_spots[spot].link = tour.links[spot].c_str();
    tour.hot_spots[spot].status_text = tour.statuses[spot].c_str();
  }
  constants.hot_spots = hot_spots > 0 ? tour.hot_spots.data() : nullptr;
  constants.hot_spot_count = hot_spots;
  constants.has_ecommerce_image = (flags & 1) != 0;
  constants.has_ecommerce_logo = (flags & 2) != 0;
}

// What the program's readers take from the description -- the main window,
// the contact box, the view and the e-commerce panel -- against the tour.
void Check(const TourDescription& description, const FuzzedTour& tour) {
  const TourConstants& constants = tour.constants;
  if (description.SceneCount() != kSceneCount) {
    Fail("scene count", description.SceneCount());
  }
  for (int scene = 0; scene < kSceneCount; scene++) {
    const SceneRecord* record = description.Scene(scene);
    if (record == nullptr || record->Bitmap() == nullptr || record->Bitmap()->IsEmpty()) {
      Fail("scene without its picture", scene);
    }
    // The records hold copies of their own.
    if (record->Title() == constants.scenes[scene].title || tour.titles[scene] != record->Title()) {
      Fail("title not a copy of the tour's", scene);
    }
    if (record->LinkQuery() == constants.scenes[scene].link_query ||
        tour.link_queries[scene] != record->LinkQuery()) {
      Fail("link query not a copy of the tour's", scene);
    }
  }
  if (description.presenter_name != constants.presenter_name ||
      description.presenter_company != constants.presenter_company ||
      description.presenter_phone != constants.presenter_phone ||
      description.presenter_email != constants.presenter_email ||
      description.listing != constants.listing || description.location != constants.location) {
    Fail("presenter texts not the tour's own", 0);
  }
  if (description.HotSpotCount() != constants.hot_spot_count) {
    Fail("hot-spot count", description.HotSpotCount());
  }
  for (int spot = 0; spot < description.HotSpotCount(); spot++) {
    const HotSpotRectangle* rect = description.HotSpotRect(spot);
    const HotSpotRectangle& expected = constants.hot_spots[spot].rect;
    if (rect == nullptr || rect == &expected || rect->left != expected.left ||
        rect->top != expected.top || rect->right != expected.right ||
        rect->bottom != expected.bottom) {
      Fail("hot-spot rectangle not a copy of the tour's", spot);
    }
    if (description.HotSpotLink(spot) != constants.hot_spots[spot].link ||
        description.HotSpotStatusText(spot) != constants.hot_spots[spot].status_text) {
      Fail("hot-spot texts not the tour's own", spot);
    }
  }
  if (description.HasEcommerceImage() != constants.has_ecommerce_image ||
      description.HasEcommerceLogo() != constants.has_ecommerce_logo) {
    Fail("panel flags", 0);
  }
}

}  // namespace

// The program's loader copies the named resource (type "JPEG") and decodes
// it; a name is found whatever its case.
SceneBitmap* LoadSceneBitmap(const char* image_name) {
  for (const std::string& resource : resources) {
    if (strcasecmp(resource.c_str(), image_name) == 0) {
      return new SceneBitmap(8, 2);
    }
  }
  Fail("the description asked for a picture the tour does not carry", 0);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  FuzzedTour tour = {};
  Read(input, tour);
  const TourDescription description(tour.constants);
  Check(description, tour);
  return 0;
}

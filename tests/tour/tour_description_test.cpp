// The demo tour's description: ten decoded scenes in list order with their
// titles, no hot spots, no panels, and the presenter's texts -- built the
// way the application builds it, through the temporary copies.
#include "tour/tour_description.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tour/scene_loader.h"

namespace {

const char* const kTitles[] = {"Front Desk", "Conference Rm.", "Conference Rm2.", "Suite 1",
                               "Suite 2",    "Dining Room",    "Lounge",          "Bar",
                               "Gym",        "Pool Area"};

std::string TemporaryCopy(int index) {
  char directory[MAX_PATH];
  GetTempPathA(sizeof directory, directory);
  return std::string(directory) + std::to_string(index) + ".jpg.JPG";
}

DWORD FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    return 0;
  }
  return data.nFileSizeLow;
}

TEST(DemoTourDescription, HoldsTenDecodedScenesInListOrder) {
  TourDescription tour;
  ASSERT_EQ(tour.SceneCount(), 10);
  for (int i = 0; i < 10; i++) {
    SceneRecord* scene = tour.Scene(i);
    ASSERT_NE(scene, nullptr);
    ASSERT_NE(scene->Bitmap(), nullptr);
    EXPECT_EQ(scene->Bitmap()->Width(), 1200);
    EXPECT_EQ(scene->Bitmap()->Height(), 200);
    EXPECT_EQ(scene->Bitmap()->Header()->biBitCount, 24);
    EXPECT_STREQ(scene->Title(), kTitles[i]);
    ASSERT_NE(scene->LinkQuery(), nullptr);
    EXPECT_STREQ(scene->LinkQuery(), "");
    // Each scene went through its own temporary copy, written whole.
    const std::string name = std::to_string(i) + ".jpg";
    EXPECT_EQ(FileSize(TemporaryCopy(i)), ResourceSize(name.c_str(), "JPEG")) << name;
  }
  EXPECT_NE(tour.Scene(0)->Title(), kTitles[0]) << "titles are the record's own copies";
}

TEST(DemoTourDescription, HasNoHotSpotsAndNoPanels) {
  TourDescription tour;
  EXPECT_EQ(tour.HotSpotCount(), 0);
  EXPECT_FALSE(tour.HasEcommerceImage());
  EXPECT_FALSE(tour.HasEcommerceLogo());
}

TEST(DemoTourDescription, PresenterTextsAreTheTours) {
  TourDescription tour;
  EXPECT_STREQ(tour.presenter_name, "Dana Whitfield");
  EXPECT_STREQ(tour.presenter_company, "Harbor Point Realty");
  EXPECT_STREQ(tour.presenter_phone, "(207) 555-0186");
  EXPECT_STREQ(tour.presenter_email,
               "dana.whitfield@harborpointrealty.example;"
               "office@harborpointrealty.example");
  EXPECT_STREQ(tour.listing, "MLS# 4471920");
  EXPECT_STREQ(tour.location, "Port Ellery, ME");
  // The description hands out the constants themselves, never copies.
  EXPECT_EQ(tour.presenter_name, kTourConstants.presenter_name);
}

TEST(SceneRecord, ReplacingImageAndTextsKeepsOnlyTheLatest) {
  SceneRecord record;
  EXPECT_EQ(record.Bitmap(), nullptr);
  EXPECT_EQ(record.Title(), nullptr);
  EXPECT_EQ(record.LinkQuery(), nullptr);

  SceneBitmap* first = record.SetImage("3.jpg");
  ASSERT_NE(first, nullptr);
  SceneBitmap* second = record.SetImage("8.jpg");
  EXPECT_EQ(record.Bitmap(), second);
  EXPECT_EQ(second->Width(), 1200);

  EXPECT_TRUE(record.SetTitle("Lobby"));
  EXPECT_TRUE(record.SetTitle("Terrace"));
  EXPECT_STREQ(record.Title(), "Terrace");
  EXPECT_TRUE(record.SetTitle(nullptr));
  EXPECT_EQ(record.Title(), nullptr);
  EXPECT_TRUE(record.SetLinkQuery("room=12"));
  EXPECT_STREQ(record.LinkQuery(), "room=12");
}

// Committed private memory of this process: where a decoded strip's block lives.
size_t CommittedPrivateBytes() {
  size_t committed = 0;
  MEMORY_BASIC_INFORMATION region = {};
  for (const char* at = nullptr;
       VirtualQuery(at, &region, sizeof region) == sizeof region && at + region.RegionSize > at;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
      committed += region.RegionSize;
    }
  }
  return committed;
}

TEST(SceneRecord, ReplacingTheImageReleasesTheBitmapItReplaces) {
  SceneRecord record;
  record.SetImage("3.jpg");
  const size_t before = CommittedPrivateBytes();
  for (int i = 0; i < 10; i++) {
    record.SetImage(i % 2 ? "3.jpg" : "8.jpg");
  }
  // Ten replaced strips of 720 040 bytes each would be 7.2 MB; less than
  // one strip may be heap slack.
  EXPECT_LT(static_cast<long>(CommittedPrivateBytes() - before), 720040L);
}

}  // namespace

// A tour with both e-commerce windows: the description carries its hot-spot
// tables, both panel flags and the scenes' link queries.
#include <gtest/gtest.h>

#include "tour/tour_description.h"

namespace {

TEST(StorefrontTourDescription, HasHotSpotsPanelsAndLinkQueries) {
  TourDescription tour;
  ASSERT_EQ(tour.HotSpotCount(), 6);
  EXPECT_TRUE(tour.HasEcommerceImage());
  EXPECT_TRUE(tour.HasEcommerceLogo());

  const HotSpotRectangle* book = tour.HotSpotRect(0);
  EXPECT_EQ(book->left, 4);
  EXPECT_EQ(book->top, 6);
  EXPECT_EQ(book->right, 104);
  EXPECT_EQ(book->bottom, 58);
  EXPECT_STREQ(tour.HotSpotLink(0), "http://www.harborpointinn.example/book");
  EXPECT_STREQ(tour.HotSpotStatusText(0), "Book a room at the Harbor Point Inn");
  EXPECT_STREQ(tour.HotSpotStatusText(1), "") << "a spot may have no status text";

  const HotSpotRectangle* offers = tour.HotSpotRect(5);
  EXPECT_EQ(offers->left, 280);
  EXPECT_EQ(offers->right, 528);
  EXPECT_STREQ(tour.HotSpotLink(5), "http://www.harborpointinn.example/offers");
  // Each rectangle is the description's own record.
  EXPECT_NE(tour.HotSpotRect(0), tour.HotSpotRect(1));

  EXPECT_STREQ(tour.Scene(0)->Title(), "Lobby");
  EXPECT_STREQ(tour.Scene(0)->LinkQuery(), "scene=lobby");
  EXPECT_STREQ(tour.Scene(1)->LinkQuery(), "scene=boardroom&size=12");
  EXPECT_STREQ(tour.Scene(2)->LinkQuery(), "");
  EXPECT_STREQ(tour.presenter_email, "morgan@elleryvance.example");
}

}  // namespace

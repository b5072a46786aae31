// The view's motion arithmetic with the demo geometry (W' = 1806, m = 303):
// limits, half-speed steps that truncate (speeds of one leave the view at
// rest), the pan wrap at both ends, the tilt held inside the zoom level's
// margin and the held zoom.
#include "panorama/motion_model.h"

#include <gtest/gtest.h>

namespace {

class Motion : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(zoom.Build(320, 200, 3.0f, 20));
    motion.SetStrip(303, 1806);
  }

  // Places the pan column as a scene switch does, then ticks.
  void StartAt(int pan) {
    motion.SetPan(pan);
    motion.RememberPositions();
  }

  ZoomTable zoom;
  MotionModel motion;
};

TEST_F(Motion, SpeedsAndLevelsAreLimited) {
  motion.SetPanSpeed(250);
  EXPECT_EQ(motion.PanSpeed(), 100);
  motion.SetPanSpeed(-250);
  EXPECT_EQ(motion.PanSpeed(), -100);
  motion.SetPanSpeed(-100);
  EXPECT_EQ(motion.PanSpeed(), -100);
  motion.SetZoomLevel(-3);
  EXPECT_EQ(motion.ZoomLevel(), 0);
  motion.SetZoomLevel(20);
  EXPECT_EQ(motion.ZoomLevel(), 15);
  motion.SetTiltSpeed(-999);
  EXPECT_EQ(motion.TiltSpeed(), -999);
  EXPECT_EQ(motion.PanStep(), 4);
}

TEST_F(Motion, SpeedsOfOneDoNotMove) {
  StartAt(700);
  for (int speed : {1, -1, 0}) {
    motion.SetPanSpeed(speed);
    EXPECT_FALSE(motion.InMotion()) << speed;
    EXPECT_FALSE(motion.Advance(zoom)) << speed;
    EXPECT_EQ(motion.Pan(), 700);
  }
  motion.SetPanSpeed(3);
  EXPECT_TRUE(motion.InMotion());
  EXPECT_TRUE(motion.Advance(zoom));
  EXPECT_EQ(motion.Pan(), 701);
}

TEST_F(Motion, PanWrapsAtBothEnds) {
  StartAt(1502);
  motion.SetPanSpeed(4);
  EXPECT_TRUE(motion.Advance(zoom));
  EXPECT_EQ(motion.Pan(), 303) << "1504 is above 1503: back to the margin";

  StartAt(1501);
  EXPECT_TRUE(motion.Advance(zoom));
  EXPECT_EQ(motion.Pan(), 1503) << "the last column of the range is kept";

  StartAt(304);
  motion.SetPanSpeed(-4);
  EXPECT_TRUE(motion.Advance(zoom));
  EXPECT_EQ(motion.Pan(), 1502) << "302 is below 303: one strip width later";

  StartAt(305);
  EXPECT_TRUE(motion.Advance(zoom));
  EXPECT_EQ(motion.Pan(), 303);

  // A full turn at the fastest speed visits only the range m .. W' - m.
  StartAt(442);
  motion.SetPanSpeed(100);
  for (int tick = 0; tick < 100; tick++) {
    motion.Advance(zoom);
    ASSERT_GE(motion.Pan(), 303);
    ASSERT_LE(motion.Pan(), 1503);
  }
}

TEST_F(Motion, TiltStaysInsideTheZoomLevelsMargin) {
  StartAt(900);
  motion.SetTiltSpeed(8);  // looking down moves the window down
  EXPECT_TRUE(motion.Advance(zoom));
  EXPECT_EQ(motion.Tilt(), -1) << "at level 0 every offset becomes -1";

  motion.SetZoomLevel(15);
  motion.SetTiltSpeed(-40);
  for (int tick = 0; tick < 10; tick++)
    motion.Advance(zoom);
  EXPECT_EQ(motion.Tilt(), 55) << "margin 56 at level 15: at most m - 1";
  motion.SetTiltSpeed(40);
  for (int tick = 0; tick < 10; tick++)
    motion.Advance(zoom);
  EXPECT_EQ(motion.Tilt(), -56);

  motion.SetTiltSpeed(0);
  EXPECT_FALSE(motion.Advance(zoom)) << "nothing moved";
}

TEST_F(Motion, HeldZoomClimbsOneLevelPerTickAndSettles) {
  StartAt(900);
  motion.SetZoomSpeed(1);
  for (int level = 1; level <= 15; level++) {
    EXPECT_TRUE(motion.Advance(zoom));
    EXPECT_EQ(motion.ZoomLevel(), level);
  }
  EXPECT_TRUE(motion.Advance(zoom)) << "16 asked for once";
  EXPECT_EQ(motion.ZoomLevel(), 15);
  EXPECT_FALSE(motion.Advance(zoom)) << "then no more redraws at the bound";

  motion.SetZoomSpeed(-1);
  for (int tick = 0; tick < 20; tick++)
    motion.Advance(zoom);
  EXPECT_EQ(motion.ZoomLevel(), 0);
}

}  // namespace

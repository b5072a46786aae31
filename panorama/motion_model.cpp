// MotionModel: limits and the per-tick advance of the view's motion.
#include "panorama/motion_model.h"

namespace {

const std::memory_order kRelaxed = std::memory_order_relaxed;

}  // namespace

MotionModel::MotionModel()
    : pan_step(kPanStep),
      pan_speed(0),
      tilt_speed(0),
      zoom_level(0),
      zoom_speed(0),
      pan(0),
      tilt(0),
      margin(0),
      widened_width(0),
      previous_pan(0),
      previous_tilt(0),
      previous_zoom(0) {}

void MotionModel::SetPanSpeed(int speed) {
  if (speed > kMaxPanSpeed) {
    speed = kMaxPanSpeed;
  } else if (speed < -kMaxPanSpeed) {
    speed = -kMaxPanSpeed;
  }
  pan_speed.store(speed, kRelaxed);
}

void MotionModel::SetTiltSpeed(int speed) {
  tilt_speed.store(speed, kRelaxed);
}

void MotionModel::SetZoomLevel(int level) {
  if (level < 0) {
    level = 0;
  } else if (level > kMaxZoomLevel) {
    level = kMaxZoomLevel;
  }
  zoom_level.store(level, kRelaxed);
}

void MotionModel::SetZoomSpeed(int speed) {
  zoom_speed.store(speed, kRelaxed);
}

void MotionModel::SetStrip(int strip_margin, int strip_widened_width) {
  margin.store(strip_margin, kRelaxed);
  widened_width.store(strip_widened_width, kRelaxed);
}

void MotionModel::RememberPositions() {
  previous_pan = Pan();
  previous_tilt = Tilt();
  previous_zoom = ZoomLevel();
}

bool MotionModel::Advance(const ZoomTable& zoom) {
  bool moved = false;

  int column = Pan() + PanSpeed() / 2;
  if (column != previous_pan) {
    const int low = Margin();
    const int high = WidenedWidth() - low;
    if (column < low) {
      column += WidenedWidth() - 2 * low;  // one strip width on: the same direction
    } else if (column > high) {
      column = low;  // back to the start of the range
    }
    pan.store(column, kRelaxed);
    previous_pan = column;
    moved = true;
  }

  // Compared after limiting: held against a limit, the tilt asks for a
  // move every tick that the limit takes back, and nothing changes on screen.
  int offset = Tilt() - TiltSpeed() / 2;
  if (offset != previous_tilt) {
    offset = zoom.ClampVertical(offset, ZoomLevel());
    tilt.store(offset, kRelaxed);
    if (offset != previous_tilt) {
      previous_tilt = offset;
      moved = true;
    }
  }

  const int level = ZoomLevel() + ZoomSpeed();
  if (level != previous_zoom) {
    SetZoomLevel(level);
    previous_zoom = level;
    moved = true;
  }
  return moved;
}

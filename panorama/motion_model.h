// MotionModel: the panorama view's motion -- speeds that the user-interface
// thread sets and positions that the animation thread advances twenty times
// a second -- with its limits and the wrap-around of the pan column.
//
// Every field is a single 32-bit value written by one thread and read by
// another without a lock; a value one tick stale is harmless, so plain
// atomics with relaxed ordering are enough.
#ifndef VISTELLO_PANORAMA_MOTION_MODEL_H
#define VISTELLO_PANORAMA_MOTION_MODEL_H

#include <stdint.h>

#include <atomic>

#include "panorama/zoom_table.h"

class MotionModel {
 public:
  static const int kPanStep = 4;        // speed of look left / look right
  static const int kTiltStep = 8;       // speed of look up / look down
  static const int kMaxPanSpeed = 100;  // columns per two ticks
  static const int kMaxZoomLevel = 15;  // of the zoom tables' 0 .. 20

  MotionModel();

  // Speeds and the zoom level, limited as the view allows.
  void SetPanSpeed(int speed);   // limited to -100 .. 100
  void SetTiltSpeed(int speed);  // not limited
  void SetZoomLevel(int level);  // limited to 0 .. 15
  void SetZoomSpeed(int speed);  // levels per tick while a zoom button is held
  int PanStep() const { return pan_step.load(std::memory_order_relaxed); }
  int PanSpeed() const { return pan_speed.load(std::memory_order_relaxed); }
  int TiltSpeed() const { return tilt_speed.load(std::memory_order_relaxed); }
  int ZoomLevel() const { return zoom_level.load(std::memory_order_relaxed); }
  int ZoomSpeed() const { return zoom_speed.load(std::memory_order_relaxed); }

  // Positions: the widened-strip column at the view centre, and the
  // vertical offset of the magnified window (positive is up).
  int Pan() const { return pan.load(std::memory_order_relaxed); }
  void SetPan(int column) { pan.store(column, std::memory_order_relaxed); }
  int Tilt() const { return tilt.load(std::memory_order_relaxed); }
  void SetTilt(int offset) { tilt.store(offset, std::memory_order_relaxed); }

  // The wrap bounds of the current scene: margin m and widened width W'.
  void SetStrip(int strip_margin, int strip_widened_width);
  int Margin() const { return margin.load(std::memory_order_relaxed); }
  int WidenedWidth() const { return widened_width.load(std::memory_order_relaxed); }

  // Animation thread, at its start: the positions it compares against.
  void RememberPositions();

  // One animation tick with a scene shown: pan by half the pan speed
  // (truncating, so speeds -1 .. 1 do not move), wrapping below m to one
  // strip width later and above W' - m back to m; tilt by half the tilt
  // speed against its direction, limited to the zoom level's margin; zoom
  // by the zoom speed. Returns true when something moved and a new frame
  // is needed. Runs on the animation thread only, which also builds the
  // zoom tables, so reading them here never overlaps a build.
  bool Advance(const ZoomTable& zoom);

  // Whether a tick may still move the view: a pan or tilt speed that
  // Advance's halving leaves non-zero, or a zoom speed. Without one, ticks
  // change nothing until a speed is set.
  bool InMotion() const {
    return PanSpeed() / 2 != 0 || TiltSpeed() / 2 != 0 || ZoomSpeed() != 0;
  }

 private:
  std::atomic<int32_t> pan_step;
  std::atomic<int32_t> pan_speed;
  std::atomic<int32_t> tilt_speed;
  std::atomic<int32_t> zoom_level;
  std::atomic<int32_t> zoom_speed;
  std::atomic<int32_t> pan;
  std::atomic<int32_t> tilt;
  std::atomic<int32_t> margin;
  std::atomic<int32_t> widened_width;
  // The animation thread's own: positions at the previous tick. The zoom
  // is remembered unlimited, so a held zoom button at a bound settles
  // without a redraw at every tick.
  int32_t previous_pan;
  int32_t previous_tilt;
  int32_t previous_zoom;
};

#endif  // VISTELLO_PANORAMA_MOTION_MODEL_H

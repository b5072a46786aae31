// PanListener: told whenever the panorama view's pan speed changes, so the
// owner can show the panning direction (negative left, zero stopped,
// positive right). Called on whichever thread changed the speed -- the
// animation thread among them, while it holds the view's scene lock -- so
// an implementation must not wait for that lock.
#ifndef VISTELLO_PANORAMA_PAN_LISTENER_H
#define VISTELLO_PANORAMA_PAN_LISTENER_H

class PanListener {
 public:
  virtual ~PanListener() = default;
  virtual void OnPanSpeedChanged(int speed) = 0;
};

#endif  // VISTELLO_PANORAMA_PAN_LISTENER_H

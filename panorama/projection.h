// Projection: what the view asks of a projection of the scene strip. The
// view builds the projection through this base when it prepares a scene.
#ifndef VISTELLO_PANORAMA_PROJECTION_H
#define VISTELLO_PANORAMA_PROJECTION_H

class Projection {
 public:
  virtual ~Projection() = default;

  // Builds the lookup tables for a source strip of a x b pixels, a field of
  // view in degrees and a magnification; writes the projected frame's width
  // and the tables' height. Returns false, with no tables left, when they
  // cannot be built (allocation failure or unusable geometry).
  virtual bool Build(int a, int b, int fov_degrees, float scale, int& width_out,
                     int& height_out) = 0;
};

#endif  // VISTELLO_PANORAMA_PROJECTION_H

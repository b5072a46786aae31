// ViewPipeline: how a scene is prepared and a frame rendered -- the one
// sequence used by the panorama view, the command-line renderer and the
// frame benchmarks.
//
// Per scene: widen the strip, paint the grey band, build the projection for
// W' x h with an 80-degree field of view at scale 1.0 and the zoom tables for
// 320 x h with a maximum of 3.0 in 20 steps, then point the resamplers at the
// widened strip and the two frames. Per frame: project with the pan column
// and vertical offset 0 -- only the part of the projected frame the zoom will
// read -- then zoom with horizontal offset 0, the tilt and the level.
#ifndef VISTELLO_PANORAMA_VIEW_PIPELINE_H
#define VISTELLO_PANORAMA_VIEW_PIPELINE_H

#include "panorama/cylinder_projection.h"
#include "panorama/zoom_table.h"
#include "tour/scene_bitmap.h"

class ViewPipeline {
 public:
  // The view's constants.
  static const int kFieldOfView = 80;
  static constexpr float kScale = 1.0f;
  static constexpr float kMaxZoom = 3.0f;
  static const int kZoomSteps = 20;

  // Prepares a scene from a decoded 24-bit strip, after letting go of the
  // previous one; false when any step fails (out of memory, or a strip the
  // projection cannot serve), and then nothing may be rendered.
  bool Prepare(const SceneBitmap& strip);
  // Lets go of the widened strip and the frames.
  void Clear();
  bool IsPrepared() const { return prepared; }

  // Renders one frame into Zoomed(). Returns the two resamplers' statuses.
  void Render(int pan, int tilt, int level, int* projection_status = nullptr,
              int* zoom_status = nullptr);

  // Which row codes render: the vector ones (the projection's SSE2 rows and
  // the zoom's SSSE3 shuffles, each where the processor has it) or the
  // scalar ones every processor runs; both give the same frames. New
  // pipelines take the vector rows. Returns false when vector rows are
  // asked for and the projection has none here.
  bool UseVectorRows(bool use);
  bool VectorRows() const { return projection.VectorRows(); }

  int Margin() const { return margin; }
  int WidenedWidth() const { return widened ? widened->Width() : 0; }
  int FrameWidth() const { return frame_width; }
  int FrameHeight() const { return frame_height; }
  const SceneBitmap& Widened() const { return *widened; }
  const SceneBitmap& Zoomed() const { return *zoomed; }
  CylinderProjection& Projection() { return projection; }
  ZoomTable& Zoom() { return zoom; }

 private:
  OwnedSceneBitmap widened;
  OwnedSceneBitmap projected;
  OwnedSceneBitmap zoomed;
  bool prepared = false;
  int margin = 0;
  int frame_width = 0;
  int frame_height = 0;
  CylinderProjection projection;
  ZoomTable zoom;
};

#endif  // VISTELLO_PANORAMA_VIEW_PIPELINE_H

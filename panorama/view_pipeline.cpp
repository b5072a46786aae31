// ViewPipeline: the view's scene preparation and frame rendering.
#include "panorama/view_pipeline.h"

#include <new>

#include "panorama/projection.h"
#include "panorama/strip_widening.h"

void ViewPipeline::Clear() {
  prepared = false;
  widened.reset();
  projected.reset();
  zoomed.reset();
  margin = 0;
}

bool ViewPipeline::Prepare(const SceneBitmap& strip) {
  Clear();
  widened = WidenStrip(strip, margin);
  if (!widened) {
    return false;
  }
  PaintGreyBand(*widened);

  // Through the base, as the view does.
  ::Projection& base = projection;
  int table_height = 0;
  if (!base.Build(widened->Width(), widened->Height(), kFieldOfView, kScale, frame_width,
                  table_height)) {
    return false;
  }
  frame_height = widened->Height();
  if (!zoom.Build(frame_width, frame_height, kMaxZoom, kZoomSteps)) {
    return false;
  }
  projected.reset(new (std::nothrow) SceneBitmap(frame_width, frame_height));
  zoomed.reset(new (std::nothrow) SceneBitmap(frame_width, frame_height));
  if (!projected || projected->IsEmpty() || !zoomed || zoomed->IsEmpty()) {
    return false;
  }
  projection.SetSourceBits(widened->Bits());
  projection.SetTargetBits(projected->Bits());
  zoom.SetSourceBits(projected->Bits());
  zoom.SetTargetBits(zoomed->Bits());
  prepared = true;
  return true;
}

bool ViewPipeline::UseVectorRows(bool use) {
  // The zoom's shuffles need more than SSE2; without them its gathered
  // rows serve.
  zoom.UseVectorRows(use);
  return projection.UseVectorRows(use);
}

void ViewPipeline::Render(int pan, int tilt, int level, int* projection_status, int* zoom_status) {
  if (!prepared) {
    return;
  }
  // Only what the zoom reads is projected: at level 15 under a fifth of the
  // frame.
  const int projected_status = projection.Render(pan, 0, zoom.SourceRegion(0, tilt, level));
  const int zoomed_status = zoom.Render(0, tilt, level);
  if (projection_status != nullptr) {
    *projection_status = projected_status;
  }
  if (zoom_status != nullptr) {
    *zoom_status = zoomed_status;
  }
}

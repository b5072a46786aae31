// FrameRegion: the part of a frame a later stage reads, so that an earlier
// stage can leave the rest alone. Half-open ranges of frame rows (stored,
// bottom-up order) and columns.
#ifndef VISTELLO_PANORAMA_FRAME_REGION_H
#define VISTELLO_PANORAMA_FRAME_REGION_H

struct FrameRegion {
  int first_row;
  int end_row;
  int first_column;
  int end_column;
};

#endif  // VISTELLO_PANORAMA_FRAME_REGION_H

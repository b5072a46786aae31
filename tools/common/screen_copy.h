// Copies part of the screen as the user sees it, for the tools that watch a
// running program from outside (screenshots, start-up timing).
#ifndef VISTELLO_TOOLS_COMMON_SCREEN_COPY_H
#define VISTELLO_TOOLS_COMMON_SCREEN_COPY_H

#include <stdint.h>

#include <vector>

// The width x height pixels at (left, top) in screen coordinates, top row
// first, each 0x00RRGGBB; empty for an empty rectangle.
std::vector<uint32_t> CopyScreen(int left, int top, int width, int height);

#endif  // VISTELLO_TOOLS_COMMON_SCREEN_COPY_H

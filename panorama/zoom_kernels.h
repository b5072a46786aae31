// The zoom's row copies: one output row of the zoomed frame from one source
// row of the projected frame, byte for byte the same by either code. Rows
// are 24-bit pixels (blue, green, red) of exactly 3 x width bytes; a column
// table entry is 3 x the source column of its output column.
#ifndef VISTELLO_PANORAMA_ZOOM_KERNELS_H
#define VISTELLO_PANORAMA_ZOOM_KERNELS_H

#include <stdint.h>

// Output column k gets the three bytes at source_row + columns[k]. With
// overread, all but the last pixel are moved four bytes at a time: the
// caller promises that the byte after every pixel read but the last may be
// read (it is not the top row of the frame).
void GatherZoomRow(const uint8_t* source_row, const int32_t* columns, int width, bool overread,
                   uint8_t* target);

// The first 5 x chunks pixels of the row as shuffles: chunk c (output
// pixels 5c .. 5c + 4, bytes 15c .. 15c + 14) is bytes masks[16c + i] of the
// 16 source bytes from source_row + windows[c], written with one 16-byte
// store whose last byte belongs to the next chunk; the caller fills the row
// after the last chunk, and keeps every store inside it. Every window lies
// inside the source row and every mask byte is 0 .. 15 (see ZoomTable).
#if defined(__i386__) || defined(__x86_64__)
// SSSE3 (pshufb): call only when CpuFeatures::HasSsse3().
void ShuffleZoomRowSsse3(const uint8_t* source_row, const int32_t* windows, const uint8_t* masks,
                         int chunks, uint8_t* target);
#endif

#endif  // VISTELLO_PANORAMA_ZOOM_KERNELS_H

// DibDestination: the libjpeg output module that turns decoded scanlines
// into a packed, bottom-up DIB in memory (the layout of SceneBitmap).
//
// libjpeg delivers rows top-down while a DIB stores them bottom-up, so the
// rows are first collected in a virtual sample array of the whole image
// and written out in reverse by the finish operation.
#ifndef VISTELLO_TOUR_DIB_DESTINATION_H
#define VISTELLO_TOUR_DIB_DESTINATION_H

#include <stdio.h>  // jpeglib.h needs FILE and size_t first

#include <windows.h>

#include <jpeglib.h>

struct DibDestination;
typedef void (*DibOperation)(j_decompress_ptr decoder, DibDestination* destination);
typedef void (*DibPutRows)(j_decompress_ptr decoder, DibDestination* destination,
                           JDIMENSION rows_supplied);

struct DibDestination {
  DibOperation start_output;      // before the first row; does nothing
  DibPutRows put_pixel_rows;      // stores one decoded row (24- or 8-bit variant)
  DibOperation finish_output;     // writes header, colour table and rows to the block
  JOCTET* output_start;           // start of the memory block
  JOCTET* write_position;         // next byte of the block to write
  JSAMPARRAY buffer;              // one scanline, handed to jpeg_read_scanlines
  JDIMENSION buffer_height;       // rows per read: 1
  jvirt_sarray_ptr whole_image;   // all rows, top-down, for the reversal
  JDIMENSION data_width;          // output width * output components
  JDIMENSION row_width;           // bytes per stored row: data_width (no padding)
  int pad_bytes;                  // 0: DIB rows here are never padded
  JDIMENSION current_output_row;  // next row of whole_image to fill
};

// Application message codes of the decoder's error manager.
enum {
  kFirstAddonMessage = 1000,
  kBmpColorSpaceMessage = 1005,  // "BMP output must be grayscale or RGB"
  kSceneTooLargeMessage = 1006,  // the image has more pixels than a scene may (see SceneBitmap)
  kLastAddonMessage = 1043,
};
extern const char* const kAddonMessageTable[];

// Creates the module in the decoder's per-image pool once the header has
// been read: picks the put-rows variant for the output colour space
// (fatal error 1005 for anything but greyscale or RGB), computes the output
// dimensions and requests the whole-image array and the scanline buffer.
DibDestination* InitDibDestination(j_decompress_ptr decoder);

// Size in bytes of the packed DIB for the decoder's output: header, colour
// table and unpadded rows. Fatal error (out of memory) if it does not fit
// a 32-bit size.
DWORD DibBlockSize(j_decompress_ptr decoder, const DibDestination* destination);

#endif  // VISTELLO_TOUR_DIB_DESTINATION_H

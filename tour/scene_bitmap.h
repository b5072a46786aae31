// SceneBitmap: a packed device-independent bitmap in one locked, movable
// global memory block, decoded from a scene's JPEG or made blank as a frame
// buffer.
//
// Pixel contract (what the panorama engine and DrawDib rely on):
//   block + 0                 BITMAPINFOHEADER (40 bytes)
//   block + 40                colour table: 256 grey entries for 8-bit
//                             images, none for 24-bit ones
//   bits = block + 40 + 4 * colour count
//                             rows bottom-up (stored row 0 is the picture's
//                             bottom row), each exactly width * bytes per
//                             pixel long -- NOT padded to 4 bytes; a 24-bit
//                             pixel is blue, green, red.
// Pixel (column c, stored row r) of a 24-bit bitmap is at bits + (r * width + c) * 3.
#ifndef VISTELLO_TOUR_SCENE_BITMAP_H
#define VISTELLO_TOUR_SCENE_BITMAP_H

#include <windows.h>

#include <memory>

struct jpeg_decompress_struct;

class SceneBitmap {
 public:
  // The most pixels a decoded scene may have: 8192 x 512, over twice the
  // widest strip a tour build makes (8192 x 200). A JPEG header is all it
  // takes to claim any size up to 65500 x 65500, and decoding allocates
  // and fills what the header claims: past this cap a few bytes of header
  // would cost the viewer gigabytes and seconds before it could refuse the
  // strip, so the decoder refuses it as soon as the header is read.
  static constexpr unsigned long kMaxPixels = 8192ul * 512;

  // An empty object, to be filled by DecodeJpegFile.
  SceneBitmap();

  // A blank 24-bit bitmap of width x height. Its pixels hold a test
  // pattern (blue 0, green = min(stored row, 255), red = min(column, 255))
  // until the owner overwrites them. When the block cannot be allocated
  // the object stays empty: IsEmpty() is true and Bits() is null.
  SceneBitmap(int width, int height);

  // Decodes a JPEG file into a new block and fills every field. Any
  // failure, an image over kMaxPixels included, ends the process with
  // status 1 after a message on the standard error stream, so it returns
  // true whenever it returns.
  bool DecodeJpegFile(const char* path);

  // The same from JPEG bytes in memory (libjpeg's memory source), for
  // callers that hold the image already and have no file to read: the
  // same pixels, the same failures. The bytes are only read.
  bool DecodeJpegMemory(const void* bytes, unsigned long size);

  // Unlocks and frees the block. The object may only be deleted afterwards.
  void Release();

  bool IsEmpty() const { return block == nullptr; }
  LONG Width() const { return header ? header->biWidth : 0; }
  LONG Height() const { return header ? header->biHeight : 0; }
  BITMAPINFO* Info() const { return info; }
  BITMAPINFOHEADER* Header() const { return header; }
  RGBQUAD* ColorTable() const { return color_table; }
  BYTE* Bits() const { return bits; }
  BYTE* Block() const { return block; }

  // biClrUsed when set, else 2^biBitCount for bit counts up to 8, else 0.
  DWORD ColorCount() const;
  // biSizeImage when set, else the size of the unpadded pixel array.
  DWORD ImageSize() const;

 private:
  // Points info, header, colour table and bits into the block.
  void AttachFields();
  // Everything after the data source is attached: header, block, rows.
  void DecodeFromSource(jpeg_decompress_struct* decoder);

  BYTE* block;
  BITMAPINFO* info;
  BITMAPINFOHEADER* header;
  RGBQUAD* color_table;
  BYTE* bits;
};

// Releases and deletes a SceneBitmap; lets owners hold one in a unique_ptr.
struct SceneBitmapDeleter {
  void operator()(SceneBitmap* bitmap) const {
    bitmap->Release();
    delete bitmap;
  }
};
using OwnedSceneBitmap = std::unique_ptr<SceneBitmap, SceneBitmapDeleter>;

#endif  // VISTELLO_TOUR_SCENE_BITMAP_H

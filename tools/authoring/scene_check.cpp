// scene_check: decodes a scene strip exactly as the tour executable will at
// every start -- the product's decoding code on the same trimmed libjpeg --
// so that a strip the executable cannot read stops the build instead of
// the recipient's start.
//
//   scene_check STRIP.JPG
//
// Prints "WIDTH HEIGHT BITS" and exits 0 when the strip decodes. A decoding
// failure ends the process with status 1 and the decoder's own message on
// the standard error stream, as in the executable. A recoverable flaw
// (libjpeg's warning, such as a cut-off file) is reported on the standard
// error stream while the status stays 0: callers treat any message as a
// refusal, because the executable would show the damage without a word.
#include <stdio.h>

#include "tour/scene_bitmap.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fputs("usage: scene_check STRIP.JPG\n", stderr);
    return 2;
  }
  SceneBitmap strip;
  strip.DecodeJpegFile(argv[1]);
  printf("%ld %ld %u\n", static_cast<long>(strip.Width()), static_cast<long>(strip.Height()),
         static_cast<unsigned>(strip.Header()->biBitCount));
  strip.Release();
  return 0;
}

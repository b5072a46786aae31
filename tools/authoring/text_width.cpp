// text_width: how wide texts are in one of the viewer's fonts, for the tour
// build's check that presenter texts and titles fit their fields.
//
//   text_width FONT_FILE PIXELS < TEXTS
//
// FONT_FILE is a file name looked up in the system's font folders (the
// viewer's Arial is metric-compatible with Liberation Sans), PIXELS the em
// height (8 pt on a 96-dpi screen is 11). TEXTS are UTF-8, a line each, on
// the standard input, where no length is too long (a command line's
// arguments may be no longer than 128 KiB each). Prints each text's width
// in pixels on a line of its own.
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "tools/authoring/font_face.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    fputs("usage: text_width FONT_FILE PIXELS < TEXTS\n", stderr);
    return 2;
  }
  const int pixels = atoi(argv[2]);
  FontFace font;
  if (pixels <= 0 || !font.Open(argv[1], pixels)) {
    fprintf(stderr, "text_width: %s\n",
            pixels <= 0 ? "PIXELS must be positive" : font.Problem().c_str());
    return 1;
  }
  std::string text;
  for (int c = getchar(); c != EOF; c = getchar()) {
    if (c != '\n') {
      text += static_cast<char>(c);
      continue;
    }
    printf("%d\n", font.Measure(text));
    text.clear();
  }
  return 0;
}

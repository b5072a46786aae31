// tour_preview: writes a tour's contact sheet (see ContactSheet) as PNG.
//
//   tour_preview [--heading TEXT] OUT.png STRIP.JPG TITLE NOTE [STRIP.JPG TITLE NOTE ...]
//
// Strips are decoded as the executable decodes them; texts are UTF-8.
#include <stdio.h>
#include <string.h>

#include <string>

#include "tools/authoring/contact_sheet.h"

int main(int argc, char** argv) {
  int at = 1;
  std::string heading;
  if (at + 1 < argc && strcmp(argv[at], "--heading") == 0) {
    heading = argv[at + 1];
    at += 2;
  }
  if (argc - at < 4 || (argc - at - 1) % 3 != 0) {
    fputs(
        "usage: tour_preview [--heading TEXT] OUT.png STRIP.JPG TITLE NOTE "
        "[STRIP.JPG TITLE NOTE ...]\n",
        stderr);
    return 2;
  }
  ContactSheet sheet;
  std::string problem;
  if (!sheet.Open("LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf", problem)) {
    fprintf(stderr, "tour_preview: %s\n", problem.c_str());
    return 1;
  }
  if (!heading.empty()) {
    sheet.AddHeading(heading);
  }
  const char* out = argv[at];
  for (int i = at + 1, index = 0; i < argc; i += 3, index++) {
    // Any decoding failure ends the process with the decoder's message.
    SceneBitmap strip;
    strip.DecodeJpegFile(argv[i]);
    const bool added = sheet.AddScene(index, argv[i + 1], argv[i + 2], strip);
    strip.Release();
    if (!added) {
      fprintf(stderr, "tour_preview: %s: the view cannot show this strip\n", argv[i]);
      return 1;
    }
  }
  if (!sheet.Write(out)) {
    fprintf(stderr, "tour_preview: cannot write %s\n", out);
    return 1;
  }
  printf("%s\n", out);
  return 0;
}

// Writes 24-bit pictures as PNG files with stored (uncompressed) deflate
// blocks: no compression library needed, and any viewer reads them.
#ifndef VISTELLO_TOOLS_COMMON_PNG_FILE_H
#define VISTELLO_TOOLS_COMMON_PNG_FILE_H

#include <stdint.h>

// rgb: height rows, top row first, each width * 3 bytes of red, green, blue.
bool WritePngFile(const char* path, const uint8_t* rgb, int width, int height);

#endif  // VISTELLO_TOOLS_COMMON_PNG_FILE_H

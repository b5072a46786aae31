// Loading a scene image from the executable's resources: the resource is
// copied to a file in the user's temporary directory, as at every start, and
// its bytes are decoded from memory.
#ifndef VISTELLO_TOUR_SCENE_LOADER_H
#define VISTELLO_TOUR_SCENE_LOADER_H

#include <windows.h>

#include "tour/scene_bitmap.h"

// Copies the resource (image_name, type "JPEG") to "<temp dir><image_name>.JPG",
// overwriting any earlier copy unless another process has the file open,
// and decodes the resource's bytes, so a scene always shows its own picture
// and a second copy of the program started at the same moment starts too.
// Never returns on a decoding failure: the process ends with status 1 (see
// SceneBitmap::DecodeJpegMemory). The temporary file is left in place.
SceneBitmap* LoadSceneBitmap(const char* image_name);

// Size in bytes of a resource of the executable's own module; 0 when absent.
DWORD ResourceSize(const char* name, const char* type);

// Copies a resource of the executable's own module into buffer. On entry
// *size holds the buffer's capacity; on return the resource's size (0 when
// absent). Returns 1 when copied, 0 when an argument is null, the resource
// is absent or the buffer is too small.
int CopyResource(const char* name, const char* type, void* buffer, DWORD* size);

#endif  // VISTELLO_TOUR_SCENE_LOADER_H

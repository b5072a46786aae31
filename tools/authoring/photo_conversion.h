// ConvertPhoto: the photo converter's whole work on one photo file's bytes
// -- read (PhotoReader), placed round the eye and resampled
// (PanoramaConverter) -- in-process and without touching any file, so
// that the tour build's tool and tests can drive it alike.
#ifndef VISTELLO_TOOLS_AUTHORING_PHOTO_CONVERSION_H
#define VISTELLO_TOOLS_AUTHORING_PHOTO_CONVERSION_H

#include <stddef.h>
#include <stdint.h>

#include "tools/authoring/panorama_converter.h"

// Every input ends in a strip (or the verdict that the photo goes in as it
// is) or in a refusal with its problem and fix; result.summary then names
// the photo's form.
bool ConvertPhoto(const uint8_t* data, size_t size, const StripRequest& request,
                  StripResult& result);

#endif  // VISTELLO_TOOLS_AUTHORING_PHOTO_CONVERSION_H

// ConvertPhoto: reading and converting one photo.
#include "tools/authoring/photo_conversion.h"

#include "tools/authoring/photo_reader.h"

bool ConvertPhoto(const uint8_t* data, size_t size, const StripRequest& request,
                  StripResult& result) {
  result = StripResult();
  Photo photo;
  if (!PhotoReader::Read(data, size, photo, result.refusal)) {
    return false;
  }
  if (!PanoramaConverter().Convert(photo, request, result)) {
    return false;
  }
  if (!result.as_it_is) {
    result.summary = photo.form + ", " + result.summary;
  }
  return true;
}

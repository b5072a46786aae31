// PanoramaMetadata: the GPano properties of an XMP packet.
#include "tools/authoring/panorama_metadata.h"

#include <ctype.h>
#include <stdlib.h>

namespace {

// The value of GPano:<name>, written as an attribute (name="value" or
// name='value') or as an element (<GPano:name>value</GPano:name>); empty
// when absent.
std::string Property(const std::string& xmp, const std::string& name) {
  const std::string key = "GPano:" + name;
  for (size_t at = xmp.find(key); at != std::string::npos; at = xmp.find(key, at + 1)) {
    size_t next = at + key.size();
    const bool element = at > 0 && xmp[at - 1] == '<';
    while (next < xmp.size() && isspace(static_cast<unsigned char>(xmp[next]))) {
      next++;
    }
    if (next >= xmp.size()) {
      break;
    }
    if (element && xmp[next] == '>') {
      const size_t end = xmp.find('<', next + 1);
      if (end != std::string::npos) {
        return xmp.substr(next + 1, end - next - 1);
      }
    } else if (!element && xmp[next] == '=') {
      next++;
      while (next < xmp.size() && isspace(static_cast<unsigned char>(xmp[next]))) {
        next++;
      }
      if (next < xmp.size() && (xmp[next] == '"' || xmp[next] == '\'')) {
        const size_t end = xmp.find(xmp[next], next + 1);
        if (end != std::string::npos) {
          return xmp.substr(next + 1, end - next - 1);
        }
      }
    }
  }
  return std::string();
}

// A whole number of pixels, 0 to 10^6.
double Pixels(const std::string& xmp, const std::string& name, bool& found) {
  const std::string text = Property(xmp, name);
  if (text.empty()) {
    return PanoramaMetadata::kAbsent;
  }
  found = true;
  char* end = nullptr;
  const long value = strtol(text.c_str(), &end, 10);
  while (end != text.c_str() && *end != '\0' && isspace(static_cast<unsigned char>(*end))) {
    end++;
  }
  const bool number = end != text.c_str() && *end == '\0';
  return number && value >= 0 && value <= 1000000 ? static_cast<double>(value)
                                                  : PanoramaMetadata::kMalformed;
}

}  // namespace

PanoramaMetadata PanoramaMetadata::FromXmp(const std::string& xmp) {
  PanoramaMetadata metadata;
  metadata.projection = Property(xmp, "ProjectionType");
  metadata.found = !metadata.projection.empty();
  metadata.full_width = Pixels(xmp, "FullPanoWidthPixels", metadata.found);
  metadata.full_height = Pixels(xmp, "FullPanoHeightPixels", metadata.found);
  metadata.cropped_width = Pixels(xmp, "CroppedAreaImageWidthPixels", metadata.found);
  metadata.cropped_height = Pixels(xmp, "CroppedAreaImageHeightPixels", metadata.found);
  metadata.cropped_left = Pixels(xmp, "CroppedAreaLeftPixels", metadata.found);
  metadata.cropped_top = Pixels(xmp, "CroppedAreaTopPixels", metadata.found);
  return metadata;
}

bool PanoramaMetadata::Usable(std::string& problem) const {
  if (!projection.empty() && projection != "equirectangular") {
    problem = "its GPano metadata names the projection \"" + projection +
              "\", and the build reads equirectangular panoramas only";
    return false;
  }
  const double sizes[] = {full_width,     full_height,  cropped_width,
                          cropped_height, cropped_left, cropped_top};
  for (double size : sizes) {
    if (size == kMalformed) {
      problem = "its GPano metadata gives a size that is not a whole number of pixels";
      return false;
    }
  }
  if (full_width <= 0 || cropped_width <= 0) {
    problem = "its GPano metadata lacks FullPanoWidthPixels or CroppedAreaImageWidthPixels";
    return false;
  }
  const double left = cropped_left == kAbsent ? 0 : cropped_left;
  const double top = cropped_top == kAbsent ? 0 : cropped_top;
  const double height = cropped_height == kAbsent ? 0 : cropped_height;
  if (left + cropped_width > full_width || cropped_height == 0 || FullHeight() <= 0 ||
      top + height > FullHeight()) {
    problem = "its GPano metadata places the photo outside the panorama it describes";
    return false;
  }
  return true;
}

double PanoramaMetadata::Degrees() const {
  return 360.0 * cropped_width / full_width;
}

double PanoramaMetadata::FullHeight() const {
  // An equirectangular panorama is half as high as it is wide, unless it
  // says otherwise.
  return full_height == kAbsent ? full_width / 2.0 : full_height;
}

double PanoramaMetadata::RowScale(int cols, int rows) const {
  return cropped_height == kAbsent ? cols / cropped_width : rows / cropped_height;
}

double PanoramaMetadata::RowsPerDegree(int cols, int rows) const {
  return FullHeight() / 180.0 * RowScale(cols, rows);
}

double PanoramaMetadata::HorizonRow(int cols, int rows) const {
  // Without a top, the crop is taken to be centred on the horizon.
  const double cropped_rows = rows / RowScale(cols, rows);
  const double top = cropped_top == kAbsent ? (FullHeight() - cropped_rows) / 2.0 : cropped_top;
  return (FullHeight() / 2.0 - top) * RowScale(cols, rows);
}

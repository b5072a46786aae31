// PanoramaMetadata: what a photo's XMP says about the panorama it is part
// of, in Google's GPano vocabulary, which 360 cameras and many phones write.
//
// The photo is a crop (CroppedAreaImageWidthPixels x ...HeightPixels, at
// CroppedAreaLeftPixels, CroppedAreaTopPixels) of a full panorama of
// FullPanoWidthPixels x FullPanoHeightPixels in equirectangular projection:
// columns run once round the circle, rows from 90 degrees up to 90 down,
// so the full panorama's middle row is the horizon. These are the numbers
// of the picture as the camera wrote it; the picture may since have been
// resized, which Scale() accounts for.
#ifndef VISTELLO_TOOLS_AUTHORING_PANORAMA_METADATA_H
#define VISTELLO_TOOLS_AUTHORING_PANORAMA_METADATA_H

#include <string>

class PanoramaMetadata {
 public:
  // Reads the GPano properties from an XMP packet (attributes or elements
  // with the GPano prefix). Found() is false when there are none.
  static PanoramaMetadata FromXmp(const std::string& xmp);

  bool Found() const { return found; }
  // Whether the properties describe a crop of an equirectangular panorama
  // the build can place: an equirectangular projection (or none named),
  // the full and cropped widths given, the crop inside the panorama. When
  // not, `problem` says why.
  bool Usable(std::string& problem) const;

  // Degrees of longitude the photo covers.
  double Degrees() const;
  // For the picture as it is now, cols x rows: its rows per degree of
  // elevation, and the row (a coordinate from its top edge) the horizon
  // lies on. Only for usable metadata.
  double RowsPerDegree(int cols, int rows) const;
  double HorizonRow(int cols, int rows) const;

  // A property that is absent, or not a whole number of pixels.
  static constexpr double kAbsent = -1;
  static constexpr double kMalformed = -2;

 private:
  // The picture's rows per cropped row of the metadata.
  double RowScale(int cols, int rows) const;
  double FullHeight() const;

  bool found = false;
  std::string projection;
  double full_width = kAbsent;
  double full_height = kAbsent;
  double cropped_width = kAbsent;
  double cropped_height = kAbsent;
  double cropped_left = kAbsent;
  double cropped_top = kAbsent;
};

#endif  // VISTELLO_TOOLS_AUTHORING_PANORAMA_METADATA_H

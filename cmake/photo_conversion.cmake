# The photo converter's work (tools/authoring/photo_conversion.h) and what
# it needs, for the authoring tools and the fuzz target alike:
#   authoring_opencv                  Debian's OpenCV (core, imgproc, imgcodecs)
#   VISTELLO_PHOTO_CONVERSION_SOURCES the converter's sources; they link the
#                                     core (its geometry), OpenCV and libjpeg

# Debian's OpenCV development packages ship no CMake package file without
# the full libopencv-dev; the pieces are found one by one.
find_path(VISTELLO_OPENCV_INCLUDE opencv2/imgcodecs.hpp PATH_SUFFIXES opencv4 REQUIRED)
find_library(VISTELLO_OPENCV_CORE_LIBRARY opencv_core REQUIRED)
find_library(VISTELLO_OPENCV_IMGPROC_LIBRARY opencv_imgproc REQUIRED)
find_library(VISTELLO_OPENCV_IMGCODECS_LIBRARY opencv_imgcodecs REQUIRED)
add_library(authoring_opencv INTERFACE)
target_include_directories(authoring_opencv SYSTEM INTERFACE ${VISTELLO_OPENCV_INCLUDE})
target_link_libraries(authoring_opencv INTERFACE ${VISTELLO_OPENCV_IMGCODECS_LIBRARY}
  ${VISTELLO_OPENCV_IMGPROC_LIBRARY} ${VISTELLO_OPENCV_CORE_LIBRARY})

set(VISTELLO_PHOTO_CONVERSION_SOURCES)
foreach(name photo_conversion photo_reader jpeg_reader panorama_metadata panorama_converter)
  list(APPEND VISTELLO_PHOTO_CONVERSION_SOURCES "${CMAKE_SOURCE_DIR}/tools/authoring/${name}.cpp")
endforeach()

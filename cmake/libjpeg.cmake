# libjpeg-turbo for the Windows build: Debian's source package (fetched by
# tools/setup), unpacked and cross-compiled once per build tree as a static
# decoder library with the version 62 (6b) interface.
include(ExternalProject)

set(VISTELLO_JPEG_SOURCE_DIR "/var/cache/vistello/libjpeg-turbo" CACHE PATH
    "Directory holding Debian's libjpeg-turbo source package (.dsc and tarballs)")

file(GLOB jpeg_dsc "${VISTELLO_JPEG_SOURCE_DIR}/libjpeg-turbo_*.dsc")
if(NOT jpeg_dsc)
  message(FATAL_ERROR "No libjpeg-turbo source package in ${VISTELLO_JPEG_SOURCE_DIR}; run tools/setup")
endif()
list(GET jpeg_dsc 0 jpeg_dsc)

set(jpeg_src "${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-src")
if(NOT EXISTS "${jpeg_src}/CMakeLists.txt")
  file(REMOVE_RECURSE "${jpeg_src}")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/_deps")
  execute_process(
    COMMAND dpkg-source --no-check -x "${jpeg_dsc}" "${jpeg_src}"
    RESULT_VARIABLE unpacked OUTPUT_QUIET)
  if(NOT unpacked EQUAL 0)
    message(FATAL_ERROR "Could not unpack ${jpeg_dsc}")
  endif()
endif()

set(jpeg_prefix "${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo")
set(jpeg_library "${jpeg_prefix}/lib/libjpeg.a")
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR "${jpeg_src}"
  BINARY_DIR "${jpeg_prefix}-build"
  INSTALL_DIR "${jpeg_prefix}"
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=MinSizeRel
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    # Only what a decoder of Huffman-coded scenes needs, as small as it goes:
    # no JPEGMEM variable (and with it no sscanf), the system's printf
    # family rather than MinGW's own, no unwind tables.
    "-DCMAKE_C_FLAGS=-Os -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables -DNO_GETENV -D__USE_MINGW_ANSI_STDIO=0"
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
    -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF
    -DWITH_ARITH_ENC=OFF -DWITH_ARITH_DEC=OFF -DWITH_12BIT=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND
    ${CMAKE_COMMAND} -E make_directory <INSTALL_DIR>/lib <INSTALL_DIR>/include
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a <INSTALL_DIR>/lib/
    COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/jconfig.h <SOURCE_DIR>/jpeglib.h
            <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h <INSTALL_DIR>/include/
  BUILD_BYPRODUCTS "${jpeg_library}"
  UPDATE_COMMAND ""
  PATCH_COMMAND ${CMAKE_COMMAND} -DHEADER=<SOURCE_DIR>/jmorecfg.h
                -P ${CMAKE_CURRENT_LIST_DIR}/trim_libjpeg.cmake
  LOG_CONFIGURE ON LOG_BUILD ON)

file(MAKE_DIRECTORY "${jpeg_prefix}/include")
add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
set_target_properties(JPEG::JPEG PROPERTIES
  IMPORTED_LOCATION "${jpeg_library}"
  INTERFACE_INCLUDE_DIRECTORIES "${jpeg_prefix}/include")
add_dependencies(JPEG::JPEG libjpeg_turbo_build)

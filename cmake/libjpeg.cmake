# libjpeg-turbo built from Debian's source package (fetched by tools/setup):
# unpacked once per build tree and compiled as a static decoder library with
# the version 62 (6b) interface, trimmed to what the scenes need.
#
# vistello_libjpeg(<target> [TOOLCHAIN <file>] [C_FLAGS <flags>]
#                  [SPEED_SOURCES <files>...] [CMAKE_ARGS <args>...])
# defines the imported static library <target> (headers included). Every
# build of the product's decoder goes through here, so they all share the
# same sources and the same trimming; TOOLCHAIN picks the compiler (none
# builds for the host), C_FLAGS and CMAKE_ARGS add to the common options.
# SPEED_SOURCES (file names of the library's source tree) are built with
# -O2 instead of -Os.
include(ExternalProject)

set(VISTELLO_JPEG_SOURCE_DIR "/var/cache/vistello/libjpeg-turbo" CACHE PATH
    "Directory holding Debian's libjpeg-turbo source package (.dsc and tarballs)")

file(GLOB jpeg_dsc "${VISTELLO_JPEG_SOURCE_DIR}/libjpeg-turbo_*.dsc")
if(NOT jpeg_dsc)
  message(FATAL_ERROR "No libjpeg-turbo source package in ${VISTELLO_JPEG_SOURCE_DIR}; run tools/setup")
endif()
list(GET jpeg_dsc 0 jpeg_dsc)

set(VISTELLO_JPEG_SOURCE "${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo-src")
if(NOT EXISTS "${VISTELLO_JPEG_SOURCE}/CMakeLists.txt")
  file(REMOVE_RECURSE "${VISTELLO_JPEG_SOURCE}")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/_deps")
  execute_process(
    COMMAND dpkg-source --no-check -x "${jpeg_dsc}" "${VISTELLO_JPEG_SOURCE}"
    RESULT_VARIABLE unpacked OUTPUT_QUIET)
  if(NOT unpacked EQUAL 0)
    message(FATAL_ERROR "Could not unpack ${jpeg_dsc}")
  endif()
  # Trimmed once, in the shared source tree, so no build can differ.
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DHEADER=${VISTELLO_JPEG_SOURCE}/jmorecfg.h
            -P ${CMAKE_CURRENT_LIST_DIR}/trim_libjpeg.cmake)
endif()

function(vistello_libjpeg target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TOOLCHAIN;C_FLAGS" "CMAKE_ARGS;SPEED_SOURCES")
  set(prefix "${CMAKE_BINARY_DIR}/_deps/${target}")
  set(library "${prefix}/lib/libjpeg.a")
  set(toolchain)
  if(arg_TOOLCHAIN)
    set(toolchain -DCMAKE_TOOLCHAIN_FILE=${arg_TOOLCHAIN})
  endif()
  # The library's own CMakeLists takes per-file options through a file that
  # its project() call includes.
  set(speed)
  if(arg_SPEED_SOURCES)
    set(speed_file "${prefix}-speed.cmake")
    file(CONFIGURE OUTPUT "${speed_file}" CONTENT
      "set_source_files_properties(${arg_SPEED_SOURCES} PROPERTIES COMPILE_OPTIONS -O2)\n")
    set(speed -DCMAKE_PROJECT_INCLUDE=${speed_file})
  endif()
  ExternalProject_Add(${target}_build
    SOURCE_DIR "${VISTELLO_JPEG_SOURCE}"
    BINARY_DIR "${prefix}-build"
    INSTALL_DIR "${prefix}"
    CMAKE_ARGS
      ${toolchain}
      -DCMAKE_BUILD_TYPE=MinSizeRel
      -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
      # No JPEGMEM variable (and with it no sscanf); unwind tables are of
      # no use to a C library in a program without exceptions.
      "-DCMAKE_C_FLAGS=-Os -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables -DNO_GETENV ${arg_C_FLAGS}"
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON
      -DWITH_TURBOJPEG=OFF -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF
      -DWITH_ARITH_ENC=OFF -DWITH_ARITH_DEC=OFF -DWITH_12BIT=OFF
      ${speed}
      ${arg_CMAKE_ARGS}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
    INSTALL_COMMAND
      ${CMAKE_COMMAND} -E make_directory <INSTALL_DIR>/lib <INSTALL_DIR>/include
      COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a <INSTALL_DIR>/lib/
      COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/jconfig.h <SOURCE_DIR>/jpeglib.h
              <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h <INSTALL_DIR>/include/
    BUILD_BYPRODUCTS "${library}"
    UPDATE_COMMAND ""
    LOG_CONFIGURE ON LOG_BUILD ON)
  if(arg_SPEED_SOURCES)
    # Its name stays when its list changes: the library must see the change.
    ExternalProject_Add_StepDependencies(${target}_build configure "${speed_file}")
  endif()

  file(MAKE_DIRECTORY "${prefix}/include")
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES
    IMPORTED_LOCATION "${library}"
    INTERFACE_INCLUDE_DIRECTORIES "${prefix}/include")
  add_dependencies(${target} ${target}_build)
endfunction()

# A tour is a folder with a manifest (tour.ini). tools/tour-compile -- the
# one reader of manifests -- checks it, converts its photos into strips and
# writes the constants the tour description is made from (tour_data.cpp),
# the tour's resource entries (tour_resources.rc, naming copies of every
# file under res/), the executable's file name (executable.txt) and the
# whole checked tour (tour.json, which the web pages are built from).
find_package(Python3 REQUIRED COMPONENTS Interpreter)

if(CMAKE_CROSSCOMPILING)
  # The authoring tools the tour compiler runs (photo conversion, the
  # executable's decoder, text widths) are native programs: a second,
  # native configuration of this project builds them in <build>/host. It
  # runs at every build and is a no-op when nothing changed; its tools are
  # rewritten only when they do, and the tours compiled again then.
  include(ExternalProject)
  set(VISTELLO_AUTHORING_BIN "${CMAKE_BINARY_DIR}/host/authoring")
  set(VISTELLO_AUTHORING_TOOLS)
  foreach(tool scene_check photo_convert text_width tour_preview)
    list(APPEND VISTELLO_AUTHORING_TOOLS "${VISTELLO_AUTHORING_BIN}/${tool}")
  endforeach()
  ExternalProject_Add(authoring_tools_host
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${CMAKE_BINARY_DIR}/host"
    CMAKE_ARGS
      -DVISTELLO_HOST_TOOLS_ONLY=ON
      -DCMAKE_BUILD_TYPE=Release
      -DVISTELLO_JPEG_SOURCE_DIR=${VISTELLO_JPEG_SOURCE_DIR}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target authoring_tools
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${VISTELLO_AUTHORING_TOOLS}
    INSTALL_COMMAND ""
    LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)
endif()

# vistello_tour_folders(<var>): the tour folders this build makes: every
# folder under tours/ with a manifest, and every one under
# <build>/scratch-tours, where the author-scenario tests build the tours
# they make. A folder's name names its build targets.
function(vistello_tour_folders var)
  file(GLOB manifests CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tours/*/tour.ini"
       "${CMAKE_BINARY_DIR}/scratch-tours/*/tour.ini")
  set(folders)
  set(names)
  foreach(manifest IN LISTS manifests)
    get_filename_component(dir "${manifest}" DIRECTORY)
    get_filename_component(name "${dir}" NAME)
    if(NOT name MATCHES "^[A-Za-z0-9_]+$")
      message(WARNING "${dir}: tour folders are named with letters, digits and '_' (they name "
                      "build targets); rename it to build it")
    elseif(name IN_LIST names)
      message(WARNING "${dir}: another tour folder is also called ${name}; rename one to build it")
    else()
      list(APPEND names "${name}")
      list(APPEND folders "${dir}")
    endif()
  endforeach()
  set(${var} "${folders}" PARENT_SCOPE)
endfunction()

# vistello_compile_tour(<name> <folder>): the command that compiles a tour
# folder into <build>/tours/<name>/generated. Every file the tour reads is
# a dependency (the compiler's depfile). A failed compilation withdraws
# what the tour's last good build published in <build>/tours/<name>.
function(vistello_compile_tour name dir)
  set(out "${CMAKE_BINARY_DIR}/tours/${name}/generated")
  set(compiler "${CMAKE_SOURCE_DIR}/tools/tour-compile")
  file(GLOB compiler_modules CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tools/tour_compiler/*.py")
  add_custom_command(
    OUTPUT "${out}/tour_data.cpp" "${out}/tour_resources.rc" "${out}/tour.rc"
           "${out}/executable.txt" "${out}/tour.json"
    COMMAND Python3::Interpreter "${compiler}" --tools "${VISTELLO_AUTHORING_BIN}"
            --depfile "${out}/tour.d" --published "${CMAKE_BINARY_DIR}/tours/${name}"
            "${dir}" "${out}"
    DEPENDS "${compiler}" ${compiler_modules} "${dir}/tour.ini" ${VISTELLO_AUTHORING_TOOLS}
    DEPFILE "${out}/tour.d"
    COMMENT "Compiling tour ${name}"
    VERBATIM)
endfunction()

# vistello_publish_tour(<name> <kind> <file> <suffix> <depends>...): target
# <name>_<kind>_publish copies <file> to <build>/tours/<name>/<executable>
# <suffix> under the manifest's current name, removing the file an earlier
# name left.
function(vistello_publish_tour name kind file suffix)
  set(folder "${CMAKE_BINARY_DIR}/tours/${name}")
  set(stamp "${folder}/published${suffix}.txt")
  add_custom_command(
    OUTPUT "${stamp}"
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${file} -DSUFFIX=${suffix} -DSTAMP=${stamp}
            -DNAME_FILE=${folder}/generated/executable.txt -DFOLDER=${folder}
            -P "${CMAKE_SOURCE_DIR}/cmake/publish_tour.cmake"
    DEPENDS ${ARGN} "${file}" "${folder}/generated/executable.txt"
            "${CMAKE_SOURCE_DIR}/cmake/publish_tour.cmake"
    COMMENT "Publishing tour ${name} (${suffix})"
    VERBATIM)
  add_custom_target(${name}_${kind}_publish ALL DEPENDS "${stamp}")
endfunction()

# vistello_tour(<name> <folder>) defines the object library tour_<name>: the
# tour's constants plus the program's resource script with the tour's
# entries. Link it into an executable to give it that tour. Every file the
# tour reads is a dependency (the compiler's depfile), and the resource
# script carries each file's digest, so any change to the manifest, a photo,
# the artwork or the mail body rebuilds exactly this tour.
function(vistello_tour name dir)
  vistello_compile_tour(${name} "${dir}")
  set(out "${CMAKE_BINARY_DIR}/tours/${name}/generated")

  # tour.rc is a resource script of this tour's own that includes the
  # program's (resources/vistello.rc, which includes the tour's entries): a
  # source's dependencies are a property of its path, so every tour
  # compiles the program's script through its own file.
  add_library(tour_${name} OBJECT "${out}/tour_data.cpp" "${out}/tour.rc")
  target_include_directories(tour_${name} PRIVATE "${out}" "${CMAKE_SOURCE_DIR}/resources")
  # The resource compiler's includes are not tracked by the generator:
  # name them.
  file(GLOB resource_parts CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/*.rc"
       "${CMAKE_SOURCE_DIR}/resources/*.h")
  set_source_files_properties("${out}/tour.rc" PROPERTIES
    OBJECT_DEPENDS "${resource_parts};${out}/tour_resources.rc")
  target_link_libraries(tour_${name} PRIVATE vistello_core)
endfunction()

# vistello_tour_executable(<name> <folder>): the tour's executable. It is
# linked as tours/<name>/linked/tour.exe and published as
# tours/<name>/<executable>.exe under the manifest's current name, replacing
# the file an earlier name left (target <name>_tour_publish).
function(vistello_tour_executable name dir)
  vistello_tour(${name} "${dir}")
  set(folder "${CMAKE_BINARY_DIR}/tours/${name}")
  add_executable(${name}_tour WIN32
    "${CMAKE_SOURCE_DIR}/app/main.cpp" "${CMAKE_SOURCE_DIR}/app/allocation.cpp")
  target_link_libraries(${name}_tour PRIVATE tour_${name} vistello_app vistello_executable_options)
  set_target_properties(${name}_tour PROPERTIES
    OUTPUT_NAME tour
    RUNTIME_OUTPUT_DIRECTORY "${folder}/linked")
  vistello_publish_tour(${name} tour "$<TARGET_FILE:${name}_tour>" .exe ${name}_tour)
endfunction()

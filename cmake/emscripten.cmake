# Toolchain for the web edition: Debian's emscripten, found through emcc on
# the PATH (its toolchain file sits beside the real emcc script).
#
# emcc runs its JavaScript optimiser under node at link time and needs the
# acorn module, which Debian installs as a global node module. Debian's own
# node finds it there by default; any other node only through NODE_PATH, so
# every link goes through a launcher that names that directory.
find_program(VISTELLO_EMCC emcc REQUIRED)
file(REAL_PATH "${VISTELLO_EMCC}" emcc_script)
get_filename_component(emscripten_root "${emcc_script}" DIRECTORY)
include("${emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")

set(VISTELLO_NODE_MODULES "/usr/share/nodejs" CACHE PATH
    "Directory of Debian's global node modules (acorn for emcc)")
foreach(lang C CXX)
  set(CMAKE_${lang}_LINKER_LAUNCHER
      "${CMAKE_COMMAND};-E;env;NODE_PATH=${VISTELLO_NODE_MODULES}")
endforeach()

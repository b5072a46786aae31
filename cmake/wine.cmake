# Windows test executables run under Wine through tools/wine-run, with a
# prefix of their own inside the build tree (created on first use) and on
# a private Xvfb screen when there is no display.
set(VISTELLO_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine/prefix")
set(VISTELLO_WINE_RUN "${CMAKE_SOURCE_DIR}/tools/wine-run")
set(CMAKE_CROSSCOMPILING_EMULATOR "${VISTELLO_WINE_RUN};--prefix=${VISTELLO_WINE_PREFIX}")

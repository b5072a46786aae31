# WebAssembly SIMD for the web edition's frame loop.
#
#   include(web_simd)
#   target_link_libraries(<the core built with emscripten> PUBLIC vistello_web_simd)
#
# Compiles the portable core with -msimd128: the projection then takes its
# vector rows (panorama/blend_kernels_wasm.cpp, the SSE2 rows' steps in
# WebAssembly SIMD), which give the same bytes as the scalar rows. In
# headless Chromium a frame takes about a fifth of the time of the module
# built without SIMD (bench/web-measure). Every current browser runs such
# a module (Chrome and Edge 91, Firefox 89, Safari 16.4 and later); an
# older one refuses to compile it at all, there is no fallback inside one
# module. Set VISTELLO_WEB_SIMD to OFF to build the scalar module.
option(VISTELLO_WEB_SIMD "Build the web edition's core with WebAssembly SIMD" ON)
add_library(vistello_web_simd INTERFACE)
if(VISTELLO_WEB_SIMD)
  target_compile_options(vistello_web_simd INTERFACE -msimd128)
  target_link_options(vistello_web_simd INTERFACE -msimd128)
endif()

# Configures the unpacked libjpeg-turbo source for the product: only what a
# decoder of 1:1 scenes with the default parameters runs (accurate integer
# IDCT, fancy upsampling, no colour quantisation). The rest would only add
# code to an executable that travels by e-mail. jmorecfg.h documents these
# switches; an option that is compiled out fails with the library's own
# "Requested feature was omitted at compile time".
#   cmake -DHEADER=<source>/jmorecfg.h -P trim_libjpeg.cmake
file(READ "${HEADER}" text)
foreach(feature DCT_IFAST_SUPPORTED DCT_FLOAT_SUPPORTED IDCT_SCALING_SUPPORTED
                UPSAMPLE_MERGING_SUPPORTED QUANT_1PASS_SUPPORTED QUANT_2PASS_SUPPORTED)
  string(REGEX REPLACE "#define ${feature}" "#undef  ${feature}" text "${text}")
endforeach()
file(WRITE "${HEADER}" "${text}")

# A tour is a folder under tours/ with a manifest (tour.ini). Its build
# turns the manifest into the constants the tour description is made from
# (tour_data.cpp) and into the tour's resource entries (tour_resources.rc),
# checking every scene image on the way.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(VISTELLO_DJPEG djpeg)

# vistello_tour(<name>) defines the object library tour_<name>: the tour's
# constants plus the program's resource script with the tour's entries.
# Link it into an executable to give it that tour.
function(vistello_tour name)
  set(dir "${CMAKE_SOURCE_DIR}/tours/${name}")
  set(out "${CMAKE_BINARY_DIR}/tours/${name}/generated")
  set(compiler "${CMAKE_SOURCE_DIR}/tools/tour-compile")
  set(djpeg_option)
  if(VISTELLO_DJPEG)
    set(djpeg_option --djpeg "${VISTELLO_DJPEG}")
  endif()
  add_custom_command(
    OUTPUT "${out}/tour_data.cpp" "${out}/tour_resources.rc"
    COMMAND Python3::Interpreter "${compiler}" ${djpeg_option}
            --depfile "${out}/tour.d" "${dir}" "${out}"
    DEPENDS "${compiler}" "${dir}/tour.ini"
    DEPFILE "${out}/tour.d"
    COMMENT "Compiling tour ${name}"
    VERBATIM)
  add_library(tour_${name} OBJECT
    "${out}/tour_data.cpp"
    "${CMAKE_SOURCE_DIR}/resources/vistello.rc")
  target_include_directories(tour_${name} PRIVATE "${out}" "${CMAKE_SOURCE_DIR}/resources")
  # The resource compiler's includes are not tracked by the generator:
  # name them, so that editing a dialog template rebuilds the resources.
  file(GLOB resource_parts CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/resources/*.rc"
       "${CMAKE_SOURCE_DIR}/resources/*.h")
  set_source_files_properties("${CMAKE_SOURCE_DIR}/resources/vistello.rc" TARGET_DIRECTORY
    tour_${name} PROPERTIES OBJECT_DEPENDS "${resource_parts};${out}/tour_resources.rc")
  target_link_libraries(tour_${name} PRIVATE vistello_core)
endfunction()

# The demo tour travels by e-mail: the executable may be at most 400 KiB,
# and everything in it but the ten scene images at most 200 KiB.
#   cmake -DEXECUTABLE=<exe> -DSCENES=<folder with 0.JPG .. 9.JPG> -P size_budget.cmake
file(SIZE "${EXECUTABLE}" total)
set(scenes 0)
foreach(index RANGE 9)
  file(SIZE "${SCENES}/${index}.JPG" scene)
  math(EXPR scenes "${scenes} + ${scene}")
endforeach()
math(EXPR rest "${total} - ${scenes}")
math(EXPR total_kib "${total} / 1024")
math(EXPR rest_kib "${rest} / 1024")
message(STATUS "executable ${total} bytes (${total_kib} KiB); scenes ${scenes} bytes; "
               "everything else ${rest} bytes (${rest_kib} KiB)")
if(total GREATER 409600)
  message(FATAL_ERROR "the executable is over 400 KiB")
endif()
if(rest GREATER 204800)
  message(FATAL_ERROR "everything but the scene images is over 200 KiB")
endif()

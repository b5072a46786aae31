# The demo tour travels by e-mail: the executable may be at most 400 KiB,
# and everything in it but the ten scene images at most 200 KiB. The tour
# compiler chooses every tour's JPEG quality around the program's measured
# size (PROGRAM_BYTES in COMPILER, tools/tour_compiler/scenes.py): what is
# left without the scenes, the artwork and the mail text must stay within it.
#   cmake -DEXECUTABLE=<exe> -DSCENES=<folder with 0.JPG .. 9.JPG> -DCOMPILER=<scenes.py>
#         -P size_budget.cmake
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

file(STRINGS "${COMPILER}" allowance REGEX "^PROGRAM_BYTES = [0-9]+ \\* 1024$")
string(REGEX REPLACE "^PROGRAM_BYTES = ([0-9]+) .*" "\\1" allowance_kib "${allowance}")
set(program ${rest})
foreach(file splash.bmp toolbar.bmp badge.bmp app.ico info.ico hand.cur mail_body.txt)
  file(SIZE "${SCENES}/${file}" size)
  math(EXPR program "${program} - ${size}")
endforeach()
message(STATUS "the program without the tour's files: ${program} bytes; the tour compiler "
               "plans with ${allowance_kib} KiB")
math(EXPR allowance "${allowance_kib} * 1024")
if(program GREATER allowance)
  message(FATAL_ERROR "the program has outgrown the tour compiler's PROGRAM_BYTES: measure it "
                      "again")
endif()

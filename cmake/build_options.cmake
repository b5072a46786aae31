# Compile and link options shared by the targets.
#
# vistello_options: every target of ours (warnings, ANSI Win32 API).
# vistello_product_options: code that ships in the executable. No exceptions,
#   no RTTI, small code; on Windows the sections are garbage-collected and
#   the executable is stripped. Natively the core is instrumented instead.

add_library(vistello_options INTERFACE)
target_compile_options(vistello_options INTERFACE
  $<$<COMPILE_LANGUAGE:C,CXX>:-Wall -Wextra -Wno-unused-parameter>)

add_library(vistello_product_options INTERFACE)
target_link_libraries(vistello_product_options INTERFACE vistello_options)
target_compile_options(vistello_product_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti -fno-threadsafe-statics>)

if(VISTELLO_WINDOWS)
  # The oldest Windows the product targets: 95 and NT 4.0 with the
  # common controls of Internet Explorer 3.
  # The system's msvcrt printf family, not MinGW's own larger C99 one.
  target_compile_definitions(vistello_options INTERFACE
    WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0300 NOMINMAX __USE_MINGW_ANSI_STDIO=0)
  target_compile_options(vistello_product_options INTERFACE
    $<$<COMPILE_LANGUAGE:C,CXX>:-Os -ffunction-sections -fdata-sections
                                -fno-asynchronous-unwind-tables>)

  # Applied to the shipped executables only. They say they run on Windows
  # 4.0; the 64-bit twin on the first 64-bit Windows, 5.2.
  set(major 4)
  set(minor 0)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(major 5)
    set(minor 2)
  endif()
  add_library(vistello_executable_options INTERFACE)
  target_link_options(vistello_executable_options INTERFACE
    -mwindows -s -Wl,--gc-sections -Wl,--disable-reloc-section
    -Wl,--major-os-version,${major} -Wl,--minor-os-version,${minor}
    -Wl,--major-subsystem-version,${major} -Wl,--minor-subsystem-version,${minor})
else()
  set(VISTELLO_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all
      -fno-omit-frame-pointer)
  if(VISTELLO_FUZZ)
    # The fuzzer's coverage in everything instrumented; its engine and main
    # are linked into the targets alone.
    list(APPEND VISTELLO_SANITIZE -fsanitize=fuzzer-no-link)
  endif()
  add_library(vistello_sanitize INTERFACE)
  target_compile_options(vistello_sanitize INTERFACE ${VISTELLO_SANITIZE})
  target_link_options(vistello_sanitize INTERFACE ${VISTELLO_SANITIZE})
endif()

# The 64-bit twin of the product: the same sources for x86-64, so that they
# can be built and tested under 64-bit Wine on machines that cannot execute
# 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

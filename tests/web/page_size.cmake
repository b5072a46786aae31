# The demo tour's page travels like its executable: it may be at most
# LIMIT bytes.   cmake -DPAGE=<page> -DLIMIT=<bytes> -P page_size.cmake
file(SIZE "${PAGE}" size)
message(STATUS "${PAGE}: ${size} bytes (limit ${LIMIT})")
if(size GREATER LIMIT)
  message(FATAL_ERROR "the page is over ${LIMIT} bytes")
endif()

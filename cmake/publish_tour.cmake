# Publishes a built tour file (the executable, or the web page) under the
# name its manifest gives: <FOLDER>/<name><SUFFIX>. The name the last
# publication used is kept in STAMP; when the manifest renamed the tour,
# the file of the old name is removed, so nothing stale stays beside the
# new one.
#   cmake -DSOURCE=<built file> -DSUFFIX=.exe|.html -DSTAMP=<file>
#         -DNAME_FILE=<executable.txt> -DFOLDER=<dir> -P publish_tour.cmake
file(STRINGS "${NAME_FILE}" name LIMIT_COUNT 1)
if(EXISTS "${STAMP}")
  file(STRINGS "${STAMP}" previous LIMIT_COUNT 1)
  if(previous AND NOT previous STREQUAL name)
    file(REMOVE "${FOLDER}/${previous}${SUFFIX}")
  endif()
endif()
file(COPY_FILE "${SOURCE}" "${FOLDER}/${name}${SUFFIX}" ONLY_IF_DIFFERENT)
file(WRITE "${STAMP}" "${name}\n")

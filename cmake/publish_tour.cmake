# Publishes a linked tour executable under the name its manifest gives:
# <FOLDER>/<name>.exe. The name the last publication used is kept in
# <FOLDER>/published.txt; when the manifest renamed the executable, the
# file of the old name is removed, so no stale executable stays beside
# the new one.
#   cmake -DEXECUTABLE=<linked exe> -DNAME_FILE=<executable.txt> -DFOLDER=<dir>
#         -P publish_tour.cmake
file(STRINGS "${NAME_FILE}" name LIMIT_COUNT 1)
if(EXISTS "${FOLDER}/published.txt")
  file(STRINGS "${FOLDER}/published.txt" previous LIMIT_COUNT 1)
  if(previous AND NOT previous STREQUAL name)
    file(REMOVE "${FOLDER}/${previous}.exe")
  endif()
endif()
file(COPY_FILE "${EXECUTABLE}" "${FOLDER}/${name}.exe" ONLY_IF_DIFFERENT)
file(WRITE "${FOLDER}/published.txt" "${name}\n")

# blob_room(NAME SOURCES... [LINKS targets...]): the static library of one
# room of src/ (docs/architecture.md). Its users include its headers by the
# room's name ("files/file_bytes.h"), so every room publishes src/.
function(blob_room name)
  cmake_parse_arguments(ROOM "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ROOM_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ROOM_LINKS})
  blob_set_warnings(${name})
endfunction()

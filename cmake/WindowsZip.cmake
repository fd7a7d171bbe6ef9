# What `cmake --install` lays out for the Windows zip (scripts/windows.sh
# zips it): the programs, the DLLs they need and the game's data side by
# side, as a player unpacks them and double-clicks blobdemo.exe.

# Every program's icon, version details and manifest (cmake/Windows.cmake).
foreach(program IN ITEMS
        "blobdemo|Blob demo, a side-view platform game of deformable blobs"
        "leveltool|Blob demo level tool: builds, checks, dumps and draws levels"
        "blobrun|Blob demo runner: plays a level without a window"
        "oggplay|Blob demo Ogg Vorbis player"
        "synthlevel|Blob demo level maker for timing"
        "make_font|Blob demo font maker")
  string(REPLACE "|" ";" program "${program}")
  list(GET program 0 target)
  list(GET program 1 description)
  if(TARGET ${target})
    blob_windows_resources(${target} "${description}")
  endif()
endforeach()

install(TARGETS blobdemo RUNTIME DESTINATION .)
foreach(tool leveltool blobrun oggplay)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION .)
  endif()
endforeach()
install(FILES ${BLOB_WINDOWS_DLLS} DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/images DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/data/level.map DESTINATION .)
# The level notes and the demo level's source, in Windows' words.
set(windows_levels ${PROJECT_BINARY_DIR}/windows/levels)
file(MAKE_DIRECTORY ${windows_levels})
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DOUT=${windows_levels}
                -P ${PROJECT_SOURCE_DIR}/packaging/windows/for_windows.cmake
                RESULT_VARIABLE written)
if(NOT written EQUAL 0)
  message(FATAL_ERROR "cannot write the zip's levels\\README.md and demo.json")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/levels/README.md
  ${PROJECT_SOURCE_DIR}/levels/demo.json ${PROJECT_SOURCE_DIR}/packaging/windows/for_windows.cmake)
install(FILES ${windows_levels}/demo.json ${windows_levels}/README.md DESTINATION levels)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)
# The licence of the maths compiled into every program (src/maths).
install(FILES ${BLOB_MATHS_LICENCE} DESTINATION . RENAME COPYRIGHT.maths.txt)

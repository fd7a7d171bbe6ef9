# What `cmake --install` lays out for the Windows zip (scripts/windows.sh
# zips it): the programs, the DLLs they need and the game's data side by
# side, as a player unpacks them and double-clicks blobdemo.exe.
install(TARGETS blobdemo RUNTIME DESTINATION .)
foreach(tool leveltool blobrun oggplay)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION .)
  endif()
endforeach()
install(FILES ${BLOB_WINDOWS_DLLS} DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/images DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/data/level.map DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/levels/demo.json ${PROJECT_SOURCE_DIR}/levels/README.md
        DESTINATION levels)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)
# The licence of the maths compiled into every program (src/maths).
install(FILES ${BLOB_MATHS_LICENCE} DESTINATION . RENAME COPYRIGHT.maths.txt)

# Installs the game the way Linux games are laid out: a launcher in bin/
# that starts the program in its data folder under share/blobdemo/, the
# program itself under libexec/, the tools in bin/, and a desktop entry with
# an icon. BLOB_DATA_DIR and BLOB_PROGRAM_DIR are set in the top CMakeLists.

install(TARGETS blobdemo RUNTIME DESTINATION ${BLOB_PROGRAM_DIR})
configure_file(${PROJECT_SOURCE_DIR}/packaging/blobdemo.in ${PROJECT_BINARY_DIR}/launcher/blobdemo @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/launcher/blobdemo DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/images DESTINATION ${BLOB_DATA_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/level.map DESTINATION ${BLOB_DATA_DIR} OPTIONAL)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/blobdemo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/images/hud_Portrait.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME blobdemo.png)

if(BLOB_BUILD_TOOLS)
  foreach(tool leveltool blobrun oggplay synthlevel)
    if(TARGET ${tool})
      install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endforeach()
endif()

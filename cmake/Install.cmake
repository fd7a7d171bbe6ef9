# Installs the game the way Linux games are laid out: a launcher in bin/
# that starts the program in its data folder under share/blobdemo/, the
# program itself under libexec/, the tools in bin/, a desktop entry with an
# icon that opens level files, the level files' MIME types, and man pages.
# BLOB_DATA_DIR and BLOB_PROGRAM_DIR are set in the top CMakeLists.

install(TARGETS blobdemo RUNTIME DESTINATION ${BLOB_PROGRAM_DIR})
configure_file(${PROJECT_SOURCE_DIR}/packaging/blobdemo.in ${PROJECT_BINARY_DIR}/launcher/blobdemo @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/launcher/blobdemo DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/images DESTINATION ${BLOB_DATA_DIR})
# The licence of the maths compiled into every program (src/maths).
install(FILES ${BLOB_MATHS_LICENCE} DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME COPYRIGHT.maths.txt)
install(FILES ${PROJECT_SOURCE_DIR}/data/level.map DESTINATION ${BLOB_DATA_DIR} OPTIONAL)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/blobdemo.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/blobdemo-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME blobdemo.xml)

# Man pages, each carrying the project's version.
set(BLOB_VERSION ${PROJECT_VERSION})
function(blob_install_man page section)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/man/${page}.${section}
                 ${PROJECT_BINARY_DIR}/man/${page}.${section} @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.${section}
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
blob_install_man(blobdemo 6)
install(FILES ${PROJECT_SOURCE_DIR}/data/images/hud_Portrait.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME blobdemo.png)

if(BLOB_BUILD_TOOLS)
  foreach(tool leveltool blobrun oggplay synthlevel)
    if(TARGET ${tool})
      install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
  endforeach()
  foreach(tool leveltool blobrun oggplay synthlevel)
    if(TARGET ${tool})
      blob_install_man(${tool} 1)
    endif()
  endforeach()
endif()

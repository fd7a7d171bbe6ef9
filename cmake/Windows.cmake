# The Windows build's stand-ins for cmake/Dependencies.cmake (scripts/windows.sh
# cross-builds with cmake/windows-toolchain.cmake): each group links the
# libraries that scripts/windows-deps.sh built from Debian's sources into
# BLOB_WINDOWS_DEPS, by their files, with no pkg-config. SDL, OpenAL Soft and
# ALUT are DLLs that ship beside the programs; the rest is linked in.
# Only the game and its console tools are built; their tests run on Linux,
# under Wine (tests/windows).
set(BLOB_WINDOWS_DEPS "" CACHE PATH "The Windows libraries built by scripts/windows-deps.sh")
if(NOT EXISTS ${BLOB_WINDOWS_DEPS}/lib/libSDL.dll.a)
  message(FATAL_ERROR "BLOB_WINDOWS_DEPS (${BLOB_WINDOWS_DEPS}) holds no Windows libraries: "
                      "build with scripts/windows.sh")
endif()
set(BLOB_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(BLOB_BUILD_BENCH OFF CACHE BOOL "" FORCE)
set(BLOB_BUILD_FUZZ OFF CACHE BOOL "" FORCE)
set(deps ${BLOB_WINDOWS_DEPS})

# The game's data lies beside the program (src/files/data_path.cpp).
set(BLOB_DATA_DIR .)

# Every program takes the compiler's runtime (libgcc, libstdc++, winpthread)
# in statically: no MinGW DLL has to ship.
add_link_options(-static)

# SDL. Every program keeps its own main: SDL's header would rename it for
# SDLmain's WinMain, which sends standard output and error to stdout.txt and
# stderr.txt beside the program by their code-page names, emptying another
# running game's files, and nowhere when the folder cannot be written. The
# game does that itself (src/shell/output_files.h); MinGW's start-up calls a
# windowed program's main as it does a console program's.
add_library(blob_deps_sdl INTERFACE)
target_include_directories(blob_deps_sdl SYSTEM INTERFACE ${deps}/include/SDL /usr/include/stb)
target_compile_definitions(blob_deps_sdl INTERFACE _SDL_main_h)
target_link_libraries(blob_deps_sdl INTERFACE ${deps}/lib/libSDL.dll.a)

find_package(OpenGL REQUIRED COMPONENTS OpenGL)
add_library(blob_deps_gl INTERFACE)
target_link_libraries(blob_deps_gl INTERFACE OpenGL::GL)

add_library(blob_deps_audio INTERFACE)
target_include_directories(blob_deps_audio SYSTEM INTERFACE ${deps}/include)
target_link_libraries(blob_deps_audio INTERFACE ${deps}/lib/libalut.dll.a
                      ${deps}/lib/libOpenAL32.dll.a ${deps}/lib/libvorbisfile.a
                      ${deps}/lib/libvorbis.a ${deps}/lib/libogg.a)

# The level-source readers: GLU's tessellator from Debian's source, built
# here and linked in rather than Windows' glu32, so that a level builds to
# the same bytes as on Linux.
include(${CMAKE_CURRENT_LIST_DIR}/FromDebianSources.cmake)
blob_glu_tessellator(${deps}/src/glu)
add_library(blob_deps_level_source INTERFACE)
blob_host_json_headers(blob_deps_level_source)
target_link_libraries(blob_deps_level_source INTERFACE glu_tess)
set(BLOB_LEVEL_SOURCE_READERS ON)

# SHA-256 for the levels that replays name: libmd's SHA-2, built from the
# unpacked source of Debian's libmd that scripts/windows.sh fetches.
set(BLOB_MD_SOURCE "" CACHE PATH "Unpacked libmd source")
blob_md_sha2(${BLOB_MD_SOURCE})

# The DLLs that ship beside the programs.
set(BLOB_WINDOWS_DLLS ${deps}/bin/SDL.dll ${deps}/bin/OpenAL32.dll ${deps}/bin/libalut-0.dll)

# What every program carries as Windows expects it (packaging/windows/):
# the portrait as its icon, its name, description and version in its
# properties, and a manifest that declares it aware of paths longer than 260
# characters. The icon is made from the portrait at build time.
enable_language(RC)
# Debian's Python, which has Pillow (scripts/install-deps.sh --windows).
set(BLOB_PYTHON /usr/bin/python3 CACHE FILEPATH "Python with Pillow, for the icon")
set(BLOB_WINDOWS_ICON ${PROJECT_BINARY_DIR}/windows/blobdemo.ico)
add_custom_command(OUTPUT ${BLOB_WINDOWS_ICON}
  COMMAND ${BLOB_PYTHON} ${PROJECT_SOURCE_DIR}/packaging/windows/make_icon.py
          ${PROJECT_SOURCE_DIR}/data/images/hud_Portrait.png ${BLOB_WINDOWS_ICON}
  DEPENDS ${PROJECT_SOURCE_DIR}/data/images/hud_Portrait.png
          ${PROJECT_SOURCE_DIR}/packaging/windows/make_icon.py
  VERBATIM)
add_custom_target(blob_windows_icon DEPENDS ${BLOB_WINDOWS_ICON})

# blob_windows_resources(TARGET "DESCRIPTION"): the icon, the version
# details and the manifest, compiled by windres into TARGET.
function(blob_windows_resources target description)
  set(BLOB_PROGRAM ${target})
  set(BLOB_DESCRIPTION ${description})
  set(BLOB_ICON ${BLOB_WINDOWS_ICON})
  set(folder ${PROJECT_BINARY_DIR}/windows)
  set(BLOB_MANIFEST ${folder}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.manifest.in ${BLOB_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${folder}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${folder}/${target}.rc)
  set_source_files_properties(${folder}/${target}.rc PROPERTIES
    OBJECT_DEPENDS "${BLOB_WINDOWS_ICON};${BLOB_MANIFEST}")
  add_dependencies(${target} blob_windows_icon)
endfunction()

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

# SDL. Its header renames main to SDL_main, for SDLmain's WinMain to call
# after sending standard output and error to stdout.txt and stderr.txt
# beside the program. Only a windowed program (WIN32_EXECUTABLE: the game)
# takes that; the console tools keep their own main and their terminal.
set(windowed $<BOOL:$<TARGET_PROPERTY:WIN32_EXECUTABLE>>)
add_library(blob_deps_sdl INTERFACE)
target_include_directories(blob_deps_sdl SYSTEM INTERFACE ${deps}/include/SDL /usr/include/stb)
target_compile_definitions(blob_deps_sdl INTERFACE $<$<NOT:${windowed}>:_SDL_main_h>)
target_link_libraries(blob_deps_sdl INTERFACE $<${windowed}:mingw32> $<${windowed}:${deps}/lib/libSDLmain.a>
                      ${deps}/lib/libSDL.dll.a)

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

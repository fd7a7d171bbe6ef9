# The browser build's stand-ins for cmake/Dependencies.cmake: Emscripten
# brings SDL (with stb_image behind IMG_Load), an emulation of immediate-mode
# OpenGL and OpenAL, so each group is a set of link options rather than a
# package. Nothing is downloaded: Emscripten's "ports" are not used.
# Only the game, the page and the runner are built for the browser.
set(BLOB_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(BLOB_BUILD_TOOLS OFF CACHE BOOL "" FORCE)
set(BLOB_BUILD_BENCH OFF CACHE BOOL "" FORCE)
set(BLOB_BUILD_FUZZ OFF CACHE BOOL "" FORCE)

add_library(blob_deps_sdl INTERFACE)
target_link_options(blob_deps_sdl INTERFACE -sSTB_IMAGE=1)

add_library(blob_deps_gl INTERFACE)
target_link_options(blob_deps_gl INTERFACE -sLEGACY_GL_EMULATION=1)

add_library(blob_deps_audio INTERFACE)
target_link_libraries(blob_deps_audio INTERFACE openal)

# -O2 rather than CMake's -O3 for Release: linked at -O3, Emscripten 3.1.6
# drops the exports of stb_image that its own IMG_Load calls by name, and no
# picture loads.
foreach(lang C CXX)
  string(REPLACE "-O3" "-O2" CMAKE_${lang}_FLAGS_RELEASE "${CMAKE_${lang}_FLAGS_RELEASE}")
endforeach()

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

# SHA-256 for the levels that replays name: libmd's SHA-2, as on the
# desktop, built from the unpacked source of Debian's libmd (scripts/web.sh
# fetches it).
include(${CMAKE_CURRENT_LIST_DIR}/FromDebianSources.cmake)
set(BLOB_MD_SOURCE "" CACHE PATH "Unpacked libmd source")
blob_md_sha2(${BLOB_MD_SOURCE})

# -O2 rather than CMake's -O3 for Release: linked at -O3, Emscripten 3.1.6
# drops the exports of stb_image that its own IMG_Load calls by name, and no
# picture loads.
foreach(lang C CXX)
  string(REPLACE "-O3" "-O2" CMAKE_${lang}_FLAGS_RELEASE "${CMAKE_${lang}_FLAGS_RELEASE}")
endforeach()

# The level-source readers: GLU's polygon tessellator, which Emscripten lacks,
# built from the unpacked source of Debian's libglu (scripts/web.sh fetches
# it), and nlohmann's JSON. Without the tessellator the page plays level
# files only and says how to build a level source (src/level/source).
set(BLOB_GLU_SOURCE "" CACHE PATH "Unpacked libglu source (optional)")
add_library(blob_deps_level_source INTERFACE)
if(BLOB_GLU_SOURCE)
  set(BLOB_LEVEL_SOURCE_READERS ON)
  blob_glu_tessellator(${BLOB_GLU_SOURCE})
  blob_host_json_headers(blob_deps_level_source)
  target_link_libraries(blob_deps_level_source INTERFACE glu_tess)
  # The JSON parser reports a syntax error by throwing: the readers are
  # compiled with exceptions (src/level/source), and the game linked with them.
  target_link_options(blob_deps_level_source INTERFACE -fexceptions)
else()
  set(BLOB_LEVEL_SOURCE_READERS OFF)
endif()

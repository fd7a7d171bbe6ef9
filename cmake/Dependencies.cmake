# Finds the Debian-packaged libraries the game builds against and wraps each
# group in an interface target, so every target links them the same way.
find_package(PkgConfig REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)

pkg_check_modules(SDL REQUIRED IMPORTED_TARGET sdl SDL_image)
pkg_check_modules(AUDIO REQUIRED IMPORTED_TARGET openal freealut vorbisfile)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(MD REQUIRED IMPORTED_TARGET libmd)

add_library(blob_deps_sdl INTERFACE)
target_link_libraries(blob_deps_sdl INTERFACE PkgConfig::SDL)

add_library(blob_deps_gl INTERFACE)
target_link_libraries(blob_deps_gl INTERFACE OpenGL::GL PkgConfig::GLU)

add_library(blob_deps_audio INTERFACE)
target_link_libraries(blob_deps_audio INTERFACE PkgConfig::AUDIO)

# SHA-256 for the levels that replays name: libmd's SHA-2.
add_library(blob_deps_md INTERFACE)
target_link_libraries(blob_deps_md INTERFACE PkgConfig::MD)

# The level-source readers: nlohmann's JSON and GLU's polygon tessellator.
find_package(nlohmann_json 3 REQUIRED)
add_library(blob_deps_level_source INTERFACE)
target_link_libraries(blob_deps_level_source INTERFACE nlohmann_json::nlohmann_json PkgConfig::GLU)
set(BLOB_LEVEL_SOURCE_READERS ON)

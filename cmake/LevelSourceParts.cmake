# The level-source readers' two libraries, for builds whose system has
# neither (the browser's, cmake/Web.cmake; Windows', cmake/Windows.cmake):
# GLU's polygon tessellator, compiled from the unpacked source of Debian's
# libglu, and nlohmann's header-only JSON taken from the host.

# blob_glu_tessellator(SOURCE_DIR): the static library glu_tess; its users
# declare its functions with the system's glu.h.
function(blob_glu_tessellator source)
  set(tess ${source}/src/libtess)
  add_library(glu_tess STATIC
    ${tess}/dict.c
    ${tess}/geom.c
    ${tess}/memalloc.c
    ${tess}/mesh.c
    ${tess}/normal.c
    ${tess}/priorityq.c
    ${tess}/render.c
    ${tess}/sweep.c
    ${tess}/tess.c
    ${tess}/tessmono.c
    ${source}/src/libutil/error.c
    ${source}/src/libutil/glue.c
  )
  target_include_directories(glu_tess PRIVATE ${source}/include ${source}/src/include
                             ${source}/src/libutil)
  target_compile_options(glu_tess PRIVATE -w)  # someone else's code, built as it is
endfunction()

# blob_host_json_headers(TARGET): makes the host's nlohmann/json.hpp visible
# to TARGET's users, and only its own folder of the host's headers, never
# the host's C library.
function(blob_host_json_headers target)
  find_path(NLOHMANN_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(host_headers ${PROJECT_BINARY_DIR}/host_headers)
  file(MAKE_DIRECTORY ${host_headers})
  file(CREATE_LINK ${NLOHMANN_INCLUDE}/nlohmann ${host_headers}/nlohmann SYMBOLIC)
  target_include_directories(${target} SYSTEM INTERFACE ${host_headers})
endfunction()

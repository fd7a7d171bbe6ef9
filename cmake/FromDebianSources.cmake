# Libraries that the browser's and Windows' systems lack (cmake/Web.cmake,
# cmake/Windows.cmake), compiled from the unpacked sources of Debian's
# packages, which scripts/web.sh and scripts/windows.sh fetch: GLU's polygon
# tessellator and libmd's SHA-2; and nlohmann's header-only JSON taken from
# the host.

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

# blob_md_sha2(SOURCE_DIR): the interface target blob_deps_md, SHA-256 for
# the levels that replays name, from libmd's SHA-2 alone. Its config.h holds
# only what libmd's build system found out; the SHA-2 code needs none of it
# on a little-endian system (WebAssembly, x86-64).
function(blob_md_sha2 source)
  if(NOT EXISTS "${source}/src/sha2.c")
    message(FATAL_ERROR "SHA-256 needs libmd's source: set BLOB_MD_SOURCE to an unpacked libmd "
                        "source (scripts/web.sh and scripts/windows.sh fetch it)")
  endif()
  # (file(CONFIGURE) writes it only when it changes, so nothing is rebuilt.)
  file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/libmd_config/config.h
       CONTENT "/* nothing: see cmake/FromDebianSources.cmake */\n")
  add_library(md_sha2 STATIC ${source}/src/sha2.c)
  target_include_directories(md_sha2 PRIVATE ${PROJECT_BINARY_DIR}/libmd_config)
  target_include_directories(md_sha2 SYSTEM PUBLIC ${source}/include)
  target_compile_options(md_sha2 PRIVATE -w)  # someone else's code, built as it is
  add_library(blob_deps_md INTERFACE)
  target_link_libraries(blob_deps_md INTERFACE md_sha2)
endfunction()

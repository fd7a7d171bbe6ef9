# Warning, floating-point and sanitizer settings shared by every target.
# -ffp-contract=off keeps the blob simulation bit-identical across machines:
# a fused multiply-add would round differently from the separate operations,
# and GCC fuses by default wherever the target has FMA (-march=x86-64-v3,
# -march=native). -fno-fast-math undoes a packager's -ffast-math or -Ofast,
# which reorder arithmetic. Target options follow CMAKE_CXX_FLAGS on the
# command line, so these win.
function(blob_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -ffp-contract=off -fno-fast-math)
  if(BLOB_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# Fuzz builds (clang only) instrument everything for coverage as well.
if(BLOB_BUILD_FUZZ)
  set(BLOB_SANITIZE ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(BLOB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

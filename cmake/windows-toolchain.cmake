# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (scripts/windows.sh
# passes this file and BLOB_WINDOWS_DEPS, the libraries' folder that
# scripts/windows-deps.sh built). The -posix compilers have std::thread,
# which the file watcher needs. Programs run under Wine for the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

# Libraries and headers come only from MinGW's own folder and the built
# libraries, never from the host; programs from the host.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES BLOB_WINDOWS_DEPS)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${BLOB_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

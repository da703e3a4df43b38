# Cross-building the Windows program on Linux with MinGW-w64 (Debian: g++-mingw-w64-x86-64):
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MTD_MINGW_TRIPLET x86_64-w64-mingw32)
# The -posix compilers: std::thread (the sweep engine's pool) needs their thread model.
set(CMAKE_C_COMPILER ${MTD_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MTD_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MTD_MINGW_TRIPLET}-windres)

# Headers and libraries come from the cross sysroot only; programs run on the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${MTD_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

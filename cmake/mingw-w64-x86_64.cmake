# CMake toolchain file: cross-compiles for 64-bit Windows (x86_64-w64-mingw32)
# with Debian's MinGW-w64 compilers, package g++-mingw-w64-x86-64-posix.
#
# The "posix" compilers use winpthreads, which gives std::thread and
# std::mutex (Qt needs them); the "win32" ones do not. Every executable and
# DLL links the C and C++ runtimes and winpthreads statically, so what it
# builds needs only Windows' own DLLs.
#
# Used by scripts/build-windows-qt to build Qt itself; that script copies this
# file next to the Qt it installs, and that Qt's qt-cmake loads the copy, so
# programs built with it get the same compilers and flags.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)

# The posix-threads variants, named explicitly: the unsuffixed names follow
# update-alternatives and may point at the win32 variant.
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)
find_program(CMAKE_AR NAMES ${MINGW_TRIPLET}-gcc-ar-posix ${MINGW_TRIPLET}-ar)
find_program(CMAKE_RANLIB NAMES ${MINGW_TRIPLET}-gcc-ranlib-posix ${MINGW_TRIPLET}-ranlib)

# Libraries, headers and CMake packages of the target come from the MinGW-w64
# sysroot only, never from the build machine's /usr; programs run during the
# build come from the build machine. The install prefix of the Qt being built
# or used is added by Qt itself (CMAKE_PREFIX_PATH / QT_HOST_PATH).
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static C runtime, libgcc, libstdc++ and winpthreads: "-static" makes the
# linker take the static archive of every library it has one of.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Programs built for Windows run here under Wine, for try_run() and tests.
find_program(MINGW_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(MINGW_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MINGW_WINE})
endif()

# SPDX-License-Identifier: MIT
# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-win64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#         [-DREELCRAFT_WINDOWS_DEPS=PREFIX]
# The programs link the compiler's runtime statically, so that they run on a bare Windows.
# Tests run under wine64 (scripts/wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(REELCRAFT_MINGW_TRIPLET x86_64-w64-mingw32)

# The POSIX thread model: std::thread and std::mutex, which the engine and qvj2avi use.
set(CMAKE_C_COMPILER ${REELCRAFT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${REELCRAFT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${REELCRAFT_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${REELCRAFT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

get_filename_component(reelcraft_source_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${reelcraft_source_root}/scripts/wine-run.sh")

# Libraries built for Windows apart from the toolchain's (libjpeg-turbo), installed under one
# prefix: -DREELCRAFT_WINDOWS_DEPS=PREFIX.
if(REELCRAFT_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${REELCRAFT_WINDOWS_DEPS})
endif()

# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread model, which C++ threads need).
# Used both for the static Qt that scripts/windows-qt.sh builds and for the program itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BAZAARLY_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BAZAARLY_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BAZAARLY_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${BAZAARLY_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BAZAARLY_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt lives outside the MinGW root, in the cache named by CMAKE_PREFIX_PATH.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Even with Qt's static runtime the compiler's own libgcc_s and winpthread would be DLLs beside the program;
# linking them in makes one self-contained executable.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Cross-compiles the Windows build with Debian's mingw-w64 (posix threads),
# and runs what it builds under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# hexloom.exe stands alone: zlib goes into it rather than beside it.
set(ZLIB_USE_STATIC_LIBS ON)

find_program(HEXLOOM_WINE NAMES wine64 wine PATHS /usr/lib/wine)
if(HEXLOOM_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${HEXLOOM_WINE})
endif()

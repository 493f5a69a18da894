# Cross-compiles for aarch64 Linux with Debian's g++-aarch64-linux-gnu, linked
# statically so that qemu-aarch64 runs the programs without the target's
# libraries.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(HEXLOOM_QEMU qemu-aarch64)
if(HEXLOOM_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${HEXLOOM_QEMU})
endif()

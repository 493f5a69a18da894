# Cross-compiles for s390x (big-endian) Linux with Debian's g++-s390x-linux-gnu, linked
# statically so that qemu-s390x runs the programs without the target's
# libraries.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)

set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_FIND_ROOT_PATH /usr/s390x-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(HEXLOOM_QEMU qemu-s390x)
if(HEXLOOM_QEMU)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${HEXLOOM_QEMU})
endif()

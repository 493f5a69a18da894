# The digest engines and their table. Included from the top-level
# CMakeLists.txt, where the list is consumed, so every path is absolute.

set(HEXLOOM_DIGEST_DIR ${CMAKE_CURRENT_LIST_DIR})

# The accelerated code is built for every x86-64 target, whatever the CPU
# of the build machine; cpuid decides at run time whether it runs. Its
# instructions come from target attributes on its functions, not from
# per-file flags.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set(HEXLOOM_DIGEST_ACCELERATED ${HEXLOOM_DIGEST_DIR}/sha_x86.cpp)
else()
  set(HEXLOOM_DIGEST_ACCELERATED ${HEXLOOM_DIGEST_DIR}/sha_portable_only.cpp)
endif()

set(HEXLOOM_DIGEST_SOURCES
  ${HEXLOOM_DIGEST_DIR}/digest.cpp
  ${HEXLOOM_DIGEST_DIR}/md5.cpp
  ${HEXLOOM_DIGEST_DIR}/sha1.cpp
  ${HEXLOOM_DIGEST_DIR}/sha256.cpp
  ${HEXLOOM_DIGEST_DIR}/sha512.cpp
  ${HEXLOOM_DIGEST_ACCELERATED}
)

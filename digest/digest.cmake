# The digest engines, their tests and their benchmark. Included from the
# top-level CMakeLists.txt; the lists are consumed there and in tests/ and
# bench/, so every path is absolute.

set(HEXLOOM_DIGEST_DIR ${CMAKE_CURRENT_LIST_DIR})
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH HEXLOOM_DIGEST_ROOT)

# The accelerated code is built for every x86-64 target, whatever the CPU
# of the build machine; cpuid decides at run time whether it runs.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
  set(HEXLOOM_DIGEST_ACCELERATED ${HEXLOOM_DIGEST_DIR}/sha_x86.cpp)
else()
  set(HEXLOOM_DIGEST_ACCELERATED ${HEXLOOM_DIGEST_DIR}/sha_portable_only.cpp)
endif()

set(HEXLOOM_DIGEST_SOURCES
  ${HEXLOOM_DIGEST_DIR}/md5.cpp
  ${HEXLOOM_DIGEST_DIR}/sha1.cpp
  ${HEXLOOM_DIGEST_DIR}/sha256.cpp
  ${HEXLOOM_DIGEST_DIR}/sha512.cpp
  ${HEXLOOM_DIGEST_ACCELERATED}
)

# Published vectors and the two builds against each other: no oracle needed,
# so these run in every build, the Windows one included.
set(HEXLOOM_DIGEST_VECTOR_TEST_SOURCES
  ${HEXLOOM_DIGEST_ROOT}/tests/digest/digest_test.cpp
)

# Against libcrypto as the oracle.
set(HEXLOOM_DIGEST_TEST_SOURCES
  ${HEXLOOM_DIGEST_ROOT}/tests/digest/oracle_test.cpp
)

set(HEXLOOM_DIGEST_SLOW_TEST_SOURCES
  ${HEXLOOM_DIGEST_ROOT}/tests/digest/large_message_test.cpp
)

set(HEXLOOM_DIGEST_BENCH_SOURCES
  ${HEXLOOM_DIGEST_ROOT}/bench/digest_bench.cpp
)

# Included from tests/CMakeLists.txt: the checks of what a user installs
# beside the binary, and the end-to-end tests of the aarch64 and s390x builds.

# The documents' check reads the README, the man page and docs/ from the source tree.
target_compile_definitions(hexloom_tests PRIVATE HEXLOOM_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

if(NOT CMAKE_CROSSCOMPILING AND NOT WIN32)
  add_test(NAME bash_completion
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/completion/completion_test.sh
            ${PROJECT_SOURCE_DIR}/completion/hexloom.bash)

  # The man page formats without a warning.
  find_program(HEXLOOM_GROFF groff)
  find_program(HEXLOOM_MANDOC mandoc)
  if(HEXLOOM_GROFF)
    add_test(NAME man_page_groff
      COMMAND ${CMAKE_COMMAND} -DCOMMAND=${HEXLOOM_GROFF}\;-ww\;-z\;-man\;${PROJECT_SOURCE_DIR}/man/hexloom.1
              -P ${CMAKE_CURRENT_SOURCE_DIR}/man/silent.cmake)
  endif()
  if(HEXLOOM_MANDOC)
    add_test(NAME man_page_mandoc
      COMMAND ${CMAKE_COMMAND} -DCOMMAND=${HEXLOOM_MANDOC}\;-T\;lint\;-W\;warning\;${PROJECT_SOURCE_DIR}/man/hexloom.1
              -P ${CMAKE_CURRENT_SOURCE_DIR}/man/silent.cmake)
  endif()
endif()

# The aarch64 and s390x builds (presets of those names, built first) run the
# whole end-to-end suite: this build's runner starts their hexloom under
# qemu, and compiles and runs the round-trip programs natively, so the bytes
# written on a big-endian processor are checked here. The sanitizer build
# leaves them to the release build: the binaries under test are the same.
if(TARGET hexloom_e2e_tests AND NOT HEXLOOM_SANITIZE)
  get_target_property(e2e_sources hexloom_e2e_tests SOURCES)
  get_target_property(e2e_definitions hexloom_e2e_tests COMPILE_DEFINITIONS)
  foreach(arch aarch64 s390x)
    find_program(HEXLOOM_QEMU_${arch} qemu-${arch})
    set(HEXLOOM_${arch}_BINARY ${PROJECT_SOURCE_DIR}/build/${arch}/hexloom CACHE FILEPATH
        "hexloom built for ${arch}, whose end-to-end tests run under qemu")
    if(NOT HEXLOOM_QEMU_${arch} OR NOT EXISTS ${HEXLOOM_${arch}_BINARY})
      message(STATUS "No ${arch} end-to-end tests: qemu-${arch} or ${HEXLOOM_${arch}_BINARY} is missing")
      continue()
    endif()
    hexloom_test_runner(hexloom_test_runner_${arch} ${HEXLOOM_${arch}_BINARY} ${HEXLOOM_QEMU_${arch}})
    add_executable(hexloom_e2e_${arch} ${e2e_sources})
    target_link_libraries(hexloom_e2e_${arch} PRIVATE hexloom_test_runner_${arch} hexloom_digest GTest::gtest_main
                          hexloom_warnings)
    if(e2e_definitions)
      target_compile_definitions(hexloom_e2e_${arch} PRIVATE ${e2e_definitions})
    endif()
    gtest_discover_tests(hexloom_e2e_${arch} TEST_PREFIX ${arch}. DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
                         PROPERTIES LABELS e2e-${arch})
  endforeach()
endif()
